// One hive file and this process's connection to it. The connection is
// opened lazily, read-only for as long as only reads happen, and shared by
// every handle on the file; a mutex serialises its use. Keys are rows
// identified by an id that is never reused within one file; handles also
// carry the generation of the file they were opened on, so that a handle
// outlives neither its key nor its file.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace platform {

// A key or value name as stored: as written, and folded for comparison
// (both UTF-8).
struct HiveName {
    std::string name;
    std::string fold;
};

// What a handle names: a key id in a given generation of the file.
struct HiveKeyRef {
    std::int64_t id = 0;
    std::uint64_t generation = 0;
};

class HiveDatabase {
public:
    static constexpr std::int64_t kRootKeyId = 1;
    static constexpr std::uint32_t kSchemaVersion = 1;
    static constexpr std::int32_t kApplicationId = 0x436B4876;  // "CkHv"
    static constexpr std::chrono::milliseconds kBusyTimeout{10000};
    static constexpr std::chrono::milliseconds kBatchInterval{100};

    // `private_folders`: folders created for the file are 0700 instead of 0755.
    HiveDatabase(std::string path, bool private_folders);
    ~HiveDatabase();
    HiveDatabase(const HiveDatabase&) = delete;
    HiveDatabase& operator=(const HiveDatabase&) = delete;

    const std::string& Path() const { return path_; }
    HiveKeyRef Root();

    int OpenKey(HiveKeyRef parent, const std::vector<HiveName>& path, bool create, HiveKeyRef& key);
    int DeleteKey(HiveKeyRef parent, const std::vector<HiveName>& path);
    int SetValue(HiveKeyRef key, const HiveName& name, std::uint32_t type,
                 std::span<const std::uint8_t> data);
    // Reads the type and size of a value, and its bytes when `data` is not null.
    int QueryValue(HiveKeyRef key, const std::string& fold, std::uint32_t& type, std::size_t& size,
                   std::vector<std::uint8_t>* data);
    int EnumSubKey(HiveKeyRef key, std::uint32_t index, std::string& name);
    int EnumValue(HiveKeyRef key, std::uint32_t index, std::string& name, std::uint32_t& type,
                  std::vector<std::uint8_t>& data);
    int SubKeyCount(HiveKeyRef key, std::uint32_t& count);

    void BeginBatch();
    int CommitBatch();
    int EndBatch();

private:
    enum class Content { Missing, Empty, Ready, Foreign };
    enum class OpenMode { kReadOnly, kReadWrite, kCreate };
    enum Statement : std::size_t {
        kBegin,
        kBeginImmediate,
        kCommit,
        kRollback,
        kSavepoint,
        kRelease,
        kRollbackToSavepoint,
        kContent,
        kFindKey,
        kKeyExists,
        kInsertKey,
        kHasSubKeys,
        kCountSubKeys,
        kEnumSubKey,
        kUpsertValue,
        kQueryValue,
        kQueryValueSize,
        kDeleteValues,
        kDeleteKey,
        kEnumValue,
        kStatementCount
    };

    // Runs `body(ready)` on a connection fit for reading; `ready` is false
    // for a missing or still empty hive. Several statements share one read
    // transaction when `multi_statement` is set.
    template <typename Fn>
    int Read(bool multi_statement, Fn&& body);
    // Runs `body()` in a write transaction of its own, or inside the open
    // batch transaction (under a savepoint when `multi_statement` is set).
    template <typename Fn>
    int Write(bool multi_statement, Fn&& body);

    void CheckFork();
    int Attach(bool write);
    int OpenConnection(OpenMode mode, sqlite3*& db, bool& writable);
    void AdoptConnection(sqlite3* db, bool writable);
    void CloseConnection();
    void AbandonConnection();
    int Recover();
    int ReadContent();
    int CreateSchema();
    sqlite3_stmt* Prepare(Statement id, int& code);
    int Failure(int sqlite_code);
    int Exec(Statement id);
    int CommitTransaction();
    void RollbackTransaction();

    bool ValidRef(HiveKeyRef key) const;
    int KeyExists(std::int64_t id, bool& exists);
    // Walks `path` down from `parent`: `found` names exist, `id` is the last key found.
    int Walk(std::int64_t parent, const std::vector<HiveName>& path, std::size_t& found,
             std::int64_t& id);

    const std::string path_;
    const bool private_folders_;

    std::mutex mutex_;
    sqlite3* db_ = nullptr;
    bool writable_ = false;
    Content content_ = Content::Missing;
    bool schema_created_ = false;  // by the open transaction
    std::uint64_t generation_ = 0;
    std::uint64_t fork_epoch_ = 0;
    std::uint64_t device_ = 0;
    std::uint64_t inode_ = 0;
    std::array<sqlite3_stmt*, kStatementCount> statements_{};

    int batch_depth_ = 0;
    bool batch_open_ = false;  // a batch transaction is open on db_
    std::chrono::steady_clock::time_point batch_started_;
};

}  // namespace platform
