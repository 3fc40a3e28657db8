// Logging on top of the message listeners.
//
// LogWarning and LogTrace ask the listeners first and format nothing when
// none wants the kind. Logging never throws because of its own formatting or
// a failing listener: "An exception occured during formatting log message."
// is published at kind 1 instead. Texts are cut at 2047 units.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "services/FormatArgument.h"
#include "services/SourcePosition.h"

class Logger {
public:
    // The size of every formatting buffer, in units, terminator included.
    static constexpr std::size_t kBufferSize = 2048;

    // Publishes exactly `count` units at `kind` (0 to 3); any other kind
    // raises UnreacheableCodeException.
    static void Write(std::int32_t kind, const char16_t* text, std::size_t count);
    static bool IsEnabled(std::int32_t kind);
};

namespace LoggerDetail {
void LogFormatted(std::int32_t kind, const char16_t* format,
                  std::span<const FormatArgument> arguments);
void LogWarningAtFormatted(const SourcePosition& position, const char16_t* format,
                           std::span<const FormatArgument> arguments);
// Writes "<name> (<line>,<column>):" and the message behind it into `buffer`
// (Logger::kBufferSize units); returns the prefix and message unit counts.
struct PositionedText {
    std::size_t prefixCount;
    std::size_t messageCount;
};
PositionedText FormatPositioned(char16_t* buffer, bool withPrefix, const SourcePosition& position,
                                const char16_t* format, std::span<const FormatArgument> arguments);
}  // namespace LoggerDetail

template <class... Args>
void LogMessage(std::int32_t kind, const char16_t* format, const Args&... arguments) {
    if (!Logger::IsEnabled(kind))
        return;
    const std::array<FormatArgument, sizeof...(Args)> list{MakeFormatArgument(arguments)...};
    LoggerDetail::LogFormatted(kind, format, list);
}

template <class... Args>
void LogWarning(const char16_t* format, const Args&... arguments) {
    LogMessage(2, format, arguments...);
}

template <class... Args>
void LogTrace(const char16_t* format, const Args&... arguments) {
    LogMessage(3, format, arguments...);
}

// Always formatted (no listener test). Without a source name and at line 0,
// column 0 the text has no position prefix.
template <class... Args>
void LogWarningAt(const SourcePosition& position, const char16_t* format,
                  const Args&... arguments) {
    const std::array<FormatArgument, sizeof...(Args)> list{MakeFormatArgument(arguments)...};
    LoggerDetail::LogWarningAtFormatted(position, format, list);
}
