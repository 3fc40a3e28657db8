// StringFormatStream: fills the {n} placeholders of a message text.
//
// Each pushed argument is applied in its own pass over the current text and
// replaces every placeholder that carries its number; "{n:hex}" writes an
// integer argument in lower-case hexadecimal. A backslash makes the next
// character plain (and stays in the text). Placeholders no argument carries
// stay as they are; a placeholder whose number text is not a number raises
// the empty-message Exception of Format::ParseInt.
#pragma once

#include <cstdint>

#include "modules/system/String.h"
#include "xml/model/SmartPtr.h"

namespace System {

class StringFormatStream {
public:
    // Raises NullPointerException for a null format text.
    explicit StringFormatStream(const char16_t* format);

    StringFormatStream& operator<<(const String& argument);
    StringFormatStream& operator<<(const char16_t* argument) { return *this << String(argument); }
    StringFormatStream& operator<<(std::int32_t argument);

    // Shares the current text.
    String ToString() const { return *text_; }

    template <class... Args>
    static String Format(const char16_t* format, const Args&... arguments) {
        StringFormatStream stream(format);
        (stream << ... << arguments);
        return stream.ToString();
    }

    // One pass of argument `number` over `text`.
    static void ApplyArgument(String& text, std::int32_t number, const String* stringArgument,
                              std::int32_t intArgument);

private:
    SmartPtr<String> text_;
    std::int32_t nextArgument_ = 0;
};

}  // namespace System
