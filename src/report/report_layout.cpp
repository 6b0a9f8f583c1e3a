#include "report/report_layout.h"

#include <QHash>
#include <QPair>

#include <algorithm>

#include "report/band_block.h"
#include "report/data_set.h"
#include "report/expression.h"

namespace lorvi::report {
namespace {

constexpr double kEpsilon = 0.01;   // millimetres
constexpr double kMinSplit = 15.0;  // less room than this is not worth starting a split record in
constexpr int kMaxPages = 100000;   // a guard against templates that cannot be laid out

const DataSet* DataSetOf(const MasterDataBand& band, const LayoutInput& input) {
  if (band.BoundDataSet()) return band.BoundDataSet();
  for (const DataSet* data : input.dataSets)
    if (data && data->userName.compare(band.dataSetName, Qt::CaseInsensitive) == 0) return data;
  return nullptr;
}

// Records printed in one pass look the same in the next unless their band shows page numbers;
// keeping them saves the second pass most of its work. The warnings are kept with them.
struct PassMemory {
  QHash<QPair<const Band*, int>, BandBlock> records;
  QStringList warnings;
};

bool ShowsPageNumbers(const Band& band) {
  for (const Memo& memo : band.memos)
    if (memo.allowExpressions && memo.text.contains(u"page", Qt::CaseInsensitive)) return true;
  return false;
}

class PageBuilder {
 public:
  PageBuilder(const LayoutInput& input, int totalPages, PassMemory* memory)
      : input_(input), page_(input.design->page), memory_(memory) {
    context_.variables = &input_.variables;
    context_.totalPages = totalPages;
    context_.date = input.date;
    context_.warnings = &memory_->warnings;
    title_ = input.design->FindBand(BandKind::ReportTitle);
    header_ = input.design->FindBand(BandKind::PageHeader);
    footer_ = input.design->FindBand(BandKind::PageFooter);
  }

  PreparedReport Run() {
    QList<std::pair<const MasterDataBand*, const DataSet*>> masters;
    for (const auto& band : input_.design->bands) {
      if (band->Kind() != BandKind::MasterData) continue;
      const auto* master = static_cast<const MasterDataBand*>(band.get());
      const DataSet* data = DataSetOf(*master, input_);
      if (!data)
        Warn(QStringLiteral("Нет данных для %1 (%2)").arg(master->name, master->dataSetName));
      masters.append({master, data});
    }
    // Outside the data bands a field of the first dataset reads as empty, not as unknown.
    context_.dataSet = masters.isEmpty() ? nullptr : masters.first().second;
    freshRoom_ = FreshRoom();

    StartPage(/*withHeader=*/!title_);
    if (title_) Place(Render(*title_, BandKind::ReportTitle));
    if (!headerPlaced_) PlaceHeader();
    for (const auto& [master, data] : masters) {
      if (!data) continue;
      context_.dataSet = data;
      const bool cached = !ShowsPageNumbers(*master);
      for (int record = 0; record < data->records.size() && !stopped_; ++record) {
        context_.record = record;
        context_.line = record + 1;
        const auto key = qMakePair(static_cast<const Band*>(master), record);
        if (!cached) {
          Place(Render(*master, BandKind::MasterData));
        } else if (const auto found = memory_->records.constFind(key);
                   found != memory_->records.constEnd()) {
          Place(*found);
        } else {
          Place(*memory_->records.insert(key, Render(*master, BandKind::MasterData)));
        }
      }
      context_.record = -1;
      context_.line = 0;
    }
    // A stopped layout has had its last footer already.
    if (!stopped_) FinishPage();
    return std::move(result_);
  }

 private:
  void Warn(const QString& text) {
    if (!memory_->warnings.contains(text)) memory_->warnings.append(text);
  }

  BandBlock Render(const Band& band, BandKind kind) {
    BandBlock block = RenderBand(band, context_, page_.margins.left());
    for (TextItem& item : block.items) item.band = kind;
    return block;
  }

  // Room for data on a page after the first, for telling whether a band would fit a new page.
  double FreshRoom() {
    ExpressionContext saved = context_;
    context_.page = 2;
    double room = page_.Body().height();
    if (header_) room -= Render(*header_, BandKind::PageHeader).height;
    if (footer_) room -= Render(*footer_, BandKind::PageFooter).height;
    context_ = saved;
    return room;
  }

  void StartPage(bool withHeader) {
    if (result_.pages.size() >= kMaxPages) {
      Warn(QStringLiteral("Отчет прерван: больше %1 страниц").arg(kMaxPages));
      stopped_ = true;
      return;
    }
    PageStep(input_.progress, QStringLiteral("Подготовка отчета"),
             static_cast<int>(result_.pages.size()) + 1, context_.totalPages);
    PreparedPage page;
    page.size = page_.size;
    page.margins = page_.margins;
    result_.pages.append(page);
    context_.page = static_cast<int>(result_.pages.size());
    y_ = page_.margins.top();
    const double footerHeight = footer_ ? Render(*footer_, BandKind::PageFooter).height : 0;
    bottom_ = page_.size.height() - page_.margins.bottom() - footerHeight;
    pageHasData_ = false;
    headerPlaced_ = false;
    if (withHeader) PlaceHeader();
  }

  void FinishPage() {
    if (!footer_ || result_.pages.isEmpty()) return;
    const BandBlock block = Render(*footer_, BandKind::PageFooter);
    Put(block, page_.size.height() - page_.margins.bottom() - block.height);
  }

  void NewPage() {
    FinishPage();
    StartPage(/*withHeader=*/true);
  }

  void PlaceHeader() {
    headerPlaced_ = true;
    if (!header_ || stopped_) return;
    BandBlock block = Render(*header_, BandKind::PageHeader);
    if (block.height > bottom_ - y_ + kEpsilon) {
      Warn(QStringLiteral("Заголовок страницы не помещается на странице"));
      block = SplitBand(block, bottom_ - y_).first;
    }
    Put(block, y_);
    y_ += block.height;
  }

  void Put(const BandBlock& block, double top) {
    PreparedPage& page = result_.pages.last();
    for (TextItem item : block.items) {
      item.rect.translate(0, top);
      page.items.append(item);
    }
  }

  void Place(BandBlock block) {
    while (!stopped_) {
      const double room = bottom_ - y_;
      if (block.height <= room + kEpsilon) {
        Put(block, y_);
        y_ += block.height;
        pageHasData_ = true;
        return;
      }
      if (pageHasData_ && (block.height <= freshRoom_ + kEpsilon || room < kMinSplit)) {
        NewPage();
        continue;
      }
      auto [part, rest] = SplitBand(block, room);
      Put(part, y_);
      y_ += part.height;
      pageHasData_ = true;
      if (!rest) return;
      block = std::move(*rest);
      NewPage();
    }
  }

  const LayoutInput& input_;
  const PageSettings& page_;
  PassMemory* memory_;
  const Band* title_ = nullptr;
  const Band* header_ = nullptr;
  const Band* footer_ = nullptr;
  ExpressionContext context_;
  PreparedReport result_;
  double y_ = 0;
  double bottom_ = 0;
  double freshRoom_ = 0;
  bool pageHasData_ = false;
  bool headerPlaced_ = false;
  bool stopped_ = false;
};

}  // namespace

PreparedReport LayoutReport(const LayoutInput& input) {
  // The page count is only known once laid out; a second pass prints it. Its text could change
  // a grown height, so repeat while the count still moves.
  PassMemory memory;
  PreparedReport report = PageBuilder(input, 0, &memory).Run();
  for (int pass = 0; pass < 3; ++pass) {
    const int total = report.PageCount();
    report = PageBuilder(input, total, &memory).Run();
    if (report.PageCount() == total) break;
  }
  report.warnings = memory.warnings;
  return report;
}

}  // namespace lorvi::report
