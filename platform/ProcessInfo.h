// Facts about the running process that the system reports.
#pragma once

#include <string>

namespace platform {

// Full path of the running program's executable file (/proc/self/exe),
// as UTF-16; empty when it cannot be read.
std::u16string ExecutablePath();

// The folder that holds the executable, without a trailing slash.
std::u16string ExecutableDirectory();

}  // namespace platform
