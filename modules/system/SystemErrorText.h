// Texts of system error codes.
#pragma once

#include <cstdint>

#include "modules/system/String.h"

namespace System {

// The system's text for `code` without trailing white space, or
// "Unknown error." when the system has no text for it.
String GetSystemErrorText(std::int32_t code);
// GetSystemErrorText of the calling thread's last error, read now.
String GetLastErrorText();

}  // namespace System
