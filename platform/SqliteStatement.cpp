// Prepared SQLite statements and the Windows error codes of SQLite failures.
#include "platform/SqliteStatement.h"

#include <sqlite3.h>

DWORD RegistryErrorOfSqlite(int rc) {
  switch (rc & 0xff) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      return ERROR_BADDB;
    case SQLITE_CANTOPEN:
      return ERROR_CANTOPEN;
    default:
      return ERROR_REGISTRY_IO_FAILED;
  }
}

Status SqliteFailure(sqlite3* db, int rc) {
  const char* file = db ? sqlite3_db_filename(db, "main") : nullptr;
  std::string where = file && *file ? file : "registry";
  return Status::Error(RegistryErrorOfSqlite(rc),
                       where + ": " + (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)));
}

CSqliteStatement& CSqliteStatement::operator=(CSqliteStatement&& other) noexcept {
  if (this != &other) {
    sqlite3_finalize(m_stmt);
    m_stmt = std::exchange(other.m_stmt, nullptr);
  }
  return *this;
}

CSqliteStatement::~CSqliteStatement() { sqlite3_finalize(m_stmt); }

Status CSqliteStatement::Prepare(sqlite3* db, std::string_view sql, CSqliteStatement* statement) {
  sqlite3_stmt* stmt = nullptr;
  int rc = sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT, &stmt,
                              nullptr);
  if (rc != SQLITE_OK) return SqliteFailure(db, rc);
  *statement = CSqliteStatement();
  statement->m_stmt = stmt;
  return Status::Ok();
}

CSqliteQuery::CSqliteQuery(CSqliteStatement& statement) : m_stmt(statement.Handle()) {
  sqlite3_reset(m_stmt);
  sqlite3_clear_bindings(m_stmt);
}

CSqliteQuery::~CSqliteQuery() { sqlite3_reset(m_stmt); }

CSqliteQuery& CSqliteQuery::Bind(int index, std::int64_t number) {
  sqlite3_bind_int64(m_stmt, index, number);
  return *this;
}

CSqliteQuery& CSqliteQuery::BindText(int index, std::string_view text) {
  // An empty view may have no data pointer, which SQLite would bind as NULL.
  sqlite3_bind_text64(m_stmt, index, text.empty() ? "" : text.data(), text.size(), SQLITE_TRANSIENT,
                      SQLITE_UTF8);
  return *this;
}

CSqliteQuery& CSqliteQuery::BindBlob(int index, std::string_view bytes) {
  // A zero-length blob must still bind as a blob, not as NULL.
  sqlite3_bind_blob64(m_stmt, index, bytes.empty() ? "" : bytes.data(), bytes.size(), SQLITE_TRANSIENT);
  return *this;
}

Status CSqliteQuery::Step(bool* row) {
  int rc = sqlite3_step(m_stmt);
  *row = rc == SQLITE_ROW;
  if (rc == SQLITE_ROW || rc == SQLITE_DONE) return Status::Ok();
  return SqliteFailure(sqlite3_db_handle(m_stmt), rc);
}

Status CSqliteQuery::Run() {
  bool row = true;
  while (row) RETURN_IF_ERROR(Step(&row));
  return Status::Ok();
}

std::int64_t CSqliteQuery::Int(int column) const { return sqlite3_column_int64(m_stmt, column); }

std::string CSqliteQuery::Text(int column) const {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
  return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(m_stmt, column)))
              : std::string();
}

std::string CSqliteQuery::Blob(int column) const {
  const auto* bytes = static_cast<const char*>(sqlite3_column_blob(m_stmt, column));
  return bytes ? std::string(bytes, static_cast<std::size_t>(sqlite3_column_bytes(m_stmt, column)))
               : std::string();
}
