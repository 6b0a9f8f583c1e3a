#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "base/lorvi_error.h"
#include "base/text1251.h"
#include "output/whole_file.h"
#include "output/xlsx_book.h"
#include "support/scratch_dir.h"

namespace lorvi {
namespace {

namespace fs = std::filesystem;

// The names in `dir`, sorted; a temporary file shows as "<name>.??????.part".
std::vector<std::string> Names(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) {
    std::string name = entry.path().filename().string();
    const std::size_t n = name.size();
    if (n > 12 && name.ends_with(".part") && name[n - 12] == '.') name.replace(n - 11, 6, "??????");
    names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The message of a failure, or "(written)".
std::string Outcome(const std::function<void()>& write) {
  try {
    write();
  } catch (const LorviError& e) {
    return Cp1251ToUtf8(e.what());
  }
  return "(written)";
}

void WriteWhole(const std::string& path, const std::string& bytes) {
  WholeFile file(path, "отчет");
  file.Write(bytes);
  file.Commit();
}

// The file system calls fail as a full or broken disk would make them; put back afterwards.
class FailingCalls {
 public:
  FailingCalls() : saved_(CurrentWholeFileCalls()) {}
  ~FailingCalls() { CurrentWholeFileCalls() = saved_; }
  FailingCalls(const FailingCalls&) = delete;
  FailingCalls& operator=(const FailingCalls&) = delete;

 private:
  WholeFileCalls saved_;
};

TEST(WholeFile, TakesTheTargetsPlaceOnlyWhenCommitted) {
  ScratchDir dir;
  const std::string target = dir.Write("out.pdf", "previous");
#ifndef _WIN32
  ::chmod(target.c_str(), 0640);
#endif
  {
    WholeFile file(target, "отчет");
    file.Write("new ");
    file.Write("content");
    // Until the end the previous file stands, the new one beside it.
    EXPECT_EQ(test::ReadAll(target), "previous");
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"out.pdf", "out.pdf.??????.part"}));
    EXPECT_EQ(fs::path(file.TempPath()).parent_path(), dir.Path());
    file.Commit();
  }
  EXPECT_EQ(test::ReadAll(target), "new content");
  EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"out.pdf"});
#ifndef _WIN32
  struct stat status {};
  ASSERT_EQ(::stat(target.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u) << "the replaced file's permissions stay";
  const mode_t mask = ::umask(022);
  WriteWhole(dir.PathOf("new.pdf"), "x");
  ::umask(mask);
  ASSERT_EQ(::stat(dir.PathOf("new.pdf").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0644u) << "a new file gets what the user's mask allows";
#endif

  // Given up before the end: the previous file as it was, nothing beside it.
  {
    WholeFile file(target, "отчет");
    file.Write("half");
  }
  EXPECT_EQ(test::ReadAll(target), "new content");
  EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"new.pdf", "out.pdf"}));
}

TEST(WholeFile, ReplacesTheFileALinkPointsToAndCleansUpAfterAKill) {
  ScratchDir dir;
  // What a killed writer left: the next write of the same target removes it, of others not.
  dir.Write("out.pdf.a1B2c3.part", "half");
  dir.Write("other.pdf.a1B2c3.part", "half");
  dir.Write("out.pdf.notes.part", "mine");
  WriteWhole(dir.PathOf("out.pdf"), "whole");
  EXPECT_EQ(Names(dir.Path()),
            (std::vector<std::string>{"other.pdf.??????.part", "out.pdf", "out.pdf.notes.part"}));
#ifndef _WIN32
  // A link stays a link; the file it points to, relative or not, is the one replaced.
  fs::create_directory(dir.PathOf("real"));
  const std::string real = dir.Write("real/settings.ini", "old");
  fs::create_symlink("real/settings.ini", dir.PathOf("relative.ini"));
  fs::create_symlink(real, dir.PathOf("absolute.ini"));
  fs::create_symlink("real/new.ini", dir.PathOf("dangling.ini"));
  WriteWhole(dir.PathOf("relative.ini"), "one");
  EXPECT_TRUE(fs::is_symlink(dir.PathOf("relative.ini")));
  EXPECT_EQ(test::ReadAll(real), "one");
  WriteWhole(dir.PathOf("absolute.ini"), "two");
  EXPECT_TRUE(fs::is_symlink(dir.PathOf("absolute.ini")));
  EXPECT_EQ(test::ReadAll(real), "two");
  WriteWhole(dir.PathOf("dangling.ini"), "three");
  EXPECT_EQ(test::ReadAll(dir.PathOf("real/new.ini")), "three");
  EXPECT_EQ(Names(dir.Path() / "real"), (std::vector<std::string>{"new.ini", "settings.ini"}));
#endif
}

// Which call of the file system fails, and how: the nth call of `op` (every call for 0) takes
// `bytes` bytes when that is not negative, else fails with `error`.
struct Fault {
  enum Op { kWrite, kSync, kClose, kRename } op;
  int nth;
  long bytes;
  int error;
};
Fault fault;
int calls = 0;

bool Hit(Fault::Op op) { return fault.op == op && (fault.nth == 0 || ++calls == fault.nth); }

long Fail() {
  errno = fault.error;
  return -1;
}

const WholeFileCalls kFaulty = {
    [](int fd, const void* data, unsigned long size) -> long {
      if (!Hit(Fault::kWrite)) return DefaultWholeFileCalls().write(fd, data, size);
      if (fault.bytes < 0) return Fail();
      return DefaultWholeFileCalls().write(fd, data, std::min<unsigned long>(size, fault.bytes));
    },
    [](int fd) { return Hit(Fault::kSync) ? int(Fail()) : DefaultWholeFileCalls().sync(fd); },
    [](int fd) {
      const int closed = DefaultWholeFileCalls().close(fd);
      return Hit(Fault::kClose) ? int(Fail()) : closed;
    },
    [](const char* from, const char* to) {
      return Hit(Fault::kRename) ? int(Fail()) : DefaultWholeFileCalls().rename(from, to);
    },
};

// Every write, sync, close and rename counts: a failure of any leaves the previous file and no
// temporary one; short and interrupted writes are carried on.
TEST(WholeFile, AFailingCallLeavesThePreviousFile) {
  ScratchDir dir;
  const std::string target = dir.Write("out.xlsx", "previous");
  const std::string big(100000, 'x');
  const struct {
    const char* what;
    Fault fault;
    const char* reason;  // none: written
  } cases[] = {
      {"the third write fails", {Fault::kWrite, 3, -1, ENOSPC}, "нет места на диске"},
      {"every write takes a few bytes", {Fault::kWrite, 0, 7, 0}, nullptr},
      {"a write takes nothing", {Fault::kWrite, 0, 0, 0}, "нет места на диске"},
      {"an interrupted write goes on", {Fault::kWrite, 1, -1, EINTR}, nullptr},
      {"the sync fails", {Fault::kSync, 1, -1, EIO}, "ошибка ввода-вывода"},
      {"the close fails", {Fault::kClose, 1, -1, EDQUOT}, "превышена квота диска"},
      {"the rename fails", {Fault::kRename, 1, -1, EXDEV}, "файл на другом диске"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    {
      FailingCalls restore;
      fault = c.fault;
      calls = 0;
      CurrentWholeFileCalls() = kFaulty;
      EXPECT_EQ(
          Outcome([&] {
            WholeFile file(target, "отчет");
            for (int i = 0; i < 5; ++i) file.Write(big);
            file.Commit();
          }),
          c.reason ? "Не удалось записать отчет в файл " + target + ": " + c.reason : "(written)");
    }
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"out.xlsx"});
    EXPECT_EQ(test::ReadAll(target).size(), c.reason ? 8u : big.size() * 5);
    dir.Write("out.xlsx", "previous");
  }
}

// The spreadsheet library's failures are ours to tell: no lines of its own on the standard
// error, and nothing under the target's name.
TEST(XlsxBook, TheLibrarysFailuresBecomeTheMessage) {
  ScratchDir dir;
  const std::string target = dir.Write("book.xlsx", "previous");
  testing::internal::CaptureStderr();
  const std::string outcome = Outcome([&] {
    XlsxBook book(target, "сверку", true);
    book.AddSheet("Лист");
    book.AddSheet("Лист");  // the same name twice
    book.Commit();
  });
  std::fputs("passed on\n", stderr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "passed on\n");
  EXPECT_TRUE(outcome.starts_with("Не удалось записать сверку в файл " + target + ": ")) << outcome;
  EXPECT_NE(outcome.find("Лист"), std::string::npos) << "the library's own words: " << outcome;
  EXPECT_EQ(test::ReadAll(target), "previous");
  EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"book.xlsx"});

  // Written whole: a workbook under the name, the library's scratch files gone.
  {
    XlsxBook book(target, "сверку", true, 1);
    lxw_worksheet* sheet = book.AddSheet("Лист");
    book.Check(worksheet_write_number(sheet, 0, 0, 1.5, book.AddFormat()));
    book.Commit();
  }
  EXPECT_TRUE(test::ReadAll(target).starts_with("PK"));
  EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"book.xlsx"});
}

}  // namespace
}  // namespace lorvi
