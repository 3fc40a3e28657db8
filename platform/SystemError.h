// The calling thread's last system error code and the system's text for a
// code. Codes are errno values, or the few numeric codes of our own platform
// substitutes (for example 259 "no more items" of the registry hives).
#pragma once

#include <string>

namespace platform {

// Error codes that callers test for by value.
inline constexpr int kErrorFileNotFound = 2;
inline constexpr int kErrorAccessDenied = 5;
inline constexpr int kErrorInsufficientBuffer = 122;
inline constexpr int kErrorNoMoreItems = 259;
inline constexpr int kErrorInvalidKey = 1010;

int GetLastError() noexcept;
void SetLastError(int code) noexcept;
// Copies errno into the thread's last error and returns it.
int SetLastErrorFromErrno() noexcept;

// The C library's text for `code` (strerror_r), or an empty string when the
// library has no text of its own for it. Our own codes above have texts too.
std::string SystemErrorText(int code);

}  // namespace platform
