#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "base/lorvi_error.h"
#include "session/settings_file.h"
#include "session/version_info.h"
#include "support/scratch_dir.h"

namespace lorvi {
namespace {

TEST(TFreeAppInfo, ItemsOfTheProgramsOwnBlock) {
  const VersionBlock block = ProgramVersionBlock();
  const TFreeAppInfo info(&block);
  EXPECT_EQ(info.GetItem(2), "1.0.1.0");
  EXPECT_EQ(info.GetItem(7), "Анализатор ЛОРВИ");
  EXPECT_THROW(info.GetItem(10), LorviError);
  EXPECT_THROW(info.GetItem(-1), LorviError);
}

TEST(TFreeAppInfo, BlocksWithPartsMissing) {
  const TFreeAppInfo none(nullptr);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(none.GetItem(i), "Value Not Available");

  // Keys match ignoring case: an upper-case table is found with the lower-case prefix.
  VersionBlock block;
  block.translation = 0x04E30419u;
  block.strings = {{"StringFileInfo\\041904E3\\FileVersion", "2.0"},
                   {"stringfileinfo\\041904e3\\companyname", "Co"},
                   {"StringFileInfo\\041904E3\\Comments", ""},
                   {"StringFileInfo\\040904B0\\ProductName", "Other table"}};
  const TFreeAppInfo partial(&block);
  EXPECT_EQ(partial.GetItem(2), "2.0");
  EXPECT_EQ(partial.GetItem(0), "Co");
  EXPECT_EQ(partial.GetItem(9), "");  // present but empty
  EXPECT_EQ(partial.GetItem(7), "");  // in another table only

  block.translation.reset();
  const TFreeAppInfo untranslated(&block);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(untranslated.GetItem(i), "");
}

TEST(SettingsFile, NameFollowsTheExecutable) {
  EXPECT_EQ(IniFileName("/home/u/.config", "/opt/lorvi/lorvi-analyser"),
            "/home/u/.config/lorvi-analyser.ini");
  EXPECT_EQ(IniFileName("/c", "/x/program.exe"), "/c/program.ini");
  EXPECT_EQ(IniFileName("/c", "/x/renamed"), "/c/renamed.ini");
}

TEST(SettingsFile, ReadsMissingAsDefaultAndWritesOnlyItsKey) {
  ScratchDir dir;
  const std::string path = dir.PathOf("cfg/lorvi-analyser.ini");
  EXPECT_EQ(ReadIniValue(path, kSettingsSection, kSettingsKey, ""), "");

  WriteIniValue(path, kSettingsSection, kSettingsKey, "/data/2010");
  EXPECT_EQ(test::ReadAll(path), "[fMainMDI]\nODInitialDir=/data/2010\n");
  EXPECT_EQ(ReadIniValue(path, kSettingsSection, kSettingsKey, ""), "/data/2010");

  // Other sections and keys stay; the key is replaced in place, matched ignoring case.
  dir.Write("cfg/lorvi-analyser.ini",
            "[Other]\r\nODInitialDir=keep\r\n[FMAINMDI]\r\nx=1\r\n odinitialdir = \"/old\" \r\n"
            "y=2\r\n\r\n[Last]\r\nz=3\r\n");
  EXPECT_EQ(ReadIniValue(path, kSettingsSection, kSettingsKey, ""), "/old");
  WriteIniValue(path, kSettingsSection, kSettingsKey, "/new");
  EXPECT_EQ(test::ReadAll(path),
            "[Other]\r\nODInitialDir=keep\r\n[FMAINMDI]\r\nx=1\r\nODInitialDir=/new\r\n"
            "y=2\r\n\r\n[Last]\r\nz=3\r\n");

  // A section without the key gets it after its last line.
  dir.Write("cfg/lorvi-analyser.ini", "[fMainMDI]\nx=1\n\n[Last]\nz=3\n");
  WriteIniValue(path, kSettingsSection, kSettingsKey, "/");
  EXPECT_EQ(test::ReadAll(path), "[fMainMDI]\nx=1\nODInitialDir=/\n\n[Last]\nz=3\n");
}

// A write that cannot be done names the file and leaves the old one as it was: a read-only file
// (kept read-only, not replaced by a writable one), a folder in the way, a folder without write
// permission.
TEST(SettingsFile, FailedWriteNamesTheFileAndKeepsTheOld) {
  namespace fs = std::filesystem;
  ScratchDir dir;
  const std::string text = "[Other]\r\nKey=1\r\n[fMainMDI]\r\nODInitialDir=/a\r\n";
  const std::string readOnly = dir.Write("ro-file/lorvi-analyser.ini", text);
  fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read);
  fs::create_directories(dir.PathOf("cfg/lorvi-analyser.ini/x"));
  const std::string inLockedFolder = dir.Write("ro/lorvi-analyser.ini", text);
  fs::permissions(dir.PathOf("ro"), fs::perms::owner_read | fs::perms::owner_exec);
  std::vector<std::string> paths = {readOnly, dir.PathOf("cfg/lorvi-analyser.ini")};
  // The superuser writes in any folder.
  if (geteuid() != 0) paths.push_back(inLockedFolder);
  for (const std::string& path : paths) {
    try {
      WriteIniValue(path, kSettingsSection, kSettingsKey, "/b");
      ADD_FAILURE() << path;
    } catch (const LorviError& e) {
      EXPECT_EQ(std::string(e.what()), "Unable to write to " + path);
    }
  }
  EXPECT_EQ(test::ReadAll(readOnly), text);
  EXPECT_EQ(fs::status(readOnly).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::group_read);
  EXPECT_EQ(test::ReadAll(inLockedFolder), text);
  fs::permissions(dir.PathOf("ro"), fs::perms::owner_all);
  // Nothing was left beside the read-only file.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.PathOf("ro-file")), fs::directory_iterator()),
            1);
}

// A settings file that is a link stays one: the file it points to takes the new value, with its
// other lines and line ends.
TEST(SettingsFile, ALinkStaysALink) {
  namespace fs = std::filesystem;
  ScratchDir dir;
  const std::string real = dir.Write("dotfiles/lorvi.ini", "[Other]\r\nKey=1\r\n");
  const std::string link = dir.PathOf("cfg/lorvi-analyser.ini");
  fs::create_directories(dir.PathOf("cfg"));
  fs::create_symlink(real, link);
  WriteIniValue(link, kSettingsSection, kSettingsKey, "/b");
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(test::ReadAll(real), "[Other]\r\nKey=1\r\n[fMainMDI]\r\nODInitialDir=/b\r\n");
}

}  // namespace
}  // namespace lorvi
