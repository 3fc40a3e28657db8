// System::StringBuffer: the shared, counted UTF-16 text behind System::String.
#pragma once

#include <string>

#include "modules/system/Object.h"

namespace System {

class StringBuffer : public Object {
public:
    StringBuffer() = default;
    explicit StringBuffer(std::u16string text) : text(std::move(text)) {}

    // The text; std::u16string keeps the terminating null behind it.
    std::u16string text;
};

}  // namespace System
