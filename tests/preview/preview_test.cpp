#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "preview/page_view.h"
#include "preview/report_preview.h"
#include "preview/work_progress.h"
#include "report/report.h"
#include "report_samples.h"

namespace lorvi::report {
namespace {

class ReportPreviewWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    test::LoadXml(
        report, dir,
        test::TemplateXml(
            QStringLiteral("<PageHeader height=\"6\"><Memo>Шапка</Memo></PageHeader>"
                           "<MasterData name=\"M\" dataset=\"DQuery\" height=\"5\">"
                           "<Memo width=\"80\" grow=\"true\">[DQuery.\"FIO\"]</Memo>"
                           "<Memo left=\"80\" width=\"100\" grow=\"true\">[DQuery.\"MoneyS\"]"
                           "</Memo></MasterData>"),
            QStringLiteral("size=\"A4\" orientation=\"landscape\"")));
    report.SetDataSet(&data);
    prepared = &report.Prepare();
    ASSERT_GE(prepared->PageCount(), 3);
    preview = std::make_unique<ReportPreview>(*prepared);
    preview->resize(1000, 700);
    preview->show();
    QApplication::processEvents();
  }

  // The page that holds the record whose name is `fio`.
  int PageOf(const QString& fio) const {
    for (int p = 0; p < prepared->PageCount(); ++p)
      for (const TextItem& item : prepared->Page(p).items)
        if (item.text == fio) return p;
    return -1;
  }

  QToolButton* Button(const QString& toolTip) const {
    for (QToolButton* button : preview->findChildren<QToolButton*>())
      if (button->toolTip() == toolTip) return button;
    return nullptr;
  }

  bool ShowsStatus(const QString& text) const {
    for (QLabel* label : preview->findChildren<QLabel*>())
      if (label->text() == text) return true;
    return false;
  }

  QTemporaryDir dir;
  DataSet data = test::PrintTable(15, 12);
  TfrxReport report;
  const PreparedReport* prepared = nullptr;
  std::unique_ptr<ReportPreview> preview;
};

TEST_F(ReportPreviewWindow, OpensWithThePageWidthFittedAndFollowsTheWindow) {
  PageView* view = preview->View();
  EXPECT_EQ(view->Mode(), PageView::ZoomMode::PageWidth);
  const int room = view->viewport()->width();
  EXPECT_GT(view->PageRect(0).width(), room - 60);
  EXPECT_LE(view->PageRect(0).width(), room);
  EXPECT_EQ(view->horizontalScrollBar()->maximum(), 0);

  preview->resize(1300, 700);
  QApplication::processEvents();
  EXPECT_GT(view->PageRect(0).width(), view->viewport()->width() - 60);
  EXPECT_LE(view->PageRect(0).width(), view->viewport()->width());

  view->SetZoom(1.0);
  EXPECT_EQ(view->Mode(), PageView::ZoomMode::Fixed);
  EXPECT_NEAR(view->PageRect(0).width(), 297 / 25.4 * view->logicalDpiX(), 2);
  view->SetZoomMode(PageView::ZoomMode::WholePage);
  EXPECT_LE(view->PageRect(0).height(), view->viewport()->height());
}

TEST_F(ReportPreviewWindow, NavigatesBetweenPages) {
  PageView* view = preview->View();
  const int last = prepared->PageCount() - 1;
  EXPECT_EQ(view->CurrentPage(), 0);
  EXPECT_TRUE(ShowsStatus(QStringLiteral("Страница 1 из %1").arg(last + 1)));
  ASSERT_NE(Button(QStringLiteral("Следующая страница")), nullptr);
  EXPECT_FALSE(Button(QStringLiteral("Предыдущая страница"))->isEnabled());

  Button(QStringLiteral("Следующая страница"))->click();
  EXPECT_EQ(view->CurrentPage(), 1);
  EXPECT_TRUE(ShowsStatus(QStringLiteral("Страница 2 из %1").arg(last + 1)));
  Button(QStringLiteral("Последняя страница"))->click();
  EXPECT_EQ(view->CurrentPage(), last);
  EXPECT_FALSE(Button(QStringLiteral("Следующая страница"))->isEnabled());
  Button(QStringLiteral("Предыдущая страница"))->click();
  EXPECT_EQ(view->CurrentPage(), last - 1);
  Button(QStringLiteral("Первая страница"))->click();
  EXPECT_EQ(view->CurrentPage(), 0);

  // Scrolling by hand makes the page in sight the current one.
  view->verticalScrollBar()->setValue(view->PageRect(2).top() + 5);
  EXPECT_EQ(view->CurrentPage(), 2);
}

TEST_F(ReportPreviewWindow, FindMovesToTheMatchAndGoesRound) {
  const QString name = data.records[12][0];
  const int page = PageOf(name);
  ASSERT_GT(page, 0);
  EXPECT_TRUE(preview->FindNext(name.toUpper()));
  EXPECT_EQ(preview->View()->CurrentPage(), page);
  // The only match again, found by going round.
  EXPECT_TRUE(preview->FindNext(name));
  EXPECT_EQ(preview->View()->CurrentPage(), page);
  EXPECT_FALSE(preview->FindNext(QStringLiteral("Такого текста нет")));
  EXPECT_TRUE(ShowsStatus(QStringLiteral("Текст «Такого текста нет» не найден")));

  // Each match of a repeated text in turn.
  preview->View()->GoToPage(0);
  const QString title = QStringLiteral("Шапка");
  QList<int> pages;
  for (int i = 0; i < prepared->PageCount(); ++i) {
    ASSERT_TRUE(preview->FindNext(title));
    pages.append(preview->View()->CurrentPage());
  }
  QList<int> expected;
  for (int i = 0; i < prepared->PageCount(); ++i) expected.append(i);
  EXPECT_EQ(pages, expected);
}

// The save dialog proposes the report's own name in the documents folder, then in the folder of
// the last export, also in the next preview.
TEST(ReportPreviewNames, ProposedInTheFolderOfTheLastExport) {
  TfrxReport report;
  report.documentFileName = QStringLiteral("000-000-000001(ООО 'Ромашка') Все 2026-12-10");
  const PreparedReport& prepared = report.Prepare();
  QTemporaryDir dir;
  QStringList proposed;
  for (int round = 0; round < 2; ++round) {
    ReportPreview preview(prepared);
    if (!report.exportFolder.isEmpty()) preview.SetExportFolder(report.exportFolder);
    preview.OpenUrl = [](const QUrl&) { return true; };
    preview.AskSavePath = [&](const QString&, const QString&, const QString& suffix) {
      proposed << preview.ProposedPath(suffix);
      return dir.filePath(QStringLiteral("r%1.rtf").arg(round));
    };
    preview.ExportTo(*ExportFormatFor(QStringLiteral("a.rtf")));
    report.exportFolder = preview.ExportFolder();
  }
  ASSERT_EQ(proposed.size(), 2);
  EXPECT_EQ(proposed[0],
            QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                .filePath(QStringLiteral("000-000-000001(ООО 'Ромашка') Все 2026-12-10.rtf")));
  EXPECT_EQ(proposed[1],
            QDir(dir.path())
                .filePath(QStringLiteral("000-000-000001(ООО 'Ромашка') Все 2026-12-10.rtf")));
}

TEST_F(ReportPreviewWindow, ExportsThroughTheSaveDialogAndOpensDocuments) {
  QString asked;
  QList<QUrl> opened;
  QString answer;
  preview->AskSavePath = [&](const QString&, const QString&, const QString& suffix) {
    asked = suffix;
    return answer;
  };
  bool opens = true;
  QStringList notices;
  preview->OpenUrl = [&](const QUrl& url) {
    opened.append(url);
    return opens;
  };
  preview->ShowNotice = [&](const QString& text) { notices.append(text); };
  const auto exportAs = [&](const char* suffix) {
    preview->ExportTo(*ExportFormatFor(QStringLiteral("a.") + QLatin1String(suffix)));
  };

  exportAs("xlsx");  // cancelled
  EXPECT_EQ(asked, QStringLiteral("xlsx"));
  EXPECT_TRUE(opened.isEmpty());

  answer = dir.filePath(QStringLiteral("отчет.xlsx"));
  exportAs("xlsx");
  EXPECT_TRUE(QFileInfo::exists(answer));
  ASSERT_EQ(opened.size(), 1);
  EXPECT_EQ(opened[0], QUrl::fromLocalFile(answer));

  answer = dir.filePath(QStringLiteral("отчет.rtf"));
  exportAs("rtf");
  EXPECT_TRUE(QFileInfo::exists(answer));
  EXPECT_EQ(opened.size(), 2);

  answer = dir.filePath(QStringLiteral("отчет.pdf"));
  exportAs("pdf");
  EXPECT_TRUE(QFileInfo::exists(answer));
  answer = dir.filePath(QStringLiteral("стр.jpg"));
  exportAs("jpg");
  EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("стр_1.jpg"))));
  EXPECT_EQ(opened.size(), 2);  // PDF and pictures are not opened
  EXPECT_TRUE(notices.isEmpty());

  // Saved, but nothing on the desktop opens it: the user learns where the file is.
  opens = false;
  answer = dir.filePath(QStringLiteral("без программы.rtf"));
  exportAs("rtf");
  EXPECT_TRUE(QFileInfo::exists(answer));
  // The program's own commands follow the formats in the export menu.
  int reconciled = 0;
  preview->AddExport(QStringLiteral("Выгрузить сверку в Excel…"), [&] { ++reconciled; });
  QStringList menu;
  for (const QAction* action : preview->ExportMenu()->actions()) menu << action->text();
  EXPECT_EQ(
      menu,
      QStringList({QStringLiteral("Документ PDF (.pdf)…"), QStringLiteral("Таблица Excel (.xlsx)…"),
                   QStringLiteral("Документ RTF (.rtf)…"), QStringLiteral("Рисунки JPEG (.jpg)…"),
                   QString(), QStringLiteral("Выгрузить сверку в Excel…")}));
  preview->ExportMenu()->actions().back()->trigger();
  EXPECT_EQ(reconciled, 1);
  EXPECT_EQ(notices, QStringList{QStringLiteral("Отчет сохранен в файл %1, но открыть его не "
                                                "удалось: не найдена программа для файлов этого "
                                                "типа.")
                                     .arg(QDir::toNativeSeparators(answer))});
}

// Long work shows its progress after half a second, lets the window's events through, and the
// button «Отмена» stops it; short work shows nothing.
TEST(WorkProgress, ComesAfterHalfASecondAndCancels) {
  QWidget window;
  window.show();
  {
    WorkProgress quick(&window);
    EXPECT_TRUE(quick.Step(QStringLiteral("Выгрузка в PDF: страница 1 из 2"), 1, 2));
    EXPECT_TRUE(quick.Step(QStringLiteral("Выгрузка в PDF: страница 2 из 2"), 2, 2));
    EXPECT_FALSE(quick.Dialog().isVisible());
  }
  WorkProgress slow(&window);
  int timerRan = 0;
  QTimer::singleShot(0, [&] { ++timerRan; });
  const QString status = QStringLiteral("Выгрузка в PDF: страница %1 из 100");
  EXPECT_TRUE(slow.Step(status.arg(1), 1, 100));
  QTest::qSleep(600);
  EXPECT_TRUE(slow.Step(status.arg(2), 2, 100));
  EXPECT_TRUE(slow.Dialog().isVisible());
  EXPECT_EQ(slow.Dialog().labelText(), status.arg(2));
  EXPECT_EQ(timerRan, 1);  // the window's events went through
  auto* cancel = slow.Dialog().findChild<QPushButton*>();
  ASSERT_NE(cancel, nullptr);
  EXPECT_EQ(cancel->text(), QStringLiteral("Отмена"));
  cancel->click();
  EXPECT_FALSE(slow.Step(status.arg(3), 3, 100));
  // Not knowing how much: a busy bar, the same half second, the same events.
  WorkProgress unknown(&window);
  EXPECT_TRUE(unknown.Step(QStringLiteral("Подготовка отчета: страница 1"), 1, 0));
  QTest::qSleep(600);
  EXPECT_TRUE(unknown.Step(QStringLiteral("Подготовка отчета: страница 2"), 2, 0));
  EXPECT_TRUE(unknown.Dialog().isVisible());
  EXPECT_TRUE(unknown.Step(QString(), 1, 1));
  EXPECT_FALSE(unknown.Dialog().isVisible());
}

TEST(ReportShow, ShowReportPreparesBeforeShowing) {
  TfrxReport report;
  int shownPages = -1;
  report.ShowPreview = [&](const PreparedReport& prepared, QWidget*) {
    shownPages = prepared.PageCount();
  };
  report.ShowReport(nullptr);
  EXPECT_EQ(shownPages, 1);
}

}  // namespace
}  // namespace lorvi::report
