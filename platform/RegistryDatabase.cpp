// The registry's SQLite file: opening, schema, transactions and syncs.
#include "platform/RegistryDatabase.h"

#include <sqlite3.h>

#include "platform/RegistryRoots.h"

namespace {

constexpr std::int64_t kSchemaVersion = 1;

// WAL mode with synchronous=NORMAL: a commit survives a crash of the process at once, and
// only checkpoints sync. The automatic checkpoint is raised so that a run of thousands of
// small changes reaches it about once; Sync() forces one. Temporary data (the journal of one
// large statement, say a key with thousands of subkeys deleted inside a transaction) stays in
// memory: SQLite would otherwise put it in a file of the host's temporary folder, outside the
// machine.
constexpr const char* kSettings =
    "PRAGMA synchronous=NORMAL; PRAGMA wal_autocheckpoint=10000; PRAGMA temp_store=MEMORY;";

// Key ids are never reused (AUTOINCREMENT), so a handle of a deleted key can never come to
// name a key created later. `fold` is the name upper-cased (ASCII): the unique index on
// (parent, fold) serves lookups and the sorted enumeration alike.
constexpr const char* kSchema = R"(
CREATE TABLE IF NOT EXISTS regkey(
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  parent INTEGER,
  name TEXT NOT NULL,
  fold TEXT NOT NULL);
CREATE UNIQUE INDEX IF NOT EXISTS regkey_child ON regkey(parent, fold);
CREATE TABLE IF NOT EXISTS regvalue(
  key INTEGER NOT NULL,
  fold TEXT NOT NULL,
  name TEXT NOT NULL,
  seq INTEGER NOT NULL,
  type INTEGER NOT NULL,
  data BLOB NOT NULL,
  PRIMARY KEY(key, fold)) WITHOUT ROWID;
CREATE INDEX IF NOT EXISTS regvalue_order ON regvalue(key, seq);
)";

constexpr const char* kSubtree =
    "WITH RECURSIVE tree(id) AS (SELECT ?1 UNION ALL "
    "SELECT regkey.id FROM regkey JOIN tree ON regkey.parent = tree.id) ";

}  // namespace

Status CRegistryDatabase::Ready() {
  if (m_db.IsOpen()) return Status::Ok();
  Status status = OpenFile();
  if (!status) {
    m_sql = Statements();
    m_control = Control();
    m_db.Close();
  }
  return status;
}

Status CRegistryDatabase::OpenFile() {
  RETURN_IF_ERROR(m_db.Open(m_path, kBusyTimeoutMs));
  std::string mode;
  RETURN_IF_ERROR(m_db.QueryText("PRAGMA journal_mode=WAL", &mode));
  if (mode != "wal") return Status::Error(ERROR_REGISTRY_IO_FAILED, m_path + ": cannot use WAL mode");
  RETURN_IF_ERROR(m_db.Exec(kSettings));
  std::int64_t version = 0;
  RETURN_IF_ERROR(m_db.QueryInt("PRAGMA user_version", &version));
  if (version > kSchemaVersion)
    return Status::Error(ERROR_BADDB, m_path + ": made by a newer version of the machine");
  if (version < kSchemaVersion) RETURN_IF_ERROR(CreateSchema());
  return PrepareStatements();
}

Status CRegistryDatabase::CreateSchema() {
  RETURN_IF_ERROR(m_db.Exec("BEGIN IMMEDIATE"));
  std::string sql = kSchema;
  for (const RegRoot& root : kRegRoots) {
    std::string name(root.name);
    sql += "INSERT OR IGNORE INTO regkey(id, parent, name, fold) VALUES(" + std::to_string(root.id) +
           ", NULL, '" + name + "', '" + name + "');\n";
  }
  sql += "PRAGMA user_version=" + std::to_string(kSchemaVersion) + ";\n";
  Status status = m_db.Exec(sql.c_str());
  if (status) status = m_db.Exec("COMMIT");
  if (!status) (void)m_db.Exec("ROLLBACK");
  return status;
}

Status CRegistryDatabase::PrepareStatements() {
  sqlite3* db = m_db.Handle();
  auto prepare = [db](std::string_view sql, CSqliteStatement* statement) {
    return CSqliteStatement::Prepare(db, sql, statement);
  };
  std::string subtree = kSubtree;
  RETURN_IF_ERROR(prepare("SELECT id FROM regkey WHERE parent=?1 AND fold=?2", &m_sql.findChild));
  RETURN_IF_ERROR(prepare("SELECT 1 FROM regkey WHERE id=?1", &m_sql.keyExists));
  RETURN_IF_ERROR(prepare("INSERT INTO regkey(parent, name, fold) VALUES(?1, ?2, ?3)", &m_sql.insertKey));
  RETURN_IF_ERROR(
      prepare("SELECT name, fold FROM regkey WHERE parent=?1 AND fold>=?2 "
              "ORDER BY fold LIMIT 1 OFFSET ?3",
              &m_sql.childFrom));
  RETURN_IF_ERROR(
      prepare("SELECT name, fold FROM regkey WHERE parent=?1 AND fold<?2 "
              "ORDER BY fold DESC LIMIT 1 OFFSET ?3",
              &m_sql.childBefore));
  RETURN_IF_ERROR(
      prepare(subtree + "DELETE FROM regvalue WHERE key IN (SELECT id FROM tree)", &m_sql.deleteTreeValues));
  RETURN_IF_ERROR(
      prepare(subtree + "DELETE FROM regkey WHERE id IN (SELECT id FROM tree)", &m_sql.deleteTreeKeys));
  RETURN_IF_ERROR(prepare("SELECT type, data FROM regvalue WHERE key=?1 AND fold=?2", &m_sql.getValue));
  // A value that is set again keeps its place (seq) and the spelling of its first name.
  RETURN_IF_ERROR(
      prepare("INSERT INTO regvalue(key, fold, name, seq, type, data) VALUES(?1, ?2, ?3, "
              "(SELECT coalesce(max(seq), 0) + 1 FROM regvalue WHERE key=?1), ?4, ?5) "
              "ON CONFLICT(key, fold) DO UPDATE SET type=excluded.type, data=excluded.data",
              &m_sql.setValue));
  RETURN_IF_ERROR(prepare("SELECT name, type, data FROM regvalue WHERE key=?1 ORDER BY seq LIMIT 1 OFFSET ?2",
                          &m_sql.valueAt));
  RETURN_IF_ERROR(prepare("DELETE FROM regvalue WHERE key=?1 AND fold=?2", &m_sql.deleteValue));
  RETURN_IF_ERROR(prepare("PRAGMA data_version", &m_sql.dataVersion));
  RETURN_IF_ERROR(prepare("BEGIN IMMEDIATE", &m_control.beginImmediate));
  RETURN_IF_ERROR(prepare("BEGIN", &m_control.beginDeferred));
  RETURN_IF_ERROR(prepare("COMMIT", &m_control.commit));
  RETURN_IF_ERROR(prepare("ROLLBACK", &m_control.rollback));
  RETURN_IF_ERROR(prepare("SAVEPOINT change", &m_control.savepoint));
  RETURN_IF_ERROR(prepare("RELEASE change", &m_control.release));
  return prepare("ROLLBACK TO change", &m_control.rollbackTo);
}

int CRegistryDatabase::Changes() const { return sqlite3_changes(m_db.Handle()); }

std::int64_t CRegistryDatabase::LastInsertId() const { return sqlite3_last_insert_rowid(m_db.Handle()); }

namespace {
Status RunControl(CSqliteStatement& statement) { return CSqliteQuery(statement).Run(); }
}  // namespace

Status CRegistryDatabase::BeginChange() {
  return RunControl(m_inTransaction ? m_control.savepoint : m_control.beginImmediate);
}

Status CRegistryDatabase::CommitChange() {
  if (m_inTransaction) return RunControl(m_control.release);
  Status status = RunControl(m_control.commit);
  if (!status) RollbackChange();
  return status;
}

void CRegistryDatabase::RollbackChange() {
  if (m_inTransaction) {
    (void)RunControl(m_control.rollbackTo);
    (void)RunControl(m_control.release);
  } else if (!sqlite3_get_autocommit(m_db.Handle())) {
    (void)RunControl(m_control.rollback);
  }
}

Status CRegistryDatabase::BeginTransaction() {
  if (m_inTransaction)
    return Status::Error(ERROR_INVALID_FUNCTION, m_path + ": a transaction is already open");
  RETURN_IF_ERROR(RunControl(m_control.beginImmediate));
  m_inTransaction = true;
  return Status::Ok();
}

Status CRegistryDatabase::CommitTransaction() {
  if (!m_inTransaction) return Status::Error(ERROR_INVALID_FUNCTION, m_path + ": no transaction is open");
  Status status = RunControl(m_control.commit);
  if (!status) RollbackTransaction();
  m_inTransaction = false;
  return status;
}

void CRegistryDatabase::RollbackTransaction() {
  if (m_db.IsOpen() && !sqlite3_get_autocommit(m_db.Handle())) (void)RunControl(m_control.rollback);
  m_inTransaction = false;
}

Status CRegistryDatabase::BeginRead() {
  if (m_inTransaction) return Status::Ok();
  RETURN_IF_ERROR(RunControl(m_control.beginDeferred));
  m_inRead = true;
  return Status::Ok();
}

void CRegistryDatabase::EndRead() {
  if (m_inRead) (void)RunControl(m_control.commit);
  m_inRead = false;
}

Status CRegistryDatabase::Sync() {
  if (!m_db.IsOpen()) return Status::Ok();
  if (m_inTransaction) return Status::Error(ERROR_INVALID_FUNCTION, m_path + ": sync inside a transaction");
  int rc = sqlite3_wal_checkpoint_v2(m_db.Handle(), nullptr, SQLITE_CHECKPOINT_FULL, nullptr, nullptr);
  return rc == SQLITE_OK ? Status::Ok() : SqliteFailure(m_db.Handle(), rc);
}
