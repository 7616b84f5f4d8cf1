// CRunRecord: the one observer of a run's changes. It describes each change once, as the kind
// of item it is and the group the preview lists it under, and from that one description serves
// the log (a line as each change happens), the preview's list and the exit status.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/ChangeLog.h"
#include "platform/ChangeObserver.h"
#include "platform/Machine.h"

// The groups of the preview's list, in its order.
enum class ChangeGroup {
  FilesAndFolders,
  IniEntries,
  Registry,
  DeviceEntries,
  RestartLines,
  UninstallKey,
  Other,  // what a run makes rather than removes: files written anew, a shutdown or restart request
};

struct RecordedChange {
  ChangeGroup group = ChangeGroup::Other;
  std::string item;      // "file C:\WINDOWS\tk7cap.hlp (61440 bytes)"
  const char* verb = "remove";      // or "schedule", "create"...
  const char* pastVerb = "removed";  // or "scheduled", "created"...
  Status result;
  // A restart-time line: the file a NUL= line deletes; empty for a line that renames.
  std::string restartTarget;
};

class CRunRecord : public IChangeObserver {
 public:
  // `preview`: the changes are not made (a dry run) and the log says what would be done.
  // `log` may be null; it must outlive the record.
  CRunRecord(bool preview, CChangeLog* log) : m_preview(preview), m_log(log) {}

  void OnChange(const Change& change) override;
  // A line of the log that is not a change: the start and the end of a run.
  void Note(std::string_view text);

  const std::vector<RecordedChange>& Changes() const { return m_changes; }
  bool AnyTried() const { return !m_changes.empty(); }
  bool AnyFailed() const;
  // Whether a restart-time line the run added still waits for the next start: it renames, or
  // the file it deletes is still there on `machine`.
  bool RestartPending(IMachine& machine) const;

  // "removed file C:\x (3 bytes)", "would remove ...", "could not remove ...: error 5 (...)".
  std::string Describe(const RecordedChange& change) const;

 private:
  void WriteLog(const std::string& text);

  bool m_preview;
  CChangeLog* m_log;
  bool m_logFailed = false;
  std::vector<RecordedChange> m_changes;
};

// The preview's heading of a group: "Files and folders".
const char* GroupHeading(ChangeGroup group);
