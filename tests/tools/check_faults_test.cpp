// lorvi-check writing its outputs where writing fails, as a script would meet it: every output
// format and the workbook against every fault, and kills in the middle of large writes. Each time
// the tool says so and exits 1, and the previous target stays byte for byte, with no half file.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <QThread>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "support/fund_file.h"
#include "support/scratch_dir.h"

namespace lorvi {
namespace {

namespace fs = std::filesystem;

// What is at `path`, as far as a fault can change it: the link, the kind, the bytes.
std::string StateOf(const fs::path& path) {
  std::error_code error;
  const auto status = fs::symlink_status(path, error);
  if (fs::is_symlink(status)) return "link to " + fs::read_symlink(path).string();
  if (!fs::exists(status)) return "nothing";
  if (fs::is_directory(status)) return "folder";
  if (!fs::is_regular_file(status)) return "not a file";
  return "file: " + test::ReadAll(path);
}

// Temporary files left in `dir`.
int TemporaryFiles(const fs::path& dir) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator(dir))
    count += entry.path().filename().string().ends_with(".part");
  return count;
}

std::vector<std::string> SamplePaths() {
  std::vector<std::string> paths;
  for (const auto& entry : fs::directory_iterator(LORVI_SAMPLES_DIR))
    if (entry.path().extension() == ".XML") paths.push_back(entry.path().string());
  std::sort(paths.begin(), paths.end());
  return paths;
}

struct ToolRun {
  bool finished = false;
  int code = -1;
  std::string messages;  // the last dump's, one a line
  std::string err;
};

// lorvi-check with `args`, the file limit lowered to `maxFiles` when it is not 0.
ToolRun CheckTool(const std::vector<std::string>& args, int maxFiles = 0) {
  QStringList list;
  for (const std::string& a : args) list << QString::fromStdString(a);
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove(QStringLiteral("DISPLAY"));
  process.setProcessEnvironment(environment);
  if (maxFiles > 0) {
    list.prepend(QStringLiteral(LORVI_CHECK_EXE));
    list.prepend(QStringLiteral("ulimit -n %1; exec \"$0\" \"$@\"").arg(maxFiles));
    list.prepend(QStringLiteral("-c"));
    process.start(QStringLiteral("/bin/sh"), list);
  } else {
    process.start(QStringLiteral(LORVI_CHECK_EXE), list);
  }
  ToolRun run;
  run.finished = process.waitForFinished(120000);
  if (!run.finished) {
    process.kill();
    process.waitForFinished();
  }
  run.code = process.exitCode();
  const std::string out = process.readAllStandardOutput().toStdString();
  const auto at = out.rfind("[messages]\n");
  if (at != std::string::npos) run.messages = out.substr(at + 11, out.find("[end]", at) - at - 11);
  run.err = process.readAllStandardError().toStdString();
  return run;
}

// A small tmpfs mounted for the test, when the test may mount one (root on Linux).
class SmallDisk {
 public:
  explicit SmallDisk(const fs::path& at) : at_(at) {
#ifndef _WIN32
    if (::geteuid() != 0) return;
    fs::create_directory(at_);
    const std::string mount =
        "mount -t tmpfs -o size=256k tmpfs '" + at_.string() + "' 2>/dev/null";
    mounted_ = std::system(mount.c_str()) == 0;
#endif
  }
  ~SmallDisk() {
    if (mounted_) std::system(("umount '" + at_.string() + "'").c_str());
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;
  bool Mounted() const { return mounted_; }

  // Takes every byte left.
  void Fill() const {
    std::ofstream filler(at_ / "filler", std::ios::binary);
    const std::string block(4096, 'f');
    while (filler.write(block.data(), block.size())) {
    }
  }

 private:
  fs::path at_;
  bool mounted_ = false;
};

struct Output {
  const char* name;     // the target's name
  const char* action;   // --export or --workbook
  const char* what;     // as the message names it
  bool errorBox;        // the message has the error box's full stop
  const char* written;  // the name of the file the fault is on (a JPEG's first page)
};

const Output kOutputs[] = {
    {"out.pdf", "--export", "отчет", false, "out.pdf"},
    {"out.xlsx", "--export", "отчет", false, "out.xlsx"},
    {"out.rtf", "--export", "отчет", false, "out.rtf"},
    {"out.jpg", "--export", "отчет", false, "out_1.jpg"},
    {"book.xlsx", "--workbook", "сверку", true, "book.xlsx"},
};

struct Fault {
  const char* name;
  // Makes the fault at `target`; false when it cannot be made here. None: a full disk.
  std::function<bool(const fs::path& target)> make;
  const char* reason;
};

TEST(CheckFaults, AnOutputThatCannotBeWrittenIsExit1AndLeavesWhatWasThere) {
  const std::vector<Fault> faults = {
      {"a link to /dev/full",
       [](const fs::path& target) {
         fs::create_symlink("/dev/full", target);
         return fs::exists("/dev/full");
       },
       "это не обычный файл (канал или устройство)"},
#ifndef _WIN32
      {"a named pipe", [](const fs::path& target) { return ::mkfifo(target.c_str(), 0644) == 0; },
       "это не обычный файл (канал или устройство)"},
#endif
      {"a folder", [](const fs::path& target) { return fs::create_directory(target); },
       "это папка, а не файл"},
      {"a read-only file",
       [](const fs::path& target) {
         std::ofstream(target) << "previous";
         fs::permissions(target, fs::perms::owner_read);
         return true;
       },
       "файл только для чтения"},
      {"a full disk", nullptr, "нет места на диске"},
  };
  for (const Output& output : kOutputs) {
    for (const Fault& fault : faults) {
      SCOPED_TRACE(std::string(output.name) + " on " + fault.name);
      ScratchDir scratch;
      fs::path dir = scratch.Path();
      std::optional<SmallDisk> disk;
      if (!fault.make) {
        dir /= "disk";
        disk.emplace(dir);
        if (!disk->Mounted()) continue;  // only where the test may mount a disk
        std::ofstream(dir / output.written) << "previous";
        disk->Fill();
      } else if (!fault.make(dir / output.written)) {
        continue;
      }
      const std::string before = StateOf(dir / output.written);
      std::vector<std::string> args = {"--load"};
      for (const std::string& path : SamplePaths()) args.push_back(path);
      args.push_back(output.action);
      args.push_back((dir / output.name).string());
      const ToolRun run = CheckTool(args);
      ASSERT_TRUE(run.finished) << "lorvi-check hangs";
      EXPECT_EQ(run.code, 1);
      EXPECT_EQ(run.err, "");
      const std::string reason = fault.reason;
      const bool stop = output.errorBox && reason.back() != ')';
      EXPECT_EQ(run.messages, std::string("Не удалось записать ") + output.what + " в файл " +
                                  (dir / output.written).string() + ": " + reason +
                                  (stop ? "." : "") + "\n");
      EXPECT_EQ(StateOf(dir / output.written), before);
      EXPECT_EQ(TemporaryFiles(dir), 0);
    }
  }

  // The spreadsheet library out of file handles: a message, not a crash. The sanitizers' own checks
  // need file handles too, and fail for want of them.
#ifndef __SANITIZE_ADDRESS__
  ScratchDir scratch;
  const fs::path book = scratch.Path() / "book.xlsx";
  std::ofstream(book) << "previous";
  std::vector<std::string> args = {"--load"};
  for (const std::string& path : SamplePaths()) args.push_back(path);
  args.insert(args.end(), {"--workbook", book.string()});
  const ToolRun run = CheckTool(args, 6);
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.messages, "Не удалось записать сверку в файл " + book.string() +
                              ": открыто слишком много файлов.\n");
  EXPECT_EQ(test::ReadAll(book), "previous");
  EXPECT_EQ(TemporaryFiles(scratch.Path()), 0);
#endif
}

// Killed in the middle of writing a large workbook or PDF: the previous file stays whole, and
// what the kill left beside it goes with the next write of the same name.
TEST(CheckFaults, AKillInTheMiddleOfAWriteLeavesThePreviousFile) {
  ScratchDir scratch;
  std::vector<fund::Person> staff;
  for (int p = 0; p < 10000; ++p) staff.emplace_back("ЛИЦО" + std::to_string(p), "100.00", "90.00");
  std::vector<std::string> load = {"--load"};
  for (const char* period : {"2011-1", "2011-2", "2011-3", "2011-4"})
    load.push_back(
        scratch.WriteXml(std::string("big-") + period + ".XML", fund::Records({}, period, staff)));
  const struct {
    const char* action;
    const char* name;
    std::uintmax_t written;  // bytes of the temporary file before the kill
  } cases[] = {{"--workbook", "book.xlsx", 0}, {"--export", "out.pdf", 64 * 1024}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path target = scratch.Path() / c.name;
    std::ofstream(target) << "previous";
    QStringList args;
    for (const std::string& a : load) args << QString::fromStdString(a);
    args << c.action << QString::fromStdString(target.string());
    QProcess process;
    process.start(QStringLiteral(LORVI_CHECK_EXE), args);
    ASSERT_TRUE(process.waitForStarted());
    QElapsedTimer clock;
    clock.start();
    bool killed = false;
    while (!killed && process.state() == QProcess::Running && clock.elapsed() < 120000) {
      for (const auto& entry : fs::directory_iterator(scratch.Path())) {
        std::error_code error;
        const std::string name = entry.path().filename().string();
        if (name.starts_with(std::string(c.name) + ".") && name.ends_with(".part") &&
            fs::file_size(entry.path(), error) >= c.written && !error) {
          process.kill();
          killed = true;
          break;
        }
      }
      QThread::msleep(2);
    }
    process.waitForFinished();
    ASSERT_TRUE(killed) << "the write ended before it could be killed";
    EXPECT_EQ(test::ReadAll(target), "previous");
    EXPECT_EQ(TemporaryFiles(scratch.Path()), 1);

    // The next write of the name, small this time, takes the stray temporary file with it.
    std::vector<std::string> small = {"--load"};
    for (const std::string& path : SamplePaths()) small.push_back(path);
    small.insert(small.end(), {c.action, target.string()});
    const ToolRun run = CheckTool(small);
    EXPECT_EQ(run.code, 0) << run.messages;
    EXPECT_NE(test::ReadAll(target), "previous");
    EXPECT_EQ(TemporaryFiles(scratch.Path()), 0);
  }
}

}  // namespace
}  // namespace lorvi
