#pragma once

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>

namespace lorvi::report {

struct DataSet;

// What the bracketed names of a memo's text can see at the moment it is printed.
struct ExpressionContext {
  // Keys in lower case; the template's defaults already overridden by the script's values.
  const QHash<QString, QString>* variables = nullptr;
  const DataSet* dataSet = nullptr;  // the dataset being printed, if any
  int record = -1;                   // its current record; -1 outside the data band
  int line = 0;                      // 1-based number of that record
  int page = 0;
  int totalPages = 0;
  QDate date;
  // Names that could not be resolved, each added once. May be null.
  QStringList* warnings = nullptr;
};

// Every CR LF, lone CR and lone LF becomes '\n'.
QString NormalizeLineBreaks(const QString& text);

// Replaces each [expression] in `text` by its value. Values are inserted as they are, never
// evaluated again; a '[' without a closing ']' stays as text. Line breaks in the result are '\n'.
QString EvaluateText(const QString& text, const ExpressionContext& context);

}  // namespace lorvi::report
