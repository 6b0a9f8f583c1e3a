#include "view/text_grid.h"

namespace lorvi {

const char* GridName(GridTag tag) {
  switch (tag) {
    case GridTag::ZLStrah:
      return "sgZLStrah";
    case GridTag::ZLNakop:
      return "sgZLNakop";
    case GridTag::ADVStrah:
      return "sgADVStrah";
    case GridTag::ADVNakop:
      break;
  }
  return "sgADVNakop";
}
namespace {

const std::string kEmpty;

}  // namespace

void TextGrid::SetColCount(int count) {
  ++version_;
  if (count < 0) count = 0;
  colCount_ = count;
  // A grid keeps at least one scrollable column and row, as the widget does.
  if (fixedCols_ > count - 1) fixedCols_ = count > 0 ? count - 1 : 0;
  widths_.resize(static_cast<std::size_t>(count), kDefaultColWidth);
  for (auto& row : rows_) row.resize(static_cast<std::size_t>(count));
}

void TextGrid::SetRowCount(int count) {
  ++version_;
  if (count < 0) count = 0;
  rowCount_ = count;
  if (fixedRows_ > count - 1) fixedRows_ = count > 0 ? count - 1 : 0;
  rows_.resize(static_cast<std::size_t>(count),
               std::vector<std::string>(static_cast<std::size_t>(colCount_)));
}

int TextGrid::ColWidth(int col) const {
  return col >= 0 && col < colCount_ ? widths_[static_cast<std::size_t>(col)] : kDefaultColWidth;
}

void TextGrid::SetColWidth(int col, int width) {
  if (col < 0 || col >= colCount_) return;
  widths_[static_cast<std::size_t>(col)] = width;
  ++version_;
}

const std::string& TextGrid::Cell(int col, int row) const {
  if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_) return kEmpty;
  return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

void TextGrid::SetCell(int col, int row, std::string text) {
  if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_) return;
  rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = std::move(text);
  ++version_;
}

void TextGrid::KeepRows(const std::vector<bool>& keep) {
  ++version_;
  std::size_t out = 0;
  for (std::size_t r = 0; r < rows_.size(); ++r)
    if (r >= keep.size() || keep[r]) {
      if (out != r) rows_[out] = std::move(rows_[r]);
      ++out;
    }
  rows_.resize(out);
  SetRowCount(static_cast<int>(out));
}

void TextGrid::Clear() {
  SetColCount(0);
  SetRowCount(0);
}

}  // namespace lorvi
