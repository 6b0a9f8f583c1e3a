#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeView>

#include <memory>

#include "app/data_module.h"
#include "app/help_window.h"
#include "app/main_window.h"
#include "app/qt_translation.h"
#include "app/string_grid.h"
#include "base/text1251.h"
#include "models/dm_rpt.h"
#include "preview/report_preview.h"
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

// A main window over its own session, laid out over a given work area.
struct Window {
  explicit Window(const VersionBlock* version = &kVersion)
      : session(','), dm(version), dmRpt(QString()), window(session, dm, dmRpt) {
    window.ShowMessageBox = [this](const QString& text) { messages << text; };
  }
  static const VersionBlock kVersion;
  Session session;
  TDM dm;
  TDMRpt dmRpt;
  TfMainMDI window;
  QStringList messages;
};
const VersionBlock Window::kVersion = ProgramVersionBlock();

QRect Geometry(const QWidget* w) { return w->geometry(); }

TEST(MainWindow, ArrangeWindowFillsTheWorkArea) {
  Window w;
  w.window.ArrangeWindow(QRect(0, 0, 1272, 960));
  TfMainMDI& m = w.window;
  ASSERT_EQ(m.size(), QSize(1272, 960));
  EXPECT_EQ(Geometry(Widget<TSPanel>(m, "spLF")), QRect(8, 8, 350, 904));
  EXPECT_EQ(Geometry(Widget<TSPanel>(m, "spLFShR")), QRect(358, 24, 8, 896));
  EXPECT_EQ(Geometry(Widget<TSPanel>(m, "spLFShB")), QRect(24, 912, 342, 8));
  EXPECT_EQ(Geometry(Widget<TSPanel>(m, "spZL")), QRect(374, 8, 882, 904));
  EXPECT_EQ(Geometry(Widget<TSPanel>(m, "spZLShR")), QRect(1256, 24, 8, 896));
  EXPECT_EQ(Geometry(Widget<TSPanel>(m, "spZLShB")), QRect(390, 912, 874, 8));
  // The search edit ends 14 pixels short of its strip; the upper grid takes half of its tab
  // control less 79, truncated.
  EXPECT_EQ(Widget<QLineEdit>(m, "edFindFIO")->x() + Widget<QLineEdit>(m, "edFindFIO")->width(),
            Widget<TSPanel>(m, "spFindFIO")->width() - 14);
  EXPECT_EQ(Widget<TStringGrid>(m, "sgZLStrah")->height(),
            (Widget<TTabControl>(m, "tcZL")->height() - 79) / 2);
  EXPECT_EQ(Widget<TStringGrid>(m, "sgADVStrah")->height(),
            (Widget<TTabControl>(m, "tcADV")->height() - 79) / 2);
  for (TSButton* b : {Widget<TSButton>(m, "sbZL"), Widget<TSButton>(m, "sbADV"),
                      Widget<TSButton>(m, "sbPrint"), Widget<TSButton>(m, "sbHelp")})
    EXPECT_EQ(b->width(), 153);
  EXPECT_EQ(Widget<TSButton>(m, "sbHelp")->x(),
            Widget<TSPanel>(m, "SPanel3")->contentsRect().right() + 1 - 153);  // rightmost
  EXPECT_EQ(m.windowTitle(), QStringLiteral("Анализатор ЛОРВИ. Версия 1.0.1.0"));
  // A fixed border.
  EXPECT_EQ(m.minimumSize(), m.maximumSize());
  EXPECT_FALSE(m.windowFlags() & Qt::WindowMaximizeButtonHint);

  // On a tiny work area nothing gets a negative size.
  w.window.ArrangeWindow(QRect(0, 0, 300, 60));
  for (QWidget* widget : {static_cast<QWidget*>(Widget<TSPanel>(m, "spLF")),
                          static_cast<QWidget*>(Widget<TSPanel>(m, "spZL")),
                          static_cast<QWidget*>(Widget<TStringGrid>(m, "sgZLStrah")),
                          static_cast<QWidget*>(Widget<QLineEdit>(m, "edFindFIO"))}) {
    EXPECT_GE(widget->width(), 0);
    EXPECT_GE(widget->height(), 0);
  }
  EXPECT_EQ(Widget<TStringGrid>(m, "sgZLStrah")->height(), 0);
}

TEST(MainWindow, CaptionWithoutVersionBlock) {
  Window w(nullptr);
  w.window.ArrangeWindow(QRect(0, 0, 1024, 768));
  EXPECT_EQ(w.window.windowTitle(), QStringLiteral("Анализатор ЛОРВИ. Версия Value Not Available"));
}

TEST(MainWindow, WidgetsAtStart) {
  Window w;
  TfMainMDI& m = w.window;
  m.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&m));
  EXPECT_TRUE(Widget<TSPanel>(m, "spZLf")->isVisible());
  EXPECT_FALSE(Widget<TSPanel>(m, "spADVf")->isVisible());
  EXPECT_EQ(Widget<TTabControl>(m, "tcZL")->TabIndex(), 0);
  EXPECT_EQ(Widget<TSLabel>(m, "SLabel2")->Caption(), QStringLiteral("Застрахованные лица"));
  const QStringList tabs = {"Все", "Начислено<Уплачено", "Начислено>Уплачено", "Уволенные",
                            "Не прочитал"};
  ASSERT_EQ(Widget<TTabControl>(m, "tcZL")->Count(), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(Widget<TTabControl>(m, "tcZL")->TabCaption(i), tabs[i]);
  EXPECT_EQ(Widget<TTabControl>(m, "tcADV")->Count(), 1);
  EXPECT_EQ(Widget<TSButton>(m, "sbLoadFiles")->Caption(), QStringLiteral("Подгрузить файлы"));
  EXPECT_EQ(Widget<TSButton>(m, "sbLoadFiles")->ImageIndex(), 2);
  EXPECT_EQ(Widget<TSButton>(m, "sbLoadFiles")->toolTip(),
            QStringLiteral("Подгрузить файлы\nза все периоды\nначиная с 2010 года"));
  EXPECT_EQ(Widget<TSButton>(m, "sbClearFiles")->ImageIndex(), 3);
  EXPECT_EQ(Widget<TSButton>(m, "sbZL")->ImageIndex(), 9);
  EXPECT_EQ(Widget<TSButton>(m, "sbADV")->Caption(), QStringLiteral("Опись сведений"));
  EXPECT_EQ(Widget<TSButton>(m, "sbADV")->ImageIndex(), 6);
  EXPECT_EQ(Widget<TSButton>(m, "sbHelp")->ImageIndex(), 11);
  EXPECT_EQ(Widget<TSButton>(m, "sbPrint")->ImageIndex(), 12);
  EXPECT_EQ(Widget<TSButton>(m, "sbHelp")->x() + Widget<TSButton>(m, "sbHelp")->width(),
            Widget<TSPanel>(m, "SPanel3")->contentsRect().right() + 1);
  EXPECT_EQ(Widget<TSButton>(m, "sbPrint")->x() + Widget<TSButton>(m, "sbPrint")->width(),
            Widget<TSButton>(m, "sbHelp")->x());
  // A work panel narrower than the four buttons: they share it evenly and never overlap.
  const int room = Widget<TSPanel>(m, "SPanel3")->contentsRect().width();
  ASSERT_LT(room, 4 * 153);
  for (TSButton* b : {Widget<TSButton>(m, "sbZL"), Widget<TSButton>(m, "sbADV"),
                      Widget<TSButton>(m, "sbPrint"), Widget<TSButton>(m, "sbHelp")})
    EXPECT_EQ(b->width(), room / 4);
  EXPECT_LE(Widget<TSButton>(m, "sbADV")->x() + Widget<TSButton>(m, "sbADV")->width(),
            Widget<TSButton>(m, "sbPrint")->x());
  EXPECT_EQ(Widget<TStringGrid>(m, "sgZLStrah")->Tag(), GridTag::ZLStrah);
  EXPECT_EQ(Widget<TStringGrid>(m, "sgZLNakop")->Tag(), GridTag::ZLNakop);
  EXPECT_EQ(Widget<TStringGrid>(m, "sgADVStrah")->Tag(), GridTag::ADVStrah);
  EXPECT_EQ(Widget<TStringGrid>(m, "sgADVNakop")->Tag(), GridTag::ADVNakop);
  EXPECT_EQ(Widget<TStringGrid>(m, "sgZLStrah")->model()->columnCount(), 0);
  EXPECT_EQ(w.dm.IL->Count(), 13);
  EXPECT_EQ(w.dm.TabIL->Count(), 5);
}

TEST(MainWindow, ClearListEmptiesTreeAndGridsButKeepsTabAndSearch) {
  Window w;
  TfMainMDI& m = w.window;
  m.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&m));
  Type(Widget<QLineEdit>(m, "edFindFIO"), QStringLiteral("ив"));
  EXPECT_EQ(Widget<QLineEdit>(m, "edFindFIO")->text(),
            QStringLiteral("ИВ"));  // upper case as typed
  ScratchDir dir;
  const std::string file = dir.WriteXml("a.xml", fund::Records({}, "2011-1", {{"ИВАНОВ"}}));
  w.session.sbLoadFilesClick(
      [&](const std::string&) { return std::optional(std::vector<std::string>{file}); });
  Widget<TTabControl>(m, "tcZL")->SetTabIndexQuietly(2);
  w.session.SelectTab(2);
  m.ShowSession();
  EXPECT_EQ(Widget<TStringGrid>(m, "sgZLStrah")->model()->columnCount(),
            2);  // the period and the total

  QTest::mouseClick(Widget<TSButton>(m, "sbClearFiles"), Qt::LeftButton);
  EXPECT_EQ(w.session.tvLF().Count(), 0u);
  EXPECT_EQ(w.session.Store().OrgCount, 0);
  EXPECT_EQ(Widget<TStringGrid>(m, "sgZLStrah")->model()->columnCount(), 0);
  EXPECT_EQ(Widget<TTabControl>(m, "tcZL")->TabIndex(), 2);
  EXPECT_EQ(Widget<QLineEdit>(m, "edFindFIO")->text(), QStringLiteral("ИВ"));
  EXPECT_TRUE(w.messages.isEmpty());
}

TEST(MainWindow, LeavesNoCallbackInTheSessionItOutlives) {
  Session session(',');
  TDM dm(nullptr);
  TDMRpt dmRpt{QString()};
  { TfMainMDI window(session, dm, dmRpt); }
  EXPECT_FALSE(session.CurrentProgressSink());
  EXPECT_TRUE(dmRpt.Rpt.extraExports.isEmpty());
  session.ShowError("Range check error");  // no window to show it: nothing happens
}

TEST(MainWindow, ReportDialogsAreTheWindowsPreviewAndErrorBox) {
  TDMRpt dmRpt{QString()};
  UseReportDialogs(dmRpt);
  bool ran = false;
  dmRpt.Rpt.extraExports = {{QStringLiteral("Выгрузить сверку в Excel…"), [&] { ran = true; }}};
  // Each dialog is looked at and closed as soon as it is up.
  QStringList seen;
  const auto closeModal = [&] {
    QTimer::singleShot(0, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (auto* preview = qobject_cast<report::ReportPreview*>(modal)) {
        seen << QStringLiteral("preview: ") + preview->ExportMenu()->actions().back()->text();
        preview->ExportMenu()->actions().back()->trigger();
      } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        seen << box->windowTitle() + QStringLiteral(": ") + box->text();
      }
      if (modal) modal->close();
    });
  };
  closeModal();
  dmRpt.Rpt.ShowPreview(report::PreparedReport(), nullptr);
  closeModal();
  dmRpt.ShowMessageBox(QStringLiteral("Ошибка"), QStringLiteral("Не найден шаблон отчета"));
  EXPECT_EQ(seen, QStringList({QStringLiteral("preview: Выгрузить сверку в Excel…"),
                               QStringLiteral("Ошибка: Не найден шаблон отчета")}));
  EXPECT_TRUE(ran);
}

TEST(MainWindow, FailuresShowTheErrorBoxAndTheProgramGoesOn) {
  Window w;
  w.session.ShowError("Range check error");
  w.session.ShowError("List index out of bounds (3)");
  EXPECT_EQ(w.messages, QStringList({"Range check error.", "List index out of bounds (3)"}));
}

TEST(HelpWindow, PicturesTheControlsAsTheyAreBeforeUse) {
  Window used;
  TfMainMDI& m = used.window;
  m.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&m));
  Widget<QLineEdit>(m, "edFindFIO")->setFocus();
  Type(Widget<QLineEdit>(m, "edFindFIO"), QStringLiteral("иванов"));
  const HelpPictures pictures = m.FreshHelpPictures();
  Window fresh;
  const HelpPictures expected = fresh.window.FreshHelpPictures();
  EXPECT_EQ(pictures.searchStrip.toImage(), expected.searchStrip.toImage());
  EXPECT_EQ(pictures.loadButton.toImage(), expected.loadButton.toImage());
  EXPECT_EQ(pictures.advButton.size(), QSize(153, 24));
  EXPECT_EQ(pictures.searchStrip.width(), 440);
}

TEST(MainWindow, QtDialogsSpeakRussian) {
  ASSERT_TRUE(InstallQtTranslation(*QCoreApplication::instance()));
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "&Open"), QStringLiteral("&Открыть"));
}

TEST(HelpWindow, OpensOnTheDescriptionWithTheHistoryOnPageTwo) {
  const HelpPictures pictures{QPixmap(125, 41), QPixmap(400, 41), QPixmap(153, 24)};
  for (int opening = 0; opening < 2; ++opening) {
    TfHelp help(pictures);
    EXPECT_EQ(help.windowTitle(), QStringLiteral("Описание программы:"));
    EXPECT_EQ(help.size(), QSize(667, 746));
    EXPECT_EQ(help.PageControl1->currentIndex(), 0);
    EXPECT_EQ(help.PageControl1->tabText(0), QStringLiteral("Описание:"));
    EXPECT_EQ(help.PageControl1->tabText(1), QStringLiteral("Доработка:"));
    EXPECT_EQ(help.bOK->geometry(), QRect(297, 712, 75, 25));
    EXPECT_FALSE(help.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(help.windowFlags() & Qt::WindowSystemMenuHint);
    help.PageControl1->setCurrentIndex(1);  // left on page 2; the next opening is fresh
    help.show();
    QTest::mouseClick(help.bOK, Qt::LeftButton);
    EXPECT_FALSE(help.isVisible());
    EXPECT_EQ(help.result(), QDialog::Accepted);
  }
  EXPECT_EQ(std::string(kVersionHistory),
            "   \r\n  Версия 1.0.0.0:\r\n       см. \"Описание\".\r\n   \r\n"
            "  Версия 1.0.1.0:\r\n       Добавленна возможность распечатать данные из таблиц.\r\n"
            "       Доработан Help.");
  TfHelp help(pictures);
  EXPECT_TRUE(help.Label1->text().contains(QStringLiteral("см. \"Описание\".")));
  EXPECT_TRUE(help.Image1->toPlainText().contains(QStringLiteral("Поиск по фамилии")) ||
              help.Image1->toHtml().contains(QStringLiteral("lorvi:search")));
}

}  // namespace
}  // namespace lorvi
