// The registry: two hives (machine and user), each a tree of keys stored in
// one SQLite database file. Keys hold typed values; names of keys and values
// compare without regard to letter case and keep the case they were created
// with. Every operation returns a result code (0 on success) and never
// throws. docs/registry.md describes the files, their locations and the
// guarantees.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class HiveDatabase;

enum class RegistryHive { Machine, User };

// Result codes. The numbers are the ones callers test for.
inline constexpr int kRegistryOk = 0;
inline constexpr int kRegistryNotFound = 2;       // key or value does not exist
inline constexpr int kRegistryAccessDenied = 5;   // hive not writable; key has subkeys
inline constexpr int kRegistryInvalidName = 87;   // malformed name or path
inline constexpr int kRegistryDiskFull = 112;     // no room to write the hive
inline constexpr int kRegistryBusy = 170;         // hive locked by others past the timeout
inline constexpr int kRegistryNoMoreItems = 259;  // enumeration index past the end
inline constexpr int kRegistryCorrupt = 1009;     // file is damaged or not a hive
inline constexpr int kRegistryInvalidKey = 1010;  // handle closed, or its key was deleted
inline constexpr int kRegistryIoFailed = 1016;    // any other storage failure

// Value types with a meaning of their own; any other number is stored and
// returned as given, with the bytes untouched.
inline constexpr std::uint32_t kRegistryString = 1;  // UTF-16LE text and a null unit
inline constexpr std::uint32_t kRegistryDword = 4;   // 32-bit little-endian number

// Environment variables naming the hive files (full paths), and the
// locations used when they are unset or empty.
inline constexpr const char* kMachineHiveVariable = "COREKIT_MACHINE_HIVE";
inline constexpr const char* kUserHiveVariable = "COREKIT_USER_HIVE";
inline constexpr const char* kDefaultMachineHivePath = "/etc/corekit/machine.hive";
// The user hive defaults to ${XDG_CONFIG_HOME:-$HOME/.config}/corekit/user.hive.

// The file that holds `hive` now: the environment variable when set, else
// the default location. Empty when no location can be found (no home
// folder); such a hive reads as empty and refuses writes.
std::string RegistryHivePath(RegistryHive hive);

// Forgets the per-process connections, so that the next operation on a hive
// looks up its file again (for tests that point the environment variables at
// new files). Open handles and batches keep the file they were opened on.
void ResetRegistryConnections();

struct RegistryValue {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};

struct RegistryValueInfo {
    std::uint32_t type = 0;
    std::size_t size = 0;
};

// An open key of one hive. Handles are cheap: one database connection per
// hive file and process serves all of them, and a handle may be used from any
// thread. An empty (default-constructed, closed or moved-from) handle answers
// kRegistryInvalidKey, and so does a handle whose key has been deleted.
class RegistryKeyHandle {
public:
    RegistryKeyHandle() noexcept;
    ~RegistryKeyHandle();
    RegistryKeyHandle(RegistryKeyHandle&& other) noexcept;
    RegistryKeyHandle& operator=(RegistryKeyHandle&& other) noexcept;
    RegistryKeyHandle(const RegistryKeyHandle&) = delete;
    RegistryKeyHandle& operator=(const RegistryKeyHandle&) = delete;

    // The root key of `hive`. Always succeeds, also when the hive file does
    // not exist yet (the root of a missing hive has no values and no subkeys).
    static RegistryKeyHandle Root(RegistryHive hive);

    // Opens the key `path` (key names separated by backslashes) below
    // `parent`; an empty path opens `parent` itself again. With `create`,
    // missing keys along the path are created in one step (creating the hive
    // file and its folders when needed); without it the key must exist.
    // Returns an empty handle on failure; the result code goes to `*code`
    // when `code` is not null.
    static RegistryKeyHandle Open(const RegistryKeyHandle& parent, std::u16string_view path,
                                  bool create, int* code = nullptr);

    // Deletes the key `path` below `parent` and its values. A key that still
    // has subkeys is not deleted (kRegistryAccessDenied). Handles open on the
    // deleted key answer kRegistryInvalidKey from then on.
    static int DeleteKey(const RegistryKeyHandle& parent, std::u16string_view path);

    bool IsOpen() const noexcept { return db_ != nullptr; }
    void Close() noexcept;

    // Writes a value (an empty name is the key's default value), replacing
    // any value of that name; the name keeps the case of its first writer.
    int SetValue(std::u16string_view name, std::uint32_t type,
                 std::span<const std::uint8_t> data) const;
    // A kRegistryString value: the UTF-16LE units of `text` and a null unit.
    int SetString(std::u16string_view name, std::u16string_view text) const;
    // A kRegistryDword value: 4 bytes, little-endian.
    int SetDword(std::u16string_view name, std::uint32_t value) const;

    // Reads a value's type and bytes.
    int QueryValue(std::u16string_view name, RegistryValue& value) const;
    // Reads a value's type and size in bytes, without its data.
    int QueryValueInfo(std::u16string_view name, RegistryValueInfo& info) const;

    // The name of the direct subkey at `index`, in the order of names
    // compared without case; kRegistryNoMoreItems past the last one.
    int EnumSubKey(std::uint32_t index, std::u16string& name) const;
    // The value at `index`, in the order of names compared without case;
    // kRegistryNoMoreItems past the last one.
    int EnumValue(std::uint32_t index, std::u16string& name, RegistryValue& value) const;
    // The number of direct subkeys.
    int SubKeyCount(std::uint32_t& count) const;

private:
    RegistryKeyHandle(std::shared_ptr<HiveDatabase> db, std::int64_t id,
                      std::uint64_t generation) noexcept;

    std::shared_ptr<HiveDatabase> db_;
    std::int64_t id_ = 0;
    std::uint64_t generation_ = 0;
};

// Groups the writes of this process to one hive into few transactions. While
// a batch is alive, every write to that hive's file (from any handle and any
// thread of the process) joins one open transaction, which is committed when
// the batch ends, by Commit(), and automatically whenever it has been open for
// 100 ms (checked at each write). Each write stays atomic, and the committed state is
// always a prefix of the writes in order; but a write is durable against a
// killed process only once its transaction is committed. The transaction
// holds the hive's write lock, so other writers wait while it is open: keep a
// batch around a burst of writes, not around slow work. Batches nest.
class RegistryWriteBatch {
public:
    explicit RegistryWriteBatch(RegistryHive hive);
    ~RegistryWriteBatch();
    RegistryWriteBatch(const RegistryWriteBatch&) = delete;
    RegistryWriteBatch& operator=(const RegistryWriteBatch&) = delete;

    // Commits the writes so far; the batch stays active.
    int Commit();

private:
    std::shared_ptr<HiveDatabase> db_;
};

}  // namespace platform
