#include "services/Settings.h"

#include "modules/system/RegKey.h"
#include "modules/system/String.h"

namespace {

System::String SectionPath(const char16_t* section) {
    return System::String(kSettingsRootPath) + System::String(section);
}

}  // namespace

bool ReadMachineBoolSetting(const char16_t* section, const char16_t* name, bool defaultValue) {
    const RegKey key(RegKey::LocalMachine(), SectionPath(section).CStr(), false);
    bool value = defaultValue;
    return key.GetBool(name, value) ? value : defaultValue;
}

bool ReadBoolSetting(const char16_t* section, const char16_t* name, bool defaultValue) {
    const RegKey key(RegKey::CurrentUser(), SectionPath(section).CStr(), false);
    bool value = defaultValue;
    if (key.GetBool(name, value))
        return value;
    return ReadMachineBoolSetting(section, name, defaultValue);
}

std::uint32_t ReadMachineIntSetting(const char16_t* section, const char16_t* name,
                                    std::uint32_t defaultValue) {
    const RegKey key(RegKey::LocalMachine(), SectionPath(section).CStr(), false);
    std::uint32_t value = defaultValue;
    return key.GetDword(name, value) ? value : defaultValue;
}

std::uint32_t ReadIntSetting(const char16_t* section, const char16_t* name,
                             std::uint32_t defaultValue) {
    const RegKey key(RegKey::CurrentUser(), SectionPath(section).CStr(), false);
    std::uint32_t value = defaultValue;
    if (key.GetDword(name, value))
        return value;
    return ReadMachineIntSetting(section, name, defaultValue);
}

namespace ServiceSettings {
const std::uint32_t idleTimeoutSeconds = ReadIntSetting(u"Core", u"Idle timeout", 10);
}  // namespace ServiceSettings
