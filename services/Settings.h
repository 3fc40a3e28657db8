// Settings: the framework's switches, read once during start-up from the
// registry, below the root SOFTWARE\Tamsil\ in a section per reader ("Core",
// "LXml"): the user hive first, then the machine hive, then the default.
// A missing, unreadable or malformed value silently takes its default; a
// change takes effect at the next start.
#pragma once

#include <cstdint>

inline constexpr const char16_t* kSettingsRootPath = u"SOFTWARE\\Tamsil\\";

// A string value "True" or "False" (any letter case).
bool ReadBoolSetting(const char16_t* section, const char16_t* name, bool defaultValue);
bool ReadMachineBoolSetting(const char16_t* section, const char16_t* name, bool defaultValue);
// A DWORD value.
std::uint32_t ReadIntSetting(const char16_t* section, const char16_t* name,
                             std::uint32_t defaultValue);
std::uint32_t ReadMachineIntSetting(const char16_t* section, const char16_t* name,
                                    std::uint32_t defaultValue);

// The settings of the services, read during static initialisation. The
// readers elsewhere in the framework ("Log Trace Diagnostics" has three)
// keep copies of their own, declared next to the code they control.
namespace ServiceSettings {
// "Core" / "Idle timeout", seconds, default 10: the idle worker's period.
extern const std::uint32_t idleTimeoutSeconds;
}  // namespace ServiceSettings
