// The journal of the changes a run made through the machine seam, one line a change, written
// as each change returns so that it survives the process being killed right after. A file
// write keeps the bytes it wrote beside the journal, so the machine a run leaves can be worked
// out from the machine before it and the journal, and compared byte for byte.
#pragma once

#include <string>
#include <vector>

#include "platform/HostFile.h"
#include "platform/Status.h"
#include "platform/WinTypes.h"

// The calls of the machine that change it, and the opening of a registry transaction, which
// holds the registry's write lock until the commit. Reads, file locks and the current directory
// change nothing that outlives the process, so they are not changes.
enum class ChangeCall {
  WriteFile,
  CreateDirectory,
  DeleteFile,
  RemoveDirectory,
  MoveFile,
  RegCreateKey,
  RegSetValue,
  RegDeleteKey,
  RegDeleteValue,
  RegBegin,
  RegCommit,
  RegSync,
  ExitWindows,
};

const char* ChangeCallName(ChangeCall call);

struct JournalEntry {
  unsigned index = 0;  // 1 for the run's first change
  ChangeCall call = ChangeCall::WriteFile;
  // Files: the host path below the machine root ("drive_c/WINDOWS/win.ini"), empty where the
  // path does not resolve. Registry: the key path as given, "#id\\sub" for a key by handle.
  std::string path;
  std::string target;     // MoveFile: where to, as `path`
  DWORD result = 0;       // ERROR_SUCCESS or the error the call returned
  std::string bytes;      // WriteFile that succeeded: what it wrote
  bool injected = false;  // the failure was the fault of the run, not the host's

  // "17 DeleteFile drive_c/x.txt -> 0": what a report prints.
  std::string Describe() const;
};

class CChangeJournal {
 public:
  // Appends to the journal at host path `path` (made anew), with write bytes in files beside it.
  static Status Create(const std::string& path, CChangeJournal* journal);
  // Reads a journal; a line cut short by a kill is impossible (each line is one write) and is
  // reported as an error.
  static Status Read(const std::string& path, std::vector<JournalEntry>* entries);

  // Writes the entry (and its bytes) with plain system calls: nothing waits in a buffer of the
  // process when it is killed after.
  void Add(const JournalEntry& entry);

 private:
  std::string m_path;
  CHostFile m_file;
};
