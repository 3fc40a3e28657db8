// FormatArgument: one argument of the printf-style formatter, with its kind
// kept so that the formatter never guesses. Arguments of a type the
// formatter does not know do not compile.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "modules/system/String.h"

struct FormatArgument {
    enum class Kind : std::uint8_t { Signed, Unsigned, Floating, Text, Narrow };

    Kind kind = Kind::Signed;
    std::uint8_t bits = 32;  // width of an integer argument's type
    union {
        std::int64_t s;
        std::uint64_t u;
        double d;
    } number{};
    const void* text = nullptr;  // Text: char16_t units; Narrow: bytes
    std::size_t length = 0;

    static FormatArgument FromText(std::u16string_view view) {
        FormatArgument a;
        a.kind = Kind::Text;
        a.text = view.data();
        a.length = view.size();
        return a;
    }
};

template <class T>
FormatArgument MakeFormatArgument(const T& value) {
    using U = std::remove_cvref_t<T>;
    FormatArgument a;
    if constexpr (std::is_enum_v<U>) {
        return MakeFormatArgument(static_cast<std::underlying_type_t<U>>(value));
    } else if constexpr (std::is_same_v<U, bool>) {
        a.kind = FormatArgument::Kind::Unsigned;
        a.bits = 8;
        a.number.u = value ? 1 : 0;
    } else if constexpr (std::is_integral_v<U> && std::is_signed_v<U> && !std::is_same_v<U, char>) {
        a.kind = FormatArgument::Kind::Signed;
        a.bits = sizeof(U) * 8;
        a.number.s = value;
    } else if constexpr (std::is_integral_v<U>) {
        // Unsigned integers and character types (char, char16_t, ...).
        a.kind = FormatArgument::Kind::Unsigned;
        a.bits = sizeof(U) * 8;
        a.number.u = static_cast<std::make_unsigned_t<U>>(value);
    } else if constexpr (std::is_floating_point_v<U>) {
        a.kind = FormatArgument::Kind::Floating;
        a.number.d = static_cast<double>(value);
    } else if constexpr (std::is_convertible_v<const T&, const char16_t*>) {
        const char16_t* p = value;
        if (!p)
            return FormatArgument::FromText(u"(null)");
        return FormatArgument::FromText(p);
    } else if constexpr (std::is_convertible_v<const T&, const char*>) {
        const char* p = value;
        if (!p)
            p = "(null)";
        a.kind = FormatArgument::Kind::Narrow;
        a.text = p;
        a.length = std::char_traits<char>::length(p);
    } else if constexpr (std::is_same_v<U, System::String>) {
        return FormatArgument::FromText(value.View());
    } else if constexpr (std::is_convertible_v<const T&, std::u16string_view>) {
        return FormatArgument::FromText(std::u16string_view(value));
    } else if constexpr (std::is_same_v<U, std::string> || std::is_same_v<U, std::string_view>) {
        a.kind = FormatArgument::Kind::Narrow;
        a.text = value.data();
        a.length = value.size();
    } else {
        static_assert(sizeof(U) == 0, "this type cannot be formatted");
    }
    return a;
}
