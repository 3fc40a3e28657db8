// UTF-8 <-> UTF-16 transcoding at the boundary to the operating system and to
// libraries that speak UTF-8 (file paths, libxml2, SQLite, libcurl).
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Appends the UTF-8 form of `text` to `out`. Unpaired surrogates become
// U+FFFD, so the result is always well-formed UTF-8.
void AppendUtf8(std::string& out, std::u16string_view text);
std::string ToUtf8(std::u16string_view text);

// Appends the UTF-16 form of `text` to `out`. Malformed sequences (stray
// continuation bytes, overlong forms, surrogates, values above U+10FFFF,
// truncated sequences) become one U+FFFD each.
void AppendUtf16(std::u16string& out, std::string_view text);
std::u16string ToUtf16(std::string_view text);

}  // namespace platform
