// MessageTable: the process-wide table of numbered message texts.
#pragma once

#include <cstdint>
#include <map>

namespace System {

class MessageTable {
public:
    // The table, built on first use (at the latest during start-up) and only
    // read afterwards; safe to read from any thread.
    static const std::map<std::int32_t, const char16_t*>& Rows();
};

// The static text of `messageId`. An id without a row ends the process with
// exit code 1 through the normal exit path (exit-time destruction runs).
const char16_t* LookupMessage(std::int32_t messageId);

}  // namespace System
