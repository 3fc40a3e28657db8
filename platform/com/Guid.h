// 128-bit identifiers of interfaces and component classes, written in the
// registry text form "{7C6E29BC-8B8B-4C3D-859E-AF6CD158BE0F}".
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform::com {

struct Guid {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::array<std::uint8_t, 8> data4{};

    // Parses "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (braces optional, hex
    // digits in either case). Anything else gives no value.
    static constexpr std::optional<Guid> Parse(std::string_view text);

    // The braced upper-case text form.
    std::string ToString() const;
    std::u16string ToU16String() const;

    friend constexpr bool operator==(const Guid&, const Guid&) = default;
    friend constexpr auto operator<=>(const Guid&, const Guid&) = default;
};

namespace detail {

constexpr int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace detail

constexpr std::optional<Guid> Guid::Parse(std::string_view text) {
    if (text.size() == 38) {
        if (text.front() != '{' || text.back() != '}')
            return std::nullopt;
        text = text.substr(1, 36);
    }
    if (text.size() != 36)
        return std::nullopt;
    std::uint8_t bytes[16] = {};
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (text[i] != '-')
                return std::nullopt;
            ++i;
            continue;
        }
        const int hi = detail::HexValue(text[i]);
        const int lo = detail::HexValue(text[i + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        bytes[count++] = static_cast<std::uint8_t>(hi * 16 + lo);
        i += 2;
    }
    Guid g;
    g.data1 = (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
              (std::uint32_t{bytes[2]} << 8) | bytes[3];
    g.data2 = static_cast<std::uint16_t>((bytes[4] << 8) | bytes[5]);
    g.data3 = static_cast<std::uint16_t>((bytes[6] << 8) | bytes[7]);
    for (std::size_t i = 0; i < 8; ++i)
        g.data4[i] = bytes[8 + i];
    return g;
}

// A GUID literal checked at compile time: MakeGuid("{...}").
consteval Guid MakeGuid(std::string_view text) {
    const auto g = Guid::Parse(text);
    if (!g)
        throw "malformed GUID literal";
    return *g;
}

struct GuidHash {
    std::size_t operator()(const Guid& g) const noexcept {
        std::uint64_t h = (std::uint64_t{g.data1} << 32) ^ (std::uint64_t{g.data2} << 16) ^ g.data3;
        for (auto b : g.data4)
            h = h * 1099511628211ull ^ b;
        return static_cast<std::size_t>(h);
    }
};

}  // namespace platform::com
