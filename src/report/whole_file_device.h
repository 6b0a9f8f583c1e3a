#pragma once

#include <QIODevice>
#include <QString>

#include <functional>
#include <optional>
#include <string>

#include "base/lorvi_error.h"
#include "output/whole_file.h"

namespace lorvi::report {

// The report's outputs are written whole or not at all (WholeFile): `write` fills the device, and
// the file takes the target's place only when it has written everything without a failure. A
// failure throws LorviError "Не удалось записать отчет в файл <path>: <reason>".
void WriteWholeFile(const QString& path, const std::function<void(QIODevice& device)>& write);

// The same failure for `path` without a system reason of its own.
[[noreturn]] void ThrowCannotWrite(const QString& path, const QString& reason);

// A device that writes into a WholeFile. Qt's writers do not always look at a write's result, so
// the first failure is kept, every later write refused, and Rethrow() raises it afterwards.
class WholeFileDevice : public QIODevice {
 public:
  explicit WholeFileDevice(WholeFile& file);
  bool isSequential() const override { return true; }
  // Writes what was written since the last flush; false on a failure, which is kept.
  bool Flush();
  // Throws the first failure, if there was one.
  void Rethrow() const;

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override;

 private:
  // Qt's writers write a few bytes at a time; they go to the file in blocks of this size.
  static constexpr std::size_t kFlushAt = 1 << 16;

  WholeFile& file_;
  std::string pending_;
  std::optional<LorviError> failure_;
};

}  // namespace lorvi::report
