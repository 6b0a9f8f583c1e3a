// One libFuzzer target; LORVI_FUZZ_ENTRY names its entry point in fuzz_entries.h.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string finding =
      lorvi::fuzz::LORVI_FUZZ_ENTRY(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!finding.empty()) {
    std::fprintf(stderr, "\nfinding: %s\n", finding.c_str());
    std::abort();
  }
  return 0;
}
