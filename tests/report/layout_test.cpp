#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <algorithm>

#include "report/report.h"
#include "report/text_layout.h"
#include "report_samples.h"

namespace lorvi::report {
namespace {

using test::LoadXml;
using test::PrintTable;
using test::TemplateXml;

constexpr double kEps = 0.01;

// A 100 x 100 mm page with 10 mm margins: title 10, header 5, footer 5 high; records of two
// framed, growing, stretching memos side by side.
const QString kTable = TemplateXml(
    QStringLiteral(
        "<ReportTitle height=\"10\"><Memo name=\"T\" height=\"10\">Отчет [OrgName]</Memo>"
        "</ReportTitle>"
        "<PageHeader height=\"5\"><Memo name=\"H\" height=\"5\">Шапка</Memo></PageHeader>"
        "<MasterData name=\"MasterData1\" dataset=\"DQuery\" height=\"5\">"
        "<Memo name=\"F\" width=\"40\" height=\"5\" frame=\"all\" grow=\"true\" "
        "stretch=\"true\">[DQuery.\"FIO\"]</Memo>"
        "<Memo name=\"S\" left=\"40\" width=\"40\" height=\"5\" frame=\"all\" grow=\"true\" "
        "stretch=\"true\" wordWrap=\"false\">[DQuery.\"MoneyS\"]</Memo>"
        "</MasterData>"
        "<PageFooter height=\"5\"><Memo name=\"P\" height=\"5\">[Page]/[TotalPages]</Memo>"
        "</PageFooter>"),
    QStringLiteral("width=\"100\" height=\"100\" margins=\"10\""));

DataSet Table(const QList<QStringList>& records) {
  DataSet data;
  data.userName = QStringLiteral("DQuery");
  data.fields = {QStringLiteral("FIO"), QStringLiteral("MoneyS")};
  data.records = records;
  return data;
}

QList<const TextItem*> ItemsOf(const PreparedPage& page, BandKind band) {
  QList<const TextItem*> items;
  for (const TextItem& item : page.items)
    if (item.band == band) items.append(&item);
  return items;
}

class ReportLayout : public ::testing::Test {
 protected:
  const PreparedReport& Prepare(const DataSet& data, const QString& xml = kTable) {
    LoadXml(report, dir, xml);
    report.SetDataSet(&data);
    return report.Prepare();
  }

  QTemporaryDir dir;
  TfrxReport report;
};

TEST_F(ReportLayout, PrintsEveryRecordInOrderBelowTitleAndHeader) {
  const DataSet data = Table({{QStringLiteral("Б"), QStringLiteral("1")},
                              {QStringLiteral("А"), QStringLiteral("2")},
                              {QStringLiteral("В"), QStringLiteral("3")}});
  const PreparedReport& prepared = Prepare(data);
  ASSERT_EQ(prepared.PageCount(), 1);
  EXPECT_EQ(prepared.PlainText(0), QStringLiteral("Отчет \nШапка\nБ\n1\nА\n2\nВ\n3\n1/1\n"));
  const PreparedPage& page = prepared.Page(0);
  const auto rows = ItemsOf(page, BandKind::MasterData);
  ASSERT_EQ(rows.size(), 6);
  EXPECT_NEAR(rows[0]->rect.top(), 10 + 10 + 5, kEps);  // margin, title, header
  EXPECT_NEAR(rows[2]->rect.top(), rows[0]->rect.bottom(), kEps);
  EXPECT_NEAR(rows[1]->rect.left(), 50, kEps);
  const auto footer = ItemsOf(page, BandKind::PageFooter);
  ASSERT_EQ(footer.size(), 1);
  EXPECT_NEAR(footer[0]->rect.bottom(), 90, kEps);
}

TEST_F(ReportLayout, LineBreaksOfAnyKindSplitValuesIntoLines) {
  const DataSet data = Table({{QStringLiteral("x"), QStringLiteral("один\rдва\r")},
                              {QStringLiteral("y"), QStringLiteral("a\r\nb\nc\r\r")},
                              {QStringLiteral("z"), QString()}});
  const PreparedReport& prepared = Prepare(data);
  const auto rows = ItemsOf(prepared.Page(0), BandKind::MasterData);
  ASSERT_EQ(rows.size(), 6);
  EXPECT_EQ(rows[1]->text, QStringLiteral("один\nдва"));
  ASSERT_EQ(rows[1]->lines.size(), 2);
  EXPECT_EQ(rows[1]->LineText(1), QStringLiteral("два"));
  EXPECT_EQ(rows[3]->text, QStringLiteral("a\nb\nc"));
  EXPECT_EQ(rows[3]->lines.size(), 3);
  EXPECT_EQ(rows[5]->text, QString());
}

TEST_F(ReportLayout, BandGrowsToItsTallestMemoAndStretchesTheOthers) {
  const DataSet data = Table({{QStringLiteral("Иванов"), QStringLiteral("1\r2\r3\r4\r5\r6\r")},
                              {QStringLiteral("Петров"), QStringLiteral("7\r")}});
  const PreparedReport& prepared = Prepare(data);
  const auto rows = ItemsOf(prepared.Page(0), BandKind::MasterData);
  ASSERT_EQ(rows.size(), 4);
  const TextItem& money = *rows[1];
  const double needed = 6 * money.lineHeight + 2 * money.padding;
  ASSERT_GT(needed, 5);
  EXPECT_NEAR(money.rect.height(), needed, kEps);
  EXPECT_NEAR(rows[0]->rect.height(), needed, kEps);  // stretched to the band
  EXPECT_NEAR(rows[2]->rect.top(), money.rect.bottom(), kEps);
  // The next record is as high as its own single line needs.
  EXPECT_NEAR(rows[3]->rect.height(), std::max(5.0, rows[3]->lineHeight + 2 * rows[3]->padding),
              kEps);
}

TEST_F(ReportLayout, MemosUnderAGrownMemoMoveDown) {
  const QString xml = TemplateXml(
      QStringLiteral("<ReportTitle height=\"14\">"
                     "<Memo name=\"A\" width=\"30\" height=\"5\" grow=\"true\">[OrgName]</Memo>"
                     "<Memo name=\"B\" top=\"6\" width=\"30\" height=\"5\">под</Memo>"
                     "<Memo name=\"C\" left=\"40\" top=\"6\" width=\"30\" height=\"5\">сбоку</Memo>"
                     "</ReportTitle><PageHeader height=\"5\"><Memo>Шапка</Memo></PageHeader>"),
      QStringLiteral("width=\"100\" height=\"100\" margins=\"10\""));
  report.SetScriptVariable(QStringLiteral("OrgName"),
                           QStringLiteral("строка 1\rстрока 2\rстрока 3\rстрока 4"));
  const DataSet empty = Table({});
  const PreparedPage& page = Prepare(empty, xml).Page(0);
  const double growth = page.items[0].rect.height() - 5;
  ASSERT_GT(growth, 5);
  EXPECT_NEAR(page.items[1].rect.top(), 10 + 6 + growth, kEps);
  EXPECT_NEAR(page.items[2].rect.top(), 10 + 6, kEps);  // not under the grown memo
  // The band keeps its 3 mm below the lowest memo.
  EXPECT_NEAR(page.items[3].rect.top(), page.items[1].rect.bottom() + 3, kEps);
}

TEST_F(ReportLayout, WrappedLinesStayWithinTheMemo) {
  const QString text = QStringLiteral(
      "Общество с ограниченной ответственностью «Производственно-коммерческая фирма "
      "Северо-Западного региона» и сверхдлинноесловобезпробеловкотороенепомещается");
  const DataSet data = Table({{text, QString()}});
  const PreparedReport& prepared = Prepare(data);
  const TextItem& fio = *ItemsOf(prepared.Page(0), BandKind::MasterData)[0];
  ASSERT_GT(fio.lines.size(), 3);
  QString joined;
  for (int i = 0; i < fio.lines.size(); ++i) {
    EXPECT_LE(TextWidth(fio.LineText(i), fio.font), fio.rect.width() - 2 * fio.padding + kEps)
        << fio.LineText(i).toStdString();
    joined += fio.text.mid(fio.lines[i].first, fio.lines[i].second);
  }
  EXPECT_EQ(joined, text);
}

// A paragraph is one line exactly when it fits: told quickly from the font's advances for most
// texts, kerned pairs, characters outside the quick tables and a fixed-pitch font included.
TEST(WrapText, OneLineExactlyWhenTheParagraphFits) {
  const QString letters = QStringLiteral("AVWTYoaeyr.,7014 ЖДАУФЯжыщ№€—");
  quint32 seed = 7;
  const auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  for (const char* family : {"Arial", "Courier New"}) {
    TextFont font;
    font.family = QString::fromLatin1(family);
    font.size = 9;
    for (int i = 0; i < 300; ++i) {
      QString paragraph;
      const int size = 2 + static_cast<int>(next() % 40);
      for (int k = 0; k < size; ++k) paragraph += letters[next() % letters.size()];
      paragraph = paragraph.trimmed();
      if (paragraph.size() < 2) continue;  // a single character cannot be broken
      const double width = TextWidth(paragraph, font);
      for (const double factor : {0.97, 1.001, 1.02, 1.2}) {
        const WrappedText wrapped = WrapText(paragraph, font, width * factor, true);
        EXPECT_EQ(wrapped.lines.size() == 1, factor > 1)
            << paragraph.toStdString() << " at " << factor;
      }
    }
  }
}

TEST_F(ReportLayout, RecordsThatDoNotFitStartANewPageUnderTheHeader) {
  const DataSet data = PrintTable(20, 4);
  const PreparedReport& prepared = Prepare(data);
  ASSERT_GT(prepared.PageCount(), 2);
  QStringList names;
  for (int p = 0; p < prepared.PageCount(); ++p) {
    const PreparedPage& page = prepared.Page(p);
    const auto header = ItemsOf(page, BandKind::PageHeader);
    ASSERT_EQ(header.size(), 1) << "page " << p;
    EXPECT_NEAR(header[0]->rect.top(), p == 0 ? 20 : 10, kEps);
    const auto footer = ItemsOf(page, BandKind::PageFooter);
    ASSERT_EQ(footer.size(), 1);
    EXPECT_EQ(footer[0]->text, QStringLiteral("%1/%2").arg(p + 1).arg(prepared.PageCount()));
    EXPECT_EQ(ItemsOf(page, BandKind::ReportTitle).size(), p == 0 ? 1 : 0);
    const auto rows = ItemsOf(page, BandKind::MasterData);
    ASSERT_FALSE(rows.isEmpty());
    EXPECT_NEAR(rows.first()->rect.top(), header[0]->rect.bottom(), kEps);
    for (const TextItem* item : rows) {
      EXPECT_LE(item->rect.bottom(), 85 + kEps) << "page " << p;  // above the footer
      if (item->rect.left() < 20) names.append(item->text);
    }
  }
  QStringList expected;
  for (const QStringList& record : data.records) expected.append(record[0]);
  EXPECT_EQ(names, expected);  // each record once, whole, in order
}

TEST_F(ReportLayout, EmptyDatasetGivesOnePageWithTitleHeaderAndFooter) {
  const DataSet data = Table({});
  report.SetScriptVariable(QStringLiteral("OrgName"), QStringLiteral("ООО"));
  const PreparedReport& prepared = Prepare(data);
  ASSERT_EQ(prepared.PageCount(), 1);
  EXPECT_EQ(prepared.PlainText(0), QStringLiteral("Отчет ООО\nШапка\n1/1\n"));
  EXPECT_TRUE(prepared.warnings.isEmpty());
}

TEST_F(ReportLayout, RecordTallerThanAPageIsSplitWithNothingLost) {
  QString money;
  for (int i = 1; i <= 60; ++i) money += QStringLiteral("строка %1\r").arg(i);
  const DataSet data = Table({{QStringLiteral("Первый"), QStringLiteral("x")},
                              {QStringLiteral("Длинный"), money},
                              {QStringLiteral("Последний"), QStringLiteral("y")}});
  const PreparedReport& prepared = Prepare(data);
  ASSERT_GE(prepared.PageCount(), 3);
  QStringList lines;
  for (int p = 0; p < prepared.PageCount(); ++p) {
    for (const TextItem* item : ItemsOf(prepared.Page(p), BandKind::MasterData)) {
      EXPECT_LE(item->rect.bottom(), 85 + kEps) << "page " << p;
      EXPECT_LE(item->TextTop() + item->lines.size() * item->lineHeight,
                item->rect.bottom() + kEps);
      if (item->rect.left() > 40 && item->text.startsWith(QStringLiteral("строка")))
        lines += item->text.split(u'\n');
    }
    EXPECT_EQ(ItemsOf(prepared.Page(p), BandKind::PageHeader).size(), 1);
  }
  QStringList expected;
  for (int i = 1; i <= 60; ++i) expected.append(QStringLiteral("строка %1").arg(i));
  EXPECT_EQ(lines, expected);
  EXPECT_EQ(test::CountItems(prepared, QStringLiteral("Длинный")), 1);
  EXPECT_EQ(test::CountItems(prepared, QStringLiteral("Последний")), 1);
}

// Pages are laid out when asked for, each from where it begins: in any order, again, and after
// the template and the data it was prepared from are gone, a page is the same. A title and a
// record taller than a page make pages that begin in the middle of a band.
TEST_F(ReportLayout, EachPageIsTheSameWhenAskedForInAnyOrderAndOnItsOwn) {
  QString tall;
  for (int i = 1; i <= 30; ++i) tall += QStringLiteral("строка %1\r").arg(i);
  QString xml = kTable;
  xml.replace(QStringLiteral("<Memo name=\"T\" height=\"10\">Отчет [OrgName]"),
              QStringLiteral("<Memo name=\"T\" height=\"10\" grow=\"true\">[OrgName]"));
  report.SetScriptVariable(QStringLiteral("OrgName"), tall);
  PreparedReport prepared;
  QStringList forward;
  {
    DataSet data = PrintTable(12, 4);
    data.records.insert(3, {QStringLiteral("Длинный"), tall + tall});
    prepared = Prepare(data, xml);
    for (int p = 0; p < prepared.PageCount(); ++p) forward.append(prepared.PlainText(p));
    ASSERT_GE(prepared.PageCount(), 6);
    EXPECT_TRUE(forward[1].contains(QStringLiteral("строка 30")));  // the title goes on
  }
  LoadXml(report, dir, kTable);
  report.Prepare();
  QStringList backward;
  for (int p = prepared.PageCount() - 1; p >= 0; --p) backward.prepend(prepared.PlainText(p));
  EXPECT_EQ(backward, forward);
  EXPECT_EQ(prepared.PlainText(2), forward[2]);
  EXPECT_EQ(test::CountItems(prepared, QStringLiteral("Длинный")), 1);
}

TEST_F(ReportLayout, PageWithoutRoomForDataStillEnds) {
  // Header and footer take the whole page: every record is cut to what can be shown.
  const QString xml =
      TemplateXml(QStringLiteral("<PageHeader height=\"50\"><Memo>Шапка</Memo></PageHeader>"
                                 "<MasterData name=\"M\" dataset=\"DQuery\" height=\"5\">"
                                 "<Memo grow=\"true\">[DQuery.\"MoneyS\"]</Memo></MasterData>"
                                 "<PageFooter height=\"45\"><Memo>Подвал</Memo></PageFooter>"),
                  QStringLiteral("width=\"100\" height=\"100\" margins=\"5\""));
  const DataSet data = PrintTable(3, 30);
  const PreparedReport& prepared = Prepare(data, xml);
  EXPECT_GE(prepared.PageCount(), 3);
  EXPECT_LE(prepared.PageCount(), 200);
}

TEST_F(ReportLayout, BandsDatasetWinsOverTheReportsAndMissingDataIsReported) {
  const DataSet reportData = Table({{QStringLiteral("из отчета"), QString()}});
  DataSet bandData = Table({{QStringLiteral("из полосы"), QString()}});
  LoadXml(report, dir, kTable);
  report.SetDataSet(&reportData);
  report.FindMasterData(QStringLiteral("MasterData1"))->SetDataSet(&bandData);
  EXPECT_EQ(test::CountItems(report.Prepare(), QStringLiteral("из полосы")), 1);

  LoadXml(report, dir, kTable);  // forgets both
  const PreparedReport& prepared = report.Prepare();
  EXPECT_EQ(prepared.PageCount(), 1);
  EXPECT_TRUE(prepared.warnings.join(u'|').contains(QStringLiteral("MasterData1 (DQuery)")));
}

TEST_F(ReportLayout, PreparingAgainDiscardsTheOldPages) {
  DataSet data = PrintTable(20, 4);
  const int pages = Prepare(data).PageCount();
  data.records.resize(1);
  EXPECT_LT(report.Prepare().PageCount(), pages);
  EXPECT_EQ(report.Prepared().PageCount(), 1);
}

}  // namespace
}  // namespace lorvi::report
