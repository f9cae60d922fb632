#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

namespace arn {

// The SQLite connection behind the persistent registry store: opens the file in
// write-ahead-log mode with a busy timeout, caches prepared statements, and turns every
// SQLite failure into an Error exception. Not safe for concurrent use; the store serialises.
class RegistrySqlConnection {
  public:
    struct Error : std::runtime_error {
        using std::runtime_error::runtime_error;
    };

    // Opens or creates the file; throws Error with SQLite's reason. A new file, and the log and
    // shared-memory files beside it, are readable and writable by their owner only.
    explicit RegistrySqlConnection(const std::string& path);
    ~RegistrySqlConnection();
    RegistrySqlConnection(const RegistrySqlConnection&) = delete;
    RegistrySqlConnection& operator=(const RegistrySqlConnection&) = delete;

    // Runs one or more statements without results.
    void Exec(const std::string& sql);
    // Rows changed by the last statement, and by every statement of this connection so far.
    int64_t Changes() const;
    int64_t TotalChanges() const;
    int64_t LastInsertId() const;

    // One use of a cached statement (the SQL must be a string literal: the cache is keyed by
    // its address); reset when the Query ends.
    class Query {
      public:
        Query(RegistrySqlConnection& connection, const char* sql);
        ~Query();
        Query(const Query&) = delete;
        Query& operator=(const Query&) = delete;

        Query& Bind(int index, int64_t value);
        Query& BindText(int index, std::string_view text);
        Query& BindBlob(int index, std::string_view bytes);
        // True while rows come.
        bool Step();
        int64_t Int(int column) const;
        std::string Bytes(int column) const;

      private:
        void Check(int rc);

        RegistrySqlConnection& m_connection;
        sqlite3_stmt* m_stmt;
    };

    // Rolls back unless committed. Writers take the write lock at the start, so that two
    // processes never deadlock upgrading read locks. Inside a transaction already open on the
    // connection it is a savepoint: its commit keeps its changes for the outer one to decide,
    // its rollback drops only its own.
    class Transaction {
      public:
        Transaction(RegistrySqlConnection& connection, bool write);
        ~Transaction();
        Transaction(const Transaction&) = delete;
        Transaction& operator=(const Transaction&) = delete;
        void Commit();

      private:
        RegistrySqlConnection& m_connection;
        bool m_nested = false;
        bool m_done = false;
    };

  private:
    sqlite3_stmt* Prepare(const char* sql);
    [[noreturn]] void Fail(int rc) const;
    void Close();

    sqlite3* m_db = nullptr;
    std::unordered_map<const char*, sqlite3_stmt*> m_statements;
};

}  // namespace arn
