#include "modules/system/String.h"

#include <algorithm>

#include "modules/system/Encoder.h"

namespace System {

namespace {

std::size_t TextLength(const char16_t* text) noexcept {
    return std::char_traits<char16_t>::length(text);
}

// Unsigned code-unit comparison; a proper prefix is less.
std::strong_ordering CompareUnits(std::u16string_view a, std::u16string_view b) noexcept {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (a[i] != b[i]) {
            return static_cast<std::uint16_t>(a[i]) <=> static_cast<std::uint16_t>(b[i]);
        }
    }
    return a.size() <=> b.size();
}

}  // namespace

String::String(const char16_t* text) {
    if (text)
        buffer_ = new StringBuffer(std::u16string(text, TextLength(text)));
}

String::String(const char16_t* text, std::size_t length) {
    if (text && length > 0)
        buffer_ = new StringBuffer(std::u16string(text, length));
}

String::String(const std::u16string& text) : buffer_(new StringBuffer(text)) {}

String::String(std::u16string&& text) : buffer_(new StringBuffer(std::move(text))) {}

String::String(const char* narrow) {
    if (narrow && *narrow)
        buffer_ = new StringBuffer(Encoder::NarrowToUtf16(narrow));
}

String::String(const std::string& narrow)
    : buffer_(new StringBuffer(Encoder::NarrowToUtf16(narrow.c_str()))) {}

std::int32_t String::IndexOf(char16_t unit) const noexcept {
    const std::size_t pos = View().find(unit);
    return pos == std::u16string_view::npos ? -1 : static_cast<std::int32_t>(pos);
}

std::int32_t String::IndexOf(const String& text, std::int32_t start) const noexcept {
    if (IsNull() || start < 0 || static_cast<std::uint32_t>(start) > Length())
        return -1;
    const std::size_t pos = View().find(text.View(), static_cast<std::size_t>(start));
    return pos == std::u16string_view::npos ? -1 : static_cast<std::int32_t>(pos);
}

std::int32_t String::LastIndexOf(char16_t unit) const noexcept {
    const std::size_t pos = View().rfind(unit);
    return pos == std::u16string_view::npos ? -1 : static_cast<std::int32_t>(pos);
}

String String::Substring(std::int32_t start, std::int32_t end) const {
    const auto ustart = static_cast<std::uint32_t>(start);
    const auto uend = static_cast<std::uint32_t>(end);
    if (IsNull() || uend >= Length() || ustart > uend + 1) {
        COREKIT_RAISE(IndexOutOfBoundsException());
    }
    return String(std::u16string(View().substr(ustart, uend + 1 - ustart)));
}

std::vector<String> String::Split(char16_t separator) const {
    std::vector<String> parts;
    if (IsNull()) {
        parts.emplace_back();
        return parts;
    }
    const std::u16string_view text = View();
    std::size_t from = 0;
    for (;;) {
        const std::size_t pos = text.find(separator, from);
        if (pos == std::u16string_view::npos)
            break;
        parts.emplace_back(std::u16string(text.substr(from, pos - from)));
        from = pos + 1;
    }
    if (from == 0) {
        parts.push_back(*this);
    } else {
        parts.emplace_back(std::u16string(text.substr(from)));
    }
    return parts;
}

char16_t& String::At(std::int32_t index) {
    if (IsNull() || index < 0 || static_cast<std::uint32_t>(index) >= Length()) {
        COREKIT_RAISE(IndexOutOfBoundsException());
    }
    MakeUnique();
    return Text()[static_cast<std::size_t>(index)];
}

String& String::Append(char16_t unit) {
    if (IsNull()) {
        buffer_ = new StringBuffer(std::u16string(1, unit));
    } else {
        MakeUnique();
        Text().push_back(unit);
    }
    return *this;
}

String& String::Append(const String& text) {
    if (IsNull()) {
        buffer_ = new StringBuffer(std::u16string(text.View()));
    } else if (buffer_ == text.buffer_) {
        // Appending a string to itself (or to a sharer of its buffer).
        std::u16string copy(text.View());
        MakeUnique();
        Text() += copy;
    } else {
        MakeUnique();
        Text().append(text.View());
    }
    return *this;
}

String operator+(const String& left, const String& right) {
    String result(left);
    result.Append(right);
    return result;
}

String& String::Replace(std::int32_t start, std::int32_t count, const String& with) {
    if (IsNull())
        return *this;
    if (static_cast<std::uint32_t>(start) >= Length()) {
        COREKIT_RAISE(IndexOutOfBoundsException());
    }
    if (count == 0)
        return *this;
    const std::u16string insert(with.View());  // `with` may share this buffer
    MakeUnique();
    Text().replace(static_cast<std::size_t>(start), static_cast<std::uint32_t>(count), insert);
    return *this;
}

String& String::Trim() {
    MakeUnique();
    const std::u16string_view text = View();
    std::size_t first = 0;
    while (first < text.size() && IsWhiteSpace(text[first]))
        ++first;
    std::size_t last = text.size();
    while (last > first && IsWhiteSpace(text[last - 1]))
        --last;
    if (first == last) {
        buffer_.Reset();
    } else if (first > 0 || last < text.size()) {
        std::u16string& own = Text();
        own.erase(last);
        own.erase(0, first);
    }
    return *this;
}

void String::MakeUnique() {
    // Through the checked access, so that the null string raises
    // NullPointerException recorded against the smart pointer.
    if (buffer_->GetRefCount() > 1) {
        buffer_ = new StringBuffer(buffer_.Get()->text);
    }
}

bool String::operator==(const char16_t* text) const noexcept {
    if (IsNull() || text == nullptr)
        return IsNull() && text == nullptr;
    return View() == std::u16string_view(text, TextLength(text));
}

bool String::operator<(const char16_t* text) const noexcept {
    if (IsNull())
        return true;
    if (text == nullptr)
        return false;
    return CompareUnits(View(), std::u16string_view(text, TextLength(text))) < 0;
}

bool operator==(const String& a, const String& b) noexcept {
    if (a.IsNull() || b.IsNull())
        return a.IsNull() && b.IsNull();
    return a.View() == b.View();
}

std::strong_ordering operator<=>(const String& a, const String& b) noexcept {
    if (a.IsNull() || b.IsNull())
        return !a.IsNull() <=> !b.IsNull();
    return CompareUnits(a.View(), b.View());
}

}  // namespace System
