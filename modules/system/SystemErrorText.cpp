#include "modules/system/SystemErrorText.h"

#include "modules/system/Encoder.h"
#include "platform/SystemError.h"

namespace System {

String GetSystemErrorText(std::int32_t code) {
    std::u16string text = Encoder::NarrowToUtf16(platform::SystemErrorText(code));
    while (!text.empty() && String::IsWhiteSpace(text.back()))
        text.pop_back();
    if (text.empty())
        return String(u"Unknown error.");
    return String(std::move(text));
}

String GetLastErrorText() {
    return GetSystemErrorText(platform::GetLastError());
}

}  // namespace System
