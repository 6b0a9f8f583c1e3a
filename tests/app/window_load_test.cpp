#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QBrush>
#include <QDateTime>
#include <QFont>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QTreeView>
#include <QUrl>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>

#include "app/data_module.h"
#include "app/main_window.h"
#include "app/pictures.h"
#include "app/string_grid.h"
#include "archive/archive_run.h"
#include "base/text1251.h"
#include "intake/load_files.h"
#include "models/dm_rpt.h"
#include "models/file_tree_model.h"
#include "models/qt_text.h"
#include "session/session.h"
#include "support/fund_file.h"
#include "support/scratch_dir.h"
#include "widgets/styled_button.h"
#include "window_widgets.h"

namespace lorvi {
namespace {

using test::Widget;

using fund::Insurer;
using fund::Person;

// A grid model as the screen reads it: one line per row, the fixed cells first, each cell's text
// followed by its look in braces (colour, "b" for bold, "w" for the selected cell's white).
std::vector<std::string> Dump(const QAbstractItemModel& model) {
  const auto cell = [](const QVariant& text, const QVariant& colour, const QVariant& font,
                       const QVariant& background) {
    QStringList look;
    if (colour.isValid()) look << colour.value<QBrush>().color().name();
    if (font.isValid() && font.value<QFont>().bold()) look << QStringLiteral("b");
    if (background.isValid()) look << QStringLiteral("w");
    return look.isEmpty() ? text.toString()
                          : text.toString() + QStringLiteral(" {") + look.join(' ') + '}';
  };
  const auto header = [&](int section, Qt::Orientation o) {
    return cell(model.headerData(section, o, Qt::DisplayRole),
                model.headerData(section, o, Qt::ForegroundRole),
                model.headerData(section, o, Qt::FontRole),
                model.headerData(section, o, Qt::BackgroundRole));
  };
  QStringList lines;
  QStringList titles{QString()};
  for (int c = 0; c < model.columnCount(); ++c) titles << header(c, Qt::Horizontal);
  lines << titles.join(QStringLiteral(" | "));
  for (int r = 0; r < model.rowCount(); ++r) {
    QStringList cells{header(r, Qt::Vertical)};
    for (int c = 0; c < model.columnCount(); ++c) {
      const QModelIndex i = model.index(r, c);
      cells << cell(i.data(Qt::DisplayRole), i.data(Qt::ForegroundRole), i.data(Qt::FontRole),
                    i.data(Qt::BackgroundRole));
    }
    lines << cells.join(QStringLiteral(" | "));
  }
  std::vector<std::string> result;
  for (const QString& line : lines) result.push_back(line.toStdString());
  return result;
}

struct LoadedWindow {
  LoadedWindow() : session(','), dm(nullptr), dmRpt(QString()), window(session, dm, dmRpt) {
    window.ShowMessageBox = [this](const QString& text) { messages << text; };
    window.OD = [this](const std::string&) { return std::optional(files); };
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  std::vector<std::string> files;
  Session session;
  TDM dm;
  TDMRpt dmRpt;
  TfMainMDI window;
  QStringList messages;
};

TEST(WindowLoad, TheLoadButtonFillsTreeAndGrids) {
  ScratchDir dir;
  LoadedWindow w;
  const Insurer org;
  w.files = {dir.WriteXml("a.xml",
                          fund::Records(org, "2011-1",
                                        {Person("ИВАНОВ", "5", "5"), Person("ПЕТРОВ", "7", "1")})),
             dir.WriteXml("b.xml", fund::Inventory(org, "2011-1", {{"НР", "12", "6"}})),
             dir.WriteXml("u.xml", "no header")};
  // Every model stops the test at its first breach of the model rules.
  std::vector<std::unique_ptr<QAbstractItemModelTester>> testers;
  for (QAbstractItemModel* model : {static_cast<QAbstractItemModel*>(test::TreeModelOf(w.window)),
                                    Widget<TStringGrid>(w.window, "sgZLStrah")->model(),
                                    Widget<TStringGrid>(w.window, "sgZLNakop")->model(),
                                    Widget<TStringGrid>(w.window, "sgADVStrah")->model(),
                                    Widget<TStringGrid>(w.window, "sgADVNakop")->model()})
    testers.push_back(std::make_unique<QAbstractItemModelTester>(
        model, QAbstractItemModelTester::FailureReportingMode::Fatal));
  QTest::mouseClick(Widget<TSButton>(w.window, "sbLoadFiles"), Qt::LeftButton);

  FileTreeModel& model = *test::TreeModelOf(w.window);
  ASSERT_EQ(model.rowCount(), 2);
  EXPECT_EQ(model.index(0, 0).data().toString(), QStringLiteral("000-000-000001(ООО \"Ромашка\")"));
  EXPECT_EQ(model.index(1, 0).data().toString(), QStringLiteral("НЕ СМОГ ПРОЧИТАТЬ"));
  EXPECT_EQ(Widget<QTreeView>(w.window, "tvLF")->currentIndex(), model.index(0, 0));
  EXPECT_TRUE(Widget<QTreeView>(w.window, "tvLF")->isExpanded(model.index(0, 0)));
  // The grids as the screen reads them: text, then colour, bold and the selected cell's white.
  EXPECT_EQ(
      Dump(*Widget<TStringGrid>(w.window, "sgZLStrah")->model()),
      std::vector<std::string>({" | Итого: (Н ? У) {b} | 2011-1 (Н ? У) {b}",
                                "ИВАНОВ ИВАН ИВАНОВИЧ | 5 = 5 {#808080 b w} | 5,00 = 5,00",
                                "ПЕТРОВ ИВАН ИВАНОВИЧ | 7 > 1 (6) {#008000} | 7,00 > 1,00 (6)"}));
  EXPECT_EQ(Widget<TStringGrid>(w.window, "sgADVStrah")->model()->rowCount(), 2);
  EXPECT_TRUE(w.messages.isEmpty());
  EXPECT_EQ(Widget<QLabel>(w.window, "StatusText")->text().left(7),
            QStringLiteral("Нажмите"));  // idle again

  // Fonts by kind of node, and the marked source file in navy bold.
  const QFont base;
  const TreeNode* orgNode = w.session.tvLF().NodeAt(0);
  const TreeNode* period = w.session.tvLF().NodeAt(1);
  const TreeNode* file = w.session.tvLF().NodeAt(5);
  ASSERT_EQ(file->picture, kPictureFile);
  // Each node shows its picture of the image list.
  for (const TreeNode* node : {orgNode, period, file})
    EXPECT_EQ(model.IndexOf(node).data(Qt::DecorationRole).value<QPixmap>().toImage(),
              ILPicture(node->picture).toImage());
  // The font as the view resolves the model's against its own.
  const auto fontOf = [&](const TreeNode* node) {
    return model.IndexOf(node).data(Qt::FontRole).value<QFont>().resolve(base);
  };
  EXPECT_TRUE(fontOf(orgNode).bold());
  EXPECT_TRUE(fontOf(period).underline());
  EXPECT_FALSE(fontOf(period).bold());
  EXPECT_EQ(model.IndexOf(file).data(Qt::ForegroundRole).value<QBrush>().color(),
            QColor(0, 128, 128));
  w.session.SelectCell(GridTag::ZLStrah, 2, 1);  // a figure of the first period
  const auto nodes = w.session.tvLF().DisplayOrder();
  const auto marked = std::find_if(nodes.begin(), nodes.end(), [](const TreeNode* node) {
    return node->state == kPictureSourceMark;
  });
  ASSERT_NE(marked, nodes.end());
  EXPECT_TRUE(fontOf(*marked).bold());
  EXPECT_EQ(model.IndexOf(*marked).data(Qt::ForegroundRole).value<QBrush>().color(),
            QColor(0, 0, 128));
  EXPECT_EQ(
      model.IndexOf(*marked).data(FileTreeModel::kStatePictureRole).value<QPixmap>().toImage(),
      ILPicture(kPictureSourceMark).toImage());
  EXPECT_FALSE(model.IndexOf(period).data(FileTreeModel::kStatePictureRole).isValid());

  // A file's tooltip is its name; one not taken says why under it.
  EXPECT_EQ(model.IndexOf(file).data(Qt::ToolTipRole).toString(), QStringLiteral("a.xml"));
  EXPECT_EQ(model.index(0, 0, model.index(1, 0)).data(Qt::ToolTipRole).toString(),
            QStringLiteral("u.xml\nВ начале файла нет ни одного тега: это не XML-файл"));

  // Selecting the unreadable root by mouse changes nothing in the grids.
  Widget<QTreeView>(w.window, "tvLF")->setCurrentIndex(model.index(1, 0));
  EXPECT_EQ(Widget<TStringGrid>(w.window, "sgZLStrah")->model()->rowCount(), 2);
}

// Files and a folder dropped on the window or on its tree load as chosen files do; the folder
// stands for the .xml files below it.
TEST(WindowLoad, DroppedFilesAndFoldersLoad) {
  ScratchDir dir;
  LoadedWindow w;
  const std::string a = dir.WriteXml("a.xml", fund::Records(Insurer(), "2011-1", {Person("А")}));
  dir.WriteXml("folder/b.XML", fund::Records(Insurer(), "2011-2", {Person("Б")}));
  dir.WriteXml("folder/deeper/c.xml", fund::Records(Insurer(), "2011-3", {Person("В")}));
  dir.Write("folder/notes.txt", "not a fund file");
  const auto drop = [&](QWidget* target, const std::vector<std::string>& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& path : paths) urls << QUrl::fromLocalFile(QString::fromStdString(path));
    data.setUrls(urls);
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &dropped);
    return enter.isAccepted();
  };
  const auto files = [&] {
    std::vector<std::string> names;
    for (const TreeNode* n : w.session.tvLF().DisplayOrder())
      if (n->picture == kPictureFile) names.push_back(n->caption);
    return names;
  };
  EXPECT_TRUE(drop(Widget<QTreeView>(w.window, "tvLF")->viewport(), {a}));
  EXPECT_EQ(files(), std::vector<std::string>{"a.xml"});
  EXPECT_EQ(Widget<TStringGrid>(w.window, "sgZLStrah")->model()->rowCount(), 1);
  EXPECT_TRUE(drop(&w.window, {dir.PathOf("folder")}));
  EXPECT_EQ(files(), (std::vector<std::string>{"a.xml", "b.XML", "c.xml"}));
  EXPECT_EQ(w.session.ODInitialDir(), dir.PathOf("folder"));
  EXPECT_TRUE(w.messages.isEmpty());
}

// "Сверить архив…" in the tree's menu writes the overview lorvi-check --archive writes, and
// leaves the organisation loaded in the window as it was.
TEST(WindowLoad, TheTreesMenuReconcilesAnArchiveBesideWhatIsLoaded) {
  ScratchDir dir;
  LoadedWindow w;
  w.files = {dir.WriteXml("a.xml", fund::Records(Insurer(), "2011-1", {Person("А", "5", "4")}))};
  w.window.sbLoadFilesClick();
  const std::vector<std::string> grid = Dump(*Widget<TStringGrid>(w.window, "sgZLStrah")->model());
  const std::string samples = std::string(LORVI_SOURCE_DIR) + "/samples";
  QStringList asked;
  w.window.AskArchiveFolder = [&](const QString& initial) {
    asked << initial;
    return QString::fromStdString(samples);
  };
  w.window.AskOverviewPath = [&](const QString& proposed) {
    asked << proposed;
    return QString::fromStdString(dir.PathOf("overview.xlsx"));
  };
  QList<QUrl> opened;
  w.window.OpenDocument = [&](const QUrl& url) {
    opened << url;
    return true;
  };
  const std::time_t before = std::time(nullptr);
  ASSERT_EQ(Widget<QMenu>(w.window, "treeMenu")->actions().size(), 1);
  EXPECT_EQ(Widget<QMenu>(w.window, "treeMenu")->actions().front()->text(),
            QStringLiteral("Сверить архив…"));
  Widget<QMenu>(w.window, "treeMenu")->actions().front()->trigger();
  const std::time_t after = std::time(nullptr);
  ASSERT_EQ(asked.size(), 2);
  EXPECT_EQ(asked[0], QString::fromStdString(dir.Path().string()));  // the load dialog's folder
  EXPECT_TRUE(
      asked[1].startsWith(QString::fromStdString(samples) + QStringLiteral("/Обзор архива ")));
  ASSERT_EQ(opened.size(), 1);
  EXPECT_TRUE(w.messages.isEmpty()) << w.messages.join('\n').toStdString();
  EXPECT_EQ(Dump(*Widget<TStringGrid>(w.window, "sgZLStrah")->model()), grid);
  EXPECT_EQ(w.session.Store().OrgCount, 1);

  // The same file as the core writes for the same moment.
  const std::string written = test::ReadAll(dir.PathOf("overview.xlsx"));
  bool same = false;
  for (std::time_t at = before; at <= after && !same; ++at) {
    ArchiveRequest request;
    request.inputs = {samples};
    request.overview = dir.PathOf("core.xlsx");
    request.separator = ',';
    request.created = at;
    request.date =
        ToCp1251(QDateTime::fromSecsSinceEpoch(at).date().toString(QStringLiteral("dd.MM.yyyy")));
    ReconcileArchive(request, {});
    same = test::ReadAll(dir.PathOf("core.xlsx")) == written;
  }
  EXPECT_TRUE(same);
}

TEST(WindowLoad, TotalsArePaintedInTheirColours) {
  ScratchDir dir;
  LoadedWindow w;
  w.files = {dir.WriteXml("a.xml", fund::Records(Insurer(), "2011-1",
                                                 {Person("А", "7", "1"), Person("Б", "1", "7"),
                                                  Person("В", "1", "1")}))};
  QTest::mouseClick(Widget<TSButton>(w.window, "sbLoadFiles"), Qt::LeftButton);
  TStringGrid* grid = Widget<TStringGrid>(w.window, "sgZLStrah");
  grid->resize(800, 200);
  const QImage image = grid->grab().toImage();
  // Text colours found in the total column's cells, by row; the text is antialiased, so a
  // pixel counts by its hue.
  const auto has = [&](int row, const auto& hue) {
    const QRect cell =
        grid->visualRect(grid->model()->index(row, 0)).translated(grid->viewport()->pos());
    for (int y = cell.top(); y <= cell.bottom(); ++y)
      for (int x = cell.left(); x <= cell.right(); ++x)
        if (hue(image.pixelColor(x, y))) return true;
    return false;
  };
  const auto green = [](QColor c) { return c.green() > c.red() + 60 && c.green() > c.blue() + 60; };
  const auto red = [](QColor c) { return c.red() > c.green() + 100 && c.red() > c.blue() + 100; };
  const auto grey = [](QColor c) {
    return std::abs(c.red() - c.green()) < 8 && std::abs(c.green() - c.blue()) < 8 &&
           c.red() > 100 && c.red() < 170;
  };
  EXPECT_TRUE(has(0, green));  // 7 > 1, selected
  EXPECT_TRUE(has(1, red));    // 1 < 7
  EXPECT_TRUE(has(2, grey));   // 1 = 1
  EXPECT_FALSE(has(1, green));
  EXPECT_FALSE(has(2, red));
}

TEST(WindowLoad, NothingInterleavesWithALoadAndClosingWaitsForItsEnd) {
  ScratchDir dir;
  LoadedWindow w;
  for (int i = 0; i < 5; ++i)
    w.files.push_back(dir.WriteXml("f" + std::to_string(i) + ".xml",
                                   fund::Records(Insurer(), "2011-" + std::to_string(i % 4 + 1),
                                                 {Person("П" + std::to_string(i))})));
  int progressCalls = 0;
  int dialogs = 0;
  w.window.AskArchiveFolder = [&](const QString&) {
    ++dialogs;
    return QString();
  };
  w.window.OD = [&](const std::string&) {
    ++dialogs;
    return std::optional(w.files);
  };
  const Session::ProgressSink progress = w.session.CurrentProgressSink();
  w.session.SetProgressSink([&](const std::string& status) {
    ++progressCalls;
    // The user presses everything while the work runs, by mouse and by keyboard.
    w.window.sbClearFilesClick();
    w.window.sbLoadFilesClick();
    QTest::keyClick(&w.window, Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(Widget<TSButton>(w.window, "sbClearFiles"), Qt::Key_Space);
    QTest::keyClick(Widget<TSButton>(w.window, "sbLoadFiles"), Qt::Key_Return);
    w.window.LoadFiles({QString::fromStdString(w.files.front())});
    // Help and the archive wait too: their dialogs would let the user's events in.
    w.window.sbHelpClick();
    w.window.ReconcileArchive();
    w.window.close();
    progress(status);
  });
  QTest::mouseClick(Widget<TSButton>(w.window, "sbLoadFiles"), Qt::LeftButton);
  EXPECT_GT(progressCalls, 0);
  EXPECT_EQ(dialogs, 1);
  int fileNodes = 0;  // neither cleared nor loaded twice
  for (const TreeNode* n : w.session.tvLF().DisplayOrder()) fileNodes += n->picture == kPictureFile;
  EXPECT_EQ(fileNodes, 5);
  EXPECT_FALSE(w.window.isVisible());        // closed once the load was over
  EXPECT_EQ(w.session.Store().OrgCount, 0);  // and the stores were released
}

}  // namespace
}  // namespace lorvi
