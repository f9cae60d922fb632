#include "platform/registry/RegistrySqlConnection.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace arn {

namespace {

// Long enough to ride out another process's import of a large file.
constexpr int kBusyTimeoutMs = 20000;

// The registry holds one user's settings, so a new database is readable and writable by that
// user alone, whatever the umask. SQLite gives the log and shared-memory files the mode of the
// database file, so creating this one file first is enough. A file that already exists keeps
// the mode its owner gave it.
void CreatePrivateFile(const std::string& path) {
    if (path.empty() || path == ":memory:") {
        return;  // SQLite's names for databases that have no file of their own
    }
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0) {
        return;  // it exists, or SQLite will say why it cannot be opened
    }
    // The umask may have taken bits from the mode asked for; the owner needs both.
    fchmod(fd, S_IRUSR | S_IWUSR);
    close(fd);
}

}  // namespace

RegistrySqlConnection::RegistrySqlConnection(const std::string& path) {
    try {
        CreatePrivateFile(path);
        const int rc = sqlite3_open_v2(
            path.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
            nullptr);
        if (rc != SQLITE_OK) {
            Fail(rc);
        }
        sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
        // Switching a new file to WAL can meet another process doing the same; the busy
        // handler does not cover that step, so it is retried here.
        for (int attempt = 0;; ++attempt) {
            sqlite3_stmt* stmt = nullptr;
            int step = sqlite3_prepare_v2(m_db, "PRAGMA journal_mode=WAL", -1, &stmt, nullptr);
            std::string mode;
            if (step == SQLITE_OK) {
                step = sqlite3_step(stmt);
                if (step == SQLITE_ROW) {
                    mode = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
                }
            }
            sqlite3_finalize(stmt);
            if (step == SQLITE_ROW) {
                if (mode != "wal") {
                    throw Error("the file system does not support write-ahead logging");
                }
                break;
            }
            if ((step & 0xff) != SQLITE_BUSY || attempt == 200) {
                Fail(step);
            }
            sqlite3_sleep(10);
        }
        // Commits reach the operating system at once but are synced only at checkpoints: a
        // crashed process loses nothing, and a power cut at most the latest commits. Rarer
        // checkpoints keep frequent small writes cheap; the log is cut back after each.
        Exec(
            "PRAGMA synchronous=NORMAL; PRAGMA wal_autocheckpoint=4000; "
            "PRAGMA journal_size_limit=8388608");
    } catch (...) {
        Close();
        throw;
    }
}

RegistrySqlConnection::~RegistrySqlConnection() {
    Close();
}

void RegistrySqlConnection::Close() {
    for (auto& [sql, stmt] : m_statements) {
        sqlite3_finalize(stmt);
    }
    m_statements.clear();
    sqlite3_close_v2(m_db);
    m_db = nullptr;
}

void RegistrySqlConnection::Exec(const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message != nullptr ? message : "unknown error";
        sqlite3_free(message);
        throw Error(text);
    }
}

int64_t RegistrySqlConnection::Changes() const {
    return sqlite3_changes64(m_db);
}

int64_t RegistrySqlConnection::TotalChanges() const {
    return sqlite3_total_changes64(m_db);
}

int64_t RegistrySqlConnection::LastInsertId() const {
    return sqlite3_last_insert_rowid(m_db);
}

sqlite3_stmt* RegistrySqlConnection::Prepare(const char* sql) {
    const auto it = m_statements.find(sql);
    if (it != m_statements.end()) {
        return it->second;
    }
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v3(m_db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
    if (rc != SQLITE_OK) {
        Fail(rc);
    }
    m_statements.emplace(sql, stmt);
    return stmt;
}

void RegistrySqlConnection::Fail(int rc) const {
    throw Error(m_db != nullptr ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc));
}

RegistrySqlConnection::Query::Query(RegistrySqlConnection& connection, const char* sql)
    : m_connection(connection), m_stmt(connection.Prepare(sql)) {}

RegistrySqlConnection::Query::~Query() {
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

RegistrySqlConnection::Query& RegistrySqlConnection::Query::Bind(int index, int64_t value) {
    Check(sqlite3_bind_int64(m_stmt, index, value));
    return *this;
}

RegistrySqlConnection::Query& RegistrySqlConnection::Query::BindText(int index,
                                                                     std::string_view text) {
    Check(sqlite3_bind_text(m_stmt, index, text.empty() ? "" : text.data(),
                            static_cast<int>(text.size()), SQLITE_TRANSIENT));
    return *this;
}

RegistrySqlConnection::Query& RegistrySqlConnection::Query::BindBlob(int index,
                                                                     std::string_view bytes) {
    // A null pointer would bind NULL; an empty value is a zero-length blob.
    Check(sqlite3_bind_blob(m_stmt, index, bytes.empty() ? "" : bytes.data(),
                            static_cast<int>(bytes.size()), SQLITE_TRANSIENT));
    return *this;
}

bool RegistrySqlConnection::Query::Step() {
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW) {
        return true;
    }
    if (rc != SQLITE_DONE) {
        m_connection.Fail(rc);
    }
    return false;
}

int64_t RegistrySqlConnection::Query::Int(int column) const {
    return sqlite3_column_int64(m_stmt, column);
}

std::string RegistrySqlConnection::Query::Bytes(int column) const {
    const void* data = sqlite3_column_blob(m_stmt, column);
    const int size = sqlite3_column_bytes(m_stmt, column);
    return data == nullptr ? std::string() : std::string(static_cast<const char*>(data), size);
}

void RegistrySqlConnection::Query::Check(int rc) {
    if (rc != SQLITE_OK) {
        m_connection.Fail(rc);
    }
}

RegistrySqlConnection::Transaction::Transaction(RegistrySqlConnection& connection, bool write)
    : m_connection(connection), m_nested(sqlite3_get_autocommit(connection.m_db) == 0) {
    if (m_nested) {
        Query(connection, "SAVEPOINT inner").Step();
    } else {
        Query(connection, write ? "BEGIN IMMEDIATE" : "BEGIN").Step();
    }
}

RegistrySqlConnection::Transaction::~Transaction() {
    if (m_done) {
        return;
    }
    try {
        if (m_nested) {
            Query(m_connection, "ROLLBACK TO inner").Step();
            Query(m_connection, "RELEASE inner").Step();
        } else {
            Query(m_connection, "ROLLBACK").Step();
        }
    } catch (const Error&) {
        // SQLite has already rolled back when a failure ended the transaction.
    }
}

void RegistrySqlConnection::Transaction::Commit() {
    Query(m_connection, m_nested ? "RELEASE inner" : "COMMIT").Step();
    m_done = true;
}

}  // namespace arn
