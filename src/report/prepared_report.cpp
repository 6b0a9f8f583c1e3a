#include "report/prepared_report.h"

#include <algorithm>

#include "report/text_layout.h"

namespace lorvi::report {

QString TextItem::LineText(int index) const {
  QStringView line = QStringView(text).mid(lines[index].first, lines[index].second);
  while (!line.isEmpty() && line.back().isSpace()) line.chop(1);
  return line.toString();
}

double TextItem::TextTop() const {
  const double room = rect.height() - 2 * padding;
  const double block = lines.size() * lineHeight;
  double offset = 0;
  if (vAlign == VAlign::Center) offset = (room - block) / 2;
  if (vAlign == VAlign::Bottom) offset = room - block;
  // Text taller than its object keeps its first lines in sight.
  return rect.top() + padding + std::max(0.0, offset);
}

QRectF TextItem::LineRect(int index) const {
  const double width = TextWidth(LineText(index), font);
  const double left = rect.left() + padding;
  const double room = rect.width() - 2 * padding;
  double x = left;
  if (hAlign == HAlign::Center) x = left + (room - width) / 2;
  if (hAlign == HAlign::Right) x = left + room - width;
  return QRectF(x, TextTop() + index * lineHeight, width, lineHeight);
}

namespace {

void AddEdge(QList<double>& edges, double edge) {
  const auto at = std::lower_bound(edges.begin(), edges.end(), edge);
  if (at == edges.end() || *at != edge) edges.insert(at, edge);
}

void AddOnce(QStringList& list, const QString& value) {
  if (!list.contains(value)) list.append(value);
}

void AddOnce(QList<QColor>& list, const QColor& value) {
  if (!list.contains(value)) list.append(value);
}

// Pages laid out already, as tests and small reports make them.
class LaidOutPages : public PageSource {
 public:
  explicit LaidOutPages(const QList<PreparedPage>& pages) : pages_(pages) {
    for (const PreparedPage& page : pages_)
      for (const TextItem& item : page.items) census_.Count(item);
  }
  int PageCount() const override { return static_cast<int>(pages_.size()); }
  QSizeF PageSize(int index) const override { return pages_[index].size; }
  PreparedPage LayOut(int index) const override { return pages_[index]; }
  const ReportCensus& Census() const override { return census_; }

 private:
  QList<PreparedPage> pages_;
  ReportCensus census_;
};

// Enough for the pages a preview shows at once at its smallest zoom.
constexpr qsizetype kPagesKept = 32;

}  // namespace

void ReportCensus::Count(const TextItem& item) {
  if (item.band == BandKind::MasterData || item.band == BandKind::PageHeader) {
    AddEdge(tableEdges, item.rect.left());
    AddEdge(tableEdges, item.rect.right());
  }
  AddEdge(allEdges, item.rect.left());
  AddEdge(allEdges, item.rect.right());
  AddOnce(fonts, item.font.family);
  AddOnce(colors, item.color);
  if (item.fill.isValid()) AddOnce(colors, item.fill);
}

struct PreparedReport::Kept {
  QList<QPair<int, PreparedPage>> pages;  // the last asked for at the end
};

PreparedReport::PreparedReport() : PreparedReport(QList<PreparedPage>()) {}

PreparedReport::PreparedReport(const QList<PreparedPage>& pages)
    : PreparedReport(std::make_shared<LaidOutPages>(pages)) {}

PreparedReport::PreparedReport(std::shared_ptr<const PageSource> source)
    : source_(std::move(source)), kept_(std::make_shared<Kept>()) {}

PreparedPage PreparedReport::Page(int index) const {
  QList<QPair<int, PreparedPage>>& kept = kept_->pages;
  for (qsizetype i = kept.size() - 1; i >= 0; --i) {
    if (kept[i].first != index) continue;
    if (i + 1 < kept.size()) kept.append(kept.takeAt(i));
    return kept.last().second;
  }
  if (kept.size() >= kPagesKept) kept.removeFirst();
  kept.append({index, source_->LayOut(index)});
  return kept.last().second;
}

QString PreparedReport::PlainText(int page) const {
  if (page < 0 || page >= PageCount()) return {};
  const PreparedPage laidOut = Page(page);
  QList<const TextItem*> items;
  for (const TextItem& item : laidOut.items) items.append(&item);
  // Objects of one row share their top up to rounding.
  std::stable_sort(items.begin(), items.end(), [](const TextItem* a, const TextItem* b) {
    const qint64 ta = qRound64(a->rect.top() * 10), tb = qRound64(b->rect.top() * 10);
    return ta != tb ? ta < tb : a->rect.left() < b->rect.left();
  });
  QString text;
  for (const TextItem* item : items) {
    text += item->text;
    text += u'\n';
  }
  return text;
}

}  // namespace lorvi::report
