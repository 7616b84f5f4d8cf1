// A prepared SQLite statement, and one use of it that always leaves it reset.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "platform/Status.h"

struct sqlite3;
struct sqlite3_stmt;

// Windows error code of an SQLite result code: ERROR_BADDB for a damaged or foreign file,
// ERROR_CANTOPEN when the file cannot be opened, ERROR_REGISTRY_IO_FAILED otherwise.
DWORD RegistryErrorOfSqlite(int rc);
// A failed Status for `rc` that names the database file and SQLite's message.
Status SqliteFailure(sqlite3* db, int rc);

class CSqliteStatement {
 public:
  CSqliteStatement() = default;
  CSqliteStatement(CSqliteStatement&& other) noexcept : m_stmt(std::exchange(other.m_stmt, nullptr)) {}
  CSqliteStatement& operator=(CSqliteStatement&& other) noexcept;
  CSqliteStatement(const CSqliteStatement&) = delete;
  CSqliteStatement& operator=(const CSqliteStatement&) = delete;
  ~CSqliteStatement();

  static Status Prepare(sqlite3* db, std::string_view sql, CSqliteStatement* statement);
  sqlite3_stmt* Handle() const { return m_stmt; }

 private:
  sqlite3_stmt* m_stmt = nullptr;
};

// One execution of a statement: binds from 1, steps, reads columns from 0. The statement is
// reset when the query ends, so it never holds a read snapshot past its use.
class CSqliteQuery {
 public:
  explicit CSqliteQuery(CSqliteStatement& statement);
  ~CSqliteQuery();
  CSqliteQuery(const CSqliteQuery&) = delete;
  CSqliteQuery& operator=(const CSqliteQuery&) = delete;

  CSqliteQuery& Bind(int index, std::int64_t number);
  CSqliteQuery& BindText(int index, std::string_view text);
  CSqliteQuery& BindBlob(int index, std::string_view bytes);

  // The next row: true in *row while there is one.
  Status Step(bool* row);
  // Runs a statement that returns no rows (or whose rows do not matter) to its end.
  Status Run();

  std::int64_t Int(int column) const;
  std::string Text(int column) const;
  std::string Blob(int column) const;

 private:
  sqlite3_stmt* m_stmt;
};
