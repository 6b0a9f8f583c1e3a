// lorvi-gen: writes a synthetic corpus of individual records and inventories, or the shipped
// sample set.
#include <cstdio>
#include <exception>
#include <string_view>
#include <vector>

#include "generator/command_line.h"
#include "generator/corpus.h"

using namespace lorvi::corpus;

int main(int argc, char** argv) {
  Command command;
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  if (const auto error = ParseCommandLine(args, command)) {
    std::fprintf(stderr, "lorvi-gen: %s\n%s", error->c_str(), kUsage);
    return 2;
  }
  if (command.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  try {
    const auto files =
        command.samples ? WriteSamples(command.out) : WriteCorpus(command.options, command.out);
    for (const CorpusFile& f : files) std::printf("%s\n", f.path.string().c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "lorvi-gen: %s\n", e.what());
    return 1;
  }
  return 0;
}
