// C streams on UTF-16 paths (the path crosses into the OS as UTF-8).
#pragma once

#include <cstdio>
#include <string_view>

namespace platform {

// std::fopen of `path`; on failure the thread's last error holds errno.
std::FILE* OpenCFile(std::u16string_view path, const char* mode);

}  // namespace platform
