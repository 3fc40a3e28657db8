#include "modules/system/Encoder.h"

#include <cstring>

#include "modules/system/Exception.h"
#include "modules/system/String.h"

namespace System {

namespace {
constexpr std::int32_t kCannotConvert = 1006;
}

std::u16string Encoder::NarrowToUtf16(std::string_view narrow) {
    std::u16string text;
    text.resize(narrow.size());
    for (std::size_t i = 0; i < narrow.size(); ++i) {
        text[i] = static_cast<unsigned char>(narrow[i]);
    }
    return text;
}

std::u16string Encoder::NarrowToUtf16(const char* narrow) {
    if (!narrow)
        return {};
    return NarrowToUtf16(std::string_view(narrow, std::strlen(narrow)));
}

String Encoder::NarrowToString(const char* narrow) {
    return String(narrow);
}

std::string Encoder::Utf16ToNarrow(std::u16string_view text) {
    std::string narrow;
    narrow.resize(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] > 0xFF)
            COREKIT_RAISE(Exception(kCannotConvert));
        narrow[i] = static_cast<char>(text[i]);
    }
    return narrow;
}

std::string Encoder::Utf16ToNarrow(const char16_t* text) {
    if (!text)
        return {};
    return Utf16ToNarrow(std::u16string_view(text));
}

}  // namespace System
