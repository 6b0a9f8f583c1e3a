// Writes the bad files kept with the sources into the folder given (tests/data/bad).
#include <cstdio>
#include <exception>
#include <string>

#include "bad_corpus.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: make_bad_corpus DIR\n", stderr);
    return 2;
  }
  try {
    for (const std::string& name : lorvi::bad::WriteSmallCorpus(argv[1]))
      std::printf("%s\n", name.c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_bad_corpus: %s\n", e.what());
    return 1;
  }
  return 0;
}
