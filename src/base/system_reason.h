#pragma once

#include <string>

namespace lorvi {

// The operating system's reason for the error number `error` (errno), in Russian for the ones a
// user meets when writing files, as the system words it otherwise (UTF-8).
std::string SystemReason(int error);

}  // namespace lorvi
