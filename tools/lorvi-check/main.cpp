// Runs the analyser without its window on the actions of the command line and prints what the
// window would show.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "check_run.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  std::string out;
  std::string err;
  int status = 1;
  try {
    status = lorvi::check::RunArguments(args, out, err);
  } catch (const std::exception& e) {
    err += std::string("lorvi-check: ") + e.what() + "\n";
  }
  // Dumps of large grids run to megabytes: one write, not one per line.
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
  std::fputs(err.c_str(), stderr);
  return status;
}
