// The machine: one Windows PC, seen through the calls the program makes of it. Every touch of
// the host goes through this interface; the Win32-named functions forward to the installed one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileLock.h"
#include "platform/Status.h"
#include "platform/WinTypes.h"

// What identifies one version of a file: a change of any field means the file changed.
struct FileStamp {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::uint64_t size = 0;
  std::int64_t mtimeNs = 0;
  bool operator==(const FileStamp&) const = default;
};

struct FileInfo {
  std::string name;       // the last component as the host spells it
  std::string shortName;  // its 8.3 name; empty where the name is itself a valid 8.3 name
  bool isDirectory = false;
  bool isReadOnly = false;  // no write permission bit on the host
  std::uint64_t size = 0;
  FileStamp stamp;
};

// One entry of a directory listing, as a file search reports it.
struct DirEntry {
  std::string name;       // the long name, as the host spells it
  std::string shortName;  // the 8.3 name; empty where the long name is itself a valid 8.3 name
  bool isDirectory = false;
  std::uint64_t size = 0;
  DWORD attributes = FILE_ATTRIBUTE_NORMAL;
};

// A registry key as the store knows it. The six roots have fixed ids (see RegistryRoots.h).
using RegKeyId = std::int64_t;

struct RegValue {
  DWORD type = 0;    // REG_SZ, REG_DWORD...
  std::string data;  // the bytes as stored; string data includes its closing NUL
};

// All paths are Windows paths ("C:\WINDOWS\system.ini", "..\x", "win.ini"), resolved by the
// machine. Calls fail with ERROR_PATH_NOT_FOUND or ERROR_FILE_NOT_FOUND for what is missing,
// ERROR_ACCESS_DENIED for what the jail refuses (a link out of the machine), ERROR_BAD_NETPATH
// for UNC paths, ERROR_INVALID_NAME for device names and NUL bytes, and
// ERROR_FILENAME_EXCED_RANGE for paths of MAX_PATH characters or more.
class IMachine {
 public:
  virtual ~IMachine() = default;

  // ---- Paths
  // The absolute Windows path of `path` with `.` and `..` folded and every existing component
  // spelled as on disk: two spellings of one file give the same text.
  virtual Status FullPath(std::string_view path, std::string* full) = 0;
  // The process's current directory, against which relative paths resolve.
  virtual Status SetCurrentDirectory(std::string_view path) = 0;
  virtual std::string CurrentDirectory() = 0;
  // The host path that `path` names, for messages and tests; resolving never follows a link
  // out of the machine.
  virtual Status HostPath(std::string_view path, std::string* host) = 0;

  // ---- Files
  virtual Status GetFileInfo(std::string_view path, FileInfo* info) = 0;
  // The whole file; its stamp is the version that was read.
  virtual Status ReadFile(std::string_view path, std::string* bytes, FileStamp* stamp) = 0;
  // Creates or replaces the file atomically: a crash leaves the old bytes or the new, never a
  // mix. Synced to disk before it returns. Fails with ERROR_PATH_NOT_FOUND when the directory
  // is missing.
  virtual Status WriteFileAtomic(std::string_view path, std::string_view bytes) = 0;
  // An exclusive lock for one read-modify-write of the file, held until `lock` is released.
  // Blocks while another process holds it.
  virtual Status LockFileForUpdate(std::string_view path, FileLock* lock) = 0;
  virtual Status CreateDirectory(std::string_view path) = 0;
  // The directory's entries without `.` and `..`, sorted by upper-cased name.
  virtual Status ListDirectory(std::string_view path, std::vector<DirEntry>* entries) = 0;
  // Deletes a file (or a symbolic link itself). ERROR_ACCESS_DENIED for a read-only file or a
  // directory.
  virtual Status DeleteFile(std::string_view path) = 0;
  // Removes an empty directory; ERROR_DIR_NOT_EMPTY otherwise.
  virtual Status RemoveDirectory(std::string_view path) = 0;
  // Renames a file; fails with ERROR_ALREADY_EXISTS when `to` exists.
  virtual Status MoveFile(std::string_view from, std::string_view to) = 0;
  // Opens the file for reading with no sharing and closes it again: ERROR_SHARING_VIOLATION
  // while another process has it open, ERROR_FILE_NOT_FOUND when missing.
  virtual Status OpenNoShare(std::string_view path) = 0;

  // ---- Registry
  // `subPath` is a key path relative to `parent`, components separated by backslashes.
  virtual Status RegOpenKey(RegKeyId parent, std::string_view subPath, RegKeyId* key) = 0;
  virtual Status RegCreateKey(RegKeyId parent, std::string_view subPath, RegKeyId* key) = 0;
  // ERROR_KEY_DELETED once the key is gone.
  virtual Status RegCheckKey(RegKeyId key) = 0;
  virtual Status RegQueryValue(RegKeyId key, std::string_view name, RegValue* value) = 0;
  virtual Status RegSetValue(RegKeyId key, std::string_view name, const RegValue& value) = 0;
  // The subkey at `index` in case-insensitive sorted order; ERROR_NO_MORE_ITEMS past the end.
  virtual Status RegEnumKey(RegKeyId key, DWORD index, std::string* name) = 0;
  // The value at `index` in the order the values were created (setting a value again keeps
  // its place); ERROR_NO_MORE_ITEMS past the end.
  virtual Status RegEnumValue(RegKeyId key, DWORD index, std::string* name, RegValue* value) = 0;
  // Deletes the key at `subPath` below `parent` and all its subkeys; ERROR_BADKEY for an empty
  // `subPath` (a key never deletes itself, so a root is never deleted).
  virtual Status RegDeleteKey(RegKeyId parent, std::string_view subPath) = 0;
  virtual Status RegDeleteValue(RegKeyId key, std::string_view name) = 0;
  // Groups the registry changes up to RegCommitTransaction into one transaction: all of them
  // take effect, or none after RegRollbackTransaction (or when the process dies first). Other
  // processes' changes wait meanwhile. Transactions do not nest.
  virtual Status RegBeginTransaction() = 0;
  virtual Status RegCommitTransaction() = 0;
  virtual void RegRollbackTransaction() = 0;
  // Makes every committed registry change durable on disk (each change is committed, and
  // survives a crash of the process, when its call returns).
  virtual Status RegSync() = 0;

  // ---- System
  // Records a request to shut down (EWX_SHUTDOWN) or restart (EWX_REBOOT) the machine.
  virtual Status ExitWindows(UINT flags) = 0;
};

// Passes every call to another machine; tests subclass it to fail or record chosen calls.
class CForwardingMachine : public IMachine {
 public:
  explicit CForwardingMachine(IMachine& target) : m_target(target) {}

  Status FullPath(std::string_view p, std::string* f) override { return m_target.FullPath(p, f); }
  Status SetCurrentDirectory(std::string_view p) override { return m_target.SetCurrentDirectory(p); }
  std::string CurrentDirectory() override { return m_target.CurrentDirectory(); }
  Status HostPath(std::string_view p, std::string* h) override { return m_target.HostPath(p, h); }
  Status GetFileInfo(std::string_view p, FileInfo* i) override { return m_target.GetFileInfo(p, i); }
  Status ReadFile(std::string_view p, std::string* b, FileStamp* s) override {
    return m_target.ReadFile(p, b, s);
  }
  Status WriteFileAtomic(std::string_view p, std::string_view b) override {
    return m_target.WriteFileAtomic(p, b);
  }
  Status LockFileForUpdate(std::string_view p, FileLock* l) override {
    return m_target.LockFileForUpdate(p, l);
  }
  Status CreateDirectory(std::string_view p) override { return m_target.CreateDirectory(p); }
  Status ListDirectory(std::string_view p, std::vector<DirEntry>* e) override {
    return m_target.ListDirectory(p, e);
  }
  Status DeleteFile(std::string_view p) override { return m_target.DeleteFile(p); }
  Status RemoveDirectory(std::string_view p) override { return m_target.RemoveDirectory(p); }
  Status MoveFile(std::string_view f, std::string_view t) override { return m_target.MoveFile(f, t); }
  Status OpenNoShare(std::string_view p) override { return m_target.OpenNoShare(p); }

  Status RegOpenKey(RegKeyId p, std::string_view s, RegKeyId* k) override {
    return m_target.RegOpenKey(p, s, k);
  }
  Status RegCreateKey(RegKeyId p, std::string_view s, RegKeyId* k) override {
    return m_target.RegCreateKey(p, s, k);
  }
  Status RegCheckKey(RegKeyId k) override { return m_target.RegCheckKey(k); }
  Status RegQueryValue(RegKeyId k, std::string_view n, RegValue* v) override {
    return m_target.RegQueryValue(k, n, v);
  }
  Status RegSetValue(RegKeyId k, std::string_view n, const RegValue& v) override {
    return m_target.RegSetValue(k, n, v);
  }
  Status RegEnumKey(RegKeyId k, DWORD i, std::string* n) override { return m_target.RegEnumKey(k, i, n); }
  Status RegEnumValue(RegKeyId k, DWORD i, std::string* n, RegValue* v) override {
    return m_target.RegEnumValue(k, i, n, v);
  }
  Status RegDeleteKey(RegKeyId p, std::string_view s) override { return m_target.RegDeleteKey(p, s); }
  Status RegDeleteValue(RegKeyId k, std::string_view n) override { return m_target.RegDeleteValue(k, n); }
  Status RegBeginTransaction() override { return m_target.RegBeginTransaction(); }
  Status RegCommitTransaction() override { return m_target.RegCommitTransaction(); }
  void RegRollbackTransaction() override { m_target.RegRollbackTransaction(); }
  Status RegSync() override { return m_target.RegSync(); }

  Status ExitWindows(UINT flags) override { return m_target.ExitWindows(flags); }

 protected:
  IMachine& Target() { return m_target; }

 private:
  IMachine& m_target;
};

// The machine that the Win32-named functions use. Start-up and tests install one; installing
// another (or none) first writes out the profile writes still pending for the old one.
void InstallMachine(IMachine* machine);
IMachine& TheMachine();
bool HasMachine();

// The machine's fixed facts.
inline constexpr std::string_view kWindowsDirectory = "C:\\WINDOWS";
inline constexpr std::string_view kSystemDirectory = "C:\\WINDOWS\\SYSTEM";
