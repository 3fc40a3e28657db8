#include "platform/SystemError.h"

#include <cerrno>
#include <cstring>

namespace platform {

namespace {
thread_local int t_last_error = 0;
}

int GetLastError() noexcept {
    return t_last_error;
}

void SetLastError(int code) noexcept {
    t_last_error = code;
}

int SetLastErrorFromErrno() noexcept {
    t_last_error = errno;
    return t_last_error;
}

std::string SystemErrorText(int code) {
    // Codes of the registry substitute that are not errno values.
    switch (code) {
        case kErrorInsufficientBuffer:
            return "The data area passed to a system call is too small.";
        case kErrorNoMoreItems:
            return "No more data is available.";
        case kErrorInvalidKey:
            return "The configuration registry key is invalid.";
        default:
            break;
    }
    char buffer[1024];
    // GNU strerror_r returns either `buffer` or a static text.
    const char* text = strerror_r(code, buffer, sizeof buffer);
    if (text == nullptr)
        return {};
    std::string result(text);
    // glibc answers "Unknown error NNN" for codes it does not know.
    if (result.rfind("Unknown error", 0) == 0)
        return {};
    return result;
}

}  // namespace platform
