#include "platform/HiveDatabase.h"

#include <errno.h>
#include <pthread.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <string_view>

#include "platform/RegistryHive.h"

namespace platform {

namespace {

// Internal outcomes that never reach callers.
constexpr int kNeedsRecovery = -1;  // a hot journal must be rolled back by a writable connection
constexpr int kFileMissing = -2;    // the hive file does not exist

// Bumped in the child of every fork: a connection must not cross a fork, so
// each database abandons a connection opened in another epoch.
std::atomic<std::uint64_t> g_fork_epoch{0};

void RegisterForkHandler() {
    static const bool registered = [] {
        pthread_atfork(nullptr, nullptr, [] { g_fork_epoch.fetch_add(1); });
        return true;
    }();
    (void)registered;
}

// Connections abandoned after a fork: they belong to the parent and are never
// closed here; keeping them reachable documents that they are not leaks.
void KeepAbandoned(sqlite3* db) {
    static std::mutex* mutex = new std::mutex;
    static std::vector<sqlite3*>* abandoned = new std::vector<sqlite3*>;
    std::lock_guard<std::mutex> lock(*mutex);
    abandoned->push_back(db);
}

constexpr const char* kStatementText[] = {
    "BEGIN",
    "BEGIN IMMEDIATE",
    "COMMIT",
    "ROLLBACK",
    "SAVEPOINT hive_operation",
    "RELEASE hive_operation",
    "ROLLBACK TO hive_operation",
    "SELECT (SELECT application_id FROM pragma_application_id),"
    " (SELECT user_version FROM pragma_user_version), (SELECT count(*) FROM sqlite_master)",
    "SELECT id FROM keys WHERE parent = ?1 AND fold = ?2",
    "SELECT 1 FROM keys WHERE id = ?1",
    "INSERT INTO keys (parent, name, fold) VALUES (?1, ?2, ?3)",
    "SELECT 1 FROM keys WHERE parent = ?1 LIMIT 1",
    "SELECT count(*) FROM keys WHERE parent = ?1",
    "SELECT name FROM keys WHERE parent = ?1 ORDER BY fold LIMIT 1 OFFSET ?2",
    "INSERT INTO key_values (key, name, fold, type, data) VALUES (?1, ?2, ?3, ?4, ?5)"
    " ON CONFLICT (key, fold) DO UPDATE SET type = excluded.type, data = excluded.data",
    "SELECT type, data FROM key_values WHERE key = ?1 AND fold = ?2",
    "SELECT type, length(data) FROM key_values WHERE key = ?1 AND fold = ?2",
    "DELETE FROM key_values WHERE key = ?1",
    "DELETE FROM keys WHERE id = ?1",
    "SELECT name, type, data FROM key_values WHERE key = ?1 ORDER BY fold LIMIT 1 OFFSET ?2",
};

// The schema of a hive; the application id and user version mark the file as
// a hive of this format. Key ids come from AUTOINCREMENT so that an id is
// never handed out twice in one file.
constexpr const char* kSchema =
    "CREATE TABLE keys ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " parent INTEGER REFERENCES keys (id),"
    " name TEXT NOT NULL,"
    " fold TEXT NOT NULL,"
    " UNIQUE (parent, fold));"
    "CREATE TABLE key_values ("
    " key INTEGER NOT NULL REFERENCES keys (id) ON DELETE CASCADE,"
    " name TEXT NOT NULL,"
    " fold TEXT NOT NULL,"
    " type INTEGER NOT NULL,"
    " data BLOB NOT NULL,"
    " PRIMARY KEY (key, fold)) WITHOUT ROWID;"
    "INSERT INTO keys (id, parent, name, fold) VALUES (1, NULL, '', '');"
    "PRAGMA application_id = 1131104374;"
    "PRAGMA user_version = 1;";
static_assert(HiveDatabase::kApplicationId == 1131104374);
static_assert(HiveDatabase::kSchemaVersion == 1);

int MapSqlite(int rc) {
    if (rc == SQLITE_READONLY_ROLLBACK) {
        return kNeedsRecovery;
    }
    switch (rc & 0xff) {
        case SQLITE_OK:
        case SQLITE_ROW:
        case SQLITE_DONE:
            return kRegistryOk;
        case SQLITE_READONLY:
        case SQLITE_PERM:
        case SQLITE_AUTH:
            return kRegistryAccessDenied;
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return kRegistryBusy;
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            return kRegistryCorrupt;
        case SQLITE_FULL:
            return kRegistryDiskFull;
        default:
            return kRegistryIoFailed;
    }
}

int MapErrno(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
        case EROFS:
            return kRegistryAccessDenied;
        case ENOENT:
        case ENOTDIR:
            return kRegistryNotFound;
        case ENOSPC:
        case EDQUOT:
            return kRegistryDiskFull;
        default:
            return kRegistryIoFailed;
    }
}

bool IsDirectory(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// mkdir -p for the folder that holds `file`.
int MakeParentFolders(const std::string& file, mode_t mode) {
    const std::size_t slash = file.rfind('/');
    if (slash == std::string::npos || slash == 0) {
        return kRegistryOk;
    }
    const std::string folder = file.substr(0, slash);
    if (IsDirectory(folder)) {
        return kRegistryOk;
    }
    std::size_t end = 0;
    do {
        end = folder.find('/', end + 1);
        const std::string prefix = folder.substr(0, end);
        if (::mkdir(prefix.c_str(), mode) != 0 && errno != EEXIST) {
            const int error = errno;
            if (!IsDirectory(prefix)) {
                return MapErrno(error);
            }
        }
    } while (end != std::string::npos);
    return IsDirectory(folder) ? kRegistryOk : kRegistryIoFailed;
}

// Resets a cached statement when the operation that used it ends, so that it
// holds no read lock and no dangling bound text afterwards.
class ResetOnExit {
public:
    explicit ResetOnExit(sqlite3_stmt* statement) : statement_(statement) {}
    ~ResetOnExit() { sqlite3_reset(statement_); }
    ResetOnExit(const ResetOnExit&) = delete;
    ResetOnExit& operator=(const ResetOnExit&) = delete;

private:
    sqlite3_stmt* statement_;
};

void BindText(sqlite3_stmt* statement, int index, const std::string& text) {
    sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
}

}  // namespace

HiveDatabase::HiveDatabase(std::string path, bool private_folders)
    : path_(std::move(path)), private_folders_(private_folders) {
    static_assert(std::size(kStatementText) == kStatementCount);
    RegisterForkHandler();
}

HiveDatabase::~HiveDatabase() {
    std::lock_guard<std::mutex> lock(mutex_);
    CheckFork();
    if (batch_open_) {
        CommitTransaction();
    }
    CloseConnection();
}

HiveKeyRef HiveDatabase::Root() {
    std::lock_guard<std::mutex> lock(mutex_);
    return {kRootKeyId, generation_};
}

// ---------------------------------------------------------------------------
// Connection management

void HiveDatabase::CheckFork() {
    if (db_ != nullptr && fork_epoch_ != g_fork_epoch.load()) {
        AbandonConnection();
    }
}

int HiveDatabase::OpenConnection(OpenMode mode, sqlite3*& db, bool& writable) {
    db = nullptr;
    writable = false;
    if (path_.empty()) {
        return mode == OpenMode::kCreate ? kRegistryNotFound : kFileMissing;
    }
    if (mode == OpenMode::kCreate) {
        const int rc = MakeParentFolders(path_, private_folders_ ? 0700 : 0755);
        if (rc != kRegistryOk) {
            return rc;
        }
    } else if (struct stat st; ::stat(path_.c_str(), &st) != 0 && errno == ENOENT) {
        return kFileMissing;  // the common case of a user without settings: no SQLite at all
    }
    // A relative path gets "./" in front so that it is never taken as a URI.
    const std::string file = path_.front() == '/' ? path_ : "./" + path_;
    int flags = SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_EXRESCODE;
    switch (mode) {
        case OpenMode::kReadOnly:
            flags |= SQLITE_OPEN_READONLY;
            break;
        case OpenMode::kReadWrite:
            flags |= SQLITE_OPEN_READWRITE;
            break;
        case OpenMode::kCreate:
            flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
            break;
    }
    sqlite3* handle = nullptr;
    int rc = sqlite3_open_v2(file.c_str(), &handle, flags, nullptr);
    if (rc != SQLITE_OK) {
        const int error = handle != nullptr ? sqlite3_system_errno(handle) : 0;
        sqlite3_close(handle);
        if ((rc & 0xff) == SQLITE_CANTOPEN && error != 0) {
            const int code = MapErrno(error);
            if (code != kRegistryNotFound) {
                return code;
            }
            if (mode != OpenMode::kCreate) {
                return kFileMissing;
            }
            // SQLite retries a failed create read-only, which leaves ENOENT
            // behind; the folder tells why the file could not be made.
            const std::size_t slash = path_.rfind('/');
            const std::string folder = slash == std::string::npos ? "."
                                       : slash == 0               ? "/"
                                                                  : path_.substr(0, slash);
            if (::access(folder.c_str(), W_OK | X_OK) != 0) {
                return MapErrno(errno);
            }
            return code;
        }
        return MapSqlite(rc);
    }
    sqlite3_busy_timeout(handle, static_cast<int>(kBusyTimeout.count()));
    const bool can_write = sqlite3_db_readonly(handle, "main") == 0;
    // DELETE keeps no file beside the hive between transactions and turns a
    // hive that some tool switched to WAL back to a rollback journal. FULL
    // syncs the journal before the database is touched, which keeps the file
    // whole across a power loss as well as a killed process.
    const char* setup = can_write ? "PRAGMA foreign_keys = ON; PRAGMA synchronous = FULL;"
                                    " PRAGMA journal_mode = DELETE;"
                                  : "PRAGMA foreign_keys = ON;";
    rc = sqlite3_exec(handle, setup, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close(handle);
        return MapSqlite(rc);
    }
    db = handle;
    writable = can_write;
    return kRegistryOk;
}

void HiveDatabase::AdoptConnection(sqlite3* db, bool writable) {
    CloseConnection();
    db_ = db;
    writable_ = writable;
    fork_epoch_ = g_fork_epoch.load();
    content_ = Content::Empty;  // not read yet
    schema_created_ = false;
    struct stat st;
    if (::stat(path_.c_str(), &st) == 0) {
        device_ = static_cast<std::uint64_t>(st.st_dev);
        inode_ = static_cast<std::uint64_t>(st.st_ino);
    } else {
        device_ = inode_ = 0;
    }
}

void HiveDatabase::CloseConnection() {
    for (sqlite3_stmt*& statement : statements_) {
        sqlite3_finalize(statement);
        statement = nullptr;
    }
    sqlite3_close(db_);  // rolls back an open transaction
    db_ = nullptr;
    writable_ = false;
    content_ = Content::Missing;
    batch_open_ = false;
    schema_created_ = false;
}

void HiveDatabase::AbandonConnection() {
    KeepAbandoned(db_);
    statements_.fill(nullptr);
    db_ = nullptr;
    writable_ = false;
    content_ = Content::Missing;
    batch_open_ = false;
    schema_created_ = false;
}

int HiveDatabase::Attach(bool write) {
    CheckFork();
    if (batch_open_) {
        return kRegistryOk;  // the batch transaction holds the file
    }
    if (db_ != nullptr) {
        // A hive file that was deleted or replaced since it was opened: the
        // keys of the old file are gone, so handles opened on it go stale.
        struct stat st;
        if (::stat(path_.c_str(), &st) != 0 || static_cast<std::uint64_t>(st.st_dev) != device_ ||
            static_cast<std::uint64_t>(st.st_ino) != inode_) {
            CloseConnection();
            ++generation_;
        }
    }
    int rc = kRegistryOk;
    if (db_ == nullptr || (write && !writable_)) {
        sqlite3* db = nullptr;
        bool writable = false;
        rc = OpenConnection(write ? OpenMode::kCreate : OpenMode::kReadOnly, db, writable);
        if (rc == kFileMissing) {
            CloseConnection();
            return kRegistryOk;  // content_ is Missing: an empty hive
        }
        if (rc != kRegistryOk) {
            return rc;  // a read-only connection already open stays open
        }
        if (write && !writable) {
            sqlite3_close(db);
            return kRegistryAccessDenied;
        }
        AdoptConnection(db, writable);
        rc = ReadContent();
    } else if (content_ == Content::Empty) {
        rc = ReadContent();  // another process may have written the schema since
    }
    if (rc == kRegistryOk && content_ == Content::Foreign) {
        rc = kRegistryCorrupt;
    }
    return rc;
}

int HiveDatabase::Recover() {
    sqlite3* db = nullptr;
    bool writable = false;
    int rc = OpenConnection(OpenMode::kReadWrite, db, writable);
    if (rc == kFileMissing) {
        CloseConnection();
        return kRegistryOk;
    }
    if (rc != kRegistryOk) {
        return rc;
    }
    if (!writable) {
        sqlite3_close(db);
        return kRegistryAccessDenied;
    }
    AdoptConnection(db, writable);
    return ReadContent();  // the first read rolls the hot journal back
}

int HiveDatabase::ReadContent() {
    int rc = kRegistryOk;
    sqlite3_stmt* statement = Prepare(kContent, rc);
    if (statement == nullptr) {
        return rc;
    }
    ResetOnExit reset(statement);
    const int step = sqlite3_step(statement);
    if (step != SQLITE_ROW) {
        return Failure(step);
    }
    const std::int64_t application_id = sqlite3_column_int64(statement, 0);
    const std::int64_t version = sqlite3_column_int64(statement, 1);
    const std::int64_t tables = sqlite3_column_int64(statement, 2);
    if (application_id == 0 && version == 0 && tables == 0) {
        content_ = Content::Empty;
    } else if (application_id == kApplicationId && version == kSchemaVersion) {
        content_ = Content::Ready;
    } else {
        content_ = Content::Foreign;
    }
    return kRegistryOk;
}

int HiveDatabase::CreateSchema() {
    int rc = ReadContent();  // inside the write transaction: decides for good
    if (rc != kRegistryOk || content_ == Content::Ready) {
        return rc;
    }
    if (content_ == Content::Foreign) {
        return kRegistryCorrupt;
    }
    rc = sqlite3_exec(db_, kSchema, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        return Failure(rc);
    }
    content_ = Content::Ready;
    schema_created_ = true;
    return kRegistryOk;
}

// ---------------------------------------------------------------------------
// Statements and transactions

sqlite3_stmt* HiveDatabase::Prepare(Statement id, int& code) {
    sqlite3_stmt*& statement = statements_[id];
    if (statement == nullptr) {
        const int rc = sqlite3_prepare_v3(db_, kStatementText[id], -1, SQLITE_PREPARE_PERSISTENT,
                                          &statement, nullptr);
        if (rc != SQLITE_OK) {
            sqlite3_finalize(statement);
            statement = nullptr;
            code = Failure(rc);
            return nullptr;
        }
    }
    code = kRegistryOk;
    return statement;
}

int HiveDatabase::Failure(int sqlite_code) {
    if (batch_open_ && sqlite3_get_autocommit(db_) != 0) {
        // SQLite rolled the whole transaction back (I/O error, full disk).
        batch_open_ = false;
        if (schema_created_) {
            schema_created_ = false;
            content_ = Content::Empty;
        }
    }
    return MapSqlite(sqlite_code);
}

int HiveDatabase::Exec(Statement id) {
    int rc = kRegistryOk;
    sqlite3_stmt* statement = Prepare(id, rc);
    if (statement == nullptr) {
        return rc;
    }
    ResetOnExit reset(statement);
    const int step = sqlite3_step(statement);
    return step == SQLITE_DONE || step == SQLITE_ROW ? kRegistryOk : Failure(step);
}

int HiveDatabase::CommitTransaction() {
    batch_open_ = false;
    const int rc = Exec(kCommit);
    if (rc != kRegistryOk) {
        RollbackTransaction();
        return rc;
    }
    schema_created_ = false;
    return kRegistryOk;
}

void HiveDatabase::RollbackTransaction() {
    batch_open_ = false;
    if (db_ != nullptr && sqlite3_get_autocommit(db_) == 0) {
        Exec(kRollback);
    }
    if (schema_created_) {
        schema_created_ = false;
        content_ = Content::Empty;
    }
}

template <typename Fn>
int HiveDatabase::Read(bool multi_statement, Fn&& body) {
    for (int attempt = 0;; ++attempt) {
        int rc = Attach(false);
        if (rc == kRegistryOk) {
            const bool ready = content_ == Content::Ready;
            // Several statements share one read transaction: one lock, one view.
            const bool wrap = ready && multi_statement && sqlite3_get_autocommit(db_) != 0;
            if (wrap) {
                rc = Exec(kBegin);
            }
            if (rc == kRegistryOk) {
                rc = body(ready);
            }
            if (wrap && sqlite3_get_autocommit(db_) == 0) {
                Exec(kCommit);
            }
        }
        if (rc == kNeedsRecovery && attempt == 0) {
            rc = Recover();
            if (rc == kRegistryOk) {
                continue;
            }
        }
        return rc == kNeedsRecovery ? kRegistryAccessDenied : rc;
    }
}

template <typename Fn>
int HiveDatabase::Write(bool multi_statement, Fn&& body) {
    int rc = Attach(true);
    if (rc != kRegistryOk) {
        return rc == kNeedsRecovery ? kRegistryAccessDenied : rc;
    }
    if (batch_depth_ == 0) {
        rc = Exec(kBeginImmediate);
        if (rc != kRegistryOk) {
            return rc;
        }
        if (content_ != Content::Ready) {
            rc = CreateSchema();
        }
        if (rc == kRegistryOk) {
            rc = body();
        }
        if (rc == kRegistryOk) {
            return CommitTransaction();
        }
        RollbackTransaction();
        return rc;
    }

    if (!batch_open_) {
        rc = Exec(kBeginImmediate);
        if (rc != kRegistryOk) {
            return rc;
        }
        batch_open_ = true;
        batch_started_ = std::chrono::steady_clock::now();
    }
    if (content_ != Content::Ready) {
        rc = CreateSchema();
        if (rc != kRegistryOk) {
            return rc;
        }
    }
    // Inside the batch a savepoint keeps an operation of several statements
    // whole; a single statement is atomic by itself.
    if (multi_statement) {
        rc = Exec(kSavepoint);
        if (rc != kRegistryOk) {
            return rc;
        }
    }
    rc = body();
    if (multi_statement && batch_open_) {
        if (rc != kRegistryOk) {
            Exec(kRollbackToSavepoint);
        }
        const int released = Exec(kRelease);
        if (rc == kRegistryOk) {
            rc = released;
        }
    }
    if (rc == kRegistryOk && batch_open_ &&
        std::chrono::steady_clock::now() - batch_started_ >= kBatchInterval) {
        rc = CommitTransaction();
    }
    return rc;
}

void HiveDatabase::BeginBatch() {
    std::lock_guard<std::mutex> lock(mutex_);
    ++batch_depth_;
}

int HiveDatabase::CommitBatch() {
    std::lock_guard<std::mutex> lock(mutex_);
    CheckFork();
    return batch_open_ ? CommitTransaction() : kRegistryOk;
}

int HiveDatabase::EndBatch() {
    std::lock_guard<std::mutex> lock(mutex_);
    CheckFork();
    if (batch_depth_ > 0 && --batch_depth_ == 0 && batch_open_) {
        return CommitTransaction();
    }
    return kRegistryOk;
}

// ---------------------------------------------------------------------------
// Keys and values

bool HiveDatabase::ValidRef(HiveKeyRef key) const {
    return key.id == kRootKeyId || key.generation == generation_;
}

int HiveDatabase::KeyExists(std::int64_t id, bool& exists) {
    exists = true;
    if (id == kRootKeyId) {
        return kRegistryOk;
    }
    int rc = kRegistryOk;
    sqlite3_stmt* statement = Prepare(kKeyExists, rc);
    if (statement == nullptr) {
        return rc;
    }
    ResetOnExit reset(statement);
    sqlite3_bind_int64(statement, 1, id);
    const int step = sqlite3_step(statement);
    if (step != SQLITE_ROW && step != SQLITE_DONE) {
        return Failure(step);
    }
    exists = step == SQLITE_ROW;
    return kRegistryOk;
}

int HiveDatabase::Walk(std::int64_t parent, const std::vector<HiveName>& path, std::size_t& found,
                       std::int64_t& id) {
    found = 0;
    id = parent;
    bool exists = false;
    int rc = KeyExists(parent, exists);
    if (rc != kRegistryOk) {
        return rc;
    }
    if (!exists) {
        return kRegistryInvalidKey;
    }
    sqlite3_stmt* statement = Prepare(kFindKey, rc);
    if (statement == nullptr) {
        return rc;
    }
    for (const HiveName& name : path) {
        ResetOnExit reset(statement);
        sqlite3_bind_int64(statement, 1, id);
        BindText(statement, 2, name.fold);
        const int step = sqlite3_step(statement);
        if (step == SQLITE_DONE) {
            return kRegistryNotFound;
        }
        if (step != SQLITE_ROW) {
            return Failure(step);
        }
        id = sqlite3_column_int64(statement, 0);
        ++found;
    }
    return kRegistryOk;
}

int HiveDatabase::OpenKey(HiveKeyRef parent, const std::vector<HiveName>& path, bool create,
                          HiveKeyRef& key) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::size_t found = 0;
    std::int64_t id = 0;
    int rc = Read(true, [&](bool ready) {
        if (!ValidRef(parent)) {
            return kRegistryInvalidKey;
        }
        if (!ready) {
            id = parent.id;
            return path.empty() ? kRegistryOk : kRegistryNotFound;
        }
        return Walk(parent.id, path, found, id);
    });
    if (rc == kRegistryNotFound && create) {
        rc = Write(true, [&] {
            if (!ValidRef(parent)) {
                return kRegistryInvalidKey;
            }
            int walked = Walk(parent.id, path, found, id);
            if (walked != kRegistryNotFound) {
                return walked;
            }
            sqlite3_stmt* statement = Prepare(kInsertKey, walked);
            if (statement == nullptr) {
                return walked;
            }
            for (std::size_t i = found; i < path.size(); ++i) {
                ResetOnExit reset(statement);
                sqlite3_bind_int64(statement, 1, id);
                BindText(statement, 2, path[i].name);
                BindText(statement, 3, path[i].fold);
                const int step = sqlite3_step(statement);
                if (step != SQLITE_DONE) {
                    return Failure(step);
                }
                id = sqlite3_last_insert_rowid(db_);
            }
            return kRegistryOk;
        });
    }
    if (rc == kRegistryOk) {
        key = {id, generation_};
    }
    return rc;
}

int HiveDatabase::DeleteKey(HiveKeyRef parent, const std::vector<HiveName>& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (path.empty()) {
        return kRegistryInvalidName;  // the key itself, or the root: not through its parent
    }
    std::size_t found = 0;
    std::int64_t id = 0;
    int rc = Read(true, [&](bool ready) {
        if (!ValidRef(parent)) {
            return kRegistryInvalidKey;
        }
        return ready ? Walk(parent.id, path, found, id) : kRegistryNotFound;
    });
    if (rc != kRegistryOk) {
        return rc;
    }
    return Write(true, [&] {
        if (!ValidRef(parent)) {
            return kRegistryInvalidKey;
        }
        int step_rc = Walk(parent.id, path, found, id);
        if (step_rc != kRegistryOk) {
            return step_rc;
        }
        sqlite3_stmt* statement = Prepare(kHasSubKeys, step_rc);
        if (statement == nullptr) {
            return step_rc;
        }
        {
            ResetOnExit reset(statement);
            sqlite3_bind_int64(statement, 1, id);
            const int step = sqlite3_step(statement);
            if (step == SQLITE_ROW) {
                return kRegistryAccessDenied;
            }
            if (step != SQLITE_DONE) {
                return Failure(step);
            }
        }
        for (const Statement remove : {kDeleteValues, kDeleteKey}) {
            statement = Prepare(remove, step_rc);
            if (statement == nullptr) {
                return step_rc;
            }
            ResetOnExit reset(statement);
            sqlite3_bind_int64(statement, 1, id);
            const int step = sqlite3_step(statement);
            if (step != SQLITE_DONE) {
                return Failure(step);
            }
        }
        return kRegistryOk;
    });
}

int HiveDatabase::SetValue(HiveKeyRef key, const HiveName& name, std::uint32_t type,
                           std::span<const std::uint8_t> data) {
    std::lock_guard<std::mutex> lock(mutex_);
    return Write(false, [&] {
        if (!ValidRef(key)) {
            return kRegistryInvalidKey;
        }
        bool exists = false;
        int rc = KeyExists(key.id, exists);
        if (rc != kRegistryOk) {
            return rc;
        }
        if (!exists) {
            return kRegistryInvalidKey;
        }
        sqlite3_stmt* statement = Prepare(kUpsertValue, rc);
        if (statement == nullptr) {
            return rc;
        }
        ResetOnExit reset(statement);
        sqlite3_bind_int64(statement, 1, key.id);
        BindText(statement, 2, name.name);
        BindText(statement, 3, name.fold);
        sqlite3_bind_int64(statement, 4, type);
        if (data.empty()) {
            sqlite3_bind_zeroblob(statement, 5, 0);  // a null pointer would bind NULL
        } else {
            sqlite3_bind_blob64(statement, 5, data.data(), data.size(), SQLITE_STATIC);
        }
        const int step = sqlite3_step(statement);
        return step == SQLITE_DONE ? kRegistryOk : Failure(step);
    });
}

int HiveDatabase::QueryValue(HiveKeyRef key, const std::string& fold, std::uint32_t& type,
                             std::size_t& size, std::vector<std::uint8_t>* data) {
    std::lock_guard<std::mutex> lock(mutex_);
    return Read(false, [&](bool ready) {
        if (!ValidRef(key)) {
            return kRegistryInvalidKey;
        }
        if (!ready) {
            return kRegistryNotFound;
        }
        int rc = kRegistryOk;
        sqlite3_stmt* statement = Prepare(data != nullptr ? kQueryValue : kQueryValueSize, rc);
        if (statement == nullptr) {
            return rc;
        }
        ResetOnExit reset(statement);
        sqlite3_bind_int64(statement, 1, key.id);
        BindText(statement, 2, fold);
        const int step = sqlite3_step(statement);
        if (step == SQLITE_ROW) {
            type = static_cast<std::uint32_t>(sqlite3_column_int64(statement, 0));
            if (data != nullptr) {
                const auto* bytes =
                    static_cast<const std::uint8_t*>(sqlite3_column_blob(statement, 1));
                size = static_cast<std::size_t>(sqlite3_column_bytes(statement, 1));
                data->assign(bytes, bytes + (bytes != nullptr ? size : 0));
            } else {
                size = static_cast<std::size_t>(sqlite3_column_int64(statement, 1));
            }
            return kRegistryOk;
        }
        if (step != SQLITE_DONE) {
            return Failure(step);
        }
        bool exists = false;
        rc = KeyExists(key.id, exists);
        return rc != kRegistryOk ? rc : exists ? kRegistryNotFound : kRegistryInvalidKey;
    });
}

int HiveDatabase::EnumSubKey(HiveKeyRef key, std::uint32_t index, std::string& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    return Read(false, [&](bool ready) {
        if (!ValidRef(key)) {
            return kRegistryInvalidKey;
        }
        if (!ready) {
            return kRegistryNoMoreItems;
        }
        int rc = kRegistryOk;
        sqlite3_stmt* statement = Prepare(kEnumSubKey, rc);
        if (statement == nullptr) {
            return rc;
        }
        ResetOnExit reset(statement);
        sqlite3_bind_int64(statement, 1, key.id);
        sqlite3_bind_int64(statement, 2, index);
        const int step = sqlite3_step(statement);
        if (step == SQLITE_ROW) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
            name.assign(text != nullptr ? text : "",
                        static_cast<std::size_t>(sqlite3_column_bytes(statement, 0)));
            return kRegistryOk;
        }
        if (step != SQLITE_DONE) {
            return Failure(step);
        }
        bool exists = false;
        rc = KeyExists(key.id, exists);
        return rc != kRegistryOk ? rc : exists ? kRegistryNoMoreItems : kRegistryInvalidKey;
    });
}

int HiveDatabase::EnumValue(HiveKeyRef key, std::uint32_t index, std::string& name,
                            std::uint32_t& type, std::vector<std::uint8_t>& data) {
    std::lock_guard<std::mutex> lock(mutex_);
    return Read(false, [&](bool ready) {
        if (!ValidRef(key)) {
            return kRegistryInvalidKey;
        }
        if (!ready) {
            return kRegistryNoMoreItems;
        }
        int rc = kRegistryOk;
        sqlite3_stmt* statement = Prepare(kEnumValue, rc);
        if (statement == nullptr) {
            return rc;
        }
        ResetOnExit reset(statement);
        sqlite3_bind_int64(statement, 1, key.id);
        sqlite3_bind_int64(statement, 2, index);
        const int step = sqlite3_step(statement);
        if (step == SQLITE_ROW) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
            name.assign(text != nullptr ? text : "",
                        static_cast<std::size_t>(sqlite3_column_bytes(statement, 0)));
            type = static_cast<std::uint32_t>(sqlite3_column_int64(statement, 1));
            const auto* bytes = static_cast<const std::uint8_t*>(sqlite3_column_blob(statement, 2));
            const auto size = static_cast<std::size_t>(sqlite3_column_bytes(statement, 2));
            data.assign(bytes, bytes + (bytes != nullptr ? size : 0));
            return kRegistryOk;
        }
        if (step != SQLITE_DONE) {
            return Failure(step);
        }
        bool exists = false;
        rc = KeyExists(key.id, exists);
        return rc != kRegistryOk ? rc : exists ? kRegistryNoMoreItems : kRegistryInvalidKey;
    });
}

int HiveDatabase::SubKeyCount(HiveKeyRef key, std::uint32_t& count) {
    std::lock_guard<std::mutex> lock(mutex_);
    return Read(true, [&](bool ready) {
        if (!ValidRef(key)) {
            return kRegistryInvalidKey;
        }
        count = 0;
        if (!ready) {
            return kRegistryOk;
        }
        bool exists = false;
        int rc = KeyExists(key.id, exists);
        if (rc != kRegistryOk) {
            return rc;
        }
        if (!exists) {
            return kRegistryInvalidKey;
        }
        sqlite3_stmt* statement = Prepare(kCountSubKeys, rc);
        if (statement == nullptr) {
            return rc;
        }
        ResetOnExit reset(statement);
        sqlite3_bind_int64(statement, 1, key.id);
        const int step = sqlite3_step(statement);
        if (step != SQLITE_ROW) {
            return Failure(step);
        }
        count = static_cast<std::uint32_t>(sqlite3_column_int64(statement, 0));
        return kRegistryOk;
    });
}

}  // namespace platform
