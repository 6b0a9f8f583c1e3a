#pragma once

#include <QList>
#include <QMarginsF>
#include <QPair>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

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

struct PreparedReport {
  QList<PreparedPage> pages;
  QString title;     // the document's title (PDF, print job); empty for none
  QString fileName;  // proposed for exports, without folder and extension; empty for none
  // Names in the template's texts that matched nothing, each once.
  QStringList warnings;

  int PageCount() const { return static_cast<int>(pages.size()); }
  // The texts of a page (0-based) from top to bottom and left to right, one item per line.
  QString PlainText(int page) const;
};

}  // namespace lorvi::report
