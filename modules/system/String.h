// System::String: a copy-on-write handle on a shared System::StringBuffer.
//
// Copies share one buffer (a pointer copy and a count increment); a string
// about to change takes a buffer of its own first. A string may have no
// buffer at all: the null string, which reads as empty text but sorts before
// every other string and differs from an empty one.
#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "modules/system/Object.h"
#include "modules/system/StringBuffer.h"
#include "xml/model/SmartPtr.h"

namespace System {

class String : public Object {
public:
    // The null string.
    String() noexcept = default;
    String(std::nullptr_t) noexcept {}
    // Null-terminated UTF-16 text; an empty text gives an empty, non-null
    // string, a null pointer the null string.
    String(const char16_t* text);
    // Exactly `length` units; a null pointer or a length of 0 gives the null
    // string.
    String(const char16_t* text, std::size_t length);
    // Always non-null (empty when the text is empty).
    explicit String(const std::u16string& text);
    explicit String(std::u16string&& text);
    // Narrow text, one byte per code unit of the same value. The pointer form
    // gives the null string for a null pointer or an empty text; the byte
    // string form is always non-null.
    String(const char* narrow);
    explicit String(const std::string& narrow);

    String(const String& other) noexcept : Object(), buffer_(other.buffer_) {}
    String(String&& other) noexcept : Object(), buffer_(std::move(other.buffer_)) {}
    String& operator=(const String& other) {
        buffer_ = other.buffer_;
        return *this;
    }
    String& operator=(String&& other) noexcept {
        buffer_ = std::move(other.buffer_);
        return *this;
    }
    ~String() override = default;

    // Queries: none changes the text or unshares the buffer.
    std::uint32_t Length() const noexcept {
        return buffer_ ? static_cast<std::uint32_t>(buffer_.Get()->text.size()) : 0;
    }
    bool IsNull() const noexcept { return !buffer_; }
    const char16_t* CStr() const noexcept {
        return buffer_ ? buffer_.Get()->text.c_str() : kEmptyText;
    }
    std::u16string_view View() const noexcept {
        return buffer_ ? std::u16string_view(buffer_.Get()->text) : std::u16string_view();
    }
    std::int32_t IndexOf(char16_t unit) const noexcept;
    std::int32_t IndexOf(const String& text, std::int32_t start = 0) const noexcept;
    std::int32_t LastIndexOf(char16_t unit) const noexcept;
    // Units from `start` to `end`, both inclusive; start == end + 1 gives an
    // empty string. Raises IndexOutOfBoundsException on the null string,
    // when end is not below the length (compared unsigned, so -1 fails) or
    // when start is beyond end + 1.
    String Substring(std::int32_t start, std::int32_t end) const;
    // n separators always give n + 1 parts; the null string gives one null
    // string.
    std::vector<String> Split(char16_t separator) const;

    // Changing operations: each makes the buffer unique first.
    char16_t& At(std::int32_t index);
    String& Append(char16_t unit);
    String& Append(const String& text);
    String& Replace(std::int32_t start, std::int32_t count, const String& with);
    // Removes white space at both ends in place; a string of white space only
    // (or an empty one) becomes the null string. Raises
    // NullPointerException on the null string.
    String& Trim();
    // Takes a private copy of a shared buffer. Raises NullPointerException
    // on the null string.
    void MakeUnique();

    // Null string: equal only to a null pointer, and less than everything.
    bool operator==(const char16_t* text) const noexcept;
    bool operator<(const char16_t* text) const noexcept;

    friend String operator+(const String& left, const String& right);
    // Strings compare by their whole text (embedded nulls included), unsigned
    // code unit by code unit; the null string equals only itself and sorts
    // first.
    friend bool operator==(const String& a, const String& b) noexcept;
    friend std::strong_ordering operator<=>(const String& a, const String& b) noexcept;

    static bool IsWhiteSpace(char16_t unit) noexcept {
        return unit == u' ' || (unit >= u'\t' && unit <= u'\r');
    }

private:
    static constexpr char16_t kEmptyText[1] = {0};
    std::u16string& Text() { return buffer_.Get()->text; }

    SmartPtr<StringBuffer> buffer_;
};

}  // namespace System
