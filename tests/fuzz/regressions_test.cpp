// Replays the fuzz corpus and every input the fuzzers ever complained about, in the normal
// build: a fault that was found once must not come back unnoticed.
#include <gtest/gtest.h>

#include <algorithm>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_entries.h"

namespace lorvi::fuzz {
namespace {

namespace fs = std::filesystem;

using Entry = std::string (*)(std::string_view);

// Files under corpus/<target>/ and regressions/<target>/, in name order.
std::vector<fs::path> InputsOf(const std::string& target) {
  std::vector<fs::path> files;
  for (const char* kind : {"corpus", "regressions"}) {
    const fs::path dir = fs::path(LORVI_FUZZ_DIR) / kind / target;
    if (!fs::is_directory(dir)) continue;
    for (const auto& entry : fs::directory_iterator(dir))
      if (entry.is_regular_file() && entry.path().filename().string()[0] != '.')
        files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

void Replay(const std::string& target, Entry entry) {
  const auto files = InputsOf(target);
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.string());
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    try {
      EXPECT_EQ(entry(bytes), "");
    } catch (const std::exception& e) {
      ADD_FAILURE() << "uncaught exception: " << e.what();
    }
  }
}

TEST(FuzzRegressions, LineList) { Replay("line_list", FuzzLineList); }
TEST(FuzzRegressions, HeaderScan) { Replay("header_scan", FuzzHeaderScan); }
TEST(FuzzRegressions, ZLReader) { Replay("zl_reader", FuzzZLReader); }
TEST(FuzzRegressions, ADVReader) { Replay("adv_reader", FuzzADVReader); }

// A missing folder would let the replays above pass without reading anything.
TEST(FuzzRegressions, CorpusIsPresent) {
  for (const char* target : {"line_list", "header_scan", "zl_reader", "adv_reader"})
    EXPECT_FALSE(InputsOf(target).empty()) << target;
}

}  // namespace
}  // namespace lorvi::fuzz
