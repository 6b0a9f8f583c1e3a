#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

#include "report/data_set.h"
#include "report/report.h"

namespace lorvi::report::test {

// A template file around `pageContent` (bands), with `pageAttributes` on its page and
// `variables` (elements) before it.
QString TemplateXml(const QString& pageContent,
                    const QString& pageAttributes = QStringLiteral("size=\"A4\" margins=\"10\""),
                    const QString& variables = QString());

// Writes `text` into `name` in `dir` and gives its path.
QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& text);

// The text of the LorviError that `action` throws, in Unicode; empty, and the test failed, when
// it throws none.
QString ThrownText(const std::function<void()>& action);

// Loads `xml` into `report` through a file, as the program does. Fails the test when the template
// does not load.
void LoadXml(TfrxReport& report, const QTemporaryDir& dir, const QString& xml);

// A table as the program prints it: FIO, MoneyS, MoneyN; Russian names, and `lines` lines of
// amounts in each money field, each line ending in CR.
DataSet PrintTable(int records, int lines = 12);

// All items' texts on all pages, each item once.
QStringList AllTexts(const PreparedReport& report);

// How often `text` occurs as a whole item text in the report.
int CountItems(const PreparedReport& report, const QString& text);

}  // namespace lorvi::report::test
