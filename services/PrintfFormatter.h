// PrintfFormatter: a small printf-style formatter for UTF-16 text.
//
// Conversions: %s (text), %c, %d and %i (signed), %u, %x, %X, %o, %f, %e,
// %g (and their capitals), %p and %%, with the flags - + blank # 0, a width
// and a precision (either may be *). Length modifiers (h, l, ll, I64, ...)
// are accepted and ignored: each argument carries its own type.
//
// It is type safe: each conversion takes the next argument and formats it by
// its real kind. A numeric conversion given text writes the text, %s given a
// number writes the number; a conversion without an argument left writes
// nothing; it never reads past its arguments. Output is cut, without notice,
// at capacity - 1 units and is always null-terminated.
#pragma once

#include <array>
#include <cstddef>
#include <span>

#include "services/FormatArgument.h"

class PrintfFormatter {
public:
    struct Result {
        std::size_t count = 0;  // units written, without the terminator
        bool cut = false;       // the full result did not fit
    };

    // `capacity` counts the terminator; nothing is written when it is 0.
    static Result Format(char16_t* out, std::size_t capacity, const char16_t* format,
                         std::span<const FormatArgument> arguments);

    template <class... Args>
    static Result FormatValues(char16_t* out, std::size_t capacity, const char16_t* format,
                               const Args&... arguments) {
        const std::array<FormatArgument, sizeof...(Args)> list{MakeFormatArgument(arguments)...};
        return Format(out, capacity, format, list);
    }
};
