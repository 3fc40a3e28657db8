// The start-up cost of the settings: the six reads that every program makes
// ("Log Trace Diagnostics" three times, "Enable Validation", "Max Document
// Size", "Idle timeout"), each iteration from cold connections to both hive
// files, as a new program meets them. Target: well under 5 ms.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "modules/system/RegKey.h"
#include "platform/RegistryHive.h"
#include "services/Settings.h"

namespace {

void ReadStartUpSettings(benchmark::State& state) {
    const auto dir = std::filesystem::temp_directory_path() / "corekit-settings-bench";
    std::filesystem::remove_all(dir);
    setenv("COREKIT_MACHINE_HIVE", (dir / "machine.hive").c_str(), 1);
    setenv("COREKIT_USER_HIVE", (dir / "user.hive").c_str(), 1);
    platform::ResetRegistryConnections();
    {
        // The user overrides one value; the machine hive holds the rest.
        RegKey machineCore(RegKey::LocalMachine(), u"SOFTWARE\\Tamsil\\Core", true);
        machineCore.SetString(u"Log Trace Diagnostics", System::String(u"False"));
        machineCore.SetDword(u"Idle timeout", 20);
        RegKey machineXml(RegKey::LocalMachine(), u"SOFTWARE\\Tamsil\\LXml", true);
        machineXml.SetString(u"Enable Validation", System::String(u"True"));
        machineXml.SetDword(u"Max Document Size", 1000000);
        RegKey userXml(RegKey::CurrentUser(), u"SOFTWARE\\Tamsil\\LXml", true);
        userXml.SetString(u"Enable Validation", System::String(u"False"));
    }
    for (auto _ : state) {
        platform::ResetRegistryConnections();
        for (int i = 0; i < 3; ++i) {
            benchmark::DoNotOptimize(ReadBoolSetting(u"Core", u"Log Trace Diagnostics", false));
        }
        benchmark::DoNotOptimize(ReadBoolSetting(u"LXml", u"Enable Validation", true));
        benchmark::DoNotOptimize(ReadIntSetting(u"LXml", u"Max Document Size", 0));
        benchmark::DoNotOptimize(ReadIntSetting(u"Core", u"Idle timeout", 10));
    }
    platform::ResetRegistryConnections();
    std::filesystem::remove_all(dir);
}
BENCHMARK(ReadStartUpSettings)->Unit(benchmark::kMillisecond);

}  // namespace
