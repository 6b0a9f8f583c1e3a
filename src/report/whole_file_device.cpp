#include "report/whole_file_device.h"

#include <QFile>

#include "report/report_error.h"

namespace lorvi::report {
namespace {

std::string PathBytes(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

WholeFileDevice::WholeFileDevice(WholeFile& file) : file_(file) {
  setOpenMode(QIODevice::WriteOnly);
}

qint64 WholeFileDevice::writeData(const char* data, qint64 size) {
  if (failure_) return -1;
  try {
    file_.Write(std::string_view(data, static_cast<std::size_t>(size)));
  } catch (const LorviError& e) {
    failure_ = e;
    setErrorString(ReportErrorText(e));
    return -1;
  }
  return size;
}

void WholeFileDevice::Rethrow() const {
  if (failure_) throw *failure_;
}

void WriteWholeFile(const QString& path, const std::function<void(QIODevice& device)>& write) {
  WholeFile file(PathBytes(path), "отчет");
  WholeFileDevice device(file);
  try {
    write(device);
  } catch (const LorviError&) {
    // A writer that gave up after a failed write: the write's reason says more.
    device.Rethrow();
    throw;
  }
  device.Rethrow();
  device.close();
  file.Commit();
}

void ThrowCannotWrite(const QString& path, const QString& reason) {
  ThrowReportError(QStringLiteral("Не удалось записать отчет в файл %1: %2").arg(path, reason));
}

}  // namespace lorvi::report
