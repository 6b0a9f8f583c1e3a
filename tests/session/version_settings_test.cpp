#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/lorvi_error.h"
#include "session/settings_file.h"
#include "session/version_info.h"
#include "support/scratch_dir.h"

namespace lorvi {
namespace {

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

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
  EXPECT_EQ(Slurp(path), "[fMainMDI]\nODInitialDir=/data/2010\n");
  EXPECT_EQ(ReadIniValue(path, kSettingsSection, kSettingsKey, ""), "/data/2010");

  // Other sections and keys stay; the key is replaced in place, matched ignoring case.
  dir.Write("cfg/lorvi-analyser.ini",
            "[Other]\r\nODInitialDir=keep\r\n[FMAINMDI]\r\nx=1\r\n odinitialdir = \"/old\" \r\n"
            "y=2\r\n\r\n[Last]\r\nz=3\r\n");
  EXPECT_EQ(ReadIniValue(path, kSettingsSection, kSettingsKey, ""), "/old");
  WriteIniValue(path, kSettingsSection, kSettingsKey, "/new");
  EXPECT_EQ(Slurp(path),
            "[Other]\r\nODInitialDir=keep\r\n[FMAINMDI]\r\nx=1\r\nODInitialDir=/new\r\n"
            "y=2\r\n\r\n[Last]\r\nz=3\r\n");

  // A section without the key gets it after its last line.
  dir.Write("cfg/lorvi-analyser.ini", "[fMainMDI]\nx=1\n\n[Last]\nz=3\n");
  WriteIniValue(path, kSettingsSection, kSettingsKey, "/");
  EXPECT_EQ(Slurp(path), "[fMainMDI]\nx=1\nODInitialDir=/\n\n[Last]\nz=3\n");
}

TEST(SettingsFile, FailedWriteNamesTheFileAndKeepsTheOld) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not hold for root";
  ScratchDir dir;
  const std::string path = dir.Write("ro/lorvi-analyser.ini", "[fMainMDI]\nODInitialDir=/a\n");
  std::filesystem::permissions(
      dir.PathOf("ro"), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  try {
    WriteIniValue(path, kSettingsSection, kSettingsKey, "/b");
    ADD_FAILURE();
  } catch (const LorviError& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + path);
  }
  EXPECT_EQ(ReadIniValue(path, kSettingsSection, kSettingsKey, ""), "/a");
  std::filesystem::permissions(dir.PathOf("ro"), std::filesystem::perms::owner_all);
}

TEST(SettingsFile, FailedWriteToAFolderInTheWay) {
  ScratchDir dir;
  // The settings path is taken by a folder: nothing can be written there, even as root.
  std::filesystem::create_directories(dir.PathOf("cfg/lorvi-analyser.ini/x"));
  const std::string path = dir.PathOf("cfg/lorvi-analyser.ini");
  try {
    WriteIniValue(path, kSettingsSection, kSettingsKey, "/b");
    ADD_FAILURE();
  } catch (const LorviError& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + path);
  }
}

}  // namespace
}  // namespace lorvi
