#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "platform/registry/RegistrySqlConnection.h"
#include "platform/registry/RegistryStore.h"

namespace arn {

// A registry kept in one SQLite database file, shared safely by several processes.
//
// Every change is one transaction in write-ahead-log mode: once a call returns success the
// change survives a crash of the process (not necessarily a power cut, like the Windows
// registry's lazy flush), and a process killed mid-write leaves the file readable. Writers in
// other processes are waited for (up to a busy timeout) rather than failed.
class SqliteRegistryStore : public RegistryStore {
  public:
    // Opens or creates the file; a new one is private to its owner (mode 0600). Throws
    // std::runtime_error naming the file and the reason when it cannot be opened or holds some
    // other kind of database.
    explicit SqliteRegistryStore(std::string path, Clock clock = SystemFileTimeNow);
    ~SqliteRegistryStore() override;
    SqliteRegistryStore(const SqliteRegistryStore&) = delete;
    SqliteRegistryStore& operator=(const SqliteRegistryStore&) = delete;

    const std::string& Path() const { return m_path; }

    LONG OpenKey(KeyId parent, const std::vector<std::string>& path, KeyId& key) override;
    LONG CreateKey(KeyId parent, const std::vector<std::string>& path, const std::string& keyClass,
                   KeyId& key, bool& created) override;
    LONG DeleteKey(KeyId parent, const std::vector<std::string>& path) override;
    LONG QueryValue(KeyId key, std::string_view name, Value& value) override;
    LONG SetValue(KeyId key, std::string_view name, uint32_t type, std::string_view data) override;
    LONG DeleteValue(KeyId key, std::string_view name) override;
    LONG QueryInfo(KeyId key, KeyInfo& info) override;
    LONG EnumKey(KeyId key, uint32_t index, std::string& name) override;
    LONG EnumValue(KeyId key, uint32_t index, Value& value) override;
    // A batch is one write transaction held open across calls; each call's own transaction
    // becomes a savepoint inside it.
    LONG BeginBatch() override;
    LONG CommitBatch() override;
    LONG RollbackBatch() override;

  private:
    using Query = RegistrySqlConnection::Query;
    using Transaction = RegistrySqlConnection::Transaction;

    // Enumeration by index would cost a scan per call; one listing per key serves a whole
    // enumeration until any connection changes the database.
    struct Snapshot {
        KeyId key = 0;
        int64_t dataVersion = -1;
        int64_t localChanges = -1;
        LONG result = ERROR_SUCCESS;
        std::vector<Value> values;
        std::vector<std::string> subkeys;
    };

    void CreateSchema();

    bool KeyExists(KeyId key);
    // Walks the path from `parent` inside the caller's transaction.
    LONG Walk(KeyId parent, const std::vector<std::string>& path, KeyId& key);
    void Touch(KeyId key, uint64_t now);
    bool IsFresh(const Snapshot& snapshot, KeyId key);
    void Stamp(Snapshot& snapshot, KeyId key);

    std::string m_path;
    Clock m_clock;
    std::mutex m_mutex;
    std::unique_ptr<RegistrySqlConnection> m_sql;
    Snapshot m_values;
    Snapshot m_subkeys;
    std::unique_ptr<Transaction> m_batch;
};

}  // namespace arn
