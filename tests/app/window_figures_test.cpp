#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>
#include <QTreeView>

#include "app/data_module.h"
#include "app/file_tree_model.h"
#include "app/main_window.h"
#include "app/session.h"
#include "intake/load_files.h"
#include "print/dm_rpt.h"
#include "support/temp_files.h"
#include "support/xml_files.h"
#include "view/string_grid.h"
#include "widgets/styled_button.h"
#include "widgets/styled_label.h"
#include "widgets/styled_panel.h"
#include "widgets/tab_control.h"

namespace lorvi {
namespace {

using test::Org;
using test::Person;

void Type(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &press);
  }
}

void ClickCell(TStringGrid* grid, int col, int row) {
  const QModelIndex index =
      grid->model()->index(row - grid->Grid().FixedRows(), col - grid->Grid().FixedCols());
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
}

void ClickTab(TTabControl* tabs, int index) {
  QTest::mouseClick(tabs->Tabs(), Qt::LeftButton, {}, tabs->Tabs()->tabRect(index).center());
}

TEST(WindowFigures, AUserClicksThroughFiguresViewsTabsAndSearch) {
  test::TempDir dir;
  Session session(',');
  TDM dm(nullptr);
  TDMRpt dmRpt{QString()};
  TfMainMDI window(session, dm, dmRpt);
  QStringList messages;
  window.ShowMessageBox = [&](const QString& text) { messages << text; };
  Person leaver("ЯКОВЛЕВ", "10", "5");
  leaver.endDate = "01.02.2011";
  const std::vector<std::string> files = {
      dir.WriteXml("a.xml",
                   test::SzvFile(Org(), "2011-1",
                                 {Person("ИВАНОВ", "5", "5"), Person("ПЕТРОВ", "1", "3"), leaver})),
      dir.WriteXml("b.xml", test::AdvFile(Org(), "2011-1", {{"НР", "16", "13"}}))};
  window.OD = [&](const std::string&) { return std::optional(files); };
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QTest::mouseClick(window.sbLoadFiles, Qt::LeftButton);

  // A figure: the partner follows, the file is marked.
  ClickCell(window.sgZLStrah, 2, 2);
  EXPECT_EQ(session.sgZLNakop.Col(), 2);
  EXPECT_EQ(session.sgZLNakop.Row(), 2);
  EXPECT_EQ(window.sgZLNakop->currentIndex().row(), 1);
  const TreeNode* szvFile = session.tvLF.NodeAt(5);
  ASSERT_EQ(szvFile->caption, "a.xml");
  EXPECT_EQ(szvFile->state, kPictureSourceMark);
  const QModelIndex marked = window.TreeModel()->IndexOf(szvFile);
  EXPECT_EQ(marked.data(Qt::ForegroundRole).value<QBrush>().color(), QColor(0, 0, 128));

  // The inventory view and back: the mark goes.
  QTest::mouseClick(window.sbADV, Qt::LeftButton);
  EXPECT_TRUE(window.spADVf->isVisible());
  EXPECT_FALSE(window.spZLf->isVisible());
  EXPECT_EQ(window.SLabel2->Caption(), QStringLiteral("Опись сведенний"));
  EXPECT_EQ(szvFile->state, -1);
  ClickCell(window.sgADVNakop, 2, 1);
  EXPECT_EQ(session.sgADVStrah.Row(), 1);
  QTest::mouseClick(window.sbZL, Qt::LeftButton);
  EXPECT_TRUE(window.spZLf->isVisible());

  // Each tab, as the rows show it.
  // With everyone removed the title row is all that is left, and no longer fixed.
  const int rows[] = {3, 1, 1, 1, 1};
  for (int tab : {1, 2, 3, 4, 0}) {
    ClickTab(window.tcZL, tab);
    EXPECT_EQ(session.tcZLIndex, tab);
    EXPECT_EQ(window.sgZLStrah->model()->rowCount(), tab == 0 ? 3 : rows[tab]) << tab;
  }
  ClickTab(window.tcZL, 3);
  EXPECT_EQ(window.sgZLStrah->model()->headerData(0, Qt::Vertical).toString(),
            QStringLiteral("ЯКОВЛЕВ ИВАН ИВАНОВИЧ (2011-1)"));
  ClickTab(window.tcZL, 0);

  // A surname letter by letter, lower case typed, upper case searched.
  window.edFindFIO->setFocus();
  Type(window.edFindFIO, QStringLiteral("п"));
  EXPECT_EQ(window.edFindFIO->text(), QStringLiteral("П"));
  EXPECT_EQ(session.sgZLStrah.Row(), 2);
  Type(window.edFindFIO, QStringLiteral("ет"));
  EXPECT_EQ(session.sgZLStrah.Row(), 2);
  EXPECT_EQ(window.sgZLStrah->currentIndex().row(), 1);
  Type(window.edFindFIO, QStringLiteral("х"));
  EXPECT_EQ(session.sgZLStrah.Row(), 1);  // nothing begins so: row 1
  EXPECT_TRUE(messages.isEmpty());
}

}  // namespace
}  // namespace lorvi
