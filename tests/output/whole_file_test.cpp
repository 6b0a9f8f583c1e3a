#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

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

int writes = 0;  // calls of the failing write so far

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

// Refused before anything is opened: the target and its folder stay as they were.
TEST(WholeFile, RefusesWhatIsNotARegularWritableFile) {
  ScratchDir dir;
  const std::string prefix = "Не удалось записать отчет в файл ";
  fs::create_directory(dir.PathOf("folder.pdf"));
  const std::string readOnly = dir.Write("read-only.pdf", "keep");
  fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read);
  struct Case {
    std::string target;
    std::string reason;
  };
  std::vector<Case> cases = {
      {dir.PathOf("folder.pdf"), "это папка, а не файл"},
      {readOnly, "файл только для чтения"},
      {dir.PathOf("missing/out.pdf"), "нет такой папки"},
  };
#ifndef _WIN32
  ASSERT_EQ(::mkfifo(dir.PathOf("pipe.pdf").c_str(), 0644), 0);
  fs::create_symlink("/dev/full", dir.PathOf("full.pdf"));
  fs::create_symlink("loop.pdf", dir.PathOf("loop.pdf"));
  cases.push_back({dir.PathOf("pipe.pdf"), "это не обычный файл (канал или устройство)"});
  cases.push_back({dir.PathOf("full.pdf"), "это не обычный файл (канал или устройство)"});
  cases.push_back({dir.PathOf("loop.pdf"), "слишком много символических ссылок"});
#endif
  const std::vector<std::string> before = Names(dir.Path());
  for (const Case& c : cases)
    EXPECT_EQ(Outcome([&] { WriteWhole(c.target, "new"); }), prefix + c.target + ": " + c.reason);
  EXPECT_EQ(Names(dir.Path()), before);
  EXPECT_EQ(test::ReadAll(readOnly), "keep");
  EXPECT_EQ(Outcome([] { WriteWhole("", "new"); }), prefix + ": это не имя файла");
}

// Every write, sync, close and rename counts: a failure of any leaves the previous file and no
// temporary one; a short write is carried on.
TEST(WholeFile, AFailingCallLeavesThePreviousFile) {
  ScratchDir dir;
  const std::string target = dir.Write("out.xlsx", "previous");
  const std::string prefix = "Не удалось записать отчет в файл " + target + ": ";
  const std::string big(100000, 'x');
  using Calls = WholeFileCalls;
  const auto real = DefaultWholeFileCalls();
  static Calls defaults;
  defaults = real;
  const struct {
    const char* what;
    Calls calls;
    std::string outcome;
  } cases[] = {
      {"the third write fails",
       {[](int fd, const void* data, unsigned long size) -> long {
          if (++writes == 3) {
            errno = ENOSPC;
            return -1;
          }
          return defaults.write(fd, data, size);
        },
        real.sync, real.close, real.rename},
       prefix + "нет места на диске"},
      {"every write takes a few bytes only",
       {[](int fd, const void* data, unsigned long size) {
          return defaults.write(fd, data, size < 7 ? size : 7);
        },
        real.sync, real.close, real.rename},
       "(written)"},
      {"a write takes nothing",
       {[](int, const void*, unsigned long) -> long { return 0; }, real.sync, real.close,
        real.rename},
       prefix + "нет места на диске"},
      {"an interrupted write goes on",
       {[](int fd, const void* data, unsigned long size) -> long {
          if (++writes == 1) {
            errno = EINTR;
            return -1;
          }
          return defaults.write(fd, data, size);
        },
        real.sync, real.close, real.rename},
       "(written)"},
      {"the sync fails",
       {real.write,
        [](int) {
          errno = EIO;
          return -1;
        },
        real.close, real.rename},
       prefix + "ошибка ввода-вывода"},
      {"the close fails",
       {real.write, real.sync,
        [](int fd) {
          defaults.close(fd);
          errno = EDQUOT;
          return -1;
        },
        real.rename},
       prefix + "превышена квота диска"},
      {"the rename fails",
       {real.write, real.sync, real.close,
        [](const char*, const char*) {
          errno = EXDEV;
          return -1;
        }},
       prefix + "файл на другом диске"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    {
      FailingCalls restore;
      writes = 0;
      CurrentWholeFileCalls() = c.calls;
      EXPECT_EQ(Outcome([&] {
                  WholeFile file(target, "отчет");
                  for (int i = 0; i < 5; ++i) file.Write(big);
                  file.Commit();
                }),
                c.outcome);
    }
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"out.xlsx"});
    if (c.outcome == "(written)") {
      EXPECT_EQ(test::ReadAll(target).size(), big.size() * 5);
      dir.Write("out.xlsx", "previous");
    } else {
      EXPECT_EQ(test::ReadAll(target), "previous");
    }
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
