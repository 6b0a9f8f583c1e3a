#pragma once

#include <QColor>
#include <QList>
#include <QMarginsF>
#include <QPair>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <memory>

#include "report/report_template.h"

namespace lorvi::report {

// One text object as laid out on a page. The painter, the preview and every export read these,
// so that all of them show the same pages.
struct TextItem : TextStyle {
  QRectF rect;   // millimetres from the page's top-left corner
  QString text;  // paragraphs separated by '\n'
  // The lines as wrapped to the width: start and length in `text`.
  QList<QPair<qsizetype, qsizetype>> lines;
  double lineHeight = 0;  // millimetres from one baseline to the next
  BandKind band = BandKind::MasterData;

  // The line as shown: the spaces where it was broken dropped.
  QString LineText(int index) const;
  // Top of the first line, in millimetres from the page top.
  double TextTop() const;
  // Where the line with index `index` starts, in millimetres, and its width.
  QRectF LineRect(int index) const;
};

struct PreparedPage {
  QSizeF size;  // millimetres, orientation applied
  QMarginsF margins;
  QList<TextItem> items;
};

// What the pages of a report hold as a whole, gathered while they are laid out, for exports
// that must know it before they write the first page.
struct ReportCensus {
  // Left and right edges of the items, ascending and each once: of data and page header items,
  // and of every item.
  QList<double> tableEdges;
  QList<double> allEdges;
  // Font families, and text and fill colours, in the order the pages first use them.
  QStringList fonts;
  QList<QColor> colors;

  void Count(const TextItem& item);
};

// Lays out the pages of a report, each when it is asked for.
class PageSource {
 public:
  virtual ~PageSource() = default;
  virtual int PageCount() const = 0;
  virtual QSizeF PageSize(int index) const = 0;
  virtual PreparedPage LayOut(int index) const = 0;
  virtual const ReportCensus& Census() const = 0;
};

// The pages of a prepared report. A large report is not held whole: a page is laid out when it
// is asked for and only the last ones asked for are kept, so that copies are cheap and exports
// stream.
class PreparedReport {
 public:
  PreparedReport();
  // Pages laid out already.
  explicit PreparedReport(const QList<PreparedPage>& pages);
  explicit PreparedReport(std::shared_ptr<const PageSource> source);

  int PageCount() const { return source_->PageCount(); }
  bool IsEmpty() const { return PageCount() == 0; }
  // `index` is 0-based and must be below PageCount().
  PreparedPage Page(int index) const;
  QSizeF PageSize(int index) const { return source_->PageSize(index); }
  const ReportCensus& Census() const { return source_->Census(); }

  // The texts of a page (0-based) from top to bottom and left to right, one item per line.
  QString PlainText(int page) const;

  QString title;     // the document's title (PDF, print job); empty for none
  QString fileName;  // proposed for exports, without folder and extension; empty for none
  // Names in the template's texts that matched nothing, each once.
  QStringList warnings;

 private:
  struct Kept;
  std::shared_ptr<const PageSource> source_;
  std::shared_ptr<Kept> kept_;
};

}  // namespace lorvi::report
