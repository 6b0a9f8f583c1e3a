#include "store/load_organisation.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "base/text1251.h"
#include "intake/header_scan.h"
#include "intake/line_list.h"
#include "intake/unread_reason.h"
#include "store/adv_reader.h"
#include "store/file_reading.h"

namespace lorvi {
namespace {

// Runs the reading of the file at `path`; its failure names the file.
template <typename Read>
void ReadingFile(const std::string& path, Read read) {
  try {
    read();
  } catch (LorviError& e) {
    e.SetFileName(Utf8ToCp1251(FileNameOf(path)));
    throw;
  }
}

std::vector<std::string> LoadOneByOne(OrgStore& store, int slot,
                                      const std::vector<std::string>& files,
                                      const ReadingProgress& progress) {
  std::vector<std::string> passedOver;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const std::string& path = files[i];
    if (progress.file) progress.file(i, files.size(), path);
    ReadingFile(path, [&] {
      HeaderInfo header;
      bool classified = false;
      try {
        classified = ScanHeader(path, header);
      } catch (const CannotOpenError& e) {
        // Readable when it was placed, not any more.
        if (!NoLongerThere(e.SystemError())) throw;
      }
      if (!classified) {
        passedOver.push_back(path);
      } else if (header.kind == kKindSZV) {
        ReadZLFile(store, slot, path, header.periodKey, progress.record);
      } else if (header.kind == kKindADV) {
        ReadADVFile(store, slot, path, header.periodKey);
      }
    });
  }
  return passedOver;
}

// Workers that read the files in turn, each file on its own, and hand the readings over in the
// files' order. Stops and joins its workers when it goes, also when the merging fails.
class SideBySide {
 public:
  // Throws when a thread cannot be started, having stopped those that were.
  SideBySide(const std::vector<std::string>& files, char separator, unsigned threads,
             const std::function<std::thread(std::function<void()>)>& start)
      : files_(files), separator_(separator), done_(files.size()) {
    workers_.reserve(threads);
    try {
      for (unsigned t = 0; t < threads; ++t) {
        std::function<void()> work = [this] { Work(); };
        workers_.push_back(start ? start(std::move(work)) : std::thread(std::move(work)));
      }
    } catch (...) {
      // A thread the system refused: the ones already running must not outlive this.
      Stop();
      throw;
    }
  }
  ~SideBySide() { Stop(); }
  SideBySide(const SideBySide&) = delete;
  SideBySide& operator=(const SideBySide&) = delete;

  // The reading of file `i`, once it is there; `wait` runs every few milliseconds until then.
  FileReading Take(std::size_t i, const std::function<void()>& wait) {
    std::unique_lock lock(mutex_);
    while (!done_[i]) {
      if (!wait) {
        ready_.wait(lock);
        continue;
      }
      ready_.wait_for(lock, std::chrono::milliseconds(20));
      if (done_[i]) break;
      lock.unlock();
      wait();
      lock.lock();
    }
    FileReading reading = std::move(*done_[i]);
    done_[i].reset();
    taken_ = i + 1;
    lock.unlock();
    room_.notify_all();
    return reading;
  }

 private:
  // Tells the workers to go and waits for them.
  void Stop() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    room_.notify_all();
    for (std::thread& worker : workers_) worker.join();
  }

  void Work() {
    for (;;) {
      const std::size_t i = next_++;
      if (i >= files_.size()) return;
      {
        // Readings wait for the merge rather than pile up: memory stays with a few files.
        std::unique_lock lock(mutex_);
        room_.wait(lock, [&] { return stop_ || i < taken_ + kAhead; });
        if (stop_) return;
      }
      FileReading reading = ReadFileAlone(files_[i], separator_);
      {
        std::lock_guard lock(mutex_);
        done_[i] = std::move(reading);
      }
      ready_.notify_all();
    }
  }

  const std::vector<std::string>& files_;
  const char separator_;
  static constexpr std::size_t kAhead = 32;  // files read beyond the one being merged

  std::atomic<std::size_t> next_{0};
  bool stop_ = false;      // guarded by mutex_
  std::size_t taken_ = 0;  // files handed to the merge; guarded by mutex_
  std::mutex mutex_;
  std::condition_variable ready_;
  std::condition_variable room_;
  std::vector<std::optional<FileReading>> done_;  // by file; guarded by mutex_
  std::vector<std::thread> workers_;
};

// Worker threads for a reading, 0 to read the files one after another on this thread.
unsigned WorkersFor(int wanted, std::size_t files) {
  const unsigned threads =
      wanted > 0 ? static_cast<unsigned>(wanted) : std::thread::hardware_concurrency();
  if (threads <= 1 || files == 0) return 0;
  return static_cast<unsigned>(std::min<std::size_t>(threads, files));
}

}  // namespace

std::vector<std::string> LoadOrganisation(OrgStore& store, int slot,
                                          const ReadingProgress& progress) {
  // Files registered while the reading runs wait for the next one.
  const std::vector<std::string> files = store.OrgFiles[slot];
  const unsigned workers = WorkersFor(store.readerThreads, files.size());
  if (workers == 0) return LoadOneByOne(store, slot, files, progress);
  std::optional<SideBySide> readers;
  try {
    readers.emplace(files, store.decimalSeparator, workers, store.startReader);
  } catch (const std::system_error&) {
    // The system will not start threads now: the files are read here, with the same result.
    return LoadOneByOne(store, slot, files, progress);
  }
  std::vector<std::string> passedOver;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (progress.file) progress.file(i, files.size(), files[i]);
    const FileReading reading = readers->Take(i, progress.record);
    if (reading.kind == FileReading::Kind::kPassedOver && !reading.failure)
      passedOver.push_back(files[i]);
    ReadingFile(files[i], [&] { MergeReading(store, slot, reading, progress.record); });
  }
  return passedOver;
}

}  // namespace lorvi
