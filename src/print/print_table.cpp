#include "print/print_table.h"

#include <algorithm>

#include "base/text1251.h"
#include "intake/collation.h"

namespace lorvi {
namespace {

// The lines of one grid for row `row`: every column from the totals on.
std::string MoneyLines(const TextGrid& grid, int row, int columns) {
  std::string lines;
  for (int c = 1; c < columns; ++c) {
    lines += grid.Cell(c, 0);
    lines += " : ";
    lines += grid.Cell(c, row);
    lines += '\r';
  }
  return lines;
}

}  // namespace

std::optional<PrintJob> BuildPrintJob(const PrintSource& source) {
  const TreeNode* node = source.tree.Selected();
  if (node == nullptr) return std::nullopt;
  while (node->parent != nullptr) node = node->parent;

  PrintJob job;
  job.FIO = NameColumnTitle(source);
  job.OrgName = node->caption;
  job.XMLType = source.panelTitle;
  job.TabName = FilterCaption(source);

  // Rows and columns come from the insurance grid; its partner has the same.
  const int columns = source.strah.ColCount();
  for (int r = 1; r < source.strah.RowCount(); ++r)
    job.records.push_back({source.strah.Cell(0, r), MoneyLines(source.strah, r, columns),
                           MoneyLines(source.nakop, r, columns)});

  std::vector<std::string> keys;
  for (const PrintRecord& record : job.records) keys.push_back(FoldCase1251(record.FIO));
  std::vector<std::size_t> order(job.records.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return CompareWordSort(keys[a], keys[b]) < 0;
  });
  std::vector<PrintRecord> sorted;
  sorted.reserve(order.size());
  for (const std::size_t i : order) sorted.push_back(std::move(job.records[i]));
  job.records = std::move(sorted);
  return job;
}

}  // namespace lorvi
