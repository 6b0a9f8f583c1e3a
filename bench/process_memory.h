#pragma once

#include <fstream>
#include <string>

namespace lorvi::bench {

// The process's peak resident memory since it started or the last ResetPeak, in kB.
inline long PeakKb() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  return 0;
}

// Starts the peak over from what the process holds now.
inline void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

}  // namespace lorvi::bench
