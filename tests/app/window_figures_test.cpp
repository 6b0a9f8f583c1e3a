#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDate>
#include <QFileInfo>
#include <QHeaderView>
#include <QHelpEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QSet>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QTreeView>
#include <QWheelEvent>

#include <utility>

#include "app/data_module.h"
#include "app/main_window.h"
#include "app/string_grid.h"
#include "base/text1251.h"
#include "intake/load_files.h"
#include "models/dm_rpt.h"
#include "models/file_tree_model.h"
#include "session/session.h"
#include "support/fund_file.h"
#include "support/scratch_dir.h"
#include "widgets/styled_button.h"
#include "widgets/styled_label.h"
#include "widgets/styled_panel.h"
#include "widgets/tab_control.h"
#include "window_widgets.h"

namespace lorvi {
namespace {

using test::Type;
using test::Widget;

using fund::Insurer;
using fund::Person;

void ClickCell(TStringGrid* grid, int col, int row) {
  const QModelIndex index =
      grid->model()->index(row - grid->Grid().FixedRows(), col - grid->Grid().FixedCols());
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
}

void ClickTab(TTabControl* tabs, int index) {
  QTest::mouseClick(tabs->Tabs(), Qt::LeftButton, {}, tabs->Tabs()->tabRect(index).center());
}

TEST(WindowFigures, AUserClicksThroughFiguresViewsTabsAndSearch) {
  ScratchDir dir;
  Session session(',');
  TDM dm(nullptr);
  TDMRpt dmRpt{QString()};
  TfMainMDI window(session, dm, dmRpt);
  QStringList messages;
  window.ShowMessageBox = [&](const QString& text) { messages << text; };
  Person leaver("ЯКОВЛЕВ", "10", "5");
  leaver.end = "01.02.2011";
  const std::vector<std::string> files = {
      dir.WriteXml("a.xml",
                   fund::Records(Insurer(), "2011-1",
                                 {Person("ИВАНОВ", "5", "5"), Person("ПЕТРОВ", "1", "3"), leaver})),
      dir.WriteXml("b.xml", fund::Inventory(Insurer(), "2011-1", {{"НР", "16", "13"}}))};
  window.OD = [&](const std::string&) { return std::optional(files); };
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QTest::mouseClick(Widget<TSButton>(window, "sbLoadFiles"), Qt::LeftButton);

  // A figure: the partner follows, the file is marked.
  ClickCell(Widget<TStringGrid>(window, "sgZLStrah"), 2, 2);
  EXPECT_EQ(session.sgZLNakop().Col(), 2);
  EXPECT_EQ(session.sgZLNakop().Row(), 2);
  EXPECT_EQ(Widget<TStringGrid>(window, "sgZLNakop")->currentIndex().row(), 1);
  const TreeNode* szvFile = session.tvLF().NodeAt(5);
  ASSERT_EQ(szvFile->caption, "a.xml");
  EXPECT_EQ(szvFile->state, kPictureSourceMark);
  const QModelIndex marked = test::TreeModelOf(window)->IndexOf(szvFile);
  EXPECT_EQ(marked.data(Qt::ForegroundRole).value<QBrush>().color(), QColor(0, 0, 128));

  // The inventory view and back: the mark goes.
  QTest::mouseClick(Widget<TSButton>(window, "sbADV"), Qt::LeftButton);
  EXPECT_TRUE(Widget<TSPanel>(window, "spADVf")->isVisible());
  EXPECT_FALSE(Widget<TSPanel>(window, "spZLf")->isVisible());
  EXPECT_EQ(Widget<TSLabel>(window, "SLabel2")->Caption(), QStringLiteral("Опись сведенний"));
  EXPECT_EQ(szvFile->state, -1);
  ClickCell(Widget<TStringGrid>(window, "sgADVNakop"), 2, 1);
  EXPECT_EQ(session.sgADVStrah().Row(), 1);
  QTest::mouseClick(Widget<TSButton>(window, "sbZL"), Qt::LeftButton);
  EXPECT_TRUE(Widget<TSPanel>(window, "spZLf")->isVisible());

  // Each tab, as the rows show it.
  // With everyone removed the title row is all that is left, and no longer fixed.
  const int rows[] = {3, 1, 1, 1, 1};
  for (int tab : {1, 2, 3, 4, 0}) {
    ClickTab(Widget<TTabControl>(window, "tcZL"), tab);
    EXPECT_EQ(session.tcZLIndex(), tab);
    EXPECT_EQ(Widget<TStringGrid>(window, "sgZLStrah")->model()->rowCount(),
              tab == 0 ? 3 : rows[tab])
        << tab;
  }
  ClickTab(Widget<TTabControl>(window, "tcZL"), 3);
  EXPECT_EQ(
      Widget<TStringGrid>(window, "sgZLStrah")->model()->headerData(0, Qt::Vertical).toString(),
      QStringLiteral("ЯКОВЛЕВ ИВАН ИВАНОВИЧ (2011-1)"));
  ClickTab(Widget<TTabControl>(window, "tcZL"), 0);

  // A surname letter by letter, lower case typed, upper case searched.
  Widget<QLineEdit>(window, "edFindFIO")->setFocus();
  Type(Widget<QLineEdit>(window, "edFindFIO"), QStringLiteral("п"));
  EXPECT_EQ(Widget<QLineEdit>(window, "edFindFIO")->text(), QStringLiteral("П"));
  EXPECT_EQ(session.sgZLStrah().Row(), 2);
  Type(Widget<QLineEdit>(window, "edFindFIO"), QStringLiteral("ет"));
  EXPECT_EQ(session.sgZLStrah().Row(), 2);
  EXPECT_EQ(Widget<TStringGrid>(window, "sgZLStrah")->currentIndex().row(), 1);
  Type(Widget<QLineEdit>(window, "edFindFIO"), QStringLiteral("х"));
  EXPECT_EQ(session.sgZLStrah().Row(), 1);  // nothing begins so: row 1
  EXPECT_TRUE(messages.isEmpty());
}

TEST(WindowFigures, AUserWorksTheWindowByKeyboard) {
  ScratchDir dir;
  Session session(',');
  TDM dm(nullptr);
  TDMRpt dmRpt{QStringLiteral(LORVI_SOURCE_DIR)};
  int previews = 0;
  dmRpt.Rpt.ShowPreview = [&](const report::PreparedReport&, QWidget*) { ++previews; };
  TfMainMDI window(session, dm, dmRpt);
  QStringList messages;
  QStringList notices;
  window.ShowMessageBox = [&](const QString& text) { messages << text; };
  window.ShowNoticeBox = [&](const QString& text) { notices << text; };
  const std::vector<std::string> files = {dir.WriteXml(
      "a.xml", fund::Records(Insurer(), "2011-1", {Person("ИВАНОВ", "5", "5"), Person("ПЕТРОВ")}))};
  int dialogs = 0;
  window.OD = [&](const std::string&) {
    ++dialogs;
    return std::optional(files);
  };
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

  QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(dialogs, 1);
  EXPECT_EQ(session.sgZLStrah().RowCount(), 3);

  // Tab walks the window as it reads, Shift+Tab walks back; a grid lets Tab go.
  Widget<QTreeView>(window, "tvLF")->setFocus();
  const QList<QWidget*> order = {Widget<TSButton>(window, "sbClearFiles"),
                                 Widget<TSButton>(window, "sbLoadFiles"),
                                 Widget<TSButton>(window, "sbZL"),
                                 Widget<TSButton>(window, "sbADV"),
                                 Widget<TSButton>(window, "sbPrint"),
                                 Widget<TSButton>(window, "sbHelp"),
                                 Widget<TTabControl>(window, "tcZL")->Tabs(),
                                 Widget<TStringGrid>(window, "sgZLStrah"),
                                 Widget<TStringGrid>(window, "sgZLNakop"),
                                 Widget<QLineEdit>(window, "edFindFIO")};
  for (QWidget* next : order) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), next) << next->accessibleName().toStdString();
  }
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
  EXPECT_EQ(QApplication::focusWidget(), Widget<TStringGrid>(window, "sgZLNakop"));
  for (QWidget* named : {static_cast<QWidget*>(Widget<QTreeView>(window, "tvLF")),
                         static_cast<QWidget*>(Widget<TSButton>(window, "sbPrint")),
                         static_cast<QWidget*>(Widget<TStringGrid>(window, "sgZLStrah")),
                         static_cast<QWidget*>(Widget<QLineEdit>(window, "edFindFIO"))})
    EXPECT_FALSE(named->accessibleName().isEmpty());
  EXPECT_EQ(Widget<TSButton>(window, "sbPrint")->accessibleName(), QStringLiteral("Печать"));

  // Arrows move the figure: the partner follows and the source is marked. The grid with the
  // focus frames its current cell; the other shows it bold only.
  const QImage strahWithout =
      Widget<TStringGrid>(window, "sgZLStrah")->viewport()->grab().toImage();
  Widget<TStringGrid>(window, "sgZLStrah")->setFocus();
  EXPECT_NE(Widget<TStringGrid>(window, "sgZLStrah")->viewport()->grab().toImage(), strahWithout);
  QTest::keyClick(Widget<TStringGrid>(window, "sgZLStrah"), Qt::Key_Right);
  QTest::keyClick(Widget<TStringGrid>(window, "sgZLStrah"), Qt::Key_Down);
  EXPECT_EQ(session.sgZLStrah().Col(), 2);
  EXPECT_EQ(session.sgZLStrah().Row(), 2);
  EXPECT_EQ(session.sgZLNakop().Row(), 2);
  EXPECT_EQ(session.tvLF().NodeAt(3)->state, kPictureSourceMark);

  // Space and Enter press the styled buttons; the button shows that it has the focus.
  Widget<TSButton>(window, "sbADV")->setFocus();
  const QImage unfocused = [&] {
    Widget<TSButton>(window, "sbZL")->setFocus();
    return Widget<TSButton>(window, "sbADV")->grab().toImage();
  }();
  Widget<TSButton>(window, "sbADV")->setFocus();
  EXPECT_NE(Widget<TSButton>(window, "sbADV")->grab().toImage(), unfocused);
  QTest::keyClick(Widget<TSButton>(window, "sbADV"), Qt::Key_Space);
  EXPECT_TRUE(session.AdvShown());
  QTest::keyClick(Widget<TSButton>(window, "sbZL"), Qt::Key_Return);
  EXPECT_FALSE(session.AdvShown());

  QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
  EXPECT_EQ(QApplication::focusWidget(), Widget<QLineEdit>(window, "edFindFIO"));
  EXPECT_EQ(Widget<TSButton>(window, "sbPrint")->toolTip(), QStringLiteral("Печать (Ctrl+P)"));
  QString helpTitle;
  QTimer::singleShot(0, [&] {
    if (QWidget* help = QApplication::activeModalWidget()) {
      helpTitle = help->windowTitle();
      help->close();
    }
  });
  QTest::keyClick(&window, Qt::Key_F1);
  EXPECT_EQ(helpTitle, QStringLiteral("Описание программы:"));
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QTest::keyClick(&window, Qt::Key_P, Qt::ControlModifier);
  EXPECT_EQ(previews, 1);
  EXPECT_TRUE(messages.isEmpty());

  // Ctrl+E, the grids' menu and the preview's export menu write the reconciliation workbook,
  // proposing a name of the registration number, view and date in the dialog's last folder.
  QStringList proposed;
  window.AskWorkbookPath = [&](const QString& path) {
    proposed << path;
    return QString::fromStdString(dir.PathOf("сверка-" + std::to_string(proposed.size())));
  };
  QList<QUrl> opened;
  window.OpenDocument = [&](const QUrl& url) {
    opened << url;
    return opened.size() < 3;
  };
  // Ctrl+E in the search field, where the user is after Ctrl+F, is the window's, not the field's.
  Widget<QLineEdit>(window, "edFindFIO")->setFocus();
  QTest::keyClick(Widget<QLineEdit>(window, "edFindFIO"), Qt::Key_E, Qt::ControlModifier);
  Widget<QMenu>(window, "gridMenu")->actions().front()->trigger();
  ASSERT_EQ(dmRpt.Rpt.extraExports.size(), 1);
  dmRpt.Rpt.extraExports.front().run();
  ASSERT_EQ(proposed.size(), 3);
  EXPECT_TRUE(
      proposed[0].endsWith(QStringLiteral("/Сверка 000-000-000001 Застрахованные лица %1.xlsx")
                               .arg(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")))))
      << proposed[0].toStdString();
  EXPECT_TRUE(proposed[1].startsWith(QString::fromStdString(dir.PathOf(""))));
  EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(dir.PathOf("сверка-1"))));
  EXPECT_EQ(opened.size(), 3);
  EXPECT_TRUE(messages.isEmpty());
  ASSERT_EQ(notices.size(), 1);  // the third could not be opened: no failure, a notice
  EXPECT_TRUE(notices[0].startsWith(QStringLiteral("Сверка сохранена в файл ")));
  EXPECT_TRUE(notices[0].contains(QStringLiteral("открыть её не удалось")));
}

// The ink of a cell's text, as (x, y) from the cell's corner: what its text adds to the cell.
QSet<QPair<int, int>> InkOf(const QImage& with, const QImage& without, const QRect& cell) {
  QSet<QPair<int, int>> ink;
  for (int y = cell.top(); y <= cell.bottom(); ++y)
    for (int x = cell.left(); x <= cell.right(); ++x)
      if (with.pixel(x, y) != without.pixel(x, y)) ink.insert({x - cell.left(), y - cell.top()});
  return ink;
}

TEST(WindowFigures, GridTextIsWholeInItsRows) {
  // The tallest letters and the decimal comma in the title row, a person's row and a total.
  const std::string text = Utf8ToCp1251("ДЩЦ 42972,82 > 1,00 (42971,82)");
  TextGrid grid(GridTag::ZLStrah);
  grid.SetColCount(3);
  grid.SetRowCount(3);
  grid.SetFixedCols(1);
  grid.SetFixedRows(1);
  for (int col = 0; col < 3; ++col) grid.SetColWidth(col, 240);
  grid.SetSelection(2, 2);
  // In the window a grid sits in a tab control with a big bold font.
  QWidget tabPage;
  QFont tabFont = tabPage.font();
  tabFont.setPointSize(10);
  tabFont.setBold(true);
  tabPage.setFont(tabFont);
  tabPage.resize(760, 200);
  TStringGrid& view = *new TStringGrid(grid, &tabPage);
  view.resize(760, 200);
  tabPage.show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(&tabPage));
  // The total and a figure of the title row; the name, the total and a figure of a person's row.
  const QList<QPoint> cells = {{1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}};
  const auto shot = [&](int rowHeight, bool withText) {
    for (const QPoint& c : cells) grid.SetCell(c.x(), c.y(), withText ? text : std::string());
    view.verticalHeader()->setDefaultSectionSize(rowHeight);
    view.horizontalHeader()->setFixedHeight(rowHeight);
    view.Refresh();
    QApplication::processEvents();  // the headers' new size moves the cells
    return view.grab().toImage();
  };
  // Where cell (col, row) is in the grab of the whole grid.
  const auto cellRect = [&](int col, int row) {
    const QWidget* vp = view.viewport();
    const int x =
        col == 0 ? view.verticalHeader()->x() : vp->x() + view.columnViewportPosition(col - 1);
    const int y =
        row == 0 ? view.horizontalHeader()->y() : vp->y() + view.rowViewportPosition(row - 1);
    const int w = col == 0 ? view.verticalHeader()->width() : view.columnWidth(col - 1);
    const int h = row == 0 ? view.horizontalHeader()->height() : view.rowHeight(row - 1);
    return QRect(x, y, w, h);
  };
  const int rowHeight = view.verticalHeader()->defaultSectionSize();
  const QImage shortRows = shot(rowHeight, true);
  const QImage shortBlank = shot(rowHeight, false);
  QList<QRect> shortCells;
  for (const QPoint& c : cells) shortCells << cellRect(c.x(), c.y());
  const QImage tallRows = shot(40, true);
  const QImage tallBlank = shot(40, false);
  for (qsizetype i = 0; i < cells.size(); ++i) {
    const QSet<QPair<int, int>> tall =
        InkOf(tallRows, tallBlank, cellRect(cells[i].x(), cells[i].y()));
    EXPECT_FALSE(tall.isEmpty());
    EXPECT_EQ(InkOf(shortRows, shortBlank, shortCells[i]), tall)
        << "cell " << cells[i].x() << "," << cells[i].y();
  }
  // The window's 8 points, not the tab control's 10.
  EXPECT_EQ(view.font().pointSize(), 8);
}

TEST(WindowFigures, GridsScrollByWholeCells) {
  TextGrid grid(GridTag::ZLNakop);
  grid.SetColCount(12);
  grid.SetRowCount(60);
  grid.SetFixedCols(1);
  grid.SetFixedRows(1);
  for (int col = 0; col < 12; ++col) grid.SetColWidth(col, 150 + 7 * col);
  TStringGrid view(grid);
  view.resize(700, 300);
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  // The first scrollable cell on screen starts at the fixed cells' edge, wherever it is.
  const auto expectWhole = [&](const char* where) {
    const int col = view.horizontalScrollBar()->value();
    const int row = view.verticalScrollBar()->value();
    EXPECT_EQ(view.columnViewportPosition(col), 0) << where;
    EXPECT_EQ(view.rowViewportPosition(row), 0) << where;
    // Whatever follows fits: at the end the last cell is whole too.
    if (col == view.horizontalScrollBar()->maximum()) {
      EXPECT_LE(view.columnViewportPosition(10) + view.columnWidth(10), view.viewport()->width())
          << where;
    }
  };
  expectWhole("at the start");
  // The partner follows a figure near the far corner: scrolled as far as it goes.
  grid.SetTopLeft(11, 59);
  view.Refresh();
  QApplication::processEvents();
  EXPECT_EQ(view.horizontalScrollBar()->value(), view.horizontalScrollBar()->maximum());
  EXPECT_EQ(view.verticalScrollBar()->value(), view.verticalScrollBar()->maximum());
  expectWhole("followed to the end");
  // The user scrolls back a step, and the window grows.
  view.horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
  expectWhole("a step back");
  view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum());
  view.resize(900, 400);
  QApplication::processEvents();
  expectWhole("resized at the end");

  // The wheel: three whole rows a notch; with Shift, or turned sideways, one whole column; half a
  // notch waits for the other half. Each step is reported as a scroll bar's would be.
  view.horizontalScrollBar()->setValue(0);
  view.verticalScrollBar()->setValue(0);
  std::pair<int, int> reported;
  QObject::connect(&view, &TStringGrid::scrolled, [&](int col, int row) { reported = {col, row}; });
  const auto turn = [&](QPoint delta, Qt::KeyboardModifiers modifiers) {
    const QPointF at(50, 50);
    QWheelEvent wheel(at, view.viewport()->mapToGlobal(at), QPoint(), delta, Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.viewport(), &wheel);
    return std::pair{view.horizontalScrollBar()->value(), view.verticalScrollBar()->value()};
  };
  EXPECT_EQ(turn({0, -120}, {}), std::pair(0, 3));
  EXPECT_EQ(reported, std::pair(1, 4));
  EXPECT_EQ(turn({0, -120}, Qt::ShiftModifier), std::pair(1, 3));
  EXPECT_EQ(turn({-120, 0}, {}), std::pair(2, 3));
  EXPECT_EQ(turn({0, 60}, {}), std::pair(2, 3));
  EXPECT_EQ(turn({0, 60}, {}), std::pair(2, 0));
  expectWhole("wheeled");
}

// A figure too wide for its column: its tooltip shows it whole, the user widens the column by
// dragging its edge in the title row (the partner grid follows) or fits it by a double click;
// another organisation's fill brings the widths the grids are filled with back.
TEST(WindowFigures, EveryFigureCanBeRead) {
  ScratchDir dir;
  Session session(',');
  TDM dm(nullptr);
  TDMRpt dmRpt{QString()};
  TfMainMDI window(session, dm, dmRpt);
  const Insurer other{"000-000-000002", "АО Другое"};
  const std::vector<std::string> files = {
      dir.WriteXml("a.xml", fund::Records(Insurer(), "2011-1",
                                          {Person("КОНСТАНТИНОПОЛЬСКИЙ-ПРЕОБРАЖЕНСКИЙ-ВОЗНЕСЕНСКИЙ",
                                                  "123456789012.34", "1.00"),
                                           Person("ИВАНОВ", "5", "5")})),
      dir.WriteXml("b.xml", fund::Records(other, "2011-1", {Person("ПЕТРОВ", "5", "5")}))};
  window.OD = [&](const std::string&) { return std::optional(files); };
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QTest::mouseClick(Widget<TSButton>(window, "sbLoadFiles"), Qt::LeftButton);
  TStringGrid* strah = Widget<TStringGrid>(window, "sgZLStrah");
  TStringGrid* nakop = Widget<TStringGrid>(window, "sgZLNakop");
  ASSERT_EQ(strah->ShownWidth(1), 180);

  const auto tipAt = [](QWidget* widget, QPoint at) {
    QToolTip::hideText();
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
    QHelpEvent help(QEvent::ToolTip, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
  };
  const QModelIndex total = strah->model()->index(0, 0);
  const QRect cut = strah->visualRect(total);
  EXPECT_EQ(tipAt(strah->viewport(), cut.center()), total.data().toString());
  EXPECT_EQ(total.data().toString(), QStringLiteral("123456789012,34 > 1 (123456789011,34)"));
  EXPECT_EQ(tipAt(strah->viewport(), strah->visualRect(strah->model()->index(1, 0)).center()), "");
  QHeaderView* names = strah->verticalHeader();
  EXPECT_EQ(tipAt(names->viewport(), QPoint(10, names->sectionViewportPosition(0) + 5)),
            QStringLiteral("КОНСТАНТИНОПОЛЬСКИЙ-ПРЕОБРАЖЕНСКИЙ-ВОЗНЕСЕНСКИЙ ИВАН ИВАНОВИЧ"));

  // A drag of the first figure column's edge in the title row, then of the names column's.
  QHeaderView* titles = strah->horizontalHeader();
  const QPoint edge(titles->sectionViewportPosition(0) + titles->sectionSize(0) - 1, 8);
  QTest::mousePress(titles->viewport(), Qt::LeftButton, {}, edge);
  QTest::mouseMove(titles->viewport(), edge + QPoint(60, 0));
  QTest::mouseRelease(titles->viewport(), Qt::LeftButton, {}, edge + QPoint(60, 0));
  EXPECT_EQ(strah->ShownWidth(1), 240);
  EXPECT_EQ(nakop->ShownWidth(1), 240);
  QWidget* corner = strah->findChild<QAbstractButton*>();
  ASSERT_NE(corner, nullptr);
  const QPoint namesEdge(corner->width() - 1, 8);
  QTest::mousePress(corner, Qt::LeftButton, {}, namesEdge);
  QTest::mouseMove(corner, namesEdge + QPoint(40, 0));
  QTest::mouseRelease(corner, Qt::LeftButton, {}, namesEdge + QPoint(40, 0));
  EXPECT_EQ(strah->ShownWidth(0), 340);
  EXPECT_EQ(nakop->ShownWidth(0), 340);
  EXPECT_EQ(session.sgZLStrah().Col(), 1);  // a drag selects nothing

  // A double click on the edges fits each column to its longest text.
  QTest::mouseDClick(titles->viewport(), Qt::LeftButton, {},
                     QPoint(titles->sectionViewportPosition(0) + titles->sectionSize(0) - 1, 8));
  const int fitted = strah->ShownWidth(1);
  EXPECT_EQ(tipAt(strah->viewport(), cut.center()), "");
  EXPECT_EQ(nakop->ShownWidth(1), fitted);
  QTest::mouseDClick(corner, Qt::LeftButton, {}, QPoint(corner->width() - 1, 8));
  EXPECT_GT(strah->ShownWidth(0), 340);
  EXPECT_EQ(tipAt(names->viewport(), QPoint(10, names->sectionViewportPosition(0) + 5)), "");

  // A tab keeps the widths; another organisation's fill brings back the grids' own.
  ClickTab(Widget<TTabControl>(window, "tcZL"), 2);
  EXPECT_EQ(strah->ShownWidth(1), fitted);
  Widget<QTreeView>(window, "tvLF")->setCurrentIndex(test::TreeModelOf(window)->index(1, 0));
  EXPECT_EQ(strah->ShownWidth(0), 300);
  EXPECT_EQ(strah->ShownWidth(1), 180);
  EXPECT_EQ(nakop->ShownWidth(1), 180);
}

}  // namespace
}  // namespace lorvi
