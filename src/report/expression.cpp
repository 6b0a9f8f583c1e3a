#include "report/expression.h"

#include <QTime>

#include "report/data_set.h"

namespace lorvi::report {
namespace {

void Warn(const ExpressionContext& context, const QString& text) {
  if (context.warnings && !context.warnings->contains(text)) context.warnings->append(text);
}

// `DQuery."FIO"` or `DQuery.FIO`; false when the expression is no field reference.
bool SplitField(const QString& expression, QString* dataSet, QString* field) {
  const int dot = expression.indexOf(u'.');
  if (dot <= 0) return false;
  *dataSet = expression.left(dot).trimmed();
  QString name = expression.mid(dot + 1).trimmed();
  if (name.size() >= 2 && name.startsWith(u'"') && name.endsWith(u'"'))
    name = name.mid(1, name.size() - 2);
  *field = name;
  return !dataSet->isEmpty() && !field->isEmpty();
}

QString FieldValue(const QString& expression, const QString& dataSetName, const QString& field,
                   const ExpressionContext& context) {
  const DataSet* data = context.dataSet;
  if (!data || data->userName.compare(dataSetName, Qt::CaseInsensitive) != 0) {
    Warn(context, QStringLiteral("Неизвестный набор данных: [%1]").arg(expression));
    return {};
  }
  const int index = data->FieldIndex(field);
  if (index < 0) {
    Warn(context, QStringLiteral("Неизвестное поле: [%1]").arg(expression));
    return {};
  }
  if (context.record < 0 || context.record >= data->records.size()) return {};
  const QStringList& values = data->records[context.record];
  return index < values.size() ? values[index] : QString();
}

QString Value(const QString& expression, const ExpressionContext& context) {
  const QString key = expression.toLower();
  // The template and the program name their variables; the built-in names come after them.
  if (context.variables) {
    const auto found = context.variables->constFind(key);
    if (found != context.variables->constEnd()) return *found;
  }
  if (key == u"page") return QString::number(context.page);
  if (key == u"totalpages") return QString::number(context.totalPages);
  if (key == u"line") return context.line > 0 ? QString::number(context.line) : QString();
  if (key == u"date") return context.date.toString(QStringLiteral("dd.MM.yyyy"));
  if (key == u"time") return QTime::currentTime().toString(QStringLiteral("hh:mm"));
  QString dataSet, field;
  if (SplitField(expression, &dataSet, &field))
    return FieldValue(expression, dataSet, field, context);
  Warn(context, QStringLiteral("Неизвестная переменная: [%1]").arg(expression));
  return {};
}

}  // namespace

QString NormalizeLineBreaks(const QString& text) {
  if (!text.contains(u'\r')) return text;
  QString result = text;
  result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  result.replace(u'\r', u'\n');
  return result;
}

QString EvaluateText(const QString& text, const ExpressionContext& context) {
  QString result;
  result.reserve(text.size());
  qsizetype pos = 0;
  while (pos < text.size()) {
    const qsizetype open = text.indexOf(u'[', pos);
    const qsizetype close = open < 0 ? -1 : text.indexOf(u']', open + 1);
    if (close < 0) {
      result += QStringView(text).mid(pos);
      break;
    }
    result += QStringView(text).mid(pos, open - pos);
    const QString expression = text.mid(open + 1, close - open - 1).trimmed();
    result += Value(expression, context);
    pos = close + 1;
  }
  return NormalizeLineBreaks(result);
}

}  // namespace lorvi::report
