#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QFile>

#include <filesystem>

#include "base/lorvi_error.h"
#include "base/text1251.h"
#include "models/dm_rpt.h"
#include "report/prepared_report.h"
#include "support/scratch_dir.h"

namespace lorvi {
namespace {

// A program folder with its Template/Print.fr3, and a report whose preview is recorded.
struct Printer {
  Printer() : dm(QString::fromStdString(dir.PathOf("program"))) {
    std::filesystem::create_directories(dir.PathOf("program/Template"));
    std::filesystem::copy_file(LORVI_DEFAULT_TEMPLATE, TemplatePath());
    dm.ShowMessageBox = [this](const QString& caption, const QString& text) {
      boxes << caption + "|" + text;
    };
    dm.Rpt.ShowPreview = [this](const report::PreparedReport& prepared, QWidget*) {
      QString text;
      for (int p = 0; p < prepared.PageCount(); ++p) text += prepared.PlainText(p);
      previews << text;
      names << prepared.title + "|" + prepared.fileName;
    };
  }
  std::string TemplatePath() { return dir.PathOf("program/Template/Print.fr3"); }

  ScratchDir dir;
  TDMRpt dm;
  QStringList boxes;
  QStringList previews;
  QStringList names;  // title and proposed file name of each report shown
};

PrintJob Job() {
  PrintJob job;
  job.FIO = "ФИО"_w;
  job.OrgName = "000-000-000001(ООО Ромашка)"_w;
  job.XMLType = "Застрахованные лица"_w;
  job.TabName = "Уволенные"_w;
  job.records = {
      {std::string("ИВАНОВ ИВАН ИВАНОВИЧ (2011-3)"_w),
       std::string("Итого: (Н ? У) : 300 > 200 (100)\r2011-3 (Н ? У) : 300,00 > 200,00 (100)\r"_w),
       std::string("Итого: (Н ? У) : 0 = 0\r"_w)}};
  return job;
}

TEST(DMRpt, PrintShowsTheTemplateFilledWithTableAndVariables) {
  Printer p;
  p.dm.Print(Job(), nullptr);
  ASSERT_EQ(p.previews.size(), 1);
  const QString& page = p.previews[0];
  for (const char* text : {"000-000-000001(ООО Ромашка)", "Застрахованные лица", "Уволенные", "ФИО",
                           "ИВАНОВ ИВАН ИВАНОВИЧ (2011-3)", "300 > 200 (100)",
                           "2011-3 (Н ? У) : 300,00 > 200,00 (100)"})
    EXPECT_TRUE(page.contains(QString::fromUtf8(text))) << text;
  // After the preview: the template's variables are emptied and the table is let go.
  EXPECT_TRUE(p.dm.Rpt.TemplateVariables().isEmpty());
  ASSERT_NE(p.dm.Rpt.FindMasterData("MasterData1"), nullptr);
  EXPECT_EQ(p.dm.Rpt.FindMasterData("MasterData1")->BoundDataSet(), nullptr);
  EXPECT_TRUE(p.boxes.isEmpty());

  // An empty table is still shown.
  PrintJob empty = Job();
  empty.records.clear();
  p.dm.Print(empty, nullptr);
  EXPECT_EQ(p.previews.size(), 2);

  // The report is named after the organisation, its exports after the organisation, the tab and
  // the day, with what a file name cannot hold replaced.
  PrintJob named = Job();
  named.OrgName = "000-000-000001(ООО \"Ромашка\" / Север)"_w;
  named.TabName = "Начислено<Уплачено"_w;
  p.dm.Print(named, nullptr);
  ASSERT_EQ(p.names.size(), 3);
  EXPECT_EQ(p.names[2],
            QStringLiteral("Анализатор ЛОРВИ — 000-000-000001(ООО \"Ромашка\" / Север)|"
                           "000-000-000001(ООО 'Ромашка' _ Север) Начислено‹Уплачено ") +
                QDate::currentDate().toString(Qt::ISODate));
}

TEST(DMRpt, MissingRenamedOrBrokenTemplates) {
  Printer p;
  // Renamed: nothing happens, quietly; restored: the next print works again.
  std::filesystem::rename(p.TemplatePath(), p.TemplatePath() + ".off");
  p.dm.Print(Job(), nullptr);
  EXPECT_TRUE(p.previews.isEmpty());
  EXPECT_TRUE(p.boxes.isEmpty());
  std::filesystem::rename(p.TemplatePath() + ".off", p.TemplatePath());
  p.dm.Print(Job(), nullptr);
  EXPECT_EQ(p.previews.size(), 1);

  // An empty name: the box "Ошибка".
  EXPECT_FALSE(p.dm.LoadTemplate(QString()));
  EXPECT_EQ(p.boxes, QStringList({QStringLiteral("Ошибка|Не найден шаблон отчета\r")}));

  // Without MasterData1: our own message, no preview.
  QFile file(QString::fromStdString(p.TemplatePath()));
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  QByteArray text = file.readAll();
  text.replace("MasterData1", "MasterData2");
  file.resize(0);
  file.write(text);
  file.close();
  try {
    p.dm.Print(Job(), nullptr);
    ADD_FAILURE();
  } catch (const LorviError& e) {
    EXPECT_EQ(Cp1251ToUtf8(e.what()), "В шаблоне отчета нет полосы данных MasterData1");
  }
  EXPECT_EQ(p.previews.size(), 1);

  // Not a template at all: the reason is the failure.
  ScratchDir other;
  EXPECT_THROW(
      {
        QFile broken(QString::fromStdString(p.TemplatePath()));
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
        broken.write("<Report><Nonsense/></Report>");
        broken.close();
        p.dm.Print(Job(), nullptr);
      },
      LorviError);
}

// Installed, the programs are in bin/ and their data in share/lorvi/; Template/ beside the program
// still comes first.
TEST(DMRpt, InstalledProgramFindsItsTemplateUnderShare) {
  ScratchDir dir;
  std::filesystem::create_directories(dir.PathOf("usr/bin"));
  std::filesystem::create_directories(dir.PathOf("usr/share/lorvi/Template"));
  std::filesystem::copy_file(LORVI_DEFAULT_TEMPLATE,
                             dir.PathOf("usr/share/lorvi/Template/Print.fr3"));
  TDMRpt dm(QString::fromStdString(dir.PathOf("usr/bin")));
  QStringList previews;
  dm.Rpt.ShowPreview = [&](const report::PreparedReport& prepared, QWidget*) {
    previews << prepared.PlainText(0);
  };
  EXPECT_EQ(dm.TemplatePath(TDMRpt::kPrintTemplate),
            QString::fromStdString(dir.PathOf("usr/share/lorvi/Template/Print.fr3")));
  EXPECT_TRUE(dm.Print(Job(), nullptr));

  std::filesystem::create_directories(dir.PathOf("usr/bin/Template"));
  QFile beside(QString::fromStdString(dir.PathOf("usr/bin/Template/Print.fr3")));
  QFile installed(QString::fromStdString(dir.PathOf("usr/share/lorvi/Template/Print.fr3")));
  ASSERT_TRUE(installed.open(QIODevice::ReadOnly));
  ASSERT_TRUE(beside.open(QIODevice::WriteOnly));
  beside.write(installed.readAll().replace("Накопительная часть", "Своя копия"));
  beside.close();
  EXPECT_TRUE(dm.Print(Job(), nullptr));
  ASSERT_EQ(previews.size(), 2);
  EXPECT_TRUE(previews[0].contains(QStringLiteral("Накопительная часть")));
  EXPECT_TRUE(previews[1].contains(QStringLiteral("Своя копия")));
}

}  // namespace
}  // namespace lorvi
