#include <gtest/gtest.h>

#include <sys/stat.h>
#include <filesystem>
#include <string>
#include <vector>

#include "base/lorvi_error.h"
#include "intake/file_list.h"
#include "intake/line_list.h"
#include "support/piece_text.h"
#include "support/scratch_dir.h"

namespace lorvi {
namespace {

std::vector<std::string> Lines(std::string bytes) {
  const LineList list(std::move(bytes));
  std::vector<std::string> out;
  for (std::size_t i = 0; i < list.Count(); ++i) out.emplace_back(list.Line(i));
  return out;
}

using V = std::vector<std::string>;

TEST(LineList, SplitsAtEveryKindOfLineEnd) {
  EXPECT_EQ(Lines("\r\n\r\n"), V({"", ""}));
  EXPECT_EQ(Lines("a\nb"), V({"a", "b"}));
  EXPECT_EQ(Lines("a\r\nb\r\n"), V({"a", "b"}));
  EXPECT_EQ(Lines("a\rb\r"), V({"a", "b"}));
  EXPECT_EQ(Lines("a\n\rb"), V({"a", "", "b"}));  // LF CR: a line, then an empty one
  EXPECT_EQ(Lines("a\r\r\nb"), V({"a", "", "b"}));
  EXPECT_EQ(Lines("a\n\nb\n"), V({"a", "", "b"}));
  EXPECT_EQ(Lines(""), V());
  EXPECT_EQ(Lines("\n"), V({""}));
  // Breaks in every position of the eight-byte scan.
  EXPECT_EQ(Lines("0123456\n89abcdef\r01234567890\r\nx"),
            V({"0123456", "89abcdef", "01234567890", "x"}));
}

TEST(LineList, TextEndsAtFirstNul) {
  EXPECT_EQ(Lines(std::string("a\0b", 3)), V({"a"}));
  EXPECT_EQ(Lines(std::string("\0abc\n", 5)), V());
  // A UTF-16 file stops after its first character.
  EXPECT_EQ(Lines(std::string("<\0F\0", 4)), V({"<"}));
}

// The marks noted while splitting are exactly the marks each line contains, as a search would
// find them: at the line's start or end, twice, cut by a line end or by the NUL that ends the
// text, in lines of every length and after a drop.
TEST(LineList, MarksNotedInTheSplitAreThoseASearchFinds) {
  static constexpr std::string_view kMarks[] = {"<abc>", "</abc>", "<ab", "<abcd", "<xy>", "<x"};
  const std::string pieces[] = {"<abc>",  "</abc>", "<ab", "<",    "x",
                                "y>",     "\r",     "\n",  "\r\n", std::string(1, '\0'),
                                "      ", "<xy>"};
  test::PieceText texts(3);
  for (int n = 0; n < 3000; ++n) {
    const std::string bytes = texts.Next(pieces, n % 40 + 1);
    LineList marked(bytes, kMarks);
    const LineList plain(bytes);
    ASSERT_EQ(marked.Count(), plain.Count());
    ASSERT_TRUE(marked.MarkedWith(kMarks));
    if (n % 2) marked.DropFront(1);
    for (std::size_t i = 0; i < marked.Count(); ++i) {
      std::uint32_t expected = 0;
      for (std::size_t k = 0; k < std::size(kMarks); ++k)
        if (marked.Line(i).find(kMarks[k]) != std::string_view::npos) expected |= 1u << k;
      ASSERT_EQ(marked.MarksOf(i), expected) << n << ": " << marked.Line(i);
    }
  }
}

TEST(LineList, DroppingMovesLineZeroAndPositionsFollow) {
  LineList list(std::string("a\nb\nc"));
  list.DropFront(1);
  EXPECT_EQ(list.Count(), 2u);
  EXPECT_EQ(list.Line(0), "b");
  try {
    list.Line(2);
    FAIL();
  } catch (const LorviError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (2)");
  }
  list.DropFront(10);
  EXPECT_TRUE(list.Empty());
  EXPECT_THROW(list.Line(0), LorviError);
  EXPECT_THROW(list.MarksOf(0), LorviError);
}

TEST(LineList, ReadsFilesWholeAndLeavesThemUnchanged) {
  ScratchDir dir;
  const std::string bytes = "first\r\nsecond\rthird\n\n";
  const std::string path = dir.Write("f.xml", bytes);
  const auto before = std::filesystem::last_write_time(path);
  const LineList list = ReadLineList(path);
  ASSERT_EQ(list.Count(), 4u);
  EXPECT_EQ(list.Line(2), "third");
  EXPECT_EQ(std::filesystem::last_write_time(path), before);

  // A long line without a line end is one line.
  const std::string big(10 << 20, 'x');
  EXPECT_EQ(ReadLineList(dir.Write("big.xml", big)).Line(0).size(), big.size());
}

TEST(LineList, FileThatCannotBeOpenedNamesItsPath) {
  ScratchDir dir;
  const std::string missing = dir.PathOf("нет.xml");
  try {
    ReadLineList(missing);
    FAIL();
  } catch (const LorviError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file " + test::W(missing));
  }
  EXPECT_THROW(ReadLineList(dir.PathOf("")), LorviError);  // a folder
  // A pipe would block the reading: it is no file to read.
  const std::string pipe = dir.PathOf("pipe.xml");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_FALSE(FileExists(pipe));
  EXPECT_THROW(ReadLineList(pipe), LorviError);
  EXPECT_FALSE(FileExists(missing));
  EXPECT_FALSE(FileExists(dir.PathOf("")));
  EXPECT_TRUE(FileExists(dir.Write("a.xml", "")));
  EXPECT_EQ(FileNameOf("/x/y/Файл.XML"), "Файл.XML");
  EXPECT_EQ(FileNameOf("plain"), "plain");
  EXPECT_EQ(FolderOf("/data/2010/a.xml"), "/data/2010");
  EXPECT_EQ(FolderOf("/a.xml"), "/");
  EXPECT_EQ(FolderOf("a.xml"), "");
}

// A folder stands, in its place, for the .xml files below it (letter case ignored), in the order
// of their paths; links to folders below are not followed.
TEST(ExpandFolders, AFolderStandsForItsXmlFilesInPathOrder) {
  namespace fs = std::filesystem;
  ScratchDir dir;
  const std::string single = dir.Write("single.XML", "");
  const std::string a = dir.Write("in/a.xml", "");
  const std::string b = dir.Write("in/b.XML", "");
  const std::string c = dir.Write("in/sub/c.Xml", "");
  dir.Write("in/notes.txt", "");
  dir.Write("in/sub/d.xml.bak", "");
  dir.Write("elsewhere/e.xml", "");
  fs::create_directory_symlink(dir.PathOf("elsewhere"), dir.PathOf("in/link"));
  fs::create_directory(dir.PathOf("in/folder.xml"));
  EXPECT_EQ(ExpandFolders({dir.PathOf("in"), single, dir.PathOf("gone.xml")}),
            (std::vector<std::string>{a, b, c, single, dir.PathOf("gone.xml")}));
  EXPECT_TRUE(ExpandFolders({dir.PathOf("elsewhere/..")}).size() == 5u);
}

// A reading error names its file on a line of its own, after the text's full stop.
TEST(ErrorBox, FullStopOnlyAfterCharactersAboveIt) {
  LorviError inFile("List index out of bounds (3)");
  inFile.SetFileName("a.XML");
  EXPECT_EQ(ErrorBoxText(inFile), test::W("List index out of bounds (3)\nФайл: a.XML"));
  LorviError stop("Range check error");
  stop.SetFileName("b.XML");
  EXPECT_EQ(ErrorBoxText(stop), test::W("Range check error.\nФайл: b.XML"));
  EXPECT_EQ(WithFullStop("List index out of bounds (3)"), "List index out of bounds (3)");
  EXPECT_EQ(WithFullStop("Range check error"), "Range check error.");
  EXPECT_EQ(WithFullStop("Done."), "Done.");
  EXPECT_EQ(WithFullStop("Cannot open file /a/b.xml"), "Cannot open file /a/b.xml.");
  EXPECT_EQ(WithFullStop("'' is not a valid date"), "'' is not a valid date.");
  EXPECT_EQ(WithFullStop("'5,' is a comma,"), "'5,' is a comma,");
  EXPECT_EQ(WithFullStop(""), "");
}

}  // namespace
}  // namespace lorvi
