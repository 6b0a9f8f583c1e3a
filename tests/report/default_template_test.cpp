#include <gtest/gtest.h>

#include "report/report.h"
#include "report_samples.h"

namespace lorvi::report {
namespace {

// A print as the program makes it, on the template that ships with it.
class DefaultTemplate : public ::testing::Test {
 protected:
  const PreparedReport& Print(const QString& fio, const QString& xmlType, const QString& tab) {
    report.SetScriptVariable(QStringLiteral("FIO"), fio);
    EXPECT_NO_THROW(report.LoadFromFile(QStringLiteral(LORVI_DEFAULT_TEMPLATE)));
    report.SetScriptVariable(QStringLiteral("OrgName"),
                             QStringLiteral("087-012-345678 ООО \"Ромашка\""));
    report.SetScriptVariable(QStringLiteral("XMLType"), xmlType);
    report.SetScriptVariable(QStringLiteral("TabName"), tab);
    report.SetDataSet(&data);
    MasterDataBand* band = report.FindMasterData(QStringLiteral("MasterData1"));
    EXPECT_NE(band, nullptr);
    if (band) band->SetDataSet(&data);
    return report.Prepare();
  }

  DataSet data = test::PrintTable(25, 12);
  TfrxReport report;
};

TEST_F(DefaultTemplate, HasTheMasterDataTheProgramFeeds) {
  ASSERT_NO_THROW(report.LoadFromFile(QStringLiteral(LORVI_DEFAULT_TEMPLATE)));
  const MasterDataBand* band = report.FindMasterData(QStringLiteral("MasterData1"));
  ASSERT_NE(band, nullptr);
  EXPECT_EQ(band->dataSetName, QStringLiteral("DQuery"));
  EXPECT_TRUE(report.Design().page.Landscape());
}

TEST_F(DefaultTemplate, PrintsTitleColumnsAndEveryRecordWithoutWarnings) {
  const PreparedReport& prepared =
      Print(QStringLiteral("ФИО"), QStringLiteral("Застрахованные лица"), QStringLiteral("Все"));
  EXPECT_TRUE(prepared.warnings.isEmpty()) << prepared.warnings.join(u'\n').toStdString();
  ASSERT_GT(prepared.PageCount(), 1);
  const QString first = prepared.PlainText(0);
  for (const QString& text :
       {QStringLiteral("Анализатор ЛОРВИ"), QStringLiteral("087-012-345678 ООО \"Ромашка\""),
        QStringLiteral("Застрахованные лица"), QStringLiteral("Все"), QStringLiteral("ФИО"),
        QStringLiteral("Страховая часть"), QStringLiteral("Накопительная часть")})
    EXPECT_TRUE(first.contains(text)) << text.toStdString();
  for (int p = 0; p < prepared.PageCount(); ++p) {
    const QString page = prepared.PlainText(p);
    EXPECT_TRUE(page.contains(QStringLiteral("Накопительная часть"))) << "page " << p;
    EXPECT_TRUE(
        page.contains(QStringLiteral("Страница %1 из %2").arg(p + 1).arg(prepared.PageCount())));
  }
  for (const QStringList& record : data.records) {
    EXPECT_EQ(test::CountItems(prepared, record[0]), 1) << record[0].toStdString();
    EXPECT_EQ(test::CountItems(prepared, record[1].chopped(1).replace(u'\r', u'\n')), 1);
  }
}

TEST_F(DefaultTemplate, InventoryViewPrintsCategoriesAndNoTabName) {
  data = test::PrintTable(2, 3);
  const PreparedReport& prepared =
      Print(QStringLiteral("Категории"), QStringLiteral("Опись сведенний"), QString());
  EXPECT_TRUE(prepared.warnings.isEmpty());
  EXPECT_EQ(prepared.PageCount(), 1);
  EXPECT_TRUE(prepared.PlainText(0).contains(QStringLiteral("Категории")));
  EXPECT_FALSE(prepared.PlainText(0).contains(QStringLiteral("ФИО")));
}

TEST_F(DefaultTemplate, EmptyTablePrintsOnePage) {
  data.records.clear();
  const PreparedReport& prepared =
      Print(QStringLiteral("ФИО"), QStringLiteral("Застрахованные лица"), QStringLiteral("Все"));
  EXPECT_EQ(prepared.PageCount(), 1);
  EXPECT_TRUE(prepared.PlainText(0).contains(QStringLiteral("Страница 1 из 1")));
}

}  // namespace
}  // namespace lorvi::report
