#include "report_samples.h"

#include <gtest/gtest.h>

#include <QFile>

#include "report/report_error.h"

namespace lorvi::report::test {

QString TemplateXml(const QString& pageContent, const QString& pageAttributes,
                    const QString& variables) {
  return QStringLiteral(
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Report>\n%1\n<Page %2>\n%3\n</Page>\n"
             "</Report>\n")
      .arg(variables, pageAttributes, pageContent);
}

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& text) {
  const QString path = dir.filePath(name);
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
  file.write(text);
  return path;
}

QString ThrownText(const std::function<void()>& action) {
  try {
    action();
  } catch (const LorviError& e) {
    return ReportErrorText(e);
  }
  ADD_FAILURE() << "no LorviError thrown";
  return {};
}

void LoadXml(TfrxReport& report, const QTemporaryDir& dir, const QString& xml) {
  const QString path = WriteFile(dir, QStringLiteral("template.fr3"), xml.toUtf8());
  ASSERT_NO_THROW(report.LoadFromFile(path));
}

DataSet PrintTable(int records, int lines) {
  static const QStringList kNames = {
      QStringLiteral("Иванов Иван Иванович"),       QStringLiteral("Петрова Анна Сергеевна"),
      QStringLiteral("Сидоров Пётр Николаевич"),    QStringLiteral("Кузнецова Мария Ивановна"),
      QStringLiteral("Смирнов Алексей Викторович"), QStringLiteral("Волкова Елена Андреевна"),
      QStringLiteral("Фёдоров Дмитрий Олегович"),   QStringLiteral("Морозова Ольга Павловна"),
      QStringLiteral("Лебедев Сергей Михайлович"),  QStringLiteral("Новикова Татьяна Юрьевна"),
      QStringLiteral("Козлов Андрей Геннадьевич"),  QStringLiteral("Соколова Наталья Петровна"),
  };
  DataSet data;
  data.userName = QStringLiteral("DQuery");
  data.fields = {QStringLiteral("FIO"), QStringLiteral("MoneyS"), QStringLiteral("MoneyN")};
  for (int r = 0; r < records; ++r) {
    QString fio = kNames[r % kNames.size()];
    if (r >= kNames.size()) fio += QStringLiteral(" %1").arg(r / kNames.size() + 1);
    QString moneyS, moneyN;
    for (int l = 0; l < lines; ++l) {
      const QString title =
          l == 0 ? QStringLiteral("Итого: (Н ? У)") : QStringLiteral("2011-%1 (Н ? У)").arg(l);
      moneyS += QStringLiteral("%1 : %2,56 > 1000,00 (%3,56)\r")
                    .arg(title)
                    .arg(1234 + r + l)
                    .arg(234 + r + l);
      moneyN += QStringLiteral("%1 : %2,00 > 300,00 (%3,00)\r").arg(title).arg(310 + l).arg(10 + l);
    }
    data.records.append({fio, moneyS, moneyN});
  }
  return data;
}

QStringList AllTexts(const PreparedReport& report) {
  QStringList texts;
  for (int p = 0; p < report.PageCount(); ++p)
    for (const TextItem& item : report.Page(p).items) texts.append(item.text);
  return texts;
}

int CountItems(const PreparedReport& report, const QString& text) {
  return static_cast<int>(AllTexts(report).count(text));
}

}  // namespace lorvi::report::test
