// Core errors: publish a formatted text at kind 1 (error) and throw it as an
// ECoreException. Texts are printf-style (PrintfFormatter) and cut at 2047
// units; the published text and the exception's message are the same.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "modules/system/String.h"
#include "services/ECoreException.h"
#include "services/FormatArgument.h"
#include "services/SourcePosition.h"

namespace CoreErrorDetail {
[[noreturn]] void Raise(const char16_t* format, std::span<const FormatArgument> arguments);
[[noreturn]] void RaiseAt(const SourcePosition& position, const char16_t* format,
                          std::span<const FormatArgument> arguments);
}  // namespace CoreErrorDetail

template <class... Args>
[[noreturn]] void RaiseCoreError(const char16_t* format, const Args&... arguments) {
    const std::array<FormatArgument, sizeof...(Args)> list{MakeFormatArgument(arguments)...};
    CoreErrorDetail::Raise(format, list);
}

// The entry point for callers that pass their own object first; the leading
// pointer is ignored.
template <class... Args>
[[noreturn]] void RaiseCoreError(const void* /*context*/, const char16_t* format,
                                 const Args&... arguments) {
    const std::array<FormatArgument, sizeof...(Args)> list{MakeFormatArgument(arguments)...};
    CoreErrorDetail::Raise(format, list);
}

// Formats nothing when the condition is false.
template <class... Args>
void RaiseCoreErrorIf(bool condition, const char16_t* format, const Args&... arguments) {
    if (condition)
        RaiseCoreError(format, arguments...);
}

// The text starts with "<name> (<line>,<column>):", always. Nothing is
// published when the message part is empty; the exception then carries the
// prefix alone.
template <class... Args>
[[noreturn]] void RaiseCoreErrorAt(const SourcePosition& position, const char16_t* format,
                                   const Args&... arguments) {
    const std::array<FormatArgument, sizeof...(Args)> list{MakeFormatArgument(arguments)...};
    CoreErrorDetail::RaiseAt(position, format, list);
}

// Opens the file for binary reading and closes it again; when it cannot be
// opened, whatever the reason, raises "Can't open input file '%s' because is
// being used by another process.".
void CheckInputFileReadable(const System::String& path);

// A block of `byteCount` bytes from the C heap (free it with std::free), or
// the core error "Out of memory (failed to allocate %d bytes for %s)".
void* AllocateOrRaise(std::int32_t byteCount, const char16_t* typeName);
