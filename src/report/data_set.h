#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace lorvi::report {

// A table of text records that a report reads through a master data band.
struct DataSet {
  QString userName;            // the name by which templates reach it, e.g. "DQuery"
  QStringList fields;          // field names in record order
  QList<QStringList> records;  // one list per record, values in field order

  // Index of the field `name` (letter case ignored), or -1.
  int FieldIndex(const QString& name) const;
};

}  // namespace lorvi::report
