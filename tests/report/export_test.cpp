#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <clocale>
#include <cstdio>

#include "report/export_formats.h"
#include "report/exports.h"
#include "report/report.h"
#include "report/report_error.h"
#include "report_samples.h"

namespace lorvi::report {
namespace {

using test::LoadXml;
using test::TemplateXml;
using test::ThrownText;

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// One member of a zip file, through the unzip program, with XML's character entities replaced.
QString Unzip(const QString& archive, const QString& member) {
  QProcess unzip;
  unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), archive, member});
  if (!unzip.waitForFinished(20000) || unzip.exitCode() != 0) return {};
  QString xml = QString::fromUtf8(unzip.readAllStandardOutput());
  xml.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
  xml.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
  xml.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
  xml.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
  return xml;
}

// The text of an RTF document as a reader shows it: the font and colour tables skipped, \uN
// decoded with its fallback character dropped, \line and \par as line breaks, \cell as a tab.
QString DecodeRtf(const QByteArray& rtf) {
  QString text;
  int depth = 0;
  int skipBelow = -1;  // inside a skipped group while depth > skipBelow
  int skipChars = 0;
  for (qsizetype i = 0; i < rtf.size();) {
    const char c = rtf[i];
    if (c == '{') {
      ++depth;
      ++i;
      continue;
    }
    if (c == '}') {
      if (depth-- == skipBelow + 1) skipBelow = -1;
      ++i;
      continue;
    }
    if (c == '\\') {
      const char next = i + 1 < rtf.size() ? rtf[i + 1] : '\0';
      if (next == '\\' || next == '{' || next == '}') {
        if (skipBelow < 0) text += QLatin1Char(next);
        i += 2;
        continue;
      }
      qsizetype j = i + 1;
      while (j < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[j]))) ++j;
      const QByteArray word = rtf.mid(i + 1, j - i - 1);
      const qsizetype numberStart = j;
      if (j < rtf.size() && rtf[j] == '-') ++j;
      while (j < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[j]))) ++j;
      const QByteArray number = rtf.mid(numberStart, j - numberStart);
      if (j < rtf.size() && rtf[j] == ' ') ++j;
      i = j;
      if (word == "fonttbl" || word == "colortbl") skipBelow = depth - 1;
      if (skipBelow >= 0) continue;
      if (word == "u") {
        text += QChar(static_cast<char16_t>(number.toInt()));
        skipChars = 1;
      } else if (word == "line" || word == "par") {
        text += u'\n';
      } else if (word == "cell") {
        text += u'\t';
      }
      continue;
    }
    ++i;
    if (skipBelow >= 0 || c == '\n' || c == '\r') continue;
    if (skipChars > 0) {
      --skipChars;
      continue;
    }
    text += QLatin1Char(c);
  }
  return text;
}

// A report of several pages with Cyrillic texts in title, header, records and footer.
class ReportExports : public ::testing::Test {
 protected:
  void SetUp() override {
    data = test::PrintTable(8, 12);
    report.SetScriptVariable(QStringLiteral("OrgName"), QStringLiteral("ООО «Ромашка» {и} \\"));
    LoadXml(
        report, dir,
        TemplateXml(
            QStringLiteral(
                "<ReportTitle height=\"10\"><Memo fontSize=\"14\">[OrgName]</Memo></ReportTitle>"
                "<PageHeader height=\"6\"><Memo width=\"60\" frame=\"all\">ФИО</Memo>"
                "<Memo left=\"60\" width=\"80\" frame=\"all\" fill=\"#E0E0E0\">Страховая "
                "часть</Memo></PageHeader>"
                "<MasterData name=\"MasterData1\" dataset=\"DQuery\" height=\"5\">"
                "<Memo width=\"60\" frame=\"all\" grow=\"true\" stretch=\"true\">"
                "[DQuery.\"FIO\"]</Memo>"
                "<Memo left=\"60\" width=\"80\" frame=\"all\" grow=\"true\" stretch=\"true\">"
                "[DQuery.\"MoneyS\"]</Memo></MasterData>"
                "<PageFooter height=\"6\"><Memo hAlign=\"right\">Страница [Page] из "
                "[TotalPages]</Memo></PageFooter>"),
            QStringLiteral("size=\"A5\" orientation=\"landscape\" margins=\"10\"")));
    report.SetDataSet(&data);
    prepared = &report.Prepare();
    ASSERT_GE(prepared->PageCount(), 3);
  }

  QString Unwritable(const QString& name) const {
    return dir.filePath(QStringLiteral("missing/") + name);
  }
  QString CannotWrite(const QString& name) const {
    return QStringLiteral("Не удалось записать отчет в файл %1: нет такой папки")
        .arg(Unwritable(name));
  }

  QTemporaryDir dir;
  DataSet data;
  TfrxReport report;
  const PreparedReport* prepared = nullptr;
};

TEST_F(ReportExports, PdfHasOnePagePerPreparedPage) {
  const QString path = dir.filePath(QStringLiteral("отчет.pdf"));
  ASSERT_NO_THROW(ExportPdf(*prepared, path));
  const QByteArray pdf = ReadAll(path);
  EXPECT_TRUE(pdf.startsWith("%PDF"));
  const auto pages =
      QString::fromLatin1(pdf).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]")));
  EXPECT_EQ(pages, prepared->PageCount());

  EXPECT_EQ(ThrownText([&] { ExportPdf(*prepared, Unwritable(QStringLiteral("a.pdf"))); }),
            CannotWrite(QStringLiteral("a.pdf")));
}

TEST_F(ReportExports, XlsxHoldsTheTextsWithAPageBreakBetweenPages) {
  const QString path = dir.filePath(QStringLiteral("отчет.xlsx"));
  ASSERT_NO_THROW(ExportXlsx(*prepared, path));
  const QString strings = Unzip(path, QStringLiteral("xl/sharedStrings.xml"));
  ASSERT_FALSE(strings.isEmpty()) << "unzip could not read the file";
  for (const QString& expected :
       {QStringLiteral("ООО «Ромашка» {и} \\"), QStringLiteral("Страховая часть"),
        data.records[0][0], data.records[7][0],
        QStringLiteral("Страница %1 из %1").arg(prepared->PageCount())})
    EXPECT_TRUE(strings.contains(expected)) << expected.toStdString();
  // Multi-line values stay in one cell, with their line breaks.
  EXPECT_TRUE(
      strings.contains(QStringLiteral("Итого: (Н ? У) : 1234,56 > 1000,00 (234,56)\n"
                                      "2011-1 (Н ? У)")));

  const QString sheet = Unzip(path, QStringLiteral("xl/worksheets/sheet1.xml"));
  const QRegularExpressionMatch breaks =
      QRegularExpression(QStringLiteral("<rowBreaks count=\"(\\d+)\"")).match(sheet);
  ASSERT_TRUE(breaks.hasMatch());
  EXPECT_EQ(breaks.captured(1).toInt(), prepared->PageCount() - 1);
  EXPECT_TRUE(sheet.contains(QStringLiteral("<mergeCell ")));

  EXPECT_EQ(ThrownText([&] { ExportXlsx(*prepared, Unwritable(QStringLiteral("a.xlsx"))); }),
            CannotWrite(QStringLiteral("a.xlsx")));
}

// What openpyxl, a reader that is none of ours, finds in a workbook: its texts, the numbers of
// the page setup, the column widths. Empty when it cannot read the file.
QJsonObject ReadWithOpenpyxl(const QString& path) {
  static const char* const kScript = R"(import json, sys, openpyxl
ws = openpyxl.load_workbook(sys.argv[1]).worksheets[0]
setup = ws.sheet_properties.pageSetUpPr
print(json.dumps({
  "texts": [c.value for row in ws.iter_rows() for c in row if isinstance(c.value, str)],
  "fitToPage": bool(setup and setup.fitToPage),
  "fitToWidth": ws.page_setup.fitToWidth or 1, "fitToHeight": ws.page_setup.fitToHeight,
  "margins": [ws.page_margins.left, ws.page_margins.right, ws.page_margins.top,
              ws.page_margins.bottom],
  "widths": [d.width for d in ws.column_dimensions.values()]}))
)";
  QProcess python;
  python.start(QStringLiteral(LORVI_PYTHON3),
               {QStringLiteral("-c"), QString::fromUtf8(kScript), path});
  if (!python.waitForFinished(60000) || python.exitCode() != 0) {
    ADD_FAILURE() << "openpyxl (python3-openpyxl) could not read the file: "
                  << python.readAllStandardError().toStdString();
    return {};
  }
  return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

// The user's locale writes numbers with a comma; the file must not.
TEST_F(ReportExports, XlsxUnderACommaLocaleReadsBackInAnotherReader) {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  ASSERT_NE(std::setlocale(LC_ALL, "ru_RU.UTF-8"), nullptr)
      << "ru_RU.UTF-8 is missing: localedef -i ru_RU -f UTF-8 ru_RU.UTF-8 (./lorvi.sh makes it)";
  const auto formatted = [] {
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", 0.5);
    return std::string(text);
  };
  ASSERT_EQ(formatted(), "0,5");
  const QString path = dir.filePath(QStringLiteral("отчет.xlsx"));
  QString error;
  try {
    ExportXlsx(*prepared, path);
  } catch (const LorviError& e) {
    error = ReportErrorText(e);
  }
  EXPECT_EQ(formatted(), "0,5") << "the program's own numbers keep the user's separator";
  std::setlocale(LC_ALL, saved.c_str());
  ASSERT_TRUE(error.isEmpty()) << error.toStdString();

  const QRegularExpression commaNumber(QStringLiteral("=\"-?\\d+,\\d+\""));
  EXPECT_FALSE(Unzip(path, QStringLiteral("xl/worksheets/sheet1.xml")).contains(commaNumber));
  EXPECT_FALSE(Unzip(path, QStringLiteral("xl/styles.xml")).contains(commaNumber));

  const QJsonObject read = ReadWithOpenpyxl(path);
  ASSERT_FALSE(read.isEmpty());
  QSet<QString> texts;
  for (const QJsonValue& text : read[QStringLiteral("texts")].toArray()) texts << text.toString();
  QSet<QString> shown;
  for (int p = 0; p < prepared->PageCount(); ++p)
    for (const TextItem& item : prepared->Page(p).items)
      if (!item.text.isEmpty()) shown << item.text;
  EXPECT_EQ(texts, shown);

  EXPECT_TRUE(read[QStringLiteral("fitToPage")].toBool());
  EXPECT_EQ(read[QStringLiteral("fitToWidth")].toInt(), 1);
  EXPECT_EQ(read[QStringLiteral("fitToHeight")].toInt(-1), 0);
  const QJsonArray margins = read[QStringLiteral("margins")].toArray();
  ASSERT_EQ(margins.size(), 4);
  EXPECT_NEAR(margins[0].toDouble(), 10 / 25.4, 1e-6);
  const QJsonArray widths = read[QStringLiteral("widths")].toArray();
  ASSERT_FALSE(widths.isEmpty());
  for (const QJsonValue& width : widths) EXPECT_GT(width.toDouble(), 0.4);
}

TEST_F(ReportExports, RtfReadsBackAsTheReportsTextOnePageASection) {
  const QString path = dir.filePath(QStringLiteral("отчет.rtf"));
  ASSERT_NO_THROW(ExportRtf(*prepared, path));
  const QByteArray rtf = ReadAll(path);
  ASSERT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1251"));
  for (char c : rtf) ASSERT_LT(static_cast<unsigned char>(c), 0x80) << "RTF is 7-bit text";
  EXPECT_EQ(rtf.count("\\sect\n"), prepared->PageCount() - 1);
  EXPECT_EQ(rtf.count("{\\footer "), prepared->PageCount());

  const QString text = DecodeRtf(rtf);
  EXPECT_TRUE(text.contains(QStringLiteral("ООО «Ромашка» {и} \\"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("ФИО\tСтраховая часть\t")));
  EXPECT_TRUE(text.contains(data.records[3][0] + QStringLiteral("\tИтого: (Н ? У) : ")));
  EXPECT_TRUE(text.contains(QStringLiteral("(Н ? У) : 1246,56 > 1000,00 (246,56)\n2011-")));
  EXPECT_TRUE(text.contains(QStringLiteral("Страница 2 из %1").arg(prepared->PageCount())));

  EXPECT_EQ(ThrownText([&] { ExportRtf(*prepared, Unwritable(QStringLiteral("a.rtf"))); }),
            CannotWrite(QStringLiteral("a.rtf")));
}

TEST_F(ReportExports, JpegWritesOnePictureAPageAtTheResolution) {
  const QStringList files = ExportJpeg(*prepared, dir.filePath(QStringLiteral("стр.jpg")), 100);
  ASSERT_EQ(files.size(), prepared->PageCount());
  EXPECT_EQ(files[0], dir.filePath(QStringLiteral("стр_1.jpg")));
  EXPECT_EQ(files.last(), dir.filePath(QStringLiteral("стр_%1.jpg").arg(files.size())));
  for (const QString& file : files) {
    const QImage image(file);
    ASSERT_FALSE(image.isNull()) << file.toStdString();
    EXPECT_EQ(image.size(), QSize(827, 583));  // A5 landscape at 100 dpi
  }
  // The page is really drawn.
  const QImage first(files[0]);
  int dark = 0;
  for (int x = 0; x < first.width(); ++x)
    for (int y = 0; y < first.height(); y += 3) dark += qGray(first.pixel(x, y)) < 128;
  EXPECT_GT(dark, 500);

  EXPECT_EQ(ExportJpeg(*prepared, dir.filePath(QStringLiteral("без")), 50).first(),
            dir.filePath(QStringLiteral("без_1.jpg")));
  EXPECT_EQ(ThrownText([&] { ExportJpeg(*prepared, Unwritable(QStringLiteral("a.jpg")), 50); }),
            CannotWrite(QStringLiteral("a_1.jpg")));
}

// Every format tells its pages as it writes them; a cancel stops it and leaves the file that was
// there, with nothing beside it. The preparation tells its pages and stops alike.
TEST_F(ReportExports, EveryExportTellsItsPagesAndStopsWhenCancelled) {
  const int pages = prepared->PageCount();
  for (const ExportFormat& format : ExportFormats()) {
    const QString suffix = format.suffixes.first();
    SCOPED_TRACE(suffix.toStdString());
    QTemporaryDir folder;
    const QString name =
        suffix == QStringLiteral("jpg") ? QStringLiteral("r_1.jpg") : QStringLiteral("r.") + suffix;
    const QString path = folder.filePath(QStringLiteral("r.") + suffix);
    QFile previous(folder.filePath(name));
    ASSERT_TRUE(previous.open(QIODevice::WriteOnly));
    previous.write("previous");
    previous.close();
    QStringList told;
    const auto stopAt = [&](int stop) {
      told.clear();
      return [&told, stop](const QString& status, int done, int total) {
        told << QStringLiteral("%1 %2/%3").arg(status).arg(done).arg(total);
        return done < stop;
      };
    };
    EXPECT_THROW(format.write(*prepared, path, stopAt(1)), Cancelled);
    EXPECT_EQ(ReadAll(folder.filePath(name)), "previous");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{name});
    ASSERT_FALSE(told.isEmpty());
    EXPECT_TRUE(told.first().endsWith(QStringLiteral(": страница 1 из %1 1/%1").arg(pages)))
        << told.first().toStdString();
    format.write(*prepared, path, stopAt(pages + 1));
    EXPECT_EQ(told.size(), pages);
    EXPECT_NE(ReadAll(folder.filePath(name)), "previous");
  }
  EXPECT_EQ(PageStatus(QStringLiteral("Выгрузка в PDF"), 120, 3334),
            QStringLiteral("Выгрузка в PDF: страница 120 из 3\u00A0334"));
  int told = 0;
  EXPECT_THROW(report.Prepare([&](const QString&, int, int) { return ++told < 2; }), Cancelled);
  EXPECT_EQ(told, 2);
}

TEST(ExportFormats, ChosenByTheFileNamesExtensionInAnyLetterCase) {
  const auto suffixOf = [](const QString& path) {
    const ExportFormat* format = ExportFormatFor(path);
    return format ? format->suffixes.first() : QStringLiteral("none");
  };
  EXPECT_EQ(suffixOf(QStringLiteral("/tmp/отчет.PDF")), QStringLiteral("pdf"));
  EXPECT_EQ(suffixOf(QStringLiteral("a.b.Xlsx")), QStringLiteral("xlsx"));
  EXPECT_EQ(suffixOf(QStringLiteral("a.rtf")), QStringLiteral("rtf"));
  EXPECT_EQ(suffixOf(QStringLiteral("a.JPEG")), QStringLiteral("jpg"));
  EXPECT_EQ(suffixOf(QStringLiteral(".jpg")), QStringLiteral("jpg"));
  for (const QString path : {"a.doc", "a.pdf.bak", "папка.pdf/отчет", "pdf", "a.", ""})
    EXPECT_EQ(suffixOf(path), QStringLiteral("none")) << path.toStdString();

  // The save dialog's default suffix is one the format is chosen by again.
  for (const ExportFormat& format : ExportFormats())
    EXPECT_EQ(ExportFormatFor(QStringLiteral("a.") + format.suffixes.first()), &format);
}

}  // namespace
}  // namespace lorvi::report
