#include "report/data_set.h"

namespace lorvi::report {

int DataSet::FieldIndex(const QString& name) const {
  for (int i = 0; i < fields.size(); ++i)
    if (fields[i].compare(name, Qt::CaseInsensitive) == 0) return i;
  return -1;
}

}  // namespace lorvi::report
