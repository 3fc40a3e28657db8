// ValueText: the record passed to the text conversions of attribute members.
#pragma once

#include <cstdint>
#include <string>

enum ValueTextMode : std::uint32_t {
    kValueTextReplace = 0,  // the text replaces the value
    kValueTextAppend = 1,   // text content arriving in pieces
    kValueTextProduce = 2,  // used when producing text
};

struct ValueText {
    std::uint32_t origin = 1;  // always 1; the conversions ignore it
    std::uint32_t mode = kValueTextReplace;
    std::u16string& text;  // the text to parse, or where produced text goes
};
