// The SQLite file behind a machine's registry: its schema, statements, transactions and syncs.
#pragma once

#include <string>

#include "platform/SqliteDatabase.h"
#include "platform/SqliteStatement.h"

class CRegistryDatabase {
 public:
  // How long a change waits for another process's transaction before it fails.
  static constexpr int kBusyTimeoutMs = 10'000;

  // The statements of the store, prepared once when the file is opened.
  struct Statements {
    CSqliteStatement findChild;         // ?1 parent, ?2 fold -> id
    CSqliteStatement keyExists;         // ?1 id
    CSqliteStatement insertKey;         // ?1 parent, ?2 name, ?3 fold
    CSqliteStatement childFrom;         // ?1 parent, ?2 fold, ?3 offset -> name, fold (ascending from fold)
    CSqliteStatement childBefore;       // ?1 parent, ?2 fold, ?3 offset -> name, fold (descending below fold)
    CSqliteStatement deleteTreeValues;  // ?1 id: the values of the key and of all its subkeys
    CSqliteStatement deleteTreeKeys;    // ?1 id: the key and all its subkeys
    CSqliteStatement getValue;          // ?1 key, ?2 fold -> type, data
    CSqliteStatement setValue;          // ?1 key, ?2 fold, ?3 name, ?4 type, ?5 data
    CSqliteStatement valueAt;           // ?1 key, ?2 offset -> name, type, data
    CSqliteStatement deleteValue;       // ?1 key, ?2 fold
    CSqliteStatement dataVersion;
  };

  explicit CRegistryDatabase(std::string path) : m_path(std::move(path)) {}

  // Opens the file on first use, creating the schema and the six roots when they are not there.
  // A failed open is tried again on the next call.
  Status Ready();
  Statements& Sql() { return m_sql; }
  sqlite3* Handle() const { return m_db.Handle(); }
  // Rows changed by the last statement.
  int Changes() const;
  std::int64_t LastInsertId() const;

  // One change, committed on its own: an immediate transaction (it waits for other writers up
  // to the busy timeout), or a savepoint inside the caller's open transaction.
  Status BeginChange();
  Status CommitChange();
  void RollbackChange();

  // The caller's transaction, grouping many changes; they do not nest.
  bool InTransaction() const { return m_inTransaction; }
  Status BeginTransaction();
  Status CommitTransaction();
  void RollbackTransaction();

  // A read of several statements that must see one snapshot (nothing to do inside a
  // transaction, which already holds one).
  Status BeginRead();
  void EndRead();

  // Makes every committed change durable: a full checkpoint, which syncs the log and then the
  // database file.
  Status Sync();

 private:
  Status OpenFile();
  Status CreateSchema();
  Status PrepareStatements();

  // The transaction statements, prepared like the others: a change costs no parsing.
  struct Control {
    CSqliteStatement beginImmediate, beginDeferred, commit, rollback;
    CSqliteStatement savepoint, release, rollbackTo;
  };

  std::string m_path;
  CSqliteDatabase m_db;
  Statements m_sql;
  Control m_control;
  bool m_inTransaction = false;
  bool m_inRead = false;
};
