#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QShortcut>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTreeView>

#include <exception>

#include "app/data_module.h"
#include "app/file_tree_model.h"
#include "app/help_window.h"
#include "app/pictures.h"
#include "app/session.h"
#include "app/window_font.h"
#include "intake/lorvi_error.h"
#include "intake/text1251.h"
#include "print/dm_rpt.h"
#include "report/open_document.h"
#include "view/string_grid.h"
#include "widgets/dock_layout.h"
#include "widgets/qt_text.h"
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
  session_.SetMessageSink([this](const std::string& text) { ShowMessage(text); });
  session_.onProgress = [this](const std::string& status) { ShowProgress(status); };
  AskWorkbookPath = [this](const QString& proposed) {
    QFileDialog dialog(this, QStringLiteral("Выгрузить сверку в Excel"), proposed,
                       QStringLiteral("Книга Excel (*.xlsx)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("xlsx"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.resize(900, 520);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().first();
  };
  OpenDocument = report::OpenInDesktopApplication;
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
  Build();
  // Created centred with its design size; shown, it fills the work area.
  resize(1060, 771);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

TfMainMDI::~TfMainMDI() { session_.SetMessageSink(nullptr); }

void TfMainMDI::Build() {
  auto* client = new QWidget(this);
  setCentralWidget(client);

  auto* status = new QStatusBar(this);
  status->setSizeGripEnabled(false);
  status->setFixedHeight(25);
  StatusText = new QLabel(idleStatus_, status);
  StatusText->setAlignment(Qt::AlignCenter);
  status->addWidget(StatusText, 1);
  setStatusBar(status);

  // The panel of loaded files.
  spLF = Panel(client, kFramed);
  auto* lf = new DockLayout(spLF);
  SLabel1 = Title(spLF, QStringLiteral("Загрузка файлов"));
  lf->AddWidget(SLabel1, Dock::Top, 25);
  SPanel2 = Panel(spLF, kFramed);
  lf->AddWidget(SPanel2, Dock::Bottom, 41);
  auto* buttons = new DockLayout(SPanel2);
  sbClearFiles = Button(SPanel2, QStringLiteral("Очистить список"), dm_.IL, 3);
  buttons->AddWidget(sbClearFiles, Dock::Left, 125);
  sbLoadFiles = Button(SPanel2, QStringLiteral("Подгрузить файлы"), dm_.IL, 2);
  sbLoadFiles->setToolTip(QStringLiteral("Подгрузить файлы\nза все периоды\nначиная с 2010 года"));
  buttons->AddWidget(sbLoadFiles, Dock::Right, 125);
  tvLF = new PlainTreeView(spLF);
  tvLF->setHeaderHidden(true);
  tvLF->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tvLF->setRootIsDecorated(false);
  tvLF->setItemsExpandable(false);
  tvLF->setIndentation(19);
  tvLF->setUniformRowHeights(true);
  {
    // The selection stays visible when the tree loses the focus.
    QPalette palette = tvLF->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    tvLF->setPalette(palette);
  }
  treeModel_ = new FileTreeModel(session_.tvLF, *dm_.IL, this);
  tvLF->setModel(treeModel_);
  tvLF->setItemDelegate(new FileTreeDelegate(*treeModel_, *dm_.IL, tvLF));
  connect(tvLF->selectionModel(), &QItemSelectionModel::currentChanged, this,
          &TfMainMDI::tvLFSelected);
  lf->AddWidget(tvLF, Dock::Fill);
  Image2 = Picture(spLF, FloppyDiskPicture(), QRect(0, 0, 16, 16));

  // The work panel.
  spZL = Panel(client, kFramed);
  auto* zl = new DockLayout(spZL);
  SLabel2 = Title(spZL, QStringLiteral("Застрахованные лица"));
  zl->AddWidget(SLabel2, Dock::Top, 25);
  SPanel3 = Panel(spZL, TSBorderStyle());
  zl->AddWidget(SPanel3, Dock::Top, 24);
  auto* views = new DockLayout(SPanel3);
  // On a narrow work panel (small screen, large fonts) the four buttons share what there is.
  views->SetShrinkSides(true);
  sbZL = Button(SPanel3, QStringLiteral("Застрахованные лица"), dm_.IL, 9);
  views->AddWidget(sbZL, Dock::Left, 153);
  sbADV = Button(SPanel3, QStringLiteral("Опись сведений"), dm_.IL, 6);
  views->AddWidget(sbADV, Dock::Left, 153);
  sbHelp = Button(SPanel3, QStringLiteral("Помощь"), dm_.IL, 11);
  views->AddWidget(sbHelp, Dock::Right, 153);
  sbPrint = Button(SPanel3, QStringLiteral("Печать"), dm_.IL, 12);
  views->AddWidget(sbPrint, Dock::Right, 153);

  // The insured-persons view.
  spZLf = Panel(spZL, TSBorderStyle());
  zl->AddWidget(spZLf, Dock::Fill);
  auto* zlf = new DockLayout(spZLf);
  const SearchStrip strip = MakeSearchStrip(spZLf);
  spFindFIO = strip.panel;
  Image1 = strip.picture;
  Label1 = strip.label;
  edFindFIO = strip.edit;
  zlf->AddWidget(spFindFIO, Dock::Bottom, 41);
  UpperCaseWhileTyping(edFindFIO);
  connect(edFindFIO, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (text == text.toUpper()) Guarded([&] { session_.edFindFIOChange(ToCp1251(text)); });
  });
  tcZL = new TTabControl(spZLf);
  tcZL->setFont(TitleFont());
  tcZL->Tabs()->setIconSize(QSize(16, 16));
  const QString tabs[] = {QStringLiteral("Все"), QStringLiteral("Начислено<Уплачено"),
                          QStringLiteral("Начислено>Уплачено"), QStringLiteral("Уволенные"),
                          QStringLiteral("Не прочитал")};
  for (int i = 0; i < 5; ++i) tcZL->AddTab(tabs[i], QIcon(dm_.TabIL->Image(i)));
  // Tabs too wide for the panel are elided, all in view, rather than scrolled out of it.
  tcZL->Tabs()->setElideMode(Qt::ElideRight);
  tcZL->Tabs()->setUsesScrollButtons(false);
  zlf->AddWidget(tcZL, Dock::Fill);
  zlPageLayout_ = new DockLayout(tcZL->Page());
  SLabel4 = PartTitle(tcZL->Page(), QStringLiteral("Страховая часть:"));
  zlPageLayout_->AddWidget(SLabel4, Dock::Top, 25);
  sgZLStrah = new TStringGrid(session_.sgZLStrah, tcZL->Page());
  zlPageLayout_->AddWidget(sgZLStrah, Dock::Top, 100);
  SLabel3 = PartTitle(tcZL->Page(), QStringLiteral("Накопительная часть:"));
  zlPageLayout_->AddWidget(SLabel3, Dock::Top, 25);
  sgZLNakop = new TStringGrid(session_.sgZLNakop, tcZL->Page());
  zlPageLayout_->AddWidget(sgZLNakop, Dock::Fill);

  // The inventory view, hidden at start.
  spADVf = Panel(spZL, TSBorderStyle());
  zl->AddWidget(spADVf, Dock::Fill);
  auto* advf = new DockLayout(spADVf);
  SPanel10 = Panel(spADVf, kFramed);
  advf->AddWidget(SPanel10, Dock::Bottom, 41);
  tcADV = new TTabControl(spADVf);
  tcADV->setFont(TitleFont());
  tcADV->AddTab(QString());
  advf->AddWidget(tcADV, Dock::Fill);
  advPageLayout_ = new DockLayout(tcADV->Page());
  SLabel7 = PartTitle(tcADV->Page(), QStringLiteral("Страховая часть:"));
  advPageLayout_->AddWidget(SLabel7, Dock::Top, 25);
  sgADVStrah = new TStringGrid(session_.sgADVStrah, tcADV->Page());
  advPageLayout_->AddWidget(sgADVStrah, Dock::Top, 100);
  SLabel6 = PartTitle(tcADV->Page(), QStringLiteral("Накопительная часть:"));
  advPageLayout_->AddWidget(SLabel6, Dock::Top, 25);
  sgADVNakop = new TStringGrid(session_.sgADVNakop, tcADV->Page());
  advPageLayout_->AddWidget(sgADVNakop, Dock::Fill);
  spADVf->hide();

  Image3 = Picture(spZL, ILPicture(8), QRect(0, 0, 16, 16));

  spLFShR = Shadow(client);
  spLFShB = Shadow(client);
  spZLShR = Shadow(client);
  spZLShB = Shadow(client);

  connect(sbLoadFiles, &TSButton::clicked, this, &TfMainMDI::sbLoadFilesClick);
  connect(sbClearFiles, &TSButton::clicked, this, &TfMainMDI::sbClearFilesClick);
  for (TStringGrid* grid : {sgZLStrah, sgZLNakop, sgADVStrah, sgADVNakop}) {
    connect(grid, &TStringGrid::cellSelected, this,
            [this, grid](int col, int row) { GridCellSelected(grid->Tag(), col, row); });
    connect(grid, &TStringGrid::scrolled, this,
            [this, grid](int col, int row) { session_.Grid(grid->Tag()).SetTopLeft(col, row); });
  }
  gridMenu = new QMenu(this);
  QAction* reconcile = gridMenu->addAction(QStringLiteral("Выгрузить сверку в Excel…"), this,
                                           &TfMainMDI::ExportReconciliation);
  reconcile->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
  for (TStringGrid* grid : {sgZLStrah, sgZLNakop, sgADVStrah, sgADVNakop}) {
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, this,
            [this, grid](const QPoint& at) { gridMenu->popup(grid->viewport()->mapToGlobal(at)); });
  }
  // The preview offers the workbook too, among its exports.
  dmRpt_.Rpt.extraExports = {
      {QStringLiteral("Выгрузить сверку в Excel…"), [this] { ExportReconciliation(); }}};
  connect(sbHelp, &TSButton::clicked, this, &TfMainMDI::sbHelpClick);
  connect(sbPrint, &TSButton::clicked, this, &TfMainMDI::sbPrintClick);
  connect(sbZL, &TSButton::clicked, this, [this] { Guarded([this] { session_.sbZLClick(); }); });
  connect(sbADV, &TSButton::clicked, this, [this] { Guarded([this] { session_.sbADVClick(); }); });
  connect(tcZL, &TTabControl::changed, this,
          [this](int index) { Guarded([&] { session_.SelectTab(index); }); });
  SetUpKeyboard();
}

void TfMainMDI::SetUpKeyboard() {
  tvLF->setAccessibleName(QStringLiteral("Загрузка файлов"));
  sgZLStrah->setAccessibleName(QStringLiteral("Застрахованные лица: страховая часть"));
  sgZLNakop->setAccessibleName(QStringLiteral("Застрахованные лица: накопительная часть"));
  sgADVStrah->setAccessibleName(QStringLiteral("Опись сведений: страховая часть"));
  sgADVNakop->setAccessibleName(QStringLiteral("Опись сведений: накопительная часть"));
  tcZL->Tabs()->setAccessibleName(QStringLiteral("Отбор"));

  // Left to right, top to bottom, as the eye reads the window; hidden views are skipped.
  const QList<QWidget*> order = {tvLF,      sbClearFiles,  sbLoadFiles,  sbZL,      sbADV,
                                 sbPrint,   sbHelp,        tcZL->Tabs(), sgZLStrah, sgZLNakop,
                                 edFindFIO, tcADV->Tabs(), sgADVStrah,   sgADVNakop};
  for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
  tcADV->Tabs()->setFocusPolicy(Qt::NoFocus);

  const auto shortcut = [this](const QKeySequence& keys, auto handler) {
    auto* s = new QShortcut(keys, this);
    connect(s, &QShortcut::activated, this, handler);
  };
  shortcut(QKeySequence(Qt::CTRL | Qt::Key_O), [this] { sbLoadFilesClick(); });
  shortcut(QKeySequence(Qt::CTRL | Qt::Key_P), [this] { sbPrintClick(); });
  shortcut(QKeySequence(Qt::Key_F1), [this] { sbHelpClick(); });
  shortcut(QKeySequence(Qt::CTRL | Qt::Key_E), [this] { ExportReconciliation(); });
  shortcut(QKeySequence(Qt::CTRL | Qt::Key_F), [this] {
    if (edFindFIO->isVisible()) edFindFIO->setFocus(Qt::ShortcutFocusReason);
  });
}

void TfMainMDI::ArrangeWindow(const QRect& workArea) {
  // 1. Fill the work area, frame included.
  QRect area = workArea;
  if (area.isEmpty())
    if (const QScreen* screen = QGuiApplication::primaryScreen())
      area = screen->availableGeometry();
  setMinimumSize(0, 0);
  setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  const QSize frame = frameGeometry().size() - geometry().size();
  move(area.topLeft());
  resize(area.size() - frame);
  QApplication::processEvents();

  // 2. The client area, the status bar's strip included.
  const int W = width();
  const int H = height();
  const auto place = [](QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(left, top, std::max(width, 0), std::max(height, 0));
  };
  place(spLF, 8, 8, 350, H - 56);
  place(spLFShR, spLF->x() + spLF->width(), spLF->y() + 16, 8, spLF->height() - 8);
  place(spLFShB, spLF->x() + 16, spLF->y() + spLF->height(), spLF->width() - 8, 8);
  place(spZL, spLF->x() + spLF->width() + 16, spLF->y(), W - 2 * spLF->x() - 8 - spLF->width() - 16,
        spLF->height());
  place(spZLShR, spZL->x() + spZL->width(), spZL->y() + 16, 8, spZL->height() - 8);
  place(spZLShB, spZL->x() + 16, spZL->y() + spZL->height(), spZL->width() - 8, 8);
  SettleLayouts(this);

  edFindFIO->resize(std::max(spFindFIO->width() - edFindFIO->x() - 14, 0), edFindFIO->height());
  zlPageLayout_->SetThickness(sgZLStrah, std::max((tcZL->height() - 79) / 2, 0));
  advPageLayout_->SetThickness(sgADVStrah, std::max((tcADV->height() - 79) / 2, 0));
  SettleLayouts(this);
  // The title pictures sit at (2, 2) of their panels' client areas, over the titles.
  Image2->move(spLF->contentsRect().topLeft() + QPoint(2, 2));
  Image2->raise();
  Image3->move(spZL->contentsRect().topLeft() + QPoint(2, 2));
  Image3->raise();

  setWindowTitle(QStringLiteral("Анализатор ЛОРВИ. Версия ") +
                 QString::fromStdString(dm_.AppInfo.GetItem(2)));
  session_.CurOrg = 0;
  // A fixed border: the user cannot resize the window.
  setFixedSize(size());
  QApplication::processEvents();
}

void TfMainMDI::ShowTree() {
  if (!treeModel_->Refresh()) return;
  const bool blocked = tvLF->selectionModel()->blockSignals(true);
  for (const TreeNode* node : session_.tvLF.DisplayOrder())
    tvLF->setExpanded(treeModel_->IndexOf(node), node->expanded);
  const QModelIndex selected = treeModel_->IndexOf(session_.tvLF.Selected());
  tvLF->selectionModel()->setCurrentIndex(selected, QItemSelectionModel::ClearAndSelect);
  tvLF->selectionModel()->blockSignals(blocked);
  tvLF->viewport()->update();
}

void TfMainMDI::ShowSession() {
  ShowTree();
  for (TStringGrid* grid : {sgZLStrah, sgZLNakop, sgADVStrah, sgADVNakop}) grid->Refresh();
  tcZL->SetTabIndexQuietly(session_.tcZLIndex);
  const QString search = FromCp1251(session_.edFindFIO);
  if (edFindFIO->text() != search) {
    const bool blocked = edFindFIO->blockSignals(true);
    edFindFIO->setText(search);
    edFindFIO->blockSignals(blocked);
  }
  spZLf->setVisible(!session_.advShown);
  spADVf->setVisible(session_.advShown);
  SLabel2->SetCaption(FromCp1251(session_.SLabel2Caption));
}

void TfMainMDI::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_) return;
  shown_ = true;
  ArrangeWindow();
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
  StatusText->setText(status.empty() ? idleStatus_ : FromUtf8(status));
  const qint64 now = QDateTime::currentMSecsSinceEpoch();
  if (!status.empty() && now - lastPump_ < 20) return;
  lastPump_ = now;
  ShowTree();
  QApplication::processEvents();
}

template <typename Action>
void TfMainMDI::Guarded(Action action) {
  if (session_.Busy()) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    action();
  } catch (const LorviError& e) {
    session_.ShowError(e.what());
  } catch (const std::exception& e) {
    session_.ShowError(Utf8ToCp1251(e.what()));
  }
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

void TfMainMDI::tvLFSelected(const QModelIndex& index) {
  Guarded([this, &index] { session_.SelectNode(treeModel_->NodeOf(index)); });
}

void TfMainMDI::GridCellSelected(int tag, int col, int row) {
  Guarded([&] { session_.SelectCell(tag, col, row); });
}

void TfMainMDI::sbClearFilesClick() {
  Guarded([this] { session_.sbClearFilesClick(); });
}

void TfMainMDI::sbPrintClick() {
  Guarded([this] {
    if (const auto job = session_.sbPrintClick()) dmRpt_.Print(*job, this);
  });
}

HelpPictures TfMainMDI::FreshHelpPictures() const {
  // Fresh widgets, never shown: the live ones may hold the user's text, a cursor, the focus frame
  // or a squeezed size.
  QWidget stage;
  stage.setFont(font());
  TSButton* load = Button(&stage, sbLoadFiles->Caption(), dm_.IL, sbLoadFiles->ImageIndex());
  TSPanel* frame = Panel(&stage, kFramed);  // the strip the load button sits in
  frame->resize(125, 41);
  load->resize(125, frame->contentsRect().height());
  TSButton* adv = Button(&stage, sbADV->Caption(), dm_.IL, sbADV->ImageIndex());
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
    workbookDir_ = !session_.ODInitialDir.empty()
                       ? FromUtf8(session_.ODInitialDir)
                       : QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  const QString path = AskWorkbookPath(
      QDir(workbookDir_).filePath(FromCp1251(ReconciliationFileName(*reconciliation))));
  if (path.isEmpty()) return;
  workbookDir_ = QFileInfo(path).absolutePath();
  bool written = false;
  Guarded([&] {
    WriteReconciliationWorkbook(*reconciliation, ToUtf8(path), now.toSecsSinceEpoch());
    written = true;
  });
  if (written && OpenDocument && !OpenDocument(QUrl::fromLocalFile(path)))
    ShowMessageBox(report::SavedButNotOpened(path));
}

void TfMainMDI::sbHelpClick() {
  TfHelp help(FreshHelpPictures(), this);
  help.exec();
}

}  // namespace lorvi
