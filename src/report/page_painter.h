#pragma once

#include <QImage>
#include <QList>
#include <QPageLayout>
#include <QPointF>
#include <QRectF>

#include "report/prepared_report.h"

class QPainter;

namespace lorvi::report {

// Paints `page` with its top-left corner at `origin` (device pixels) and `pxPerMm` device pixels
// per millimetre. `highlights` (millimetres on the page) are marked behind the text. The page's
// paper is not filled.
void PaintPage(QPainter& painter, const PreparedPage& page, QPointF origin, double pxPerMm,
               const QList<QRectF>& highlights = {});

// The paper of the page, without margins: the prepared items carry their own.
QPageLayout PageLayoutOf(const PreparedPage& page);

// The page as a white picture of its size at `dpi` dots per inch.
QImage RenderPage(const PreparedPage& page, int dpi);

}  // namespace lorvi::report
