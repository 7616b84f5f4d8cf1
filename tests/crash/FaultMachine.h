// CFaultMachine: a machine that passes every call on, numbers the calls that change the
// machine (see ChangeCall), writes each to a journal, and at the chosen change either makes it
// fail as the host would, without touching anything, or kills the process right after it, or
// inside it when it is a file write.
#pragma once

#include <string>
#include <utility>

#include "platform/Machine.h"
#include "tests/crash/ChangeJournal.h"

struct FaultPlan {
  enum class Mode {
    None,         // every change goes through
    Fail,         // change `at` fails with `error` (0: the host's usual error for that call)
    KillAfter,    // the process dies by SIGKILL as soon as change `at` has returned
    KillInWrite,  // change `at`, a file write, is killed between its synced temporary file and
                  // the rename over the old file
  };
  Mode mode = Mode::None;
  unsigned at = 0;
  DWORD error = 0;
};

// The error a host gives when such a change cannot be made: a write that cannot reach the disk,
// a name the file system refuses, a registry database that cannot be written.
DWORD HostErrorOf(ChangeCall call);

class CFaultMachine : public CForwardingMachine {
 public:
  // `root` is the host directory of the machine `target` serves, for the journal's paths.
  CFaultMachine(IMachine& target, std::string root, FaultPlan plan, CChangeJournal& journal)
      : CForwardingMachine(target), m_root(std::move(root)), m_plan(plan), m_journal(journal) {}

  Status WriteFileAtomic(std::string_view path, std::string_view bytes) override;
  Status CreateDirectory(std::string_view path) override;
  Status DeleteFile(std::string_view path) override;
  Status RemoveDirectory(std::string_view path) override;
  Status MoveFile(std::string_view from, std::string_view to) override;

  Status RegCreateKey(RegKeyId parent, std::string_view subPath, RegKeyId* key) override;
  Status RegSetValue(RegKeyId key, std::string_view name, const RegValue& value) override;
  Status RegDeleteKey(RegKeyId parent, std::string_view subPath) override;
  Status RegDeleteValue(RegKeyId key, std::string_view name) override;
  Status RegBeginTransaction() override;
  Status RegCommitTransaction() override;
  Status RegSync() override;

  Status ExitWindows(UINT flags) override;

  unsigned Changes() const { return m_count; }

 private:
  // Numbers the change, fails or forwards it, journals it and, when planned, dies after it.
  // Changes made while another is under way (the boot step inside a restart) are numbered too.
  template <class Forward>
  Status Change(JournalEntry entry, Forward&& forward);
  // The host path of `path` below the machine root; empty where it does not resolve.
  std::string Below(std::string_view path);

  std::string m_root;
  FaultPlan m_plan;
  CChangeJournal& m_journal;
  unsigned m_count = 0;
};
