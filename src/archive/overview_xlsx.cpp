#include "archive/overview_xlsx.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <array>
#include <cstdio>

#include "base/c_numeric_scope.h"
#include "base/text1251.h"
#include "intake/collation.h"
#include "output/xlsx_book.h"
#include "view/fill_grid.h"
#include "workbook/sheet_formats.h"

namespace lorvi {
namespace {

double Number(Amount4 value4) { return static_cast<double>(value4) / 10000.0; }

Verdict VerdictOf(Amount4 difference) {
  return CompareAmounts(static_cast<long double>(difference) / 10000.0L, 0.0L);
}

std::string JoinedPeriods(const std::vector<std::string>& keys) {
  std::string joined;
  for (const std::string& key : keys) joined += (joined.empty() ? "" : ", ") + Cp1251ToUtf8(key);
  return joined;
}

// A column: its title and width in characters.
struct Column {
  const char* title;
  double width;
};

constexpr std::array<Column, 20> kOrganisationColumns = {{{"Рег. номер", 16},
                                                          {"Наименование", 36},
                                                          {"Первый период", 10},
                                                          {"Последний период", 10},
                                                          {"Периодов", 9},
                                                          {"Пропущены периоды", 20},
                                                          {"Файлов", 8},
                                                          {"Лиц", 8},
                                                          {"Уволенных", 10},
                                                          {"Ячеек «???»", 9},
                                                          {"Страховая: начислено", 16},
                                                          {"Страховая: уплачено", 16},
                                                          {"Страховая: разница", 14},
                                                          {"Накопительная: начислено", 16},
                                                          {"Накопительная: уплачено", 16},
                                                          {"Накопительная: разница", 14},
                                                          {"Лиц: начислено > уплачено", 12},
                                                          {"Лиц: уплачено > начислено", 12},
                                                          {"Периодов: опись не сходится", 13},
                                                          {"Не прочитана", 30}}};

constexpr std::array<Column, 5> kDifferingColumns = {{{"Организация", 36},
                                                      {"Вид", 20},
                                                      {"ФИО / категория", 40},
                                                      {"Страховая: разница", 16},
                                                      {"Накопительная: разница", 16}}};

constexpr std::array<Column, 12> kInventoryColumns = {{{"Организация", 36},
                                                       {"Период", 9},
                                                       {"Часть", 14},
                                                       {"Опись: начислено", 15},
                                                       {"Опись: уплачено", 15},
                                                       {"Сведения: начислено", 15},
                                                       {"Сведения: уплачено", 15},
                                                       {"Разница: начислено", 14},
                                                       {"Разница: уплачено", 14},
                                                       {"Категории: начислено", 15},
                                                       {"Категории: уплачено", 15},
                                                       {"Замечание", 40}}};

constexpr std::array<Column, 3> kUnreadColumns = {
    {{"Файл", 60}, {"Организация", 36}, {"Причина", 60}}};

}  // namespace

class ArchiveOverview::Book {
 public:
  Book(const std::string& path, std::time_t created, std::size_t organisations)
      : xlsx_(path, "обзор", /*constantMemory=*/true, created), formats_(xlsx_) {
    count_ = xlsx_.AddFormat();
    format_set_num_format(count_, "0");
    // Rows stream out in order, so a filter goes on before them: over the organisations, whose
    // number is known, with the totals below it; over whole columns elsewhere.
    constexpr lxw_row_t kAllRows = LXW_ROW_MAX - 1;
    organisations_ =
        AddSheet("Организации", kOrganisationColumns.data(), kOrganisationColumns.size(),
                 static_cast<lxw_row_t>(std::max<std::size_t>(organisations, 1)));
    differing_ =
        AddSheet("Расхождения", kDifferingColumns.data(), kDifferingColumns.size(), kAllRows);
    inventory_ =
        AddSheet("Опись и сведения", kInventoryColumns.data(), kInventoryColumns.size(), kAllRows);
    unread_ = AddSheet("Не прочитаны", kUnreadColumns.data(), kUnreadColumns.size(), kAllRows);
  }

  void Add(const OrganisationReview& r) {
    const std::string organisation = Cp1251ToUtf8(r.title);
    lxw_worksheet* s = organisations_.sheet;
    const lxw_row_t row = organisations_.next++;
    Text(s, row, 0, Cp1251ToUtf8(r.registration));
    Text(s, row, 1, Cp1251ToUtf8(r.shortName));
    if (!r.periods.empty()) {
      Text(s, row, 2, Cp1251ToUtf8(r.periods.front()));
      Text(s, row, 3, Cp1251ToUtf8(r.periods.back()));
    }
    Count(s, row, 4, static_cast<double>(r.periods.size()));
    Text(s, row, 5, JoinedPeriods(r.missing));
    Count(s, row, 6, r.files);
    if (r.Read()) {
      const double counts[] = {static_cast<double>(r.persons), static_cast<double>(r.leavers),
                               static_cast<double>(r.unreadableCells)};
      for (lxw_col_t c = 0; c < 3; ++c) Count(s, row, 7 + c, counts[c]);
      Part(s, row, 10, r.insurance);
      Part(s, row, 13, r.funded);
      Count(s, row, 16, r.accruedAbove);
      Count(s, row, 17, r.paidAbove);
      Count(s, row, 18, r.disagreeingPeriods);
      sums_[0] += r.insurance.accrued;
      sums_[1] += r.insurance.paid;
      sums_[2] += r.funded.accrued;
      sums_[3] += r.funded.paid;
      counts_[0] += r.persons;
      counts_[1] += r.leavers;
      counts_[2] += r.unreadableCells;
      counts_[3] += r.accruedAbove;
      counts_[4] += r.paidAbove;
      counts_[5] += r.disagreeingPeriods;
    } else {
      Text(s, row, 19, Cp1251ToUtf8(r.messages.empty() ? std::string() : r.messages.back()));
    }
    files_ += r.files;
    periods_ += static_cast<double>(r.periods.size());

    std::vector<const DifferingRow*> differing;
    for (const DifferingRow& d : r.differing) differing.push_back(&d);
    std::stable_sort(differing.begin(), differing.end(),
                     [](const DifferingRow* a, const DifferingRow* b) {
                       const int view = CompareWordSort(a->view, b->view);
                       return view != 0 ? view < 0 : CompareWordSort(a->name, b->name) < 0;
                     });
    for (const DifferingRow* d : differing) {
      const lxw_row_t at = differing_.next++;
      Text(differing_.sheet, at, 0, organisation);
      Text(differing_.sheet, at, 1, Cp1251ToUtf8(d->view));
      Text(differing_.sheet, at, 2, Cp1251ToUtf8(d->name));
      Difference(differing_.sheet, at, 3, d->insurance);
      Difference(differing_.sheet, at, 4, d->funded);
    }

    for (const InventoryCheck& check : r.checks) {
      if (check.Agrees()) continue;
      lxw_worksheet* sheet = inventory_.sheet;
      const lxw_row_t at = inventory_.next++;
      Text(sheet, at, 0, organisation);
      Text(sheet, at, 1, Cp1251ToUtf8(check.period));
      Text(sheet, at, 2, check.insurance ? "Страховая" : "Накопительная");
      Figures(sheet, at, 3, check.insurer);
      Figures(sheet, at, 5, check.records);
      if (check.insurer && check.records) {
        Difference(sheet, at, 7, check.insurer->accrued - check.records->accrued);
        Difference(sheet, at, 8, check.insurer->paid - check.records->paid);
      }
      Figures(sheet, at, 9, check.categories);
      Text(sheet, at, 11, Cp1251ToUtf8(InventoryRemark(check)));
    }

    for (const std::string& message : r.messages) {
      const lxw_row_t at = unread_.next++;
      Text(unread_.sheet, at, 1, organisation);
      Text(unread_.sheet, at, 2, Cp1251ToUtf8(message));
    }
  }

  void AddUntaken(const std::vector<UntakenFile>& files) {
    for (const UntakenFile& file : files) {
      const lxw_row_t at = unread_.next++;
      Text(unread_.sheet, at, 0, file.path);
      Text(unread_.sheet, at, 2, Cp1251ToUtf8(file.reason));
    }
  }

  void Commit() {
    // Totals as formulas over the rows above, with the values they give.
    lxw_worksheet* s = organisations_.sheet;
    const lxw_row_t row = organisations_.next;
    xlsx_.Check(worksheet_write_string(s, row, 0, "Итого", formats_.total));
    const auto sum = [&](lxw_col_t col, double value, lxw_format* format) {
      // Without organisations the sum would take in its own cell.
      if (row == 1) {
        xlsx_.Check(worksheet_write_number(s, row, col, value, format));
        return;
      }
      char range[64];
      char formula[80];
      lxw_rowcol_to_range(range, 1, col, row - 1, col);
      std::snprintf(formula, sizeof formula, "=SUM(%s)", range);
      xlsx_.Check(worksheet_write_formula_num(s, row, col, formula, format, value));
    };
    sum(4, periods_, formats_.total);
    sum(6, files_, formats_.total);
    for (lxw_col_t c = 0; c < 3; ++c) sum(7 + c, counts_[c], formats_.total);
    const Amount4 parts[2][2] = {{sums_[0], sums_[1]}, {sums_[2], sums_[3]}};
    for (int p = 0; p < 2; ++p) {
      const lxw_col_t col = static_cast<lxw_col_t>(10 + 3 * p);
      sum(col, Number(parts[p][0]), formats_.totalAmount);
      sum(col + 1, Number(parts[p][1]), formats_.totalAmount);
      const Amount4 difference = parts[p][0] - parts[p][1];
      sum(col + 2, Number(difference), formats_.Difference(VerdictOf(difference), true));
    }
    for (lxw_col_t c = 0; c < 3; ++c) sum(16 + c, counts_[3 + c], formats_.total);
    xlsx_.Commit();
  }

 private:
  struct Sheet {
    lxw_worksheet* sheet = nullptr;
    lxw_col_t lastCol = 0;
    lxw_row_t next = 1;  // the row the next line goes to
  };

  Sheet AddSheet(const char* name, const Column* columns, std::size_t count, lxw_row_t lastRow) {
    Sheet made;
    made.sheet = xlsx_.AddSheet(name);
    made.lastCol = static_cast<lxw_col_t>(count - 1);
    xlsx_.Check(worksheet_autofilter(made.sheet, 0, 0, lastRow, made.lastCol));
    worksheet_set_landscape(made.sheet);
    worksheet_set_paper(made.sheet, 9);  // A4
    worksheet_fit_to_pages(made.sheet, 1, 0);
    xlsx_.Check(worksheet_repeat_rows(made.sheet, 0, 0));
    worksheet_freeze_panes(made.sheet, 1, 0);
    // Titles wrap to three lines within their narrow figure columns.
    xlsx_.Check(worksheet_set_row(made.sheet, 0, 45, nullptr));
    for (lxw_col_t c = 0; c <= made.lastCol; ++c) {
      xlsx_.Check(worksheet_set_column(made.sheet, c, c, columns[c].width, nullptr));
      xlsx_.Check(worksheet_write_string(made.sheet, 0, c, columns[c].title, formats_.header));
    }
    return made;
  }

  void Text(lxw_worksheet* s, lxw_row_t row, lxw_col_t col, const std::string& text) {
    if (!text.empty())
      xlsx_.Check(worksheet_write_string(s, row, col, text.c_str(), formats_.text));
  }
  void Count(lxw_worksheet* s, lxw_row_t row, lxw_col_t col, double value) {
    xlsx_.Check(worksheet_write_number(s, row, col, value, count_));
  }
  void Amount(lxw_worksheet* s, lxw_row_t row, lxw_col_t col, Amount4 value) {
    xlsx_.Check(worksheet_write_number(s, row, col, Number(value), formats_.amount));
  }
  void Difference(lxw_worksheet* s, lxw_row_t row, lxw_col_t col, std::optional<Amount4> value) {
    if (!value) {
      xlsx_.Check(worksheet_write_string(s, row, col, "???", formats_.text));
      return;
    }
    xlsx_.Check(worksheet_write_number(s, row, col, Number(*value),
                                       formats_.Difference(VerdictOf(*value), false)));
  }
  void Part(lxw_worksheet* s, lxw_row_t row, lxw_col_t col, const PartTotals& totals) {
    Amount(s, row, col, totals.accrued);
    Amount(s, row, col + 1, totals.paid);
    Difference(s, row, col + 2, totals.Difference());
  }
  void Figures(lxw_worksheet* s, lxw_row_t row, lxw_col_t col,
               const std::optional<PartFigures>& figures) {
    if (!figures) return;
    Amount(s, row, col, figures->accrued);
    Amount(s, row, col + 1, figures->paid);
  }

  // The file's XML holds numbers with a point whatever the user's locale.
  CNumericScope numbers_;
  XlsxBook xlsx_;
  SheetFormats formats_;
  lxw_format* count_ = nullptr;
  Sheet organisations_;
  Sheet differing_;
  Sheet inventory_;
  Sheet unread_;
  Amount4 sums_[4] = {};
  double counts_[6] = {};
  double files_ = 0;
  double periods_ = 0;
};

ArchiveOverview::ArchiveOverview(const std::string& pathUtf8, std::time_t created,
                                 std::size_t organisations)
    : book_(std::make_unique<Book>(pathUtf8, created, organisations)) {}

ArchiveOverview::~ArchiveOverview() = default;

void ArchiveOverview::Add(const OrganisationReview& review) { book_->Add(review); }

void ArchiveOverview::AddUntaken(const std::vector<UntakenFile>& files) {
  book_->AddUntaken(files);
}

void ArchiveOverview::Commit() { book_->Commit(); }

}  // namespace lorvi
