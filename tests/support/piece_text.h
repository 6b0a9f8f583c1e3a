#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace lorvi::test {

// Texts joined from given pieces in an order that looks random but is the same on every run, for
// tests that compare two ways of reading every such text.
class PieceText {
 public:
  explicit PieceText(std::uint32_t seed) : state_(seed) {}

  // `count` pieces, each picked anew.
  std::string Next(std::span<const std::string> pieces, int count) {
    std::string text;
    for (int k = 0; k < count; ++k) {
      state_ = state_ * 1664525u + 1013904223u;
      text += pieces[(state_ >> 24) % pieces.size()];
    }
    return text;
  }

 private:
  std::uint32_t state_;
};

}  // namespace lorvi::test
