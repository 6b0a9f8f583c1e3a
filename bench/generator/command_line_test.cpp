#include "generator/command_line.h"

#include <gtest/gtest.h>

namespace lorvi::corpus {
namespace {

std::optional<std::string> Parse(std::vector<std::string_view> args, Command& command) {
  return ParseCommandLine(args, command);
}

TEST(CommandLine, OptionsAndDefaults) {
  Command c;
  ASSERT_EQ(Parse({"--out", "d"}, c), std::nullopt);
  EXPECT_EQ(c.out, "d");
  EXPECT_EQ(c.options.orgs, 2);
  EXPECT_EQ(c.options.persons, 4501);
  ASSERT_EQ(c.options.periods.size(), 4u);
  EXPECT_EQ(c.options.periods.back().Key(), "2011-4");

  ASSERT_EQ(Parse({"--periods", "2010-2,2012-1", "--orgs", "1", "--persons", "30", "--seed", "9",
                   "--inventories", "--discrepancies", "3", "--leavers", "2", "--unreadable",
                   "--per-file", "200", "--out", "d"},
                  c),
            std::nullopt);
  ASSERT_EQ(c.options.periods.size(), 2u);
  EXPECT_EQ(c.options.periods[0].Key(), "2010-2");
  EXPECT_EQ(c.options.periods[1].Key(), "2012-1");
  EXPECT_EQ(c.options.orgs, 1);
  EXPECT_EQ(c.options.persons, 30);
  EXPECT_EQ(c.options.seed, 9u);
  EXPECT_TRUE(c.options.inventories && c.options.unreadable);
  EXPECT_EQ(c.options.discrepancies, 3);
  EXPECT_EQ(c.options.leavers, 2);
  EXPECT_EQ(c.options.perFile, 200);

  ASSERT_EQ(Parse({"--samples", "--out", "d"}, c), std::nullopt);
  EXPECT_TRUE(c.samples);
  ASSERT_EQ(Parse({"--out", "d", "-h"}, c), std::nullopt);
  EXPECT_TRUE(c.help);
}

TEST(CommandLine, RefusesWhatItCannotHonour) {
  Command c;
  for (const std::vector<std::string_view>& args : std::vector<std::vector<std::string_view>>{
           {"--persons", "5"},                             // no --out
           {"--out", "d", "--periods", "2011-1,,2011-2"},  // empty key
           {"--out", "d", "--periods", "2011-1,"},         // trailing comma
           {"--out", "d", "--periods", "2010-3"},          // 2010 had half-years
           {"--out", "d", "--persons", "-1"},
           {"--out", "d", "--persons", "12x"},
           {"--out", "d", "--leavers"},  // value missing
           {"--out", "d", "--colour", "red"},
           {"--out", "d", "--samples", "--seed", "2"},  // samples are fixed
       })
    EXPECT_NE(Parse(args, c), std::nullopt) << args.size() << " " << args.back();
}

}  // namespace
}  // namespace lorvi::corpus
