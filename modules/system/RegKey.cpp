#include "modules/system/RegKey.h"

#include <cerrno>
#include <string_view>

#include "modules/system/SystemErrorText.h"
#include "platform/SystemError.h"
#include "services/CoreError.h"

namespace {

constexpr std::size_t kBoolAreaBytes = 128;
constexpr std::size_t kDwordAreaBytes = 4;

std::u16string_view NameView(const char16_t* name) {
    return name ? std::u16string_view(name) : std::u16string_view();
}

// Records a registry result as the thread's last error, in the terms of
// the system error texts. Returns whether it was a success.
bool Record(int code) {
    int error = code;
    switch (code) {
        case platform::kRegistryOk:
            return true;
        case platform::kRegistryNotFound:
            error = ENOENT;
            break;
        case platform::kRegistryAccessDenied:
            error = EACCES;
            break;
        case platform::kRegistryInvalidName:
            error = EINVAL;
            break;
        case platform::kRegistryDiskFull:
            error = ENOSPC;
            break;
        case platform::kRegistryBusy:
            error = EBUSY;
            break;
        case platform::kRegistryCorrupt:
            error = EILSEQ;
            break;
        case platform::kRegistryIoFailed:
            error = EIO;
            break;
        case platform::kRegistryNoMoreItems:
            error = platform::kErrorNoMoreItems;
            break;
        case platform::kRegistryInvalidKey:
            error = platform::kErrorInvalidKey;
            break;
        default:
            break;
    }
    platform::SetLastError(error);
    return false;
}

// The units of UTF-16LE bytes up to the first null unit.
std::u16string UnitsOf(const std::vector<std::uint8_t>& data) {
    std::u16string text;
    text.reserve(data.size() / 2);
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
        const char16_t unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (unit == 0)
            break;
        text.push_back(unit);
    }
    return text;
}

bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto fold = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
        if (fold(a[i]) != fold(b[i]))
            return false;
    }
    return true;
}

}  // namespace

RegKey::RegKey(const Handle& parent, const char16_t* subKey, bool create)
    : name_(subKey ? subKey : u"") {
    int code = 0;
    handle_ = Handle::Open(parent, NameView(subKey), create, &code);
    Record(code);
}

bool RegKey::SetString(const char16_t* valueName, const System::String& text) {
    if (!handle_.IsOpen())
        return Record(platform::kRegistryInvalidKey);
    return Record(handle_.SetString(NameView(valueName), text.View()));
}

bool RegKey::SetDword(const char16_t* valueName, std::uint32_t value) {
    if (!handle_.IsOpen())
        return Record(platform::kRegistryInvalidKey);
    return Record(handle_.SetDword(NameView(valueName), value));
}

bool RegKey::GetString(const char16_t* valueName, System::String& text) const {
    if (!handle_.IsOpen())
        return false;
    platform::RegistryValueInfo info;
    if (!Record(handle_.QueryValueInfo(NameView(valueName), info)))
        return false;
    if (info.size == 0)
        return true;
    // A single byte holds no code unit at all: not a text.
    if (info.size == 1)
        return false;
    platform::RegistryValue value;
    if (!Record(handle_.QueryValue(NameView(valueName), value)))
        return false;
    text = System::String(UnitsOf(value.data));
    return true;
}

bool RegKey::GetDword(const char16_t* valueName, std::uint32_t& value) const {
    if (!handle_.IsOpen())
        return false;
    platform::RegistryValue stored;
    if (!Record(handle_.QueryValue(NameView(valueName), stored)))
        return false;
    if (stored.data.size() > kDwordAreaBytes) {
        Record(platform::kRegistryInvalidName);
        return false;
    }
    if (stored.type != platform::kRegistryDword)
        return false;
    std::uint32_t number = 0;
    for (std::size_t i = 0; i < stored.data.size(); ++i)
        number |= std::uint32_t(stored.data[i]) << (8 * i);
    value = number;
    return true;
}

bool RegKey::GetBool(const char16_t* valueName, bool& value) const {
    if (!handle_.IsOpen())
        return false;
    platform::RegistryValue stored;
    if (!Record(handle_.QueryValue(NameView(valueName), stored)))
        return false;
    if (stored.data.size() > kBoolAreaBytes || stored.type != platform::kRegistryString)
        return false;
    const std::u16string text = UnitsOf(stored.data);
    if (EqualsIgnoringAsciiCase(text, u"True")) {
        value = true;
        return true;
    }
    if (EqualsIgnoringAsciiCase(text, u"False")) {
        value = false;
        return true;
    }
    return false;
}

std::uint32_t RegKey::GetSubKeyCount() const {
    std::uint32_t count = 0;
    if (!handle_.IsOpen() || !Record(handle_.SubKeyCount(count)))
        return 0;
    return count;
}

SmartPtr<RegKey> RegKey::OpenSubKey(std::uint32_t index) const {
    std::u16string name;
    const int code =
        handle_.IsOpen() ? handle_.EnumSubKey(index, name) : platform::kRegistryInvalidKey;
    if (!Record(code)) {
        RaiseCoreError(u"Can't enumerate registry key content: %s.", System::GetLastErrorText());
    }
    return SmartPtr<RegKey>(new RegKey(handle_, name.c_str(), false));
}

bool RegKey::DeleteTree(const Handle& parent, const char16_t* subKey) {
    int code = 0;
    Handle key = Handle::Open(parent, NameView(subKey), false, &code);
    if (!key.IsOpen())
        return true;  // nothing to delete
    std::u16string previous;
    for (bool first = true;; first = false) {
        std::u16string child;
        code = key.EnumSubKey(0, child);
        if (code != platform::kRegistryOk)
            break;
        // A subkey that is still first after it was deleted could not be
        // opened: stop instead of trying it forever.
        if (!first && child == previous)
            return false;
        if (!DeleteTree(key, child.c_str()))
            return false;
        previous = std::move(child);
    }
    if (code != platform::kRegistryNoMoreItems && code != platform::kRegistryInvalidKey) {
        Record(code);
        return false;
    }
    key.Close();
    return Record(Handle::DeleteKey(parent, NameView(subKey)));
}
