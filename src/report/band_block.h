#pragma once

#include <QList>

#include <optional>
#include <utility>

#include "report/prepared_report.h"

namespace lorvi::report {

struct ExpressionContext;

// One printing of a band: its items with their tops measured from the band's top and their
// lefts from the page's left edge.
struct BandBlock {
  double height = 0;
  QList<TextItem> items;
};

// Evaluates and wraps the band's memos, grows those that grow, moves the memos under a grown one
// down with it and stretches the stretching ones to the band's final height.
BandBlock RenderBand(const Band& band, const ExpressionContext& context, double pageLeft);

// The part of `block` that fits in `height` and the rest, if any, starting at the rest's top.
// Items crossing the cut are divided between lines. Always takes at least one line or one whole
// item, even when `height` is too small for it, so that repeated splitting comes to an end.
std::pair<BandBlock, std::optional<BandBlock>> SplitBand(const BandBlock& block, double height);

}  // namespace lorvi::report
