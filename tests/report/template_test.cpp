#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "report/report.h"
#include "report/template_reader.h"
#include "report_samples.h"

namespace lorvi::report {
namespace {

using test::LoadXml;
using test::TemplateXml;
using test::ThrownText;
using test::WriteFile;

const QString kFullTemplate = TemplateXml(
    QStringLiteral(
        "<ReportTitle name=\"Title\" height=\"12\">"
        "  <Memo name=\"OrgMemo\" left=\"5\" top=\"1\" width=\"100\" height=\"6\" "
        "font=\"Liberation "
        "Serif\" fontSize=\"14\" fontStyle=\"bold underline\" hAlign=\"center\" vAlign=\"bottom\" "
        "frame=\"left bottom\" frameWidth=\"1.5\" fill=\"#E0E0E0\" color=\"#102030\" "
        "padding=\"1\" wordWrap=\"false\" grow=\"true\" stretch=\"true\">[OrgName]</Memo>"
        "</ReportTitle>"
        "<PageHeader height=\"6\"><Memo name=\"Head\" frame=\"all\">\n    Заголовок\n  "
        "</Memo></PageHeader>"
        "<MasterData name=\"MasterData1\" dataset=\"DQuery\" height=\"5\">"
        "  <Memo name=\"Fio\" expressions=\"false\">[DQuery.\"FIO\"]</Memo>"
        "</MasterData>"
        "<PageFooter height=\"5\"/>"),
    QStringLiteral("size=\"A4\" orientation=\"landscape\" margins=\"12 8 6 4\""),
    QStringLiteral("<Variables><Variable name=\"OrgName\" value=\"Нет\"/></Variables>"));

TEST(TemplateReading, ReadsPageBandsAndMemoProperties) {
  ReportTemplate design = ReadTemplate(kFullTemplate.toUtf8());
  EXPECT_EQ(design.page.size, QSizeF(297, 210));
  EXPECT_EQ(design.page.margins, QMarginsF(12, 8, 6, 4));
  ASSERT_EQ(design.bands.size(), 4u);
  EXPECT_EQ(design.bands[0]->Kind(), BandKind::ReportTitle);
  EXPECT_EQ(design.bands[3]->Kind(), BandKind::PageFooter);
  ASSERT_EQ(design.variables.size(), 1);
  EXPECT_EQ(design.variables[0], qMakePair(QStringLiteral("OrgName"), QStringLiteral("Нет")));

  const Memo& memo = design.bands[0]->memos.at(0);
  EXPECT_EQ(memo.rect, QRectF(5, 1, 100, 6));
  EXPECT_EQ(memo.font.family, QStringLiteral("Liberation Serif"));
  EXPECT_EQ(memo.font.size, 14);
  EXPECT_TRUE(memo.font.bold && memo.font.underline && !memo.font.italic);
  EXPECT_EQ(memo.hAlign, HAlign::Center);
  EXPECT_EQ(memo.vAlign, VAlign::Bottom);
  EXPECT_TRUE(memo.frame.left && memo.frame.bottom && !memo.frame.top && !memo.frame.right);
  EXPECT_EQ(memo.frame.width, 1.5);
  EXPECT_EQ(memo.fill, QColor(0xE0, 0xE0, 0xE0));
  EXPECT_EQ(memo.color, QColor(0x10, 0x20, 0x30));
  EXPECT_TRUE(memo.grow && memo.stretch && !memo.wordWrap);
  EXPECT_EQ(memo.text, QStringLiteral("[OrgName]"));
  EXPECT_FALSE(design.bands[2]->memos.at(0).allowExpressions);
  // The indentation of a pretty-printed text is dropped.
  EXPECT_EQ(design.bands[1]->memos.at(0).text, QStringLiteral("Заголовок"));

  MasterDataBand* master = design.FindMasterData(QStringLiteral("masterdata1"));
  ASSERT_NE(master, nullptr);
  EXPECT_EQ(master->dataSetName, QStringLiteral("DQuery"));
}

TEST(TemplateReading, PageSizesAndMargins) {
  ReportTemplate design =
      ReadTemplate(TemplateXml({}, QStringLiteral("width=\"300\" height=\"100\" "
                                                  "orientation=\"portrait\" margins=\"5\""))
                       .toUtf8());
  EXPECT_EQ(design.page.size, QSizeF(100, 300));
  EXPECT_EQ(design.page.margins, QMarginsF(5, 5, 5, 5));
  design = ReadTemplate(TemplateXml({}, QStringLiteral("size=\"a3\"")).toUtf8());
  EXPECT_EQ(design.page.size, QSizeF(297, 420));
  EXPECT_EQ(design.page.margins, QMarginsF(10, 10, 10, 10));
}

TEST(TemplateReading, RefusesBrokenTemplatesNamingTheLine) {
  const struct {
    const char* name;
    QString xml;
    QString mentions;
  } cases[] = {
      {"unclosed element", QStringLiteral("<Report>\n<Page>\n<ReportTitle>\n</Page></Report>"),
       QStringLiteral("строка 4")},
      {"not a template", QStringLiteral("<Html/>"), QStringLiteral("Report")},
      {"empty file", QString(), QStringLiteral("XML")},
      {"no page", QStringLiteral("<Report/>"), QStringLiteral("Page")},
      {"misspelt attribute",
       TemplateXml(QStringLiteral("<MasterData name=\"M\" datset=\"DQuery\"/>")),
       QStringLiteral("datset")},
      {"unknown band", TemplateXml(QStringLiteral("<GroupHeader/>")),
       QStringLiteral("GroupHeader")},
      {"number", TemplateXml(QStringLiteral("<PageHeader height=\"abc\"/>")),
       QStringLiteral("abc")},
      {"second title", TemplateXml(QStringLiteral("<ReportTitle/><ReportTitle/>")),
       QStringLiteral("ReportTitle")},
      {"same name twice",
       TemplateXml(QStringLiteral("<PageHeader><Memo name=\"A\"/><Memo name=\"a\"/></PageHeader>")),
       QStringLiteral("a уже")},
      {"no room", TemplateXml({}, QStringLiteral("width=\"20\" height=\"20\" margins=\"10\"")),
       QStringLiteral("поля")},
      {"bad alignment",
       TemplateXml(QStringLiteral("<PageHeader><Memo hAlign=\"middle\"/></PageHeader>")),
       QStringLiteral("middle")},
  };
  for (const auto& c : cases) {
    const QString error = ThrownText([&] { ReadTemplate(c.xml.toUtf8()); });
    EXPECT_TRUE(error.contains(c.mentions)) << c.name << ": " << error.toStdString();
  }
}

TEST(TemplateReading, FailedLoadLeavesTheReportEmpty) {
  QTemporaryDir dir;
  TfrxReport report;
  LoadXml(report, dir, kFullTemplate);
  ASSERT_TRUE(report.HasObject(QStringLiteral("Head")));

  const QString broken = WriteFile(dir, QStringLiteral("broken.fr3"), "<Report><Page>");
  EXPECT_TRUE(ThrownText([&] {
                report.LoadFromFile(broken);
              }).startsWith(QStringLiteral("Ошибка в шаблоне %1, строка ").arg(broken)));
  EXPECT_FALSE(report.HasObject(QStringLiteral("Head")));
  EXPECT_TRUE(report.TemplateVariables().isEmpty());

  const QString missing = dir.filePath(QStringLiteral("missing.fr3"));
  EXPECT_TRUE(ThrownText([&] {
                report.LoadFromFile(missing);
              }).startsWith(QStringLiteral("Не удалось открыть шаблон %1: ").arg(missing)));
}

TEST(TemplateReading, FindsObjectsByName) {
  QTemporaryDir dir;
  TfrxReport report;
  LoadXml(report, dir, kFullTemplate);
  EXPECT_NE(report.FindMasterData(QStringLiteral("MasterData1")), nullptr);
  // A memo of that name exists but is no master data band.
  EXPECT_EQ(report.FindMasterData(QStringLiteral("Fio")), nullptr);
  EXPECT_TRUE(report.HasObject(QStringLiteral("Fio")));
  EXPECT_TRUE(report.HasObject(QStringLiteral("title")));
  EXPECT_FALSE(report.HasObject(QStringLiteral("MasterData2")));
  EXPECT_FALSE(report.HasObject(QString()));

  LoadXml(report, dir, TemplateXml(QStringLiteral("<ReportTitle name=\"T\"/>")));
  EXPECT_EQ(report.FindMasterData(QStringLiteral("MasterData1")), nullptr);
  EXPECT_FALSE(report.HasObject(QStringLiteral("MasterData1")));
}

// The variables of a report: the program's script variables and the template's own list.
class ReportVariables : public ::testing::Test {
 protected:
  QString TitleText() {
    const PreparedReport& prepared = report.Prepare();
    return prepared.IsEmpty() || prepared.Page(0).items.isEmpty() ? QString()
                                                                  : prepared.Page(0).items[0].text;
  }

  QTemporaryDir dir;
  TfrxReport report;
};

TEST_F(ReportVariables, ScriptVariablesSurviveLoadingAndOverrideTemplateDefaults) {
  report.SetScriptVariable(QStringLiteral("FIO"), QStringLiteral("ФИО"));
  LoadXml(
      report, dir,
      TemplateXml(QStringLiteral("<ReportTitle><Memo>[FIO]|[OrgName]|[fio]</Memo></ReportTitle>"),
                  QStringLiteral("size=\"A4\""),
                  QStringLiteral("<Variables><Variable name=\"FIO\" value=\"шаблон\"/>"
                                 "<Variable name=\"OrgName\" value=\"по умолчанию\"/>"
                                 "</Variables>")));
  EXPECT_EQ(TitleText(), QStringLiteral("ФИО|по умолчанию|ФИО"));

  report.SetScriptVariable(QStringLiteral("orgname"), QStringLiteral("1 ООО Ромашка"));
  report.SetScriptVariable(QStringLiteral("OrgName"), QStringLiteral("2 ООО Ромашка"));
  ASSERT_EQ(report.ScriptVariables().size(), 2);
  EXPECT_EQ(TitleText(), QStringLiteral("ФИО|2 ООО Ромашка|ФИО"));
  EXPECT_TRUE(report.Prepared().warnings.isEmpty());
}

TEST_F(ReportVariables, ClearVariablesEmptiesOnlyTheTemplatesList) {
  report.SetScriptVariable(QStringLiteral("XMLType"), QStringLiteral("Застрахованные лица"));
  LoadXml(report, dir,
          TemplateXml(QStringLiteral("<ReportTitle><Memo>[XMLType]/[TabName]</Memo></ReportTitle>"),
                      QStringLiteral("size=\"A4\""),
                      QStringLiteral("<Variables><Variable name=\"TabName\" value=\"Все\"/>"
                                     "</Variables>")));
  EXPECT_EQ(TitleText(), QStringLiteral("Застрахованные лица/Все"));
  report.ClearVariables();
  EXPECT_TRUE(report.TemplateVariables().isEmpty());
  EXPECT_EQ(report.ScriptVariables().size(), 1);
  EXPECT_EQ(TitleText(), QStringLiteral("Застрахованные лица/"));
  EXPECT_TRUE(report.Prepared().warnings.join(u' ').contains(QStringLiteral("[TabName]")));
}

TEST_F(ReportVariables, UnknownNamesPrintEmptyAndAreListedOnce) {
  DataSet data = test::PrintTable(2);
  LoadXml(report, dir,
          TemplateXml(QStringLiteral("<ReportTitle><Memo>a[Nothing]b[Nothing]c</Memo></ReportTitle>"
                                     "<MasterData name=\"M\" dataset=\"DQuery\">"
                                     "<Memo>[DQuery.\"Salary\"][Other.\"FIO\"]</Memo>"
                                     "</MasterData>")));
  report.SetDataSet(&data);
  EXPECT_EQ(TitleText(), QStringLiteral("abc"));
  const QStringList warnings = report.Prepared().warnings;
  ASSERT_EQ(warnings.size(), 3) << warnings.join(u'\n').toStdString();
  EXPECT_TRUE(warnings[0].contains(QStringLiteral("[Nothing]")));
  EXPECT_TRUE(warnings[1].contains(QStringLiteral("Salary")));
  EXPECT_TRUE(warnings[2].contains(QStringLiteral("Other")));
}

TEST_F(ReportVariables, ValuesAreNotEvaluatedAgain) {
  report.SetScriptVariable(QStringLiteral("OrgName"), QStringLiteral("[Page] [TotalPages"));
  LoadXml(report, dir,
          TemplateXml(QStringLiteral("<ReportTitle><Memo>[OrgName] [open</Memo>"
                                     "<Memo expressions=\"false\">[OrgName]</Memo>"
                                     "</ReportTitle>")));
  EXPECT_EQ(TitleText(), QStringLiteral("[Page] [TotalPages [open"));
  EXPECT_EQ(report.Prepared().Page(0).items[1].text, QStringLiteral("[OrgName]"));
  EXPECT_TRUE(report.Prepared().warnings.isEmpty());
}

TEST_F(ReportVariables, DateIsTheReportDate) {
  report.SetReportDate(QDate(2011, 9, 5));
  LoadXml(report, dir,
          TemplateXml(QStringLiteral("<ReportTitle><Memo>[Date]</Memo></ReportTitle>")));
  EXPECT_EQ(TitleText(), QStringLiteral("05.09.2011"));
}

}  // namespace
}  // namespace lorvi::report
