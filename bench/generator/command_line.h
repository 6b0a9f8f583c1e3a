#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "generator/corpus.h"

namespace lorvi::corpus {

extern const char* const kUsage;

struct Command {
  CorpusOptions options;  // periods default to the four quarters of 2011
  std::string out;
  bool samples = false;
  bool help = false;
};

// The command of lorvi-gen's arguments (without the program name), or the message that refuses
// them.
std::optional<std::string> ParseCommandLine(const std::vector<std::string_view>& args,
                                            Command& command);

}  // namespace lorvi::corpus
