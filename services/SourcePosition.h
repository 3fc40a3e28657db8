// SourcePosition: a place in a source document, for warning and error
// prefixes "<name> (<line>,<column>):".
#pragma once

#include <cstdint>

#include "modules/system/String.h"

struct SourcePosition {
    System::String sourceName;
    // line * 1000 + column. Columns of 1000 or more read back as a larger
    // line and a smaller column; that is the record's limit.
    std::int32_t position = 0;

    SourcePosition() = default;
    SourcePosition(System::String name, std::int32_t line, std::int32_t column)
        : sourceName(std::move(name)),
          // Unsigned arithmetic: a huge line wraps instead of overflowing.
          position(static_cast<std::int32_t>(static_cast<std::uint32_t>(line) * 1000u +
                                             static_cast<std::uint32_t>(column))) {}

    std::int32_t Line() const noexcept { return position / 1000; }
    std::int32_t Column() const noexcept { return position % 1000; }
};
