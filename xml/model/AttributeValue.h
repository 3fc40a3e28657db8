// AttributeValue: the text forms of the value types of typed attributes.
//
// Parsing follows the C library's conversions without their undefined
// corners: integers stop at the first non-digit and saturate at their
// limits, texts without digits give 0, floating-point texts are read with
// the "C" locale whatever the program's locale is.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

using WideString = std::u16string;

namespace AttributeValue {

// Each returns whether the member becomes set: always, except for a bool
// text other than "true" and "false".
bool Parse(std::u16string_view text, std::int32_t& value);  // decimal, or hex after 0x/0X
bool Parse(std::u16string_view text, std::int64_t& value);  // decimal only
bool Parse(std::u16string_view text, bool& value);
bool Parse(std::u16string_view text, double& value);
bool Parse(std::u16string_view text, float& value);

// Floating-point values are written in the shortest form that reads back
// as the same value.
void Format(std::int32_t value, WideString& text);
void Format(std::int64_t value, WideString& text);
void Format(bool value, WideString& text);
void Format(double value, WideString& text);
void Format(float value, WideString& text);

}  // namespace AttributeValue
