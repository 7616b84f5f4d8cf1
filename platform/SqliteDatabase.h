// One SQLite connection, closed when the object goes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Status.h"

struct sqlite3;

class CSqliteDatabase {
 public:
  CSqliteDatabase() = default;
  CSqliteDatabase(const CSqliteDatabase&) = delete;
  CSqliteDatabase& operator=(const CSqliteDatabase&) = delete;
  ~CSqliteDatabase();

  // Opens (creating when missing) the database file at `path`, with extended result codes
  // and a busy timeout of `busyTimeoutMs`, so that a lock held by another process is waited
  // for instead of failing.
  Status Open(const std::string& path, int busyTimeoutMs);
  void Close();
  bool IsOpen() const { return m_db != nullptr; }
  sqlite3* Handle() const { return m_db; }

  // Runs one or more statements whose rows do not matter.
  Status Exec(const char* sql);
  // The integer in the first column of the first row of `sql` (a pragma, a count).
  Status QueryInt(const char* sql, std::int64_t* value);
  // The text in the first column of the first row of `sql`.
  Status QueryText(const char* sql, std::string* value);

 private:
  sqlite3* m_db = nullptr;
};
