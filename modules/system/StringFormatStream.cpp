#include "modules/system/StringFormatStream.h"

#include "modules/system/Format.h"

namespace System {

StringFormatStream::StringFormatStream(const char16_t* format) {
    if (!format)
        COREKIT_RAISE(NullPointerException());
    text_ = new String(format);
}

StringFormatStream& StringFormatStream::operator<<(const String& argument) {
    ApplyArgument(*text_, nextArgument_, &argument, 0);
    ++nextArgument_;
    return *this;
}

StringFormatStream& StringFormatStream::operator<<(std::int32_t argument) {
    ApplyArgument(*text_, nextArgument_, nullptr, argument);
    ++nextArgument_;
    return *this;
}

void StringFormatStream::ApplyArgument(String& text, std::int32_t number,
                                       const String* stringArgument, std::int32_t intArgument) {
    if (text.Length() == 0)
        return;
    enum class State { Plain, Escaped, Number, Spec } state = State::Plain;
    std::size_t start = 0;
    String numberText;
    String specText;
    for (std::size_t i = 0; i < text.Length(); ++i) {
        const char16_t c = text.View()[i];
        switch (state) {
            case State::Escaped:
                state = State::Plain;
                break;
            case State::Plain:
                if (c == u'\\') {
                    state = State::Escaped;
                } else if (c == u'{') {
                    start = i;
                    numberText = String();
                    specText = String();
                    state = State::Number;
                }
                break;
            case State::Number:
            case State::Spec:
                if (c == u':' && state == State::Number) {
                    state = State::Spec;
                    break;
                }
                if (c != u'}') {
                    (state == State::Number ? numberText : specText).Append(c);
                    break;
                }
                state = State::Plain;
                if (Format::ParseInt(numberText) != number)
                    break;
                {
                    const String replacement = stringArgument
                                                   ? *stringArgument
                                                   : Format::IntToString(intArgument, specText);
                    const std::size_t length = i - start + 1;
                    text.Replace(static_cast<std::int32_t>(start),
                                 static_cast<std::int32_t>(length), replacement);
                    // Go on with the unit after the inserted text, which is not
                    // scanned again. (Unsigned wrap-around when the
                    // replacement is empty and start is 0: ++i gives 0.)
                    i = start + replacement.Length() - 1;
                }
                break;
        }
    }
}

}  // namespace System
