#include <QFile>
#include <QSet>

#include <xlsxwriter.h>

#include <algorithm>
#include <cmath>
#include <optional>

#include "base/c_numeric_scope.h"
#include "output/xlsx_book.h"
#include "report/exports.h"
#include "report/whole_file_device.h"

namespace lorvi::report {
namespace {

constexpr double kMmPerInch = 25.4;
constexpr int kMaxCellText = 32767;
constexpr double kMaxRowPoints = 409;

// Edges closer than `tolerance` are one edge, so that rounding does not make hairline columns.
QList<double> Cluster(QList<double> edges, double tolerance) {
  std::sort(edges.begin(), edges.end());
  QList<double> result;
  for (double edge : edges)
    if (result.isEmpty() || edge - result.last() >= tolerance) result.append(edge);
  return result;
}

int NearestIndex(const QList<double>& edges, double value) {
  const auto it = std::lower_bound(edges.begin(), edges.end(), value);
  int index = static_cast<int>(it - edges.begin());
  if (index >= edges.size()) return static_cast<int>(edges.size()) - 1;
  if (index > 0 && value - edges[index - 1] < edges[index] - value) --index;
  return index;
}

lxw_color_t ColorOf(const QColor& color) {
  const lxw_color_t rgb = color.rgb() & 0xFFFFFF;
  return rgb == 0 ? lxw_color_t(LXW_COLOR_BLACK) : rgb;
}

class XlsxWriter {
 public:
  explicit XlsxWriter(const QString& path)
      : book_(QFile::encodeName(path).toStdString(), "отчет", /*constantMemory=*/false) {}

  void Write(const PreparedReport& report, const ReportProgress& progress) {
    sheet_ = book_.AddSheet("Отчет");
    SetUpPrinting(report.Page(0));
    WriteColumns(report);
    QList<lxw_row_t> breaks;
    lxw_row_t row = 0;
    for (int p = 0; p < report.PageCount(); ++p) {
      PageStep(progress, QStringLiteral("Выгрузка в Excel"), p + 1, report.PageCount());
      if (row > 0 && breaks.size() < 1023) breaks.append(row);
      row = WritePage(report.Page(p), row);
    }
    breaks.append(0);
    if (breaks.size() > 1) book_.Check(worksheet_set_h_pagebreaks(sheet_, breaks.data()));
    book_.Commit();
  }

 private:
  void SetUpPrinting(const PreparedPage& page) {
    const QSizeF size = page.size;
    const bool landscape = size.width() > size.height();
    const double shorter = std::min(size.width(), size.height());
    const double longer = std::max(size.width(), size.height());
    const auto matches = [&](double w, double h) {
      return std::abs(shorter - w) < 1 && std::abs(longer - h) < 1;
    };
    if (matches(210, 297)) worksheet_set_paper(sheet_, 9);
    if (matches(297, 420)) worksheet_set_paper(sheet_, 8);
    if (matches(148, 210)) worksheet_set_paper(sheet_, 11);
    if (matches(215.9, 279.4)) worksheet_set_paper(sheet_, 1);
    if (matches(215.9, 355.6)) worksheet_set_paper(sheet_, 5);
    if (landscape) worksheet_set_landscape(sheet_);
    const QMarginsF m = page.margins / kMmPerInch;
    worksheet_set_margins(sheet_, m.left(), m.right(), m.top(), m.bottom());
    // Spreadsheet fonts run wider than ours: without this the last column prints on pages of its
    // own.
    worksheet_fit_to_pages(sheet_, 1, 0);
  }

  void WriteColumns(const PreparedReport& report) {
    // The columns are those of the table the records make; titles and footers span them rather
    // than cut them into slivers.
    const ReportCensus& census = report.Census();
    const QList<double>& edges = census.tableEdges.isEmpty() ? census.allEdges : census.tableEdges;
    columns_ = Cluster(edges, 1.0);
    for (int c = 0; c + 1 < columns_.size(); ++c) {
      // A column is as many widths of a digit of the default font (7 pixels at 96 dpi) as fit,
      // less its 5 pixels of padding.
      const double pixels = (columns_[c + 1] - columns_[c]) / kMmPerInch * 96;
      book_.Check(worksheet_set_column(sheet_, c, c, std::max(0.5, (pixels - 5) / 7), nullptr));
    }
  }

  lxw_row_t WritePage(const PreparedPage& page, lxw_row_t firstRow) {
    QList<double> edges;
    for (const TextItem& item : page.items) edges << item.rect.top() << item.rect.bottom();
    const QList<double> rows = Cluster(edges, 0.5);
    for (int r = 0; r + 1 < rows.size(); ++r) {
      const double points = (rows[r + 1] - rows[r]) * 72 / kMmPerInch;
      book_.Check(
          worksheet_set_row(sheet_, firstRow + r, std::min(points, kMaxRowPoints), nullptr));
    }
    QSet<quint64> taken;
    const auto key = [](lxw_row_t row, int col) { return (quint64(row) << 16) | quint64(col); };
    for (const TextItem& item : page.items) {
      const lxw_row_t top = firstRow + NearestIndex(rows, item.rect.top());
      const lxw_row_t bottom =
          std::max(top, lxw_row_t(firstRow + NearestIndex(rows, item.rect.bottom()) - 1));
      const int left = NearestIndex(columns_, item.rect.left());
      const int right = std::max(left, NearestIndex(columns_, item.rect.right()) - 1);
      bool free = true;
      for (lxw_row_t r = top; r <= bottom && free; ++r)
        for (int c = left; c <= right && free; ++c) free = !taken.contains(key(r, c));
      const QByteArray text = item.text.left(kMaxCellText).toUtf8();
      lxw_format* format = FormatOf(item);
      if (free && (top != bottom || left != right)) {
        book_.Check(worksheet_merge_range(sheet_, top, lxw_col_t(left), bottom, lxw_col_t(right),
                                          text.constData(), format));
        for (lxw_row_t r = top; r <= bottom; ++r)
          for (int c = left; c <= right; ++c) taken.insert(key(r, c));
      } else if (!taken.contains(key(top, left))) {
        // Overlapping ranges would spoil the file: an item over another keeps its first cell.
        book_.Check(worksheet_write_string(sheet_, top, lxw_col_t(left), text.constData(), format));
        taken.insert(key(top, left));
      }
    }
    return firstRow + lxw_row_t(std::max<qsizetype>(1, rows.size() - 1));
  }

  lxw_format* FormatOf(const TextItem& item) {
    const bool wrap = item.wordWrap || item.text.contains(u'\n');
    const Look look{item.font,
                    item.hAlign,
                    item.vAlign,
                    item.frame,
                    item.color.rgb(),
                    item.fill.isValid() ? std::optional<QRgb>(item.fill.rgb()) : std::nullopt,
                    wrap};
    // A report uses a handful of looks: a look-up in order beats making a key per cell.
    for (const auto& [known, format] : formats_)
      if (known == look) return format;
    lxw_format* format = book_.AddFormat();
    format_set_font_name(format, item.font.family.toUtf8().constData());
    format_set_font_size(format, item.font.size);
    if (item.font.bold) format_set_bold(format);
    if (item.font.italic) format_set_italic(format);
    if (item.font.underline) format_set_underline(format, LXW_UNDERLINE_SINGLE);
    format_set_align(format, item.hAlign == HAlign::Center  ? LXW_ALIGN_CENTER
                             : item.hAlign == HAlign::Right ? LXW_ALIGN_RIGHT
                                                            : LXW_ALIGN_LEFT);
    format_set_align(format, item.vAlign == VAlign::Center   ? LXW_ALIGN_VERTICAL_CENTER
                             : item.vAlign == VAlign::Bottom ? LXW_ALIGN_VERTICAL_BOTTOM
                                                             : LXW_ALIGN_VERTICAL_TOP);
    if (wrap) format_set_text_wrap(format);
    const uint8_t border = item.frame.width > 1 ? LXW_BORDER_MEDIUM : LXW_BORDER_THIN;
    if (item.frame.left) format_set_left(format, border);
    if (item.frame.top) format_set_top(format, border);
    if (item.frame.right) format_set_right(format, border);
    if (item.frame.bottom) format_set_bottom(format, border);
    if (ColorOf(item.color) != lxw_color_t(LXW_COLOR_BLACK))
      format_set_font_color(format, ColorOf(item.color));
    if (item.fill.isValid()) {
      format_set_pattern(format, LXW_PATTERN_SOLID);
      format_set_bg_color(format, ColorOf(item.fill));
    }
    formats_.append({look, format});
    return format;
  }

  XlsxBook book_;
  lxw_worksheet* sheet_ = nullptr;
  QList<double> columns_;
  // What a cell format is made from.
  struct Look {
    TextFont font;
    HAlign hAlign;
    VAlign vAlign;
    FrameLines frame;
    QRgb color;
    std::optional<QRgb> fill;
    bool wrap;
    friend bool operator==(const Look&, const Look&) = default;
  };
  QList<std::pair<Look, lxw_format*>> formats_;
};

}  // namespace

void ExportXlsx(const PreparedReport& report, const QString& path, const ReportProgress& progress) {
  if (report.IsEmpty()) ThrowCannotWrite(path, QStringLiteral("в отчете нет страниц"));
  // The library writes its numbers with the C library's formatting.
  const CNumericScope numbers;
  XlsxWriter(path).Write(report, progress);
}

}  // namespace lorvi::report
