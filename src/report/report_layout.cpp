#include "report/report_layout.h"

#include <QHash>
#include <QPair>

#include <algorithm>
#include <deque>
#include <optional>

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

bool ShowsPageNumbers(const Band& band) {
  for (const Memo& memo : band.memos)
    if (memo.allowExpressions && memo.text.contains(u"page", Qt::CaseInsensitive)) return true;
  return false;
}

// Whether the page count printed could move a page break: a band that prints page numbers and
// grows with its text.
bool PageNumbersMoveBreaks(const ReportTemplate& design) {
  for (const auto& band : design.bands)
    if (ShowsPageNumbers(*band))
      for (const Memo& memo : band->memos)
        if (memo.grow) return true;
  return false;
}

// Where a page begins: what is placed first on it. Enough to lay the page out again on its own.
struct PageStart {
  bool inTitle = false;  // the report title goes on from the page before
  int master = 0;        // else the record of that data band placed first
  int record = 0;
  // The rest of a band split at the page before; none when the band starts whole.
  std::optional<BandBlock> rest;
};

// What one run of the layout keeps: in planning, where every page begins and what the pages
// hold as a whole; in laying out, the page asked for.
struct LayoutRun {
  int totalPages = 0;
  int onlyPage = -1;  // lays out that page alone, from its start; -1 plans the whole report
  const PageStart* start = nullptr;
  QList<PageStart> starts;
  int pages = 0;
  std::optional<double> freshRoom;  // room for data on a page after the first
  ReportCensus census;
  QStringList warnings;
  PreparedPage page;
};

class PageBuilder {
 public:
  PageBuilder(const LayoutInput& input, LayoutRun& run)
      : input_(input), page_(input.design->page), run_(run) {
    context_.variables = &input_.variables;
    context_.totalPages = run.totalPages;
    context_.date = input.date;
    context_.warnings = &run_.warnings;
    title_ = input.design->FindBand(BandKind::ReportTitle);
    header_ = input.design->FindBand(BandKind::PageHeader);
    footer_ = input.design->FindBand(BandKind::PageFooter);
  }

  void Run() {
    for (const auto& band : input_.design->bands) {
      if (band->Kind() != BandKind::MasterData) continue;
      const auto* master = static_cast<const MasterDataBand*>(band.get());
      const DataSet* data = DataSetOf(*master, input_);
      if (!data)
        Warn(QStringLiteral("Нет данных для %1 (%2)").arg(master->name, master->dataSetName));
      masters_.append({master, data});
    }
    // Outside the data bands a field of the first dataset reads as empty, not as unknown.
    context_.dataSet = masters_.isEmpty() ? nullptr : masters_.first().second;
    // A page laid out alone takes the room its plan found.
    if (!run_.freshRoom) run_.freshRoom = FreshRoom();
    freshRoom_ = *run_.freshRoom;

    int master = 0;
    int record = 0;
    if (run_.onlyPage <= 0) {
      StartPage(/*withHeader=*/!title_);
      if (title_) PlaceTitle(Render(*title_, BandKind::ReportTitle));
      if (!headerPlaced_) PlaceHeader();
    } else {
      // The page is laid out as the whole report would reach it.
      const PageStart& start = *run_.start;
      pageIndex_ = run_.onlyPage;
      if (start.inTitle) {
        StartPage(/*withHeader=*/true);
        PlaceTitle(start.rest ? *start.rest : Render(*title_, BandKind::ReportTitle));
      } else {
        master = start.master;
        record = start.record;
        SetRecord(start.master, start.record);
        StartPage(/*withHeader=*/true);
        BandBlock first =
            start.rest ? *start.rest : Render(*masters_[master].first, BandKind::MasterData);
        Place(std::move(first));
        ++record;
      }
    }
    for (; master < masters_.size() && !stopped_; ++master, record = 0) {
      const DataSet* data = masters_[master].second;
      if (!data) continue;
      context_.dataSet = data;
      for (; record < data->records.size() && !stopped_; ++record) {
        SetRecord(master, record);
        Place(Render(*masters_[master].first, BandKind::MasterData));
      }
      context_.record = -1;
      context_.line = 0;
    }
    // A stopped layout has had its last footer already.
    if (!stopped_) FinishPage();
  }

 private:
  void Warn(const QString& text) {
    if (!run_.warnings.contains(text)) run_.warnings.append(text);
  }

  void SetRecord(int master, int record) {
    context_.dataSet = masters_[master].second;
    context_.record = record;
    context_.line = record + 1;
    current_ = {master, record};
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

  bool Planning() const { return run_.onlyPage < 0; }

  void StartPage(bool withHeader) {
    if (pageIndex_ >= kMaxPages) {
      Warn(QStringLiteral("Отчет прерван: больше %1 страниц").arg(kMaxPages));
      stopped_ = true;
      return;
    }
    if (!Planning() && pageIndex_ > run_.onlyPage) {
      stopped_ = true;
      return;
    }
    if (Planning()) {
      PageStep(input_.progress, QStringLiteral("Подготовка отчета"), pageIndex_ + 1,
               context_.totalPages);
      PageStart start;
      start.inTitle = inTitle_;
      start.master = current_.first;
      start.record = current_.second;
      start.rest = continued_;
      run_.starts.append(std::move(start));
    }
    ++pageIndex_;
    run_.pages = pageIndex_;
    run_.page = PreparedPage();
    run_.page.size = page_.size;
    run_.page.margins = page_.margins;
    context_.page = pageIndex_;
    y_ = page_.margins.top();
    const double footerHeight = footer_ ? Render(*footer_, BandKind::PageFooter).height : 0;
    bottom_ = page_.size.height() - page_.margins.bottom() - footerHeight;
    pageHasData_ = false;
    headerPlaced_ = false;
    if (withHeader) PlaceHeader();
  }

  void FinishPage() {
    if (!footer_ || pageIndex_ == 0) return;
    const BandBlock block = Render(*footer_, BandKind::PageFooter);
    Put(block, page_.size.height() - page_.margins.bottom() - block.height);
  }

  void NewPage() {
    FinishPage();
    StartPage(/*withHeader=*/true);
  }

  void PlaceTitle(BandBlock block) {
    inTitle_ = true;
    Place(std::move(block));
    inTitle_ = false;
    if (!headerPlaced_) PlaceHeader();
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
    for (TextItem item : block.items) {
      item.rect.translate(0, top);
      if (Planning())
        run_.census.Count(item);
      else
        run_.page.items.append(item);
    }
  }

  void Place(BandBlock block) {
    continued_.reset();
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
      if (Planning()) continued_ = block;
      NewPage();
    }
  }

  const LayoutInput& input_;
  const PageSettings& page_;
  LayoutRun& run_;
  QList<std::pair<const MasterDataBand*, const DataSet*>> masters_;
  const Band* title_ = nullptr;
  const Band* header_ = nullptr;
  const Band* footer_ = nullptr;
  ExpressionContext context_;
  int pageIndex_ = 0;                  // pages begun, the one being laid out included
  std::pair<int, int> current_{0, 0};  // the data band and record being placed
  bool inTitle_ = false;
  std::optional<BandBlock> continued_;  // the rest of a split band, while planning
  double y_ = 0;
  double bottom_ = 0;
  double freshRoom_ = 0;
  bool pageHasData_ = false;
  bool headerPlaced_ = false;
  bool stopped_ = false;
};

// The report's pages, laid out each when asked for from where the plan says it begins. It keeps
// its own copy of the template and the data, so that it outlives what it was prepared from.
class PlannedPages : public PageSource {
 public:
  explicit PlannedPages(const LayoutInput& input) : design_(input.design->Copy()) {
    input_.variables = input.variables;
    input_.date = input.date;
    input_.progress = input.progress;
    input_.design = &design_;
    QHash<const DataSet*, const DataSet*> copies;
    for (const auto& band : design_.bands) {
      if (band->Kind() != BandKind::MasterData) continue;
      auto* master = static_cast<MasterDataBand*>(band.get());
      const DataSet* data = DataSetOf(*master, input);
      if (data && !copies.contains(data)) copies.insert(data, &data_.emplace_back(*data));
      master->SetDataSet(data ? copies.value(data) : nullptr);
    }
  }

  QStringList Plan() {
    // The page count is only known once laid out; a second plan prints it. Its text could
    // change a grown height, so plan again while the count still moves.
    LayoutRun run;
    PageBuilder(input_, run).Run();
    if (PageNumbersMoveBreaks(design_))
      for (int pass = 0; pass < 3; ++pass) {
        LayoutRun again;
        again.totalPages = run.pages;
        again.warnings = run.warnings;
        PageBuilder(input_, again).Run();
        const bool settled = again.pages == run.pages;
        run = std::move(again);
        if (settled) break;
      }
    input_.progress = nullptr;
    starts_ = std::move(run.starts);
    census_ = std::move(run.census);
    freshRoom_ = run.freshRoom;
    return run.warnings;
  }

  int PageCount() const override { return static_cast<int>(starts_.size()); }
  QSizeF PageSize(int) const override { return design_.page.size; }
  const ReportCensus& Census() const override { return census_; }

  PreparedPage LayOut(int index) const override {
    LayoutRun run;
    run.totalPages = PageCount();
    run.onlyPage = index;
    run.start = &starts_[index];
    run.freshRoom = freshRoom_;
    PageBuilder(input_, run).Run();
    return std::move(run.page);
  }

 private:
  ReportTemplate design_;
  std::deque<DataSet> data_;
  LayoutInput input_;
  QList<PageStart> starts_;
  ReportCensus census_;
  std::optional<double> freshRoom_;
};

}  // namespace

PreparedReport LayoutReport(const LayoutInput& input) {
  auto pages = std::make_shared<PlannedPages>(input);
  const QStringList warnings = pages->Plan();
  PreparedReport report(std::move(pages));
  report.warnings = warnings;
  return report;
}

}  // namespace lorvi::report
