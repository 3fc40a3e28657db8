// Result codes of the component layer: 32-bit values with the numeric
// identity of the component model's codes, since callers test some of them
// (E_NOINTERFACE, REGDB_E_CLASSNOTREG, ...). Negative means failure.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform::com {

using HResult = std::int32_t;

constexpr HResult MakeResult(std::uint32_t value) {
    return static_cast<HResult>(value);
}

inline constexpr HResult S_OK = 0;
inline constexpr HResult S_FALSE = 1;
inline constexpr HResult E_NOTIMPL = MakeResult(0x80004001);
inline constexpr HResult E_NOINTERFACE = MakeResult(0x80004002);
inline constexpr HResult E_POINTER = MakeResult(0x80004003);
inline constexpr HResult E_ABORT = MakeResult(0x80004004);
inline constexpr HResult E_FAIL = MakeResult(0x80004005);
inline constexpr HResult E_UNEXPECTED = MakeResult(0x8000FFFF);
inline constexpr HResult E_ACCESSDENIED = MakeResult(0x80070005);
inline constexpr HResult E_OUTOFMEMORY = MakeResult(0x8007000E);
inline constexpr HResult E_INVALIDARG = MakeResult(0x80070057);
inline constexpr HResult REGDB_E_CLASSNOTREG = MakeResult(0x80040154);

// File-system failures, in the "system error as result" form.
inline constexpr HResult E_FILE_NOT_FOUND = MakeResult(0x80070002);
inline constexpr HResult E_PATH_NOT_FOUND = MakeResult(0x80070003);
inline constexpr HResult E_SHARING_VIOLATION = MakeResult(0x80070020);
inline constexpr HResult E_FILE_EXISTS = MakeResult(0x80070050);
inline constexpr HResult E_DISK_FULL = MakeResult(0x80070070);

// Codes of the parser components (interface-specific range).
inline constexpr HResult XML_E_PARSE = MakeResult(0x80040201);
inline constexpr HResult XML_E_LIMIT = MakeResult(0x80040202);
inline constexpr HResult XML_E_ENCODING = MakeResult(0x80040203);
inline constexpr HResult XML_E_INVALID_CHAR = MakeResult(0x80040204);
inline constexpr HResult XML_E_XPATH = MakeResult(0x80040205);

constexpr bool Succeeded(HResult hr) {
    return hr >= 0;
}
constexpr bool Failed(HResult hr) {
    return hr < 0;
}

// The short English text of a known code; empty for codes without one.
std::u16string_view ResultText(HResult hr);

// ResultText, or "Unknown error 0x8XXXXXXX." when there is none.
std::u16string DescribeResult(HResult hr);

// The result for an errno value of a failed file or stream operation.
HResult ResultFromErrno(int error);

}  // namespace platform::com
