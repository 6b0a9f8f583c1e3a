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

QString PreparedReport::PlainText(int page) const {
  if (page < 0 || page >= pages.size()) return {};
  QList<const TextItem*> items;
  for (const TextItem& item : pages[page].items) items.append(&item);
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
