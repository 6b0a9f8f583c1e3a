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
  pending_.append(data, static_cast<std::size_t>(size));
  if (pending_.size() >= kFlushAt && !Flush()) return -1;
  return size;
}

bool WholeFileDevice::Flush() {
  if (failure_) return false;
  try {
    file_.Write(pending_);
  } catch (const LorviError& e) {
    failure_ = e;
    setErrorString(ReportErrorText(e));
    return false;
  }
  pending_.clear();
  return true;
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
  device.Flush();
  device.Rethrow();
  device.close();
  file.Commit();
}

void ThrowCannotWrite(const QString& path, const QString& reason) {
  ThrowReportError(QStringLiteral("Не удалось записать отчет в файл %1: %2").arg(path, reason));
}

}  // namespace lorvi::report
