#include "workbook/workbook_xlsx.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "base/c_numeric_scope.h"
#include "base/lorvi_error.h"
#include "base/text1251.h"
#include "output/xlsx_book.h"
#include "store/amount.h"
#include "view/cell_look.h"
#include "workbook/sheet_formats.h"

namespace lorvi {
namespace {

constexpr double kCharWidth = 1.1;  // of a column, per character of its longest text
constexpr int kFigures = 3;         // accrued, paid, difference

double Number(std::int64_t value4) { return static_cast<double>(value4) / 10000.0; }

// Characters of a UTF-8 text.
std::size_t Length(const std::string& utf8) {
  return static_cast<std::size_t>(
      std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// How a number looks with grouping and two decimals, for the column's width: as the cell's format
// shows it.
std::size_t NumberLength(std::int64_t value4) {
  std::string text;
  FormatAmountInto(text, value4, '.');
  const std::size_t digits = text.find('.') - (text[0] == '-' ? 1 : 0);
  return text.size() + (digits > 3 ? (digits - 1) / 3 : 0);
}

class Book {
 public:
  Book(const std::string& path, std::time_t created, const WorkbookProgress& progress,
       std::size_t rows)
      : xlsx_(path, "сверку", /*constantMemory=*/true, created),
        formats_(xlsx_),
        progress_(progress),
        rows_(rows) {
    title_ = Format([](lxw_format* f) { format_set_bold(f); });
    unreadable_ = Format([](lxw_format* f) {
      format_set_align(f, LXW_ALIGN_RIGHT);
      format_set_bg_color(f, 0xFFFF99);
      format_set_font_color(f, 0xC00000);
    });
  }

  void Commit() { xlsx_.Commit(); }

  void Summary(const Reconciliation& r);
  void Part(const char* name, const Reconciliation& r, const ReconciliationPart& part);

 private:
  template <typename Setup>
  lxw_format* Format(Setup setup) {
    lxw_format* format = xlsx_.AddFormat();
    setup(format);
    return format;
  }
  void Figures(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t col, const Comparison& c);

  XlsxBook xlsx_;
  SheetFormats formats_;
  const WorkbookProgress& progress_;
  std::size_t rows_;      // of both parts
  std::size_t done_ = 0;  // rows written so far
  lxw_format* title_ = nullptr;
  lxw_format* unreadable_ = nullptr;
};

void Book::Summary(const Reconciliation& r) {
  lxw_worksheet* sheet = xlsx_.AddSheet("Сводка");
  const std::string labels[] = {"Организация", "Вид", "Вкладка", "Дата выгрузки"};
  const std::string values[] = {Cp1251ToUtf8(r.organisation), Cp1251ToUtf8(r.view),
                                Cp1251ToUtf8(r.tab), r.date};
  // Period, kind, file: the short columns first, so that the values above run on over them.
  std::size_t widths[3] = {Length("Дата выгрузки"), Length("Вид документа"), Length("Файл")};
  std::vector<std::string> files[3];
  for (const ReconciliationFile& f : r.files) {
    std::string kind = Cp1251ToUtf8(f.kind);
    if (!kind.empty() && kind.back() == ':') kind.pop_back();
    files[0].push_back(Cp1251ToUtf8(f.period));
    files[1].push_back(kind);
    files[2].push_back(Cp1251ToUtf8(f.name));
    for (int c = 0; c < 3; ++c) widths[c] = std::max(widths[c], Length(files[c].back()));
  }
  for (lxw_col_t c = 0; c < 3; ++c)
    xlsx_.Check(worksheet_set_column(sheet, c, c, static_cast<double>(widths[c]) * kCharWidth + 2,
                                     nullptr));
  worksheet_set_paper(sheet, 9);  // A4
  worksheet_fit_to_pages(sheet, 1, 0);

  lxw_row_t row = 0;
  for (int i = 0; i < 4; ++i, ++row) {
    xlsx_.Check(worksheet_write_string(sheet, row, 0, labels[i].c_str(), title_));
    xlsx_.Check(worksheet_write_string(sheet, row, 1, values[i].c_str(), formats_.text));
  }
  ++row;
  const char* heads[] = {"Период", "Вид документа", "Файл"};
  for (lxw_col_t c = 0; c < 3; ++c)
    xlsx_.Check(worksheet_write_string(sheet, row, c, heads[c], formats_.header));
  ++row;
  for (std::size_t i = 0; i < r.files.size(); ++i, ++row)
    for (lxw_col_t c = 0; c < 3; ++c)
      xlsx_.Check(worksheet_write_string(sheet, row, c, files[c][i].c_str(), formats_.text));
}

void Book::Figures(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t col, const Comparison& c) {
  if (!c.Readable()) {
    for (lxw_col_t i = 0; i < kFigures; ++i)
      xlsx_.Check(worksheet_write_string(sheet, row, col + i, "???", unreadable_));
    return;
  }
  xlsx_.Check(worksheet_write_number(sheet, row, col, Number(*c.accrued), formats_.amount));
  xlsx_.Check(worksheet_write_number(sheet, row, col + 1, Number(*c.paid), formats_.amount));
  xlsx_.Check(worksheet_write_number(sheet, row, col + 2, Number(c.Difference()),
                                     formats_.Difference(c.verdict, false)));
}

void Book::Part(const char* name, const Reconciliation& r, const ReconciliationPart& part) {
  lxw_worksheet* sheet = xlsx_.AddSheet(name);
  const std::size_t groups = part.periods.size() + 1;  // the periods, then the totals
  const lxw_col_t lastCol = static_cast<lxw_col_t>(groups * kFigures);
  const lxw_row_t firstRow = 2;
  const lxw_row_t totalRow = firstRow + static_cast<lxw_row_t>(part.rows.size());

  // Column sums for the last row, exact; and the widths the texts need.
  std::vector<std::int64_t> sums(lastCol + 1, 0);
  std::vector<std::size_t> widths(lastCol + 1, Length("Начислено"));
  widths[0] = std::max(Length(Cp1251ToUtf8(r.nameTitle)), Length("Итого"));
  std::vector<std::string> titles;
  for (const ReconciliationRow& row : part.rows) {
    titles.push_back(Cp1251ToUtf8(row.title));
    widths[0] = std::max(widths[0], Length(titles.back()));
    for (std::size_t g = 0; g < groups; ++g) {
      const Comparison& c = g < part.periods.size() ? row.periods[g] : row.total;
      if (!c.Readable()) continue;
      const std::int64_t figures[kFigures] = {*c.accrued, *c.paid, c.Difference()};
      for (int i = 0; i < kFigures; ++i) {
        const std::size_t col = 1 + g * kFigures + static_cast<std::size_t>(i);
        sums[col] += figures[i];
        widths[col] = std::max(widths[col], NumberLength(figures[i]));
      }
    }
  }
  for (std::size_t col = 1; col <= lastCol; ++col)
    widths[col] = std::max(widths[col], NumberLength(sums[col]));
  for (lxw_col_t col = 0; col <= lastCol; ++col)
    xlsx_.Check(worksheet_set_column(sheet, col, col,
                                     static_cast<double>(widths[col]) * kCharWidth + 2, nullptr));

  worksheet_set_landscape(sheet);
  worksheet_set_paper(sheet, 9);  // A4
  worksheet_fit_to_pages(sheet, 1, 0);
  xlsx_.Check(worksheet_repeat_rows(sheet, 0, 1));
  worksheet_freeze_panes(sheet, firstRow, 1);
  xlsx_.Check(worksheet_autofilter(sheet, 1, 0, std::max(totalRow - 1, firstRow - 1), lastCol));

  // Two header rows: the period keys over their three figures.
  xlsx_.Check(worksheet_write_string(sheet, 0, 0, name, formats_.header));
  for (std::size_t g = 0; g < groups; ++g) {
    const std::string key = g < part.periods.size() ? Cp1251ToUtf8(part.periods[g]) : "Итого";
    const lxw_col_t col = static_cast<lxw_col_t>(1 + g * kFigures);
    xlsx_.Check(
        worksheet_merge_range(sheet, 0, col, 0, col + kFigures - 1, key.c_str(), formats_.header));
  }
  xlsx_.Check(
      worksheet_write_string(sheet, 1, 0, Cp1251ToUtf8(r.nameTitle).c_str(), formats_.header));
  for (std::size_t g = 0; g < groups; ++g) {
    const lxw_col_t col = static_cast<lxw_col_t>(1 + g * kFigures);
    xlsx_.Check(worksheet_write_string(sheet, 1, col, "Начислено", formats_.header));
    xlsx_.Check(worksheet_write_string(sheet, 1, col + 1, "Уплачено", formats_.header));
    xlsx_.Check(worksheet_write_string(sheet, 1, col + 2, "Разница", formats_.header));
  }

  lxw_row_t row = firstRow;
  for (std::size_t i = 0; i < part.rows.size(); ++i, ++row) {
    const ReconciliationRow& data = part.rows[i];
    StepOf(progress_, ++done_, rows_);
    xlsx_.Check(worksheet_write_string(sheet, row, 0, titles[i].c_str(), formats_.text));
    for (std::size_t g = 0; g < groups; ++g)
      Figures(sheet, row, static_cast<lxw_col_t>(1 + g * kFigures),
              g < part.periods.size() ? data.periods[g] : data.total);
  }

  // The last row sums every column; texts ("???") count for nothing, as in the grids.
  xlsx_.Check(worksheet_write_string(sheet, totalRow, 0, "Итого", formats_.total));
  for (lxw_col_t col = 1; col <= lastCol; ++col) {
    char range[64];
    char formula[80];
    lxw_rowcol_to_range(range, firstRow, col, std::max(totalRow - 1, firstRow), col);
    std::snprintf(formula, sizeof formula, "=SUM(%s)", range);
    const bool difference = col % kFigures == 0;
    // The grids' rule on the column's sum, in ten-thousandths.
    const Verdict verdict = CompareAmounts(static_cast<long double>(sums[col]) / 10000.0L, 0.0L);
    xlsx_.Check(worksheet_write_formula_num(
        sheet, totalRow, col, formula,
        difference ? formats_.Difference(verdict, true) : formats_.totalAmount, Number(sums[col])));
  }
}

}  // namespace

void WriteReconciliationWorkbook(const Reconciliation& reconciliation, const std::string& pathUtf8,
                                 std::time_t created, const WorkbookProgress& progress) {
  // The file's XML holds numbers with a point whatever the user's locale.
  const CNumericScope numbers;
  Book book(pathUtf8, created, progress,
            reconciliation.insurance.rows.size() + reconciliation.funded.rows.size());
  book.Summary(reconciliation);
  book.Part("Страховая часть", reconciliation, reconciliation.insurance);
  book.Part("Накопительная часть", reconciliation, reconciliation.funded);
  book.Commit();
}

}  // namespace lorvi
