// Costs of the registry hives: a settings import of 10,000 values (the
// settings tool's load, to compare with the sqlite3 shell importing the same
// rows in one transaction), the reads a program makes at start-up, and one
// write with a transaction of its own.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/RegistryHive.h"

namespace {

using platform::RegistryHive;
using platform::RegistryKeyHandle;

namespace fs = std::filesystem;

std::u16string Wide(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

// A temporary folder with both hives pointed into it for one benchmark.
class TemporaryHives {
public:
    TemporaryHives() {
        std::string pattern = (fs::temp_directory_path() / "corekit-hive-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        dir_ = pattern;
        Use("");
    }
    ~TemporaryHives() {
        platform::ResetRegistryConnections();
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    // Points both hives at files named after `tag` and forgets the old ones.
    void Use(const std::string& tag) {
        machine_ = dir_ + "/machine" + tag + ".hive";
        setenv(platform::kMachineHiveVariable, machine_.c_str(), 1);
        setenv(platform::kUserHiveVariable, (dir_ + "/user" + tag + ".hive").c_str(), 1);
        platform::ResetRegistryConnections();
    }
    const std::string& Machine() const { return machine_; }

private:
    std::string dir_;
    std::string machine_;
};

struct Setting {
    std::u16string key;
    std::u16string name;
    bool dword;
};

// 10,000 distinct settings over 100 key paths, half strings and half DWORDs,
// in the key order the settings tool writes them.
std::vector<Setting> ImportRows() {
    std::vector<Setting> rows;
    rows.reserve(10000);
    for (int k = 0; k < 100; ++k) {
        for (int v = 0; v < 100; ++v) {
            rows.push_back({Wide("SOFTWARE\\Vendor\\Section" + std::to_string(k)),
                            Wide("Value" + std::to_string(v)), v % 2 == 1});
        }
    }
    return rows;
}

void BM_HiveImportOfTenThousandSettings(benchmark::State& state) {
    TemporaryHives hives;
    const std::vector<Setting> rows = ImportRows();
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        hives.Use(std::to_string(round++));
        state.ResumeTiming();
        platform::RegistryWriteBatch batch(RegistryHive::Machine);
        for (const Setting& row : rows) {
            // Open and close the key for every value, as the settings tool does.
            RegistryKeyHandle key = RegistryKeyHandle::Open(
                RegistryKeyHandle::Root(RegistryHive::Machine), row.key, true, nullptr);
            const int rc = row.dword ? key.SetDword(row.name, 0x1E)
                                     : key.SetString(row.name, u"C:\\Fonts\\Default");
            if (rc != platform::kRegistryOk) {
                state.SkipWithError("write failed");
                break;
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(rows.size()));
}
BENCHMARK(BM_HiveImportOfTenThousandSettings)->Unit(benchmark::kMillisecond);

// Four settings, each looked up in the user hive first and then in the
// machine hive, on connections opened afresh as at program start-up.
void BM_HiveStartUpReads(benchmark::State& state) {
    TemporaryHives hives;
    const char16_t* sections[] = {u"Core", u"LXml", u"LXml", u"Core"};
    const char16_t* names[] = {u"Log Trace Diagnostics", u"Enable Validation", u"Max Document Size",
                               u"Idle timeout"};
    for (const RegistryHive hive : {RegistryHive::User, RegistryHive::Machine}) {
        for (const char16_t* section : {u"Core", u"LXml"}) {
            RegistryKeyHandle key =
                RegistryKeyHandle::Open(RegistryKeyHandle::Root(hive),
                                        u"SOFTWARE\\Vendor\\" + std::u16string(section), true);
            key.SetString(u"Unrelated", u"value");
        }
    }
    RegistryKeyHandle::Open(RegistryKeyHandle::Root(RegistryHive::Machine),
                            u"SOFTWARE\\Vendor\\Core", false)
        .SetDword(u"Idle timeout", 20);
    for (auto _ : state) {
        platform::ResetRegistryConnections();
        int found = 0;
        for (int i = 0; i < 4; ++i) {
            for (const RegistryHive hive : {RegistryHive::User, RegistryHive::Machine}) {
                RegistryKeyHandle key = RegistryKeyHandle::Open(
                    RegistryKeyHandle::Root(hive),
                    u"SOFTWARE\\Vendor\\" + std::u16string(sections[i]), false);
                platform::RegistryValue value;
                if (key.QueryValue(names[i], value) == platform::kRegistryOk) {
                    ++found;
                    break;
                }
            }
        }
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_HiveStartUpReads)->Unit(benchmark::kMicrosecond);

// One value written in a transaction of its own (synced to disk).
void BM_HiveSingleWrite(benchmark::State& state) {
    TemporaryHives hives;
    RegistryKeyHandle key = RegistryKeyHandle::Open(RegistryKeyHandle::Root(RegistryHive::Machine),
                                                    u"SOFTWARE\\Vendor\\Core", true);
    std::uint32_t n = 0;
    for (auto _ : state) {
        if (key.SetDword(u"Counter", ++n) != platform::kRegistryOk) {
            state.SkipWithError("write failed");
            break;
        }
    }
}
BENCHMARK(BM_HiveSingleWrite)->Unit(benchmark::kMicrosecond);

}  // namespace
