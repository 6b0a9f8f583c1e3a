#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QShortcut>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>
#include <QTreeView>
#include <QWindow>

#include <exception>
#include <utility>

#include "app/data_module.h"
#include "app/file_tree_delegate.h"
#include "app/help_window.h"
#include "app/pictures.h"
#include "app/string_grid.h"
#include "app/window_font.h"
#include "archive/archive_run.h"
#include "base/lorvi_error.h"
#include "base/text1251.h"
#include "models/dm_rpt.h"
#include "models/file_tree_model.h"
#include "models/qt_text.h"
#include "preview/report_preview.h"
#include "preview/save_dialog.h"
#include "preview/work_progress.h"
#include "report/open_document.h"
#include "session/session.h"
#include "widgets/dock_layout.h"
#include "widgets/styled_button.h"
#include "widgets/styled_label.h"
#include "widgets/styled_panel.h"
#include "widgets/tab_control.h"
#include "workbook/workbook_xlsx.h"

namespace lorvi {
namespace {

const QString kAppTitle = QStringLiteral("Анализатор ЛОРВИ");
constexpr TSBorderStyle kFramed = TSBorderStyle(bClientEdge) | bStaticEdge | bModalFrame;

QFont TitleFont(bool underline = false) {
  QFont font = WindowFont();
  font.setPointSize(10);
  font.setBold(true);
  font.setUnderline(underline);
  return font;
}

TSPanel* Panel(QWidget* parent, TSBorderStyle border) {
  auto* panel = new TSPanel(parent);
  panel->SetBorderStyle(border);
  return panel;
}

TSLabel* Title(QWidget* parent, const QString& caption) {
  auto* label = new TSLabel(parent);
  label->SetStyle(lbLotus);
  label->SetAlignment(taCenter);
  label->SetLayout(tlCenter);
  label->SetCaption(caption);
  label->setFont(TitleFont());
  return label;
}

TSLabel* PartTitle(QWidget* parent, const QString& caption) {
  TSLabel* label = Title(parent, caption);
  label->SetAlignment(taLeftJustify);
  label->setFont(TitleFont(true));
  return label;
}

TSButton* Button(QWidget* parent, const QString& caption, TImageList* images, int picture) {
  auto* button = new TSButton(parent);
  button->SetCaption(caption);
  button->setAccessibleName(caption);
  button->SetImageList(images);
  button->SetImageIndex(picture);
  return button;
}

QLabel* Picture(QWidget* parent, const QPixmap& pixmap, QRect geometry) {
  auto* label = new QLabel(parent);
  label->setPixmap(pixmap);
  label->setAlignment(Qt::AlignCenter);
  label->setAttribute(Qt::WA_TranslucentBackground);
  label->setGeometry(geometry);
  return label;
}

// Lays out every docked child again from its parent's present size, also under hidden parents,
// so that sizes derived from them are right before the window is painted.
void SettleLayouts(QWidget* widget) {
  if (widget->layout() != nullptr) widget->layout()->setGeometry(widget->contentsRect());
  for (QObject* child : widget->children())
    if (auto* w = qobject_cast<QWidget*>(child); w != nullptr && !w->isWindow()) SettleLayouts(w);
}

// A shadow strip beside a big panel.
TSPanel* Shadow(QWidget* parent) {
  TSPanel* panel = Panel(parent, TSBorderStyle());
  panel->SetColor(parent->palette().color(QPalette::Dark));
  return panel;
}

// Turns what is typed into upper case, Cyrillic included, keeping the cursor where it was.
void UpperCaseWhileTyping(QLineEdit* edit) {
  QObject::connect(edit, &QLineEdit::textChanged, edit, [edit](const QString& text) {
    const QString upper = text.toUpper();
    if (upper == text) return;
    const int cursor = edit->cursorPosition();
    edit->setText(upper);
    edit->setCursorPosition(cursor);
  });
}

// The strip under the insured-persons grids: magnifier, caption and the search edit.
struct SearchStrip {
  TSPanel* panel;
  QLabel* picture;
  QLabel* label;
  QLineEdit* edit;
};

SearchStrip MakeSearchStrip(QWidget* parent) {
  SearchStrip strip{};
  strip.panel = Panel(parent, kFramed);
  auto* client = new QWidget(strip.panel);
  (new DockLayout(strip.panel))->AddWidget(client, Dock::Fill);
  strip.picture = Picture(client, MagnifierPicture(), QRect(5, 0, 16, 31));
  strip.label = new QLabel(QStringLiteral("Поиск по фамилии:"), client);
  strip.label->setFont(TitleFont());
  strip.label->move(24, 7);
  strip.label->adjustSize();
  strip.edit = new QLineEdit(client);
  strip.edit->setGeometry(168, 5, 121, 21);
  strip.edit->setAccessibleName(QStringLiteral("Поиск по фамилии"));
  return strip;
}

// The tree of loaded files draws neither expand buttons nor connecting lines.
class PlainTreeView : public QTreeView {
 public:
  using QTreeView::QTreeView;

 protected:
  void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}
};

}  // namespace

TfMainMDI::TfMainMDI(Session& session, TDM& dm, TDMRpt& dmRpt, QWidget* parent)
    : QMainWindow(parent), session_(session), dm_(dm), dmRpt_(dmRpt) {
  ShowMessageBox = [this](const QString& text) {
    QMessageBox box(QMessageBox::Critical, kAppTitle, text, QMessageBox::Ok, this);
    box.exec();
  };
  ShowNoticeBox = [this](const QString& text) { QMessageBox::information(this, kAppTitle, text); };
  session_.SetMessageSink([this](const std::string& text) { ShowMessage(text); });
  session_.SetProgressSink([this](const std::string& status) { ShowProgress(status); });
  AskWorkbookPath = [this](const QString& proposed) {
    return report::AskSaveFile(this, QStringLiteral("Выгрузить сверку в Excel"), proposed,
                               QStringLiteral("Книга Excel (*.xlsx)"), QStringLiteral("xlsx"));
  };
  OpenDocument = report::OpenInDesktopApplication;
  AskArchiveFolder = [this](const QString& initialDir) {
    QFileDialog dialog(this, QStringLiteral("Сверить архив: папка с файлами"), initialDir);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::ShowDirsOnly);
    dialog.resize(900, 520);
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
               ? dialog.selectedFiles().front()
               : QString();
  };
  AskOverviewPath = [this](const QString& proposed) {
    return report::AskSaveFile(this, QStringLiteral("Сверить архив: обзор"), proposed,
                               QStringLiteral("Книга Excel (*.xlsx)"), QStringLiteral("xlsx"));
  };
  OD = [this](const std::string& initialDir) -> std::optional<std::vector<std::string>> {
    QFileDialog dialog(this, QStringLiteral("Загружаем файлы ЛОРВИ:"), FromUtf8(initialDir),
                       QStringLiteral("файлы ЛОРВИ (*.XML)"));
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // *.XML takes .xml as well, as on the systems the files come from.
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    // Room for the long names the pension authority's files carry.
    dialog.resize(900, 520);
    if (auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView")))
      list->header()->resizeSection(0, 440);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    std::vector<std::string> paths;
    for (const QString& file : dialog.selectedFiles()) paths.push_back(ToUtf8(file));
    return paths;
  };
  session_.FormCreate();
  setWindowTitle(kAppTitle + ".");
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFont(WindowFont());
  setAcceptDrops(true);
  Build();
  // Created centred with its design size; shown, it fills the work area.
  resize(1060, 771);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

// The session and the report outlive the window: they keep none of the window's callbacks.
TfMainMDI::~TfMainMDI() {
  session_.SetMessageSink(nullptr);
  session_.SetProgressSink(nullptr);
  dmRpt_.Rpt.extraExports.clear();
}

void TfMainMDI::Build() {
  auto* client = new QWidget(this);
  setCentralWidget(client);
  BuildStatusBar();
  BuildFilesPanel(client);
  BuildWorkPanel(client);
  spLFShR_ = Shadow(client);
  spLFShB_ = Shadow(client);
  spZLShR_ = Shadow(client);
  spZLShB_ = Shadow(client);

  ConnectHandlers();
  SetUpKeyboard();
  NameWidgets();
}

void TfMainMDI::NameWidgets() {
  // The design's names: tests and tools find the widgets by them (findChild).
  const std::pair<QObject*, const char*> named[] = {{StatusText_, "StatusText"},
                                                    {spLF_, "spLF"},
                                                    {SLabel1_, "SLabel1"},
                                                    {Image2_, "Image2"},
                                                    {SPanel2_, "SPanel2"},
                                                    {sbClearFiles_, "sbClearFiles"},
                                                    {sbLoadFiles_, "sbLoadFiles"},
                                                    {tvLF_, "tvLF"},
                                                    {spZL_, "spZL"},
                                                    {SLabel2_, "SLabel2"},
                                                    {Image3_, "Image3"},
                                                    {SPanel3_, "SPanel3"},
                                                    {sbZL_, "sbZL"},
                                                    {sbADV_, "sbADV"},
                                                    {sbHelp_, "sbHelp"},
                                                    {sbPrint_, "sbPrint"},
                                                    {spZLf_, "spZLf"},
                                                    {spFindFIO_, "spFindFIO"},
                                                    {Image1_, "Image1"},
                                                    {Label1_, "Label1"},
                                                    {edFindFIO_, "edFindFIO"},
                                                    {tcZL_, "tcZL"},
                                                    {SLabel4_, "SLabel4"},
                                                    {sgZLStrah_, "sgZLStrah"},
                                                    {SLabel3_, "SLabel3"},
                                                    {sgZLNakop_, "sgZLNakop"},
                                                    {spADVf_, "spADVf"},
                                                    {SPanel10_, "SPanel10"},
                                                    {tcADV_, "tcADV"},
                                                    {SLabel7_, "SLabel7"},
                                                    {sgADVStrah_, "sgADVStrah"},
                                                    {SLabel6_, "SLabel6"},
                                                    {sgADVNakop_, "sgADVNakop"},
                                                    {spLFShR_, "spLFShR"},
                                                    {spLFShB_, "spLFShB"},
                                                    {spZLShR_, "spZLShR"},
                                                    {spZLShB_, "spZLShB"},
                                                    {gridMenu_, "gridMenu"},
                                                    {treeMenu_, "treeMenu"}};
  for (const auto& [object, name] : named) object->setObjectName(QString::fromLatin1(name));
}

void TfMainMDI::BuildStatusBar() {
  auto* status = new QStatusBar(this);
  status->setSizeGripEnabled(false);
  status->setFixedHeight(25);
  StatusText_ = new QLabel(idleStatus_, status);
  StatusText_->setAlignment(Qt::AlignCenter);
  status->addWidget(StatusText_, 1);
  setStatusBar(status);
}

// The panel of loaded files.
void TfMainMDI::BuildFilesPanel(QWidget* client) {
  spLF_ = Panel(client, kFramed);
  auto* lf = new DockLayout(spLF_);
  SLabel1_ = Title(spLF_, QStringLiteral("Загрузка файлов"));
  lf->AddWidget(SLabel1_, Dock::Top, 25);
  SPanel2_ = Panel(spLF_, kFramed);
  lf->AddWidget(SPanel2_, Dock::Bottom, 41);
  auto* buttons = new DockLayout(SPanel2_);
  sbClearFiles_ = Button(SPanel2_, QStringLiteral("Очистить список"), dm_.IL, 3);
  buttons->AddWidget(sbClearFiles_, Dock::Left, 125);
  sbLoadFiles_ = Button(SPanel2_, QStringLiteral("Подгрузить файлы"), dm_.IL, 2);
  sbLoadFiles_->setToolTip(QStringLiteral("Подгрузить файлы\nза все периоды\nначиная с 2010 года"));
  buttons->AddWidget(sbLoadFiles_, Dock::Right, 125);
  tvLF_ = new PlainTreeView(spLF_);
  tvLF_->setHeaderHidden(true);
  tvLF_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tvLF_->setRootIsDecorated(false);
  tvLF_->setItemsExpandable(false);
  tvLF_->setIndentation(19);
  tvLF_->setUniformRowHeights(true);
  {
    // The selection stays visible when the tree loses the focus.
    QPalette palette = tvLF_->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    tvLF_->setPalette(palette);
  }
  treeModel_ = new FileTreeModel(session_.tvLF(), dm_.IL->Images(), this);
  tvLF_->setModel(treeModel_);
  tvLF_->setItemDelegate(new FileTreeDelegate(tvLF_));
  connect(tvLF_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          &TfMainMDI::tvLFSelected);
  lf->AddWidget(tvLF_, Dock::Fill);
  Image2_ = Picture(spLF_, FloppyDiskPicture(), QRect(0, 0, 16, 16));
}

// The work panel with both views.
void TfMainMDI::BuildWorkPanel(QWidget* client) {
  spZL_ = Panel(client, kFramed);
  auto* zl = new DockLayout(spZL_);
  SLabel2_ = Title(spZL_, QStringLiteral("Застрахованные лица"));
  zl->AddWidget(SLabel2_, Dock::Top, 25);
  SPanel3_ = Panel(spZL_, TSBorderStyle());
  zl->AddWidget(SPanel3_, Dock::Top, 24);
  auto* views = new DockLayout(SPanel3_);
  // On a narrow work panel (small screen, large fonts) the four buttons share what there is.
  views->SetShrinkSides(true);
  sbZL_ = Button(SPanel3_, QStringLiteral("Застрахованные лица"), dm_.IL, 9);
  views->AddWidget(sbZL_, Dock::Left, 153);
  sbADV_ = Button(SPanel3_, QStringLiteral("Опись сведений"), dm_.IL, 6);
  views->AddWidget(sbADV_, Dock::Left, 153);
  sbHelp_ = Button(SPanel3_, QStringLiteral("Помощь"), dm_.IL, 11);
  sbHelp_->setToolTip(QStringLiteral("Помощь (F1)"));
  views->AddWidget(sbHelp_, Dock::Right, 153);
  sbPrint_ = Button(SPanel3_, QStringLiteral("Печать"), dm_.IL, 12);
  sbPrint_->setToolTip(QStringLiteral("Печать (Ctrl+P)"));
  views->AddWidget(sbPrint_, Dock::Right, 153);
  BuildPersonsView(zl);
  BuildInventoryView(zl);
  Image3_ = Picture(spZL_, ILPicture(8), QRect(0, 0, 16, 16));
}

void TfMainMDI::BuildPersonsView(DockLayout* zl) {
  spZLf_ = Panel(spZL_, TSBorderStyle());
  zl->AddWidget(spZLf_, Dock::Fill);
  auto* zlf = new DockLayout(spZLf_);
  const SearchStrip strip = MakeSearchStrip(spZLf_);
  spFindFIO_ = strip.panel;
  Image1_ = strip.picture;
  Label1_ = strip.label;
  edFindFIO_ = strip.edit;
  zlf->AddWidget(spFindFIO_, Dock::Bottom, 41);
  UpperCaseWhileTyping(edFindFIO_);
  connect(edFindFIO_, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (text == text.toUpper()) Guarded([&] { session_.edFindFIOChange(ToCp1251(text)); });
  });
  tcZL_ = new TTabControl(spZLf_);
  tcZL_->setFont(TitleFont());
  tcZL_->Tabs()->setIconSize(QSize(16, 16));
  const QString tabs[] = {QStringLiteral("Все"), QStringLiteral("Начислено<Уплачено"),
                          QStringLiteral("Начислено>Уплачено"), QStringLiteral("Уволенные"),
                          QStringLiteral("Не прочитал")};
  for (int i = 0; i < 5; ++i) tcZL_->AddTab(tabs[i], QIcon(dm_.TabIL->Image(i)));
  // Tabs too wide for the panel are elided, all in view, rather than scrolled out of it.
  tcZL_->Tabs()->setElideMode(Qt::ElideRight);
  tcZL_->Tabs()->setUsesScrollButtons(false);
  zlf->AddWidget(tcZL_, Dock::Fill);
  zlPageLayout_ = BuildGridPage(tcZL_, {&SLabel4_, &sgZLStrah_, &session_.sgZLStrah()},
                                {&SLabel3_, &sgZLNakop_, &session_.sgZLNakop()});
}

DockLayout* TfMainMDI::BuildGridPage(TTabControl* tabs, const GridPart& strah,
                                     const GridPart& nakop) {
  QWidget* page = tabs->Page();
  auto* layout = new DockLayout(page);
  *strah.title = PartTitle(page, QStringLiteral("Страховая часть:"));
  layout->AddWidget(*strah.title, Dock::Top, 25);
  *strah.grid = new TStringGrid(*strah.text, page);
  layout->AddWidget(*strah.grid, Dock::Top, 100);  // ArrangeWindow sets its height
  *nakop.title = PartTitle(page, QStringLiteral("Накопительная часть:"));
  layout->AddWidget(*nakop.title, Dock::Top, 25);
  *nakop.grid = new TStringGrid(*nakop.text, page);
  layout->AddWidget(*nakop.grid, Dock::Fill);
  return layout;
}

// Hidden at start.
void TfMainMDI::BuildInventoryView(DockLayout* zl) {
  spADVf_ = Panel(spZL_, TSBorderStyle());
  zl->AddWidget(spADVf_, Dock::Fill);
  auto* advf = new DockLayout(spADVf_);
  SPanel10_ = Panel(spADVf_, kFramed);
  advf->AddWidget(SPanel10_, Dock::Bottom, 41);
  tcADV_ = new TTabControl(spADVf_);
  tcADV_->setFont(TitleFont());
  tcADV_->AddTab(QString());
  advf->AddWidget(tcADV_, Dock::Fill);
  advPageLayout_ = BuildGridPage(tcADV_, {&SLabel7_, &sgADVStrah_, &session_.sgADVStrah()},
                                 {&SLabel6_, &sgADVNakop_, &session_.sgADVNakop()});
  spADVf_->hide();
}

void TfMainMDI::ConnectHandlers() {
  connect(sbLoadFiles_, &TSButton::clicked, this, &TfMainMDI::sbLoadFilesClick);
  connect(sbClearFiles_, &TSButton::clicked, this, &TfMainMDI::sbClearFilesClick);
  for (TStringGrid* grid : {sgZLStrah_, sgZLNakop_, sgADVStrah_, sgADVNakop_}) {
    connect(grid, &TStringGrid::cellSelected, this,
            [this, grid](int col, int row) { GridCellSelected(grid->Tag(), col, row); });
    connect(grid, &TStringGrid::scrolled, this,
            [this, grid](int col, int row) { session_.GridScrolled(grid->Tag(), col, row); });
  }
  // The two parts of a view keep their columns under one another.
  for (auto [a, b] : {std::pair{sgZLStrah_, sgZLNakop_}, std::pair{sgADVStrah_, sgADVNakop_}}) {
    connect(a, &TStringGrid::columnResized, b, &TStringGrid::SetUserWidth);
    connect(b, &TStringGrid::columnResized, a, &TStringGrid::SetUserWidth);
  }
  gridMenu_ = new QMenu(this);
  QAction* reconcile = gridMenu_->addAction(QStringLiteral("Выгрузить сверку в Excel…"), this,
                                            &TfMainMDI::ExportReconciliation);
  reconcile->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
  for (TStringGrid* grid : {sgZLStrah_, sgZLNakop_, sgADVStrah_, sgADVNakop_}) {
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, this, [this, grid](const QPoint& at) {
      gridMenu_->popup(grid->viewport()->mapToGlobal(at));
    });
  }
  treeMenu_ = new QMenu(this);
  treeMenu_->addAction(QStringLiteral("Сверить архив…"), this, &TfMainMDI::ReconcileArchive);
  tvLF_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(tvLF_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { treeMenu_->popup(tvLF_->viewport()->mapToGlobal(at)); });
  // The preview offers the workbook too, among its exports.
  dmRpt_.Rpt.extraExports = {
      {QStringLiteral("Выгрузить сверку в Excel…"), [this] { ExportReconciliation(); }}};
  connect(sbHelp_, &TSButton::clicked, this, &TfMainMDI::sbHelpClick);
  connect(sbPrint_, &TSButton::clicked, this, &TfMainMDI::sbPrintClick);
  connect(sbZL_, &TSButton::clicked, this, [this] { Guarded([this] { session_.sbZLClick(); }); });
  connect(sbADV_, &TSButton::clicked, this, [this] { Guarded([this] { session_.sbADVClick(); }); });
  connect(tcZL_, &TTabControl::changed, this,
          [this](int index) { Guarded([&] { session_.SelectTab(index); }); });
}

void TfMainMDI::SetUpKeyboard() {
  tvLF_->setAccessibleName(QStringLiteral("Загрузка файлов"));
  sgZLStrah_->setAccessibleName(QStringLiteral("Застрахованные лица: страховая часть"));
  sgZLNakop_->setAccessibleName(QStringLiteral("Застрахованные лица: накопительная часть"));
  sgADVStrah_->setAccessibleName(QStringLiteral("Опись сведений: страховая часть"));
  sgADVNakop_->setAccessibleName(QStringLiteral("Опись сведений: накопительная часть"));
  tcZL_->Tabs()->setAccessibleName(QStringLiteral("Отбор"));

  // Left to right, top to bottom, as the eye reads the window; hidden views are skipped.
  const QList<QWidget*> order = {tvLF_,      sbClearFiles_,  sbLoadFiles_,  sbZL_,      sbADV_,
                                 sbPrint_,   sbHelp_,        tcZL_->Tabs(), sgZLStrah_, sgZLNakop_,
                                 edFindFIO_, tcADV_->Tabs(), sgADVStrah_,   sgADVNakop_};
  for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
  tcADV_->Tabs()->setFocusPolicy(Qt::NoFocus);

  const auto shortcut = [this](const QKeySequence& keys, auto handler) {
    auto* s = new QShortcut(keys, this);
    connect(s, &QShortcut::activated, this, handler);
  };
  // The search field would take some of these as its own (Ctrl+E: to the end of the line).
  edFindFIO_->installEventFilter(this);
  edFindFIO_->setToolTip(QStringLiteral("Поиск по фамилии (Ctrl+F)"));
  shortcut(QKeySequence(Qt::CTRL | Qt::Key_O), [this] { sbLoadFilesClick(); });
  shortcut(QKeySequence(Qt::CTRL | Qt::Key_P), [this] { sbPrintClick(); });
  shortcut(QKeySequence(Qt::Key_F1), [this] { sbHelpClick(); });
  shortcut(QKeySequence(Qt::CTRL | Qt::Key_E), [this] { ExportReconciliation(); });
  shortcut(QKeySequence(Qt::CTRL | Qt::Key_F), [this] {
    if (edFindFIO_->isVisible()) edFindFIO_->setFocus(Qt::ShortcutFocusReason);
  });
}

bool TfMainMDI::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edFindFIO_ && event->type() == QEvent::ShortcutOverride) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const QKeySequence pressed(key->keyCombination());
    for (const QKeySequence& ours :
         {QKeySequence(Qt::CTRL | Qt::Key_O), QKeySequence(Qt::CTRL | Qt::Key_P),
          QKeySequence(Qt::CTRL | Qt::Key_E), QKeySequence(Qt::CTRL | Qt::Key_F),
          QKeySequence(Qt::Key_F1)})
      if (pressed == ours) return true;  // not the field's: the window's shortcut runs
  }
  return QMainWindow::eventFilter(watched, event);
}

void TfMainMDI::ArrangeWindow(const QRect& workArea) {
  // 1. Fill the work area, frame included.
  QRect area = workArea;
  if (area.isEmpty())
    if (const QScreen* shownOn = screen() != nullptr ? screen() : QGuiApplication::primaryScreen())
      area = shownOn->availableGeometry();
  setMinimumSize(0, 0);
  setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  fittedFrame_ = windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins();
  setGeometry(area.marginsRemoved(fittedFrame_));
  QApplication::processEvents();

  // 2. The client area, the status bar's strip included.
  const int W = width();
  const int H = height();
  const auto place = [](QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(left, top, std::max(width, 0), std::max(height, 0));
  };
  place(spLF_, 8, 8, 350, H - 56);
  place(spLFShR_, spLF_->x() + spLF_->width(), spLF_->y() + 16, 8, spLF_->height() - 8);
  place(spLFShB_, spLF_->x() + 16, spLF_->y() + spLF_->height(), spLF_->width() - 8, 8);
  place(spZL_, spLF_->x() + spLF_->width() + 16, spLF_->y(),
        W - 2 * spLF_->x() - 8 - spLF_->width() - 16, spLF_->height());
  place(spZLShR_, spZL_->x() + spZL_->width(), spZL_->y() + 16, 8, spZL_->height() - 8);
  place(spZLShB_, spZL_->x() + 16, spZL_->y() + spZL_->height(), spZL_->width() - 8, 8);
  SettleLayouts(this);

  edFindFIO_->resize(std::max(spFindFIO_->width() - edFindFIO_->x() - 14, 0), edFindFIO_->height());
  zlPageLayout_->SetThickness(sgZLStrah_, std::max((tcZL_->height() - 79) / 2, 0));
  advPageLayout_->SetThickness(sgADVStrah_, std::max((tcADV_->height() - 79) / 2, 0));
  SettleLayouts(this);
  // The title pictures sit at (2, 2) of their panels' client areas, over the titles.
  Image2_->move(spLF_->contentsRect().topLeft() + QPoint(2, 2));
  Image2_->raise();
  Image3_->move(spZL_->contentsRect().topLeft() + QPoint(2, 2));
  Image3_->raise();

  setWindowTitle(QStringLiteral("Анализатор ЛОРВИ. Версия ") +
                 QString::fromStdString(dm_.AppInfo.GetItem(2)));
  // A fixed border: the user cannot resize the window.
  setFixedSize(size());
  QApplication::processEvents();
}

void TfMainMDI::ShowTree() {
  if (!treeModel_->Refresh()) return;
  const bool blocked = tvLF_->selectionModel()->blockSignals(true);
  for (const TreeNode* node : session_.tvLF().DisplayOrder())
    tvLF_->setExpanded(treeModel_->IndexOf(node), node->expanded);
  const QModelIndex selected = treeModel_->IndexOf(session_.tvLF().Selected());
  tvLF_->selectionModel()->setCurrentIndex(selected, QItemSelectionModel::ClearAndSelect);
  tvLF_->selectionModel()->blockSignals(blocked);
  tvLF_->viewport()->update();
}

void TfMainMDI::ShowSession() {
  ShowTree();
  // The organisation the grids show: the user's column widths were set for it.
  const TreeNode* shown = session_.tvLF().Organisation(session_.CurOrg());
  const QString organisation = shown != nullptr ? FromCp1251(shown->caption) : QString();
  for (TStringGrid* grid : {sgZLStrah_, sgZLNakop_, sgADVStrah_, sgADVNakop_})
    grid->Refresh(organisation);
  tcZL_->SetTabIndexQuietly(session_.tcZLIndex());
  const QString search = FromCp1251(session_.edFindFIO());
  if (edFindFIO_->text() != search) {
    const bool blocked = edFindFIO_->blockSignals(true);
    edFindFIO_->setText(search);
    edFindFIO_->blockSignals(blocked);
  }
  spZLf_->setVisible(!session_.AdvShown());
  spADVf_->setVisible(session_.AdvShown());
  SLabel2_->SetCaption(FromCp1251(session_.SLabel2Caption()));
}

void TfMainMDI::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_) return;
  shown_ = true;
  // A task bar that comes or goes changes the work area.
  if (QScreen* shownOn = screen())
    connect(shownOn, &QScreen::availableGeometryChanged, this, [this] { ArrangeWindow(); });
  ArrangeWindow();
  // The window manager frames the window after it is shown, and tells nobody; it may change the
  // frame once more when it sees the size fixed. For a while the window is fitted again, title
  // bar included, whenever its frame is not the one it was fitted with.
  auto* frameWatch = new QTimer(this);
  frameWatch->setInterval(100);
  connect(frameWatch, &QTimer::timeout, this, [this, frameWatch, polls = 0]() mutable {
    if (windowHandle() != nullptr && windowHandle()->frameMargins() != fittedFrame_)
      ArrangeWindow();
    if (++polls == 200) frameWatch->deleteLater();
  });
  frameWatch->start();
  session_.FormShow();
  ShowSession();
}

void TfMainMDI::closeEvent(QCloseEvent* event) {
  // Nothing may be released under a running load or reading: close once it is over.
  if (session_.Busy()) {
    closeWhenIdle_ = true;
    event->ignore();
    return;
  }
  session_.FormClose();
  QMainWindow::closeEvent(event);
}

void TfMainMDI::ShowProgress(const std::string& status) {
  StatusText_->setText(status.empty() ? idleStatus_ : FromUtf8(status));
  const qint64 now = QDateTime::currentMSecsSinceEpoch();
  if (!status.empty() && now - lastPump_ < 20) return;
  lastPump_ = now;
  // Every model shows the core as it is now before a repaint can read it: the load replaces
  // nodes, the reading empties the grids.
  ShowSession();
  QApplication::processEvents();
}

template <typename Action>
void TfMainMDI::Guarded(Action action) {
  if (session_.Busy()) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  session_.Guarded(action);
  QApplication::restoreOverrideCursor();
  ShowSession();
  if (closeWhenIdle_ && !session_.Busy()) {
    closeWhenIdle_ = false;
    close();
  }
}

void TfMainMDI::ShowMessage(const std::string& text1251) { ShowMessageBox(FromCp1251(text1251)); }

void TfMainMDI::sbLoadFilesClick() {
  Guarded([this] { session_.sbLoadFilesClick(OD); });
}

void TfMainMDI::LoadFiles(const QStringList& paths) {
  std::vector<std::string> files;
  for (const QString& path : paths) files.push_back(ToUtf8(QFileInfo(path).absoluteFilePath()));
  Guarded([&] { session_.LoadFiles(files); });
}

namespace {

// The local files and folders a drag carries.
QStringList DroppedPaths(const QMimeData* data) {
  QStringList paths;
  if (data != nullptr)
    for (const QUrl& url : data->urls())
      if (url.isLocalFile()) paths << url.toLocalFile();
  return paths;
}

}  // namespace

void TfMainMDI::dragEnterEvent(QDragEnterEvent* event) {
  if (!session_.Busy() && !DroppedPaths(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TfMainMDI::dropEvent(QDropEvent* event) {
  const QStringList paths = DroppedPaths(event->mimeData());
  if (session_.Busy() || paths.isEmpty()) return;
  event->acceptProposedAction();
  LoadFiles(paths);
}

void TfMainMDI::tvLFSelected(const QModelIndex& index) {
  Guarded([this, &index] { session_.SelectNode(treeModel_->NodeOf(index)); });
}

void TfMainMDI::GridCellSelected(GridTag tag, int col, int row) {
  Guarded([&] { session_.SelectCell(tag, col, row); });
}

void TfMainMDI::sbClearFilesClick() {
  Guarded([this] { session_.sbClearFilesClick(); });
}

void TfMainMDI::sbPrintClick() {
  Guarded([this] {
    if (const auto job = session_.sbPrintClick()) {
      report::WorkProgress progress(this);
      dmRpt_.Print(*job, this, progress.Callback());
    }
  });
}

HelpPictures TfMainMDI::FreshHelpPictures() const {
  // Fresh widgets, never shown: the live ones may hold the user's text, a cursor, the focus frame
  // or a squeezed size.
  QWidget stage;
  stage.setFont(font());
  TSButton* load = Button(&stage, sbLoadFiles_->Caption(), dm_.IL, sbLoadFiles_->ImageIndex());
  TSPanel* frame = Panel(&stage, kFramed);  // the strip the load button sits in
  frame->resize(125, 41);
  load->resize(125, frame->contentsRect().height());
  TSButton* adv = Button(&stage, sbADV_->Caption(), dm_.IL, sbADV_->ImageIndex());
  adv->resize(153, 24);
  const SearchStrip strip = MakeSearchStrip(&stage);
  strip.panel->resize(440, 41);
  SettleLayouts(strip.panel);
  strip.edit->resize(strip.panel->contentsRect().width() - strip.edit->x() - 14,
                     strip.edit->height());
  return {load->grab(), strip.panel->grab(), adv->grab()};
}

void TfMainMDI::ExportReconciliation() {
  if (session_.Busy()) return;
  const QDateTime now = QDateTime::currentDateTime();
  const auto reconciliation =
      session_.ReconciliationShown(ToCp1251(now.date().toString(QStringLiteral("dd.MM.yyyy"))));
  if (!reconciliation) return;  // no organisation shown: nothing to write
  if (workbookDir_.isEmpty())
    workbookDir_ = !session_.ODInitialDir().empty()
                       ? FromUtf8(session_.ODInitialDir())
                       : QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  const QString path = AskWorkbookPath(
      QDir(workbookDir_).filePath(FromCp1251(ReconciliationFileName(*reconciliation))));
  if (path.isEmpty()) return;
  workbookDir_ = QFileInfo(path).absolutePath();
  bool written = false;
  Guarded([&] {
    report::WorkProgress progress(this);
    WriteReconciliationWorkbook(
        *reconciliation, ToUtf8(path), now.toSecsSinceEpoch(),
        [&](std::size_t done, std::size_t total) {
          return progress.Step(QStringLiteral("Выгрузка сверки: строка %1 из %2")
                                   .arg(QLocale(QLocale::Russian).toString(qulonglong(done)),
                                        QLocale(QLocale::Russian).toString(qulonglong(total))),
                               static_cast<int>(done), static_cast<int>(total));
        });
    written = true;
  });
  if (written && OpenDocument && !OpenDocument(QUrl::fromLocalFile(path)))
    ShowNoticeBox(report::SavedButNotOpened(path, report::Saved::kWorkbook));
}

void TfMainMDI::ReconcileArchive() {
  if (session_.Busy()) return;
  if (archiveDir_.isEmpty())
    archiveDir_ = !session_.ODInitialDir().empty()
                      ? FromUtf8(session_.ODInitialDir())
                      : QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  const QString folder = AskArchiveFolder(archiveDir_);
  if (folder.isEmpty()) return;
  archiveDir_ = folder;
  const QDateTime now = QDateTime::currentDateTime();
  const QString path = AskOverviewPath(QDir(folder).filePath(
      QStringLiteral("Обзор архива %1.xlsx").arg(now.date().toString(Qt::ISODate))));
  if (path.isEmpty()) return;

  lorvi::ArchiveRequest request;
  request.inputs = {ToUtf8(folder)};
  request.overview = ToUtf8(path);
  request.separator = session_.Store().decimalSeparator;
  request.created = now.toSecsSinceEpoch();
  request.date = ToCp1251(now.date().toString(QStringLiteral("dd.MM.yyyy")));
  bool written = false;
  Guarded([&] {
    report::WorkProgress progress(this);
    lorvi::ReconcileArchive(
        request, {}, [&](const std::string& status, std::size_t done, std::size_t total) {
          return progress.Step(FromUtf8(status), static_cast<int>(done), static_cast<int>(total));
        });
    written = true;
  });
  if (written && OpenDocument && !OpenDocument(QUrl::fromLocalFile(path)))
    ShowNoticeBox(report::SavedButNotOpened(path, report::Saved::kOverview));
}

void TfMainMDI::sbHelpClick() {
  if (session_.Busy()) return;
  TfHelp help(FreshHelpPictures(), this);
  help.exec();
}

void UseReportDialogs(TDMRpt& dmRpt) {
  dmRpt.ShowMessageBox = [&dmRpt](const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, dmRpt.previewParent);
    box.exec();
  };
  report::UsePreviewDialog(dmRpt.Rpt);
}

}  // namespace lorvi
