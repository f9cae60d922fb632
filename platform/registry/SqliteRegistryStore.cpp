#include "platform/registry/SqliteRegistryStore.h"

#include <algorithm>
#include <stdexcept>

namespace arn {

namespace {

// Marks the file as ours, so that some other program's database is refused, not altered.
constexpr int kApplicationId = 0x41524E52;
constexpr int kSchemaVersion = 1;

constexpr const char* kRootNames[kRegistryRootCount] = {
    "HKEY_CLASSES_ROOT",     "HKEY_CURRENT_USER",   "HKEY_LOCAL_MACHINE", "HKEY_USERS",
    "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"};

// Keys are never renumbered (AUTOINCREMENT), so a handle to a deleted key cannot reach a
// newer key. A value keeps its creation order in `seq`, drawn from its key's counter when it
// is first stored. Rewriting a value touches its own row only, which keeps each write to one
// page of the log; the key's last-write time is the later of its own stamp (subkeys added or
// removed, values deleted) and its values' stamps.
constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS keys(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    parent INTEGER NOT NULL,
    name TEXT NOT NULL,
    fold TEXT NOT NULL,
    class TEXT NOT NULL DEFAULT '',
    last_write INTEGER NOT NULL,
    next_seq INTEGER NOT NULL DEFAULT 0,
    UNIQUE(parent, fold));
CREATE TABLE IF NOT EXISTS vals(
    key INTEGER NOT NULL,
    fold TEXT NOT NULL,
    seq INTEGER NOT NULL,
    name TEXT NOT NULL,
    type INTEGER NOT NULL,
    data BLOB NOT NULL,
    written INTEGER NOT NULL,
    PRIMARY KEY(key, fold)) WITHOUT ROWID;
CREATE TRIGGER IF NOT EXISTS vals_seq AFTER INSERT ON vals BEGIN
    UPDATE keys SET next_seq = next_seq + 1 WHERE id = NEW.key;
END;
)sql";

template <class F>
LONG Guarded(std::mutex& mutex, F&& body) {
    std::lock_guard lock(mutex);
    try {
        return body();
    } catch (const RegistrySqlConnection::Error&) {
        return ERROR_REGISTRY_IO_FAILED;
    }
}

}  // namespace

SqliteRegistryStore::SqliteRegistryStore(std::string path, Clock clock)
    : m_path(std::move(path)), m_clock(std::move(clock)) {
    try {
        m_sql = std::make_unique<RegistrySqlConnection>(m_path);
        CreateSchema();
    } catch (const std::exception& e) {
        m_sql.reset();
        throw std::runtime_error("cannot open registry database '" + m_path + "': " + e.what());
    }
}

SqliteRegistryStore::~SqliteRegistryStore() = default;

void SqliteRegistryStore::CreateSchema() {
    Transaction txn(*m_sql, true);
    int64_t applicationId = 0;
    int64_t version = 0;
    {
        Query q(*m_sql, "PRAGMA application_id");
        applicationId = q.Step() ? q.Int(0) : 0;
    }
    {
        Query q(*m_sql, "PRAGMA user_version");
        version = q.Step() ? q.Int(0) : 0;
    }
    if (applicationId == kApplicationId) {
        if (version > kSchemaVersion) {
            throw RegistrySqlConnection::Error("made by a newer version of this program");
        }
        txn.Commit();
        return;
    }
    {
        Query q(*m_sql, "SELECT count(*) FROM sqlite_schema");
        if (applicationId != 0 || (q.Step() && q.Int(0) != 0)) {
            throw RegistrySqlConnection::Error("it holds some other kind of database");
        }
    }
    m_sql->Exec(kSchema);
    const uint64_t now = m_clock();
    for (int i = 0; i < kRegistryRootCount; ++i) {
        Query insert(
            *m_sql,
            "INSERT INTO keys(id, parent, name, fold, last_write) VALUES(?1, 0, ?2, ?2, ?3)");
        insert.Bind(1, RootKeyId(i)).BindText(2, kRootNames[i]).Bind(3, static_cast<int64_t>(now));
        insert.Step();
    }
    m_sql->Exec("PRAGMA application_id=" + std::to_string(kApplicationId) +
                "; PRAGMA user_version=" + std::to_string(kSchemaVersion));
    txn.Commit();
}

bool SqliteRegistryStore::KeyExists(KeyId key) {
    Query q(*m_sql, "SELECT 1 FROM keys WHERE id=?1");
    q.Bind(1, key);
    return q.Step();
}

LONG SqliteRegistryStore::Walk(KeyId parent, const std::vector<std::string>& path, KeyId& key) {
    if (!KeyExists(parent)) {
        return ERROR_KEY_DELETED;
    }
    key = parent;
    for (const std::string& component : path) {
        Query q(*m_sql, "SELECT id FROM keys WHERE parent=?1 AND fold=?2");
        q.Bind(1, key).BindText(2, FoldName(component));
        if (!q.Step()) {
            return ERROR_FILE_NOT_FOUND;
        }
        key = q.Int(0);
    }
    return ERROR_SUCCESS;
}

void SqliteRegistryStore::Touch(KeyId key, uint64_t now) {
    Query q(*m_sql, "UPDATE keys SET last_write=?2 WHERE id=?1");
    q.Bind(1, key).Bind(2, static_cast<int64_t>(now)).Step();
}

LONG SqliteRegistryStore::OpenKey(KeyId parent, const std::vector<std::string>& path, KeyId& key) {
    return Guarded(m_mutex, [&] {
        Transaction txn(*m_sql, false);
        KeyId found = 0;
        const LONG rc = Walk(parent, path, found);
        txn.Commit();
        if (rc == ERROR_SUCCESS) {
            key = found;
        }
        return rc;
    });
}

LONG SqliteRegistryStore::CreateKey(KeyId parent, const std::vector<std::string>& path,
                                    const std::string& keyClass, KeyId& key, bool& created) {
    return Guarded(m_mutex, [&] {
        Transaction txn(*m_sql, true);
        if (!KeyExists(parent)) {
            return ERROR_KEY_DELETED;
        }
        {
            Query depth(*m_sql,
                        "WITH RECURSIVE up(id, level) AS (SELECT ?1, 0 UNION ALL "
                        "SELECT keys.parent, up.level + 1 FROM keys JOIN up ON keys.id = up.id "
                        "WHERE keys.parent != 0) SELECT max(level) FROM up");
            depth.Bind(1, parent).Step();
            if (static_cast<size_t>(depth.Int(0)) + path.size() > kMaxKeyDepth) {
                return ERROR_INVALID_PARAMETER;
            }
        }
        const uint64_t now = m_clock();
        bool madeLast = false;
        KeyId current = parent;
        for (size_t i = 0; i < path.size(); ++i) {
            const std::string folded = FoldName(path[i]);
            {
                Query find(*m_sql, "SELECT id FROM keys WHERE parent=?1 AND fold=?2");
                find.Bind(1, current).BindText(2, folded);
                if (find.Step()) {
                    current = find.Int(0);
                    continue;
                }
            }
            const bool last = i + 1 == path.size();
            {
                Query insert(*m_sql,
                             "INSERT INTO keys(parent, name, fold, class, last_write) "
                             "VALUES(?1, ?2, ?3, ?4, ?5)");
                insert.Bind(1, current).BindText(2, path[i]).BindText(3, folded);
                insert.BindText(4, last ? keyClass : std::string())
                    .Bind(5, static_cast<int64_t>(now));
                insert.Step();
            }
            Touch(current, now);
            current = m_sql->LastInsertId();
            madeLast = last;
        }
        txn.Commit();
        key = current;
        created = madeLast;
        return ERROR_SUCCESS;
    });
}

LONG SqliteRegistryStore::DeleteKey(KeyId parent, const std::vector<std::string>& path) {
    return Guarded(m_mutex, [&] {
        Transaction txn(*m_sql, true);
        KeyId key = 0;
        const LONG rc = Walk(parent, path, key);
        if (rc != ERROR_SUCCESS) {
            return rc;
        }
        if (key <= RootKeyId(kRegistryRootCount - 1)) {
            return ERROR_ACCESS_DENIED;
        }
        {
            Query children(*m_sql, "SELECT 1 FROM keys WHERE parent=?1 LIMIT 1");
            if (children.Bind(1, key).Step()) {
                return ERROR_ACCESS_DENIED;
            }
        }
        KeyId owner = 0;
        {
            Query q(*m_sql, "SELECT parent FROM keys WHERE id=?1");
            q.Bind(1, key).Step();
            owner = q.Int(0);
        }
        Query(*m_sql, "DELETE FROM vals WHERE key=?1").Bind(1, key).Step();
        Query(*m_sql, "DELETE FROM keys WHERE id=?1").Bind(1, key).Step();
        Touch(owner, m_clock());
        txn.Commit();
        return ERROR_SUCCESS;
    });
}

LONG SqliteRegistryStore::QueryValue(KeyId key, std::string_view name, Value& value) {
    return Guarded(m_mutex, [&] {
        {
            Query q(*m_sql, "SELECT name, type, data FROM vals WHERE key=?1 AND fold=?2");
            q.Bind(1, key).BindText(2, FoldName(name));
            if (q.Step()) {
                value = Value{q.Bytes(0), static_cast<uint32_t>(q.Int(1)), q.Bytes(2)};
                return ERROR_SUCCESS;
            }
        }
        return KeyExists(key) ? ERROR_FILE_NOT_FOUND : ERROR_KEY_DELETED;
    });
}

LONG SqliteRegistryStore::SetValue(KeyId key, std::string_view name, uint32_t type,
                                   std::string_view data) {
    return Guarded(m_mutex, [&] {
        // One statement is one transaction, committed when the step returns. No row comes
        // from `keys` when the key is gone, and then nothing is stored.
        Query insert(*m_sql,
                     "INSERT INTO vals(key, fold, seq, name, type, data, written) "
                     "SELECT id, ?2, next_seq, ?3, ?4, ?5, ?6 FROM keys WHERE id=?1 "
                     "ON CONFLICT(key, fold) DO UPDATE SET "
                     "type=excluded.type, data=excluded.data, written=excluded.written");
        insert.Bind(1, key).BindText(2, FoldName(name)).BindText(3, name).Bind(4, type);
        insert.BindBlob(5, data).Bind(6, static_cast<int64_t>(m_clock())).Step();
        return m_sql->Changes() == 0 ? ERROR_KEY_DELETED : ERROR_SUCCESS;
    });
}

LONG SqliteRegistryStore::DeleteValue(KeyId key, std::string_view name) {
    return Guarded(m_mutex, [&] {
        Transaction txn(*m_sql, true);
        if (!KeyExists(key)) {
            return ERROR_KEY_DELETED;
        }
        Query(*m_sql, "DELETE FROM vals WHERE key=?1 AND fold=?2")
            .Bind(1, key)
            .BindText(2, FoldName(name))
            .Step();
        if (m_sql->Changes() == 0) {
            return ERROR_FILE_NOT_FOUND;
        }
        Touch(key, m_clock());
        txn.Commit();
        return ERROR_SUCCESS;
    });
}

LONG SqliteRegistryStore::QueryInfo(KeyId key, KeyInfo& info) {
    return Guarded(m_mutex, [&] {
        Transaction txn(*m_sql, false);
        KeyInfo result;
        {
            Query q(*m_sql, "SELECT class, last_write FROM keys WHERE id=?1");
            if (!q.Bind(1, key).Step()) {
                return ERROR_KEY_DELETED;
            }
            result.keyClass = q.Bytes(0);
            result.lastWriteTime = static_cast<uint64_t>(q.Int(1));
        }
        {
            Query q(*m_sql,
                    "SELECT count(*), coalesce(max(length(CAST(name AS BLOB))), 0), "
                    "coalesce(max(length(CAST(class AS BLOB))), 0) FROM keys WHERE parent=?1");
            q.Bind(1, key).Step();
            result.subKeys = static_cast<uint32_t>(q.Int(0));
            result.maxSubKeyLen = static_cast<uint32_t>(q.Int(1));
            result.maxClassLen = static_cast<uint32_t>(q.Int(2));
        }
        {
            Query q(*m_sql,
                    "SELECT count(*), coalesce(max(length(CAST(name AS BLOB))), 0), "
                    "coalesce(max(length(data)), 0), coalesce(max(written), 0) "
                    "FROM vals WHERE key=?1");
            q.Bind(1, key).Step();
            result.values = static_cast<uint32_t>(q.Int(0));
            result.maxValueNameLen = static_cast<uint32_t>(q.Int(1));
            result.maxValueLen = static_cast<uint32_t>(q.Int(2));
            result.lastWriteTime = std::max(result.lastWriteTime, static_cast<uint64_t>(q.Int(3)));
        }
        txn.Commit();
        info = std::move(result);
        return ERROR_SUCCESS;
    });
}

bool SqliteRegistryStore::IsFresh(const Snapshot& snapshot, KeyId key) {
    if (snapshot.key != key || snapshot.localChanges != m_sql->TotalChanges()) {
        return false;
    }
    Query q(*m_sql, "PRAGMA data_version");
    return q.Step() && q.Int(0) == snapshot.dataVersion;
}

void SqliteRegistryStore::Stamp(Snapshot& snapshot, KeyId key) {
    Query q(*m_sql, "PRAGMA data_version");
    snapshot.dataVersion = q.Step() ? q.Int(0) : -1;
    snapshot.localChanges = m_sql->TotalChanges();
    snapshot.key = key;
    snapshot.result = KeyExists(key) ? ERROR_SUCCESS : ERROR_KEY_DELETED;
}

LONG SqliteRegistryStore::EnumKey(KeyId key, uint32_t index, std::string& name) {
    return Guarded(m_mutex, [&] {
        if (!IsFresh(m_subkeys, key)) {
            m_subkeys = Snapshot{};
            Transaction txn(*m_sql, false);
            Snapshot fresh;
            Stamp(fresh, key);
            Query q(*m_sql, "SELECT name FROM keys WHERE parent=?1 ORDER BY fold");
            q.Bind(1, key);
            while (q.Step()) {
                fresh.subkeys.push_back(q.Bytes(0));
            }
            m_subkeys = std::move(fresh);
        }
        if (m_subkeys.result != ERROR_SUCCESS) {
            return m_subkeys.result;
        }
        if (index >= m_subkeys.subkeys.size()) {
            return ERROR_NO_MORE_ITEMS;
        }
        name = m_subkeys.subkeys[index];
        return ERROR_SUCCESS;
    });
}

LONG SqliteRegistryStore::EnumValue(KeyId key, uint32_t index, Value& value) {
    return Guarded(m_mutex, [&] {
        if (!IsFresh(m_values, key)) {
            m_values = Snapshot{};
            Transaction txn(*m_sql, false);
            Snapshot fresh;
            Stamp(fresh, key);
            Query q(*m_sql, "SELECT name, type, data FROM vals WHERE key=?1 ORDER BY seq");
            q.Bind(1, key);
            while (q.Step()) {
                fresh.values.push_back(
                    Value{q.Bytes(0), static_cast<uint32_t>(q.Int(1)), q.Bytes(2)});
            }
            m_values = std::move(fresh);
        }
        if (m_values.result != ERROR_SUCCESS) {
            return m_values.result;
        }
        if (index >= m_values.values.size()) {
            return ERROR_NO_MORE_ITEMS;
        }
        value = m_values.values[index];
        return ERROR_SUCCESS;
    });
}

LONG SqliteRegistryStore::BeginBatch() {
    return Guarded(m_mutex, [&]() -> LONG {
        if (m_batch) {
            return ERROR_BUSY;
        }
        m_batch = std::make_unique<Transaction>(*m_sql, true);
        return ERROR_SUCCESS;
    });
}

LONG SqliteRegistryStore::CommitBatch() {
    return Guarded(m_mutex, [&]() -> LONG {
        if (!m_batch) {
            return ERROR_INVALID_FUNCTION;
        }
        // A failed commit still ends the batch: its transaction rolls back as it goes.
        const std::unique_ptr<Transaction> batch = std::move(m_batch);
        batch->Commit();
        return ERROR_SUCCESS;
    });
}

LONG SqliteRegistryStore::RollbackBatch() {
    return Guarded(m_mutex, [&]() -> LONG {
        if (!m_batch) {
            return ERROR_INVALID_FUNCTION;
        }
        m_batch.reset();
        // The listings were stamped with counters that a rollback does not wind back.
        m_values = Snapshot{};
        m_subkeys = Snapshot{};
        return ERROR_SUCCESS;
    });
}

}  // namespace arn
