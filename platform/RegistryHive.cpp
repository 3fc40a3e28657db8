#include "platform/RegistryHive.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <mutex>

#include "platform/HiveDatabase.h"
#include "platform/RegistryName.h"
#include "platform/Utf8.h"

namespace platform {

namespace {

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') {
        return home;
    }
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr) {
        return found->pw_dir;
    }
    return {};
}

// One database object per hive file and process. Never destroyed: settings
// are read during static initialisation and may be read during static
// destruction, in any order relative to this table.
struct Connections {
    std::mutex mutex;
    std::map<std::string, std::shared_ptr<HiveDatabase>> by_path;
};

Connections& GetConnections() {
    static Connections* connections = new Connections;
    return *connections;
}

std::shared_ptr<HiveDatabase> DatabaseFor(RegistryHive hive) {
    std::string path = RegistryHivePath(hive);
    Connections& connections = GetConnections();
    std::lock_guard<std::mutex> lock(connections.mutex);
    std::shared_ptr<HiveDatabase>& database = connections.by_path[path];
    if (database == nullptr) {
        database = std::make_shared<HiveDatabase>(std::move(path), hive == RegistryHive::User);
    }
    return database;
}

HiveName MakeName(std::u16string_view name) {
    return {ToUtf8(name), ToUtf8(FoldRegistryName(name))};
}

bool MakeKeyPath(std::u16string_view path, std::vector<HiveName>& names) {
    std::vector<std::u16string_view> parts;
    if (!SplitRegistryPath(path, parts)) {
        return false;
    }
    names.clear();
    names.reserve(parts.size());
    for (const std::u16string_view part : parts) {
        names.push_back(MakeName(part));
    }
    return true;
}

}  // namespace

std::string RegistryHivePath(RegistryHive hive) {
    const char* variable = hive == RegistryHive::Machine ? kMachineHiveVariable : kUserHiveVariable;
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') {
        return value;
    }
    if (hive == RegistryHive::Machine) {
        return kDefaultMachineHivePath;
    }
    // XDG: a relative XDG_CONFIG_HOME is invalid and ignored.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') {
        return std::string(config) + "/corekit/user.hive";
    }
    const std::string home = HomeFolder();
    if (home.empty()) {
        return {};
    }
    return home + "/.config/corekit/user.hive";
}

void ResetRegistryConnections() {
    Connections& connections = GetConnections();
    std::lock_guard<std::mutex> lock(connections.mutex);
    connections.by_path.clear();
}

// ---------------------------------------------------------------------------
// RegistryKeyHandle

RegistryKeyHandle::RegistryKeyHandle() noexcept = default;
RegistryKeyHandle::~RegistryKeyHandle() = default;

RegistryKeyHandle::RegistryKeyHandle(std::shared_ptr<HiveDatabase> db, std::int64_t id,
                                     std::uint64_t generation) noexcept
    : db_(std::move(db)), id_(id), generation_(generation) {}

RegistryKeyHandle::RegistryKeyHandle(RegistryKeyHandle&& other) noexcept
    : db_(std::move(other.db_)), id_(other.id_), generation_(other.generation_) {
    other.Close();
}

RegistryKeyHandle& RegistryKeyHandle::operator=(RegistryKeyHandle&& other) noexcept {
    if (this != &other) {
        db_ = std::move(other.db_);
        id_ = other.id_;
        generation_ = other.generation_;
        other.Close();
    }
    return *this;
}

void RegistryKeyHandle::Close() noexcept {
    db_.reset();
    id_ = 0;
    generation_ = 0;
}

RegistryKeyHandle RegistryKeyHandle::Root(RegistryHive hive) {
    std::shared_ptr<HiveDatabase> db = DatabaseFor(hive);
    const HiveKeyRef root = db->Root();
    return RegistryKeyHandle(std::move(db), root.id, root.generation);
}

RegistryKeyHandle RegistryKeyHandle::Open(const RegistryKeyHandle& parent, std::u16string_view path,
                                          bool create, int* code) {
    RegistryKeyHandle key;
    std::vector<HiveName> names;
    int rc = kRegistryOk;
    if (parent.db_ == nullptr) {
        rc = kRegistryInvalidKey;
    } else if (!MakeKeyPath(path, names)) {
        rc = kRegistryInvalidName;
    } else {
        HiveKeyRef ref;
        rc = parent.db_->OpenKey({parent.id_, parent.generation_}, names, create, ref);
        if (rc == kRegistryOk) {
            key = RegistryKeyHandle(parent.db_, ref.id, ref.generation);
        }
    }
    if (code != nullptr) {
        *code = rc;
    }
    return key;
}

int RegistryKeyHandle::DeleteKey(const RegistryKeyHandle& parent, std::u16string_view path) {
    if (parent.db_ == nullptr) {
        return kRegistryInvalidKey;
    }
    std::vector<HiveName> names;
    if (!MakeKeyPath(path, names) || names.empty()) {
        return kRegistryInvalidName;
    }
    return parent.db_->DeleteKey({parent.id_, parent.generation_}, names);
}

int RegistryKeyHandle::SetValue(std::u16string_view name, std::uint32_t type,
                                std::span<const std::uint8_t> data) const {
    if (db_ == nullptr) {
        return kRegistryInvalidKey;
    }
    if (!IsValidRegistryValueName(name)) {
        return kRegistryInvalidName;
    }
    return db_->SetValue({id_, generation_}, MakeName(name), type, data);
}

int RegistryKeyHandle::SetString(std::u16string_view name, std::u16string_view text) const {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(2 * (text.size() + 1));
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return SetValue(name, kRegistryString, bytes);
}

int RegistryKeyHandle::SetDword(std::u16string_view name, std::uint32_t value) const {
    const std::uint8_t bytes[4] = {
        static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
        static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    return SetValue(name, kRegistryDword, bytes);
}

int RegistryKeyHandle::QueryValue(std::u16string_view name, RegistryValue& value) const {
    if (db_ == nullptr) {
        return kRegistryInvalidKey;
    }
    if (!IsValidRegistryValueName(name)) {
        return kRegistryInvalidName;
    }
    std::size_t size = 0;
    return db_->QueryValue({id_, generation_}, ToUtf8(FoldRegistryName(name)), value.type, size,
                           &value.data);
}

int RegistryKeyHandle::QueryValueInfo(std::u16string_view name, RegistryValueInfo& info) const {
    if (db_ == nullptr) {
        return kRegistryInvalidKey;
    }
    if (!IsValidRegistryValueName(name)) {
        return kRegistryInvalidName;
    }
    return db_->QueryValue({id_, generation_}, ToUtf8(FoldRegistryName(name)), info.type, info.size,
                           nullptr);
}

int RegistryKeyHandle::EnumSubKey(std::uint32_t index, std::u16string& name) const {
    if (db_ == nullptr) {
        return kRegistryInvalidKey;
    }
    std::string utf8;
    const int rc = db_->EnumSubKey({id_, generation_}, index, utf8);
    if (rc == kRegistryOk) {
        name = ToUtf16(utf8);
    }
    return rc;
}

int RegistryKeyHandle::EnumValue(std::uint32_t index, std::u16string& name,
                                 RegistryValue& value) const {
    if (db_ == nullptr) {
        return kRegistryInvalidKey;
    }
    std::string utf8;
    const int rc = db_->EnumValue({id_, generation_}, index, utf8, value.type, value.data);
    if (rc == kRegistryOk) {
        name = ToUtf16(utf8);
    }
    return rc;
}

int RegistryKeyHandle::SubKeyCount(std::uint32_t& count) const {
    if (db_ == nullptr) {
        return kRegistryInvalidKey;
    }
    return db_->SubKeyCount({id_, generation_}, count);
}

// ---------------------------------------------------------------------------
// RegistryWriteBatch

RegistryWriteBatch::RegistryWriteBatch(RegistryHive hive) : db_(DatabaseFor(hive)) {
    db_->BeginBatch();
}

RegistryWriteBatch::~RegistryWriteBatch() {
    db_->EndBatch();
}

int RegistryWriteBatch::Commit() {
    return db_->CommitBatch();
}

}  // namespace platform
