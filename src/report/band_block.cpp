#include "report/band_block.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "report/expression.h"
#include "report/text_layout.h"

namespace lorvi::report {
namespace {

constexpr double kEpsilon = 0.01;  // millimetres

bool OverlapsHorizontally(const QRectF& a, const QRectF& b) {
  return a.left() < b.right() - kEpsilon && b.left() < a.right() - kEpsilon;
}

TextItem ItemOf(const Memo& memo, const ExpressionContext& context, double pageLeft) {
  TextItem item;
  static_cast<TextStyle&>(item) = memo;
  item.text =
      memo.allowExpressions ? EvaluateText(memo.text, context) : NormalizeLineBreaks(memo.text);
  // Values arrive as lines each ending in a line break; the last one adds no line.
  while (item.text.endsWith(u'\n')) item.text.chop(1);
  item.rect = memo.rect.translated(pageLeft, 0);
  const WrappedText wrapped =
      WrapText(item.text, memo.font, memo.rect.width() - 2 * memo.padding, memo.wordWrap);
  item.lines = wrapped.lines;
  item.lineHeight = wrapped.lineHeight;
  return item;
}

// The item's lines from `first` up to `end`, with the text they cover.
TextItem LinesOf(const TextItem& item, int first, int end) {
  TextItem part = item;
  part.lines.clear();
  part.text.clear();
  if (first >= end) return part;
  const qsizetype from = item.lines[first].first;
  const qsizetype to = item.lines[end - 1].first + item.lines[end - 1].second;
  part.text = item.text.mid(from, to - from);
  for (int i = first; i < end; ++i)
    part.lines.append({item.lines[i].first - from, item.lines[i].second});
  return part;
}

// How many of the item's lines end above `cut`, reading from its top.
int LinesAbove(const TextItem& item, double cut) {
  if (item.lineHeight <= 0) return 0;
  const double room = cut - item.rect.top() - item.padding;
  const int count = static_cast<int>(std::floor(room / item.lineHeight + 1e-6));
  return std::clamp(count, 0, static_cast<int>(item.lines.size()));
}

// The lowest cut that takes something whole from the block: the end of the first line of an
// item, or the bottom of an item without lines.
double SmallestCut(const BandBlock& block) {
  double cut = std::numeric_limits<double>::max();
  for (const TextItem& item : block.items) {
    const double end = item.lines.isEmpty() || item.lineHeight <= 0
                           ? item.rect.bottom()
                           : item.rect.top() + item.padding + item.lineHeight;
    cut = std::min(cut, std::min(end, item.rect.bottom()));
  }
  return cut;
}

}  // namespace

BandBlock RenderBand(const Band& band, const ExpressionContext& context, double pageLeft) {
  BandBlock block;
  QList<QRectF> original;
  QList<double> growth;
  for (const Memo& memo : band.memos) {
    TextItem item = ItemOf(memo, context, pageLeft);
    double grown = 0;
    if (memo.grow) {
      const double needed = item.lines.size() * item.lineHeight + 2 * item.padding;
      grown = std::max(0.0, needed - item.rect.height());
    }
    block.items.append(item);
    original.append(item.rect);
    growth.append(grown);
  }

  // Objects under a grown one move down with its bottom, as in a column of paragraphs.
  QList<int> order(block.items.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return original[a].top() < original[b].top(); });
  QList<double> shift(block.items.size(), 0.0);
  for (int j : order) {
    for (int i : order) {
      if (i == j) continue;
      if (original[i].bottom() <= original[j].top() + kEpsilon &&
          OverlapsHorizontally(original[i], original[j]))
        shift[j] = std::max(shift[j], shift[i] + growth[i]);
    }
  }

  double originalBottom = 0;
  double bottom = 0;
  for (int i = 0; i < block.items.size(); ++i) {
    QRectF& rect = block.items[i].rect;
    rect.translate(0, shift[i]);
    rect.setHeight(rect.height() + growth[i]);
    originalBottom = std::max(originalBottom, original[i].bottom());
    bottom = std::max(bottom, rect.bottom());
  }
  block.height = std::max(band.height, bottom + std::max(0.0, band.height - originalBottom));
  for (int i = 0; i < block.items.size(); ++i) {
    QRectF& rect = block.items[i].rect;
    if (band.memos[i].stretch && rect.bottom() < block.height) rect.setBottom(block.height);
  }
  return block;
}

std::pair<BandBlock, std::optional<BandBlock>> SplitBand(const BandBlock& block, double height) {
  double cut = std::max(0.0, height);
  bool anything = false;
  for (const TextItem& item : block.items) {
    if (item.rect.bottom() <= cut + kEpsilon ||
        (item.rect.top() < cut - kEpsilon && LinesAbove(item, cut) > 0))
      anything = true;
  }
  if (!anything && !block.items.isEmpty()) cut = std::max(cut, SmallestCut(block));

  BandBlock part;
  BandBlock rest;
  part.height = std::min(cut, block.height);
  for (const TextItem& item : block.items) {
    if (item.rect.bottom() <= cut + kEpsilon) {
      part.items.append(item);
    } else if (item.rect.top() >= cut - kEpsilon) {
      TextItem moved = item;
      moved.rect.translate(0, -cut);
      rest.items.append(moved);
    } else {
      const int above = LinesAbove(item, cut);
      const int count = static_cast<int>(item.lines.size());
      TextItem first = LinesOf(item, 0, above);
      first.rect.setBottom(cut);
      first.vAlign = VAlign::Top;
      const bool visible = item.frame.Any() || item.fill.isValid();
      if (above > 0 || visible) part.items.append(first);

      TextItem second = LinesOf(item, above, count);
      const double needed = (count - above) * item.lineHeight + 2 * item.padding;
      second.rect = QRectF(item.rect.left(), 0, item.rect.width(),
                           std::max(item.rect.bottom() - cut, count > above ? needed : 0.0));
      second.vAlign = VAlign::Top;
      if (count > above || visible) rest.items.append(second);
    }
  }
  if (rest.items.isEmpty()) return {part, std::nullopt};
  rest.height = block.height - cut;
  for (const TextItem& item : rest.items) rest.height = std::max(rest.height, item.rect.bottom());
  return {part, rest};
}

}  // namespace lorvi::report
