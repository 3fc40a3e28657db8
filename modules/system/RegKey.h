// RegKey: one open registry key.
//
// Opening or creating happens at construction; failure leaves the object
// without a handle, and then every read reports failure and every write has
// no effect. Nothing raises except OpenSubKey.
#pragma once

#include <cstdint>

#include "modules/system/String.h"
#include "platform/RegistryHive.h"
#include "xml/model/RefObject.h"
#include "xml/model/SmartPtr.h"

class RegKey : public RefObject {
public:
    using Handle = platform::RegistryKeyHandle;

    // The roots of the two hives.
    static Handle LocalMachine() { return Handle::Root(platform::RegistryHive::Machine); }
    static Handle CurrentUser() { return Handle::Root(platform::RegistryHive::User); }

    // Opens `subKey` (backslash-separated, may be null) below `parent`; with
    // `create`, missing keys along the path are created.
    RegKey(const Handle& parent, const char16_t* subKey, bool create);
    ~RegKey() override = default;

    const System::String& GetName() const noexcept { return name_; }
    bool IsOpen() const noexcept { return handle_.IsOpen(); }
    const Handle& GetHandle() const noexcept { return handle_; }

    // A string value: the text and its null unit, 2 * (length + 1) bytes.
    bool SetString(const char16_t* valueName, const System::String& text);
    bool SetDword(const char16_t* valueName, std::uint32_t value);

    // Any value's bytes taken as UTF-16 text, up to the first null unit. A
    // value of 0 bytes leaves `text` unchanged and succeeds.
    bool GetString(const char16_t* valueName, System::String& text) const;
    // A DWORD value of at most 4 bytes.
    bool GetDword(const char16_t* valueName, std::uint32_t& value) const;
    // A string value "True" or "False" (letters A to Z in any case) of at
    // most 64 units with its null; any other text leaves `value` unchanged.
    bool GetBool(const char16_t* valueName, bool& value) const;

    std::uint32_t GetSubKeyCount() const;
    // The direct subkey at `index`, opened without the create option. An
    // index past the last subkey raises "Can't enumerate registry key
    // content: %s.".
    SmartPtr<RegKey> OpenSubKey(std::uint32_t index) const;

    // Deletes parent\subKey with all its subkeys and values; true when
    // nothing is left (also when the key did not exist).
    static bool DeleteTree(const Handle& parent, const char16_t* subKey);

private:
    Handle handle_;
    System::String name_;
};
