#include <algorithm>
#include <cmath>

#include "report/exports.h"
#include "report/whole_file_device.h"

namespace lorvi::report {
namespace {

constexpr double kTwipsPerMm = 1440 / 25.4;
constexpr double kRowTolerance = 0.1;  // millimetres

int Twips(double mm) { return static_cast<int>(std::lround(mm * kTwipsPerMm)); }

// Non-ASCII characters as \uN with '?' for readers without Unicode; the code page only names
// what such a reader should assume.
QByteArray Escape(const QString& text) {
  QByteArray out;
  out.reserve(text.size() * 2);
  for (QChar ch : text) {
    const char16_t c = ch.unicode();
    if (c == u'\\' || c == u'{' || c == u'}') {
      out += '\\';
      out += char(c);
    } else if (c == u'\n') {
      out += "\\line ";
    } else if (c == u'\t') {
      out += "\\tab ";
    } else if (c < 0x20) {
      continue;
    } else if (c < 0x80) {
      out += char(c);
    } else {
      out += "\\u" + QByteArray::number(static_cast<qint16>(c)) + '?';
    }
  }
  return out;
}

class RtfWriter {
 public:
  // The document goes to `device` page by page, so that a long report is never held whole; the
  // font and colour tables it opens with come from the census of all pages.
  void Write(const PreparedReport& report, const ReportProgress& progress, QIODevice& device) {
    for (const QString& family : report.Census().fonts) FontIndex(family);
    for (const QColor& color : report.Census().colors) ColorIndex(color);
    device.write(Head(report.Page(0)));
    for (int i = 0; i < report.PageCount(); ++i) {
      PageStep(progress, QStringLiteral("Выгрузка в RTF"), i + 1, report.PageCount());
      if (i > 0) device.write("\\sect\n");
      device.write(Section(report.Page(i)));
    }
    device.write("}\n");
  }

 private:
  QByteArray Head(const PreparedPage& first) {
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1251\\deff0\\uc1\n{\\fonttbl";
    for (int i = 0; i < fonts_.size(); ++i)
      out += "{\\f" + QByteArray::number(i) + "\\fswiss\\fcharset204 " + Escape(fonts_[i]) + ";}";
    out += "}\n{\\colortbl;";
    for (const QColor& color : colors_)
      out += "\\red" + QByteArray::number(color.red()) + "\\green" +
             QByteArray::number(color.green()) + "\\blue" + QByteArray::number(color.blue()) + ';';
    out += "}\n";
    out += "\\paperw" + QByteArray::number(Twips(first.size.width())) + "\\paperh" +
           QByteArray::number(Twips(first.size.height()));
    if (first.size.width() > first.size.height()) out += "\\landscape";
    out += '\n';
    return out;
  }

  QByteArray Section(const PreparedPage& page) {
    QList<const TextItem*> content;
    QList<const TextItem*> footer;
    double footerTop = page.size.height() - page.margins.bottom();
    for (const TextItem& item : page.items) {
      if (item.band == BandKind::PageFooter) {
        footer.append(&item);
        footerTop = std::min(footerTop, item.rect.top());
      } else {
        content.append(&item);
      }
    }
    left_ = page.margins.left();
    right_ = page.size.width() - page.margins.right();
    const double bottomMargin = page.size.height() - footerTop;
    QByteArray out = "\\sectd\\sbkpage\\pgwsxn" + QByteArray::number(Twips(page.size.width())) +
                     "\\pghsxn" + QByteArray::number(Twips(page.size.height())) + "\\marglsxn" +
                     QByteArray::number(Twips(page.margins.left())) + "\\margrsxn" +
                     QByteArray::number(Twips(page.margins.right())) + "\\margtsxn" +
                     QByteArray::number(Twips(page.margins.top())) + "\\margbsxn" +
                     QByteArray::number(Twips(bottomMargin)) + "\\footery" +
                     QByteArray::number(Twips(page.margins.bottom()));
    if (page.size.width() > page.size.height()) out += "\\lndscpsxn";
    out += '\n';
    if (!footer.isEmpty()) out += "{\\footer " + Rows(footer, footerTop) + "}\n";
    out += Rows(content, page.margins.top());
    return out;
  }

  // Items in rows from top to bottom: side-by-side items as one table row, a lone item as a
  // paragraph, with empty space kept as exact-height spacer paragraphs.
  QByteArray Rows(QList<const TextItem*> items, double top) {
    std::stable_sort(items.begin(), items.end(), [](const TextItem* a, const TextItem* b) {
      return a->rect.top() < b->rect.top();
    });
    QByteArray out;
    double y = top;
    bool endsInTable = false;
    for (int i = 0; i < items.size();) {
      QList<const TextItem*> row{items[i]};
      double bottom = items[i]->rect.bottom();
      for (++i; i < items.size() && items[i]->rect.top() < bottom - kRowTolerance; ++i) {
        row.append(items[i]);
        bottom = std::max(bottom, items[i]->rect.bottom());
      }
      const double rowTop = row.first()->rect.top();
      if (rowTop - y > 0.5) out += Spacer(rowTop - y);
      std::stable_sort(row.begin(), row.end(), [](const TextItem* a, const TextItem* b) {
        return a->rect.left() < b->rect.left();
      });
      bool sideBySide = true;
      for (int k = 1; k < row.size(); ++k)
        sideBySide = sideBySide && row[k]->rect.left() >= row[k - 1]->rect.right() - kRowTolerance;
      const bool boxed = row.first()->frame.Any() || row.first()->fill.isValid();
      if (sideBySide && (row.size() > 1 || boxed)) {
        out += TableRow(row, bottom - rowTop);
        endsInTable = true;
      } else {
        for (const TextItem* item : row) out += Paragraph(*item);
        endsInTable = false;
      }
      y = std::max(y, bottom);
    }
    // A table may not end a section or a footer.
    if (endsInTable) out += Spacer(0.35);
    return out;
  }

  QByteArray Spacer(double height) {
    return "\\pard\\plain\\sl-" + QByteArray::number(std::max(1, Twips(height))) +
           "\\slmult0\\fs2\\par\n";
  }

  QByteArray Run(const TextItem& item) {
    QByteArray out = "{\\f" + QByteArray::number(FontIndex(item.font.family)) + "\\fs" +
                     QByteArray::number(std::lround(item.font.size * 2));
    if (item.font.bold) out += "\\b";
    if (item.font.italic) out += "\\i";
    if (item.font.underline) out += "\\ul";
    out += "\\cf" + QByteArray::number(ColorIndex(item.color)) + ' ' + Escape(item.text) + '}';
    return out;
  }

  static QByteArray Alignment(const TextItem& item) {
    switch (item.hAlign) {
      case HAlign::Center:
        return "\\qc";
      case HAlign::Right:
        return "\\qr";
      case HAlign::Left:
        break;
    }
    return "\\ql";
  }

  QByteArray Paragraph(const TextItem& item) {
    return "\\pard\\plain\\sb0\\sa0\\li" + QByteArray::number(Twips(item.rect.left() - left_)) +
           "\\ri" + QByteArray::number(Twips(right_ - item.rect.right())) + Alignment(item) + ' ' +
           Run(item) + "\\par\n";
  }

  QByteArray Border(const TextItem& item) {
    const QByteArray width =
        "\\brdrs\\brdrw" + QByteArray::number(std::clamp(int(item.frame.width * 20), 1, 75));
    QByteArray out;
    if (item.frame.top) out += "\\clbrdrt" + width;
    if (item.frame.left) out += "\\clbrdrl" + width;
    if (item.frame.bottom) out += "\\clbrdrb" + width;
    if (item.frame.right) out += "\\clbrdrr" + width;
    return out;
  }

  QByteArray TableRow(const QList<const TextItem*>& row, double height) {
    const int pad = Twips(row.first()->padding);
    QByteArray out =
        "\\trowd\\trgaph0\\trleft" + QByteArray::number(Twips(row.first()->rect.left() - left_)) +
        "\\trrh" + QByteArray::number(Twips(height)) + "\\trpaddl" + QByteArray::number(pad) +
        "\\trpaddr" + QByteArray::number(pad) + "\\trpaddt" + QByteArray::number(pad) +
        "\\trpaddb" + QByteArray::number(pad) + "\\trpaddfl3\\trpaddfr3\\trpaddft3\\trpaddfb3\n";
    QByteArray cells;
    double x = row.first()->rect.left();
    for (const TextItem* item : row) {
      if (item->rect.left() - x > 0.5) {
        // The space between two items is a cell of its own.
        out += "\\cellx" + QByteArray::number(Twips(item->rect.left() - left_));
        cells += "\\pard\\plain\\intbl\\cell\n";
      }
      out += item->vAlign == VAlign::Center   ? "\\clvertalc"
             : item->vAlign == VAlign::Bottom ? "\\clvertalb"
                                              : "\\clvertalt";
      out += Border(*item);
      if (item->fill.isValid()) out += "\\clcbpat" + QByteArray::number(ColorIndex(item->fill));
      out += "\\cellx" + QByteArray::number(Twips(item->rect.right() - left_)) + '\n';
      cells += "\\pard\\plain\\intbl\\sb0\\sa0" + Alignment(*item) + ' ' + Run(*item) + "\\cell\n";
      x = item->rect.right();
    }
    return out + cells + "\\row\n";
  }

  int FontIndex(const QString& family) {
    if (!fonts_.contains(family)) fonts_.append(family);
    return static_cast<int>(fonts_.indexOf(family));
  }

  // Colour table entries count from 1; 0 is the reader's automatic colour.
  int ColorIndex(const QColor& color) {
    const QColor rgb = color.toRgb();
    if (!colors_.contains(rgb)) colors_.append(rgb);
    return static_cast<int>(colors_.indexOf(rgb)) + 1;
  }

  QStringList fonts_{QStringLiteral("Arial")};
  QList<QColor> colors_;
  double left_ = 0;
  double right_ = 0;
};

}  // namespace

void ExportRtf(const PreparedReport& report, const QString& path, const ReportProgress& progress) {
  if (report.IsEmpty()) ThrowCannotWrite(path, QStringLiteral("в отчете нет страниц"));
  WriteWholeFile(path, [&](QIODevice& device) { RtfWriter().Write(report, progress, device); });
}

}  // namespace lorvi::report
