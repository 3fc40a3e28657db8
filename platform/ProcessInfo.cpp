#include "platform/ProcessInfo.h"

#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/SystemError.h"
#include "platform/Utf8.h"

namespace platform {

std::u16string ExecutablePath() {
    std::string path(256, '\0');
    for (;;) {
        const ssize_t n = readlink("/proc/self/exe", path.data(), path.size());
        if (n < 0) {
            SetLastErrorFromErrno();
            return {};
        }
        if (static_cast<size_t>(n) < path.size()) {
            path.resize(static_cast<size_t>(n));
            return ToUtf16(path);
        }
        path.resize(path.size() * 2);
    }
}

std::u16string ExecutableDirectory() {
    std::u16string path = ExecutablePath();
    const size_t slash = path.find_last_of(u'/');
    if (slash == std::u16string::npos)
        return {};
    path.resize(slash == 0 ? 1 : slash);
    return path;
}

}  // namespace platform
