// One SQLite connection.
#include "platform/SqliteDatabase.h"

#include <sqlite3.h>

#include "platform/SqliteStatement.h"

CSqliteDatabase::~CSqliteDatabase() { Close(); }

void CSqliteDatabase::Close() {
  // close_v2 waits for statements that are still prepared, whatever the order of destruction.
  sqlite3_close_v2(m_db);
  m_db = nullptr;
}

Status CSqliteDatabase::Open(const std::string& path, int busyTimeoutMs) {
  Close();
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc != SQLITE_OK) {
    Status failure = db ? SqliteFailure(db, rc) : Status::Error(ERROR_CANTOPEN, path);
    sqlite3_close_v2(db);
    return failure;
  }
  m_db = db;
  sqlite3_extended_result_codes(m_db, 1);
  sqlite3_busy_timeout(m_db, busyTimeoutMs);
  return Status::Ok();
}

Status CSqliteDatabase::Exec(const char* sql) {
  int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
  return rc == SQLITE_OK ? Status::Ok() : SqliteFailure(m_db, rc);
}

Status CSqliteDatabase::QueryInt(const char* sql, std::int64_t* value) {
  CSqliteStatement statement;
  RETURN_IF_ERROR(CSqliteStatement::Prepare(m_db, sql, &statement));
  CSqliteQuery query(statement);
  bool row = false;
  RETURN_IF_ERROR(query.Step(&row));
  *value = row ? query.Int(0) : 0;
  return Status::Ok();
}

Status CSqliteDatabase::QueryText(const char* sql, std::string* value) {
  CSqliteStatement statement;
  RETURN_IF_ERROR(CSqliteStatement::Prepare(m_db, sql, &statement));
  CSqliteQuery query(statement);
  bool row = false;
  RETURN_IF_ERROR(query.Step(&row));
  *value = row ? query.Text(0) : std::string();
  return Status::Ok();
}
