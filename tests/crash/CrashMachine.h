// What the crash tests need around a machine: programs run with their precise end (a signal
// included), the machine's files as a tree to compare byte for byte, the tree a journal of
// changes leaves, the registry's integrity and its keys.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/crash/ChangeJournal.h"

// How a program ended, and what it wrote.
struct ProgramEnd {
  bool exited = false;  // by exit(); otherwise by `signal`
  int code = -1;
  int signal = 0;
  std::string out;
  std::string err;
  // "exit 0", "killed by signal 9", with standard error when there is any.
  std::string Describe() const;
};

// Runs the program argv[0] with standard input from /dev/null and waits for it.
ProgramEnd RunProgram(const std::vector<std::string>& argv);

// The files and folders of a machine by host path below its root ("drive_c/WINDOWS/win.ini"),
// a file with its bytes and a folder without. The registry (registry.db and its WAL files) and
// the record of shutdown requests (exitwindows.log) are left out: they are not written through
// the file calls.
struct FileTree {
  std::map<std::string, std::optional<std::string>> items;
  bool operator==(const FileTree&) const = default;
};

FileTree ReadFileTree(const std::string& root);

// The tree that the successful file changes of `journal` leave when made, in order, on `before`.
// A change it cannot follow (a path that did not resolve, a change of something missing) is
// added to `problems`.
FileTree Replay(FileTree before, const std::vector<JournalEntry>& journal, std::vector<std::string>* problems);

// Every item in which two trees differ, one line each ("changed drive_c/WINDOWS/win.ini").
std::vector<std::string> TreeDifferences(const FileTree& expected, const FileTree& actual);

// What SQLite's integrity check says of MACHINE/registry.db: "ok" when it is sound.
std::string RegistryIntegrity(const std::string& root);

// The machine's registry in the REGEDIT4 text that `uninst-machine reg export` writes, one entry
// a key: the key's path upper-cased, and its lines. Empty, with `error` set, when the export failed.
std::map<std::string, std::string> RegistryKeys(const std::string& root, std::string* error);

// The bytes of the host file at `path`; nothing when it is not a regular file.
std::optional<std::string> ReadHostFile(const std::string& path);

// Every key in which two registries differ, one line each ("removed HKEY_CURRENT_USER\X").
std::vector<std::string> KeyDifferences(const std::map<std::string, std::string>& expected,
                                        const std::map<std::string, std::string>& actual);

// Copies a whole machine directory to `to`, which must not exist.
void CopyMachine(const std::string& from, const std::string& to);
