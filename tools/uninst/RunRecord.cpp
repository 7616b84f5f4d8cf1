// Describing, logging and keeping the changes of a run.
#include "tools/uninst/RunRecord.h"

#include <cstdio>

#include "platform/ExitWindows.h"
#include "platform/IniDocument.h"
#include "platform/TextCase.h"

namespace {

constexpr std::string_view kRestartSection = "Rename";

// Where the registry keeps what the uninstaller removes in its own right: its Uninstall entry,
// and the device entries of the board (its video driver's subkey, the enumeration key and the
// class key that subkey points to).
constexpr std::string_view kUninstallKeys = "HKEY_LOCAL_MACHINE\\SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\UNINSTALL\\";
constexpr std::string_view kDeviceKeys[] = {
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CURRENTCONTROLSET\\CONTROL\\MEDIARESOURCES\\MSVIDEO\\",
    "HKEY_LOCAL_MACHINE\\ENUM\\",
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CURRENTCONTROLSET\\SERVICES\\CLASS\\",
};

bool IsRestartList(const Change& change) {
  static const std::string wininit = AsciiUpper(std::string(kWindowsDirectory) + "\\wininit.ini");
  return AsciiUpper(change.path) == wininit && EqualsNoCase(change.section, kRestartSection);
}

ChangeGroup RegistryGroup(const std::string& path) {
  const std::string upper = AsciiUpper(path) + "\\";
  if (upper.starts_with(kUninstallKeys) && upper.size() > kUninstallKeys.size()) return ChangeGroup::UninstallKey;
  for (std::string_view device : kDeviceKeys)
    if (upper.starts_with(device) && upper.size() > device.size()) return ChangeGroup::DeviceEntries;
  return ChangeGroup::Registry;
}

std::string Bytes(std::uint64_t size) { return " (" + std::to_string(size) + " bytes)"; }

std::string ValueItem(const Change& change) {
  return "registry value " + change.path + " " + (change.name.empty() ? "(default)" : "\"" + change.name + "\"");
}

std::string IniPlace(const Change& change) { return change.path + " [" + change.section + "]"; }

// A NUL= or NULL= line deletes the file it names at the next start; other lines rename.
std::string DeletedAtRestart(const std::string& line) {
  size_t equals = line.find('=');
  if (equals == std::string::npos) return {};
  std::string_view key = TrimIniBlanks(std::string_view(line).substr(0, equals));
  if (!EqualsNoCase(key, "NUL") && !EqualsNoCase(key, "NULL")) return {};
  return std::string(TrimIniBlanks(std::string_view(line).substr(equals + 1)));
}

RecordedChange Recorded(const Change& change) {
  RecordedChange r;
  r.result = change.result;
  auto made = [&r](const char* verb, const char* pastVerb) {
    r.verb = verb;
    r.pastVerb = pastVerb;
  };
  switch (change.kind) {
    case ChangeKind::FileDeleted:
      r.group = ChangeGroup::FilesAndFolders;
      r.item = "file " + change.path + Bytes(change.size);
      break;
    case ChangeKind::FolderRemoved:
      r.group = ChangeGroup::FilesAndFolders;
      r.item = "folder " + change.path;
      break;
    case ChangeKind::FileCreated:
      made("create", "created");
      r.item = "file " + change.path + Bytes(change.size);
      break;
    case ChangeKind::FolderCreated:
      made("create", "created");
      r.item = "folder " + change.path;
      break;
    case ChangeKind::FileMoved:
      made("move", "moved");
      r.item = "file " + change.path + " to " + change.target;
      break;
    case ChangeKind::IniEntryRemoved:
      r.group = ChangeGroup::IniEntries;
      r.item = "INI entry " + IniPlace(change) + " " + change.line;
      break;
    case ChangeKind::IniSectionRemoved:
      r.group = ChangeGroup::IniEntries;
      r.item = "INI section " + IniPlace(change);
      break;
    case ChangeKind::IniEntryAdded:
      if (IsRestartList(change)) {
        r.group = ChangeGroup::RestartLines;
        made("schedule", "scheduled");
        r.item = "restart-time line " + IniPlace(change) + " " + change.line;
        r.restartTarget = DeletedAtRestart(change.line);
      } else {
        made("add", "added");
        r.item = "INI entry " + IniPlace(change) + " " + change.line;
      }
      break;
    case ChangeKind::RegKeyDeleted:
      r.group = RegistryGroup(change.path);
      r.item = "registry key " + change.path;
      break;
    case ChangeKind::RegValueDeleted:
      r.group = RegistryGroup(change.path);
      r.item = ValueItem(change);
      break;
    case ChangeKind::RegKeyCreated:
      made("create", "created");
      r.item = "registry key " + change.path;
      break;
    case ChangeKind::RegValueSet:
      made("set", "set");
      r.item = ValueItem(change);
      break;
    case ChangeKind::ExitWindows:
      made("request", "requested");
      r.item = (change.flags & EWX_REBOOT) ? "a restart of the machine" : "a shutdown of the machine";
      break;
  }
  return r;
}

std::string Why(const Status& status) {
  return "error " + std::to_string(status.Code()) + " (" + ErrorCodeName(status.Code()) + ")";
}

}  // namespace

const char* GroupHeading(ChangeGroup group) {
  switch (group) {
    case ChangeGroup::FilesAndFolders: return "Files and folders";
    case ChangeGroup::IniEntries: return "INI entries";
    case ChangeGroup::Registry: return "Registry keys and values";
    case ChangeGroup::DeviceEntries: return "Device entries";
    case ChangeGroup::RestartLines: return "Restart-time lines";
    case ChangeGroup::UninstallKey: return "The Uninstall key";
    case ChangeGroup::Other: return "Other changes";
  }
  return "";
}

void CRunRecord::OnChange(const Change& change) {
  m_changes.push_back(Recorded(change));
  WriteLog(Describe(m_changes.back()));
}

void CRunRecord::Note(std::string_view text) { WriteLog(std::string(text)); }

void CRunRecord::WriteLog(const std::string& text) {
  if (!m_log || m_logFailed) return;
  if (Status written = m_log->Write(text); !written) {
    // The run goes on; the log says where it stopped.
    std::fprintf(stderr, "uninst: the log cannot be written any more: %s\n", written.ToString().c_str());
    m_logFailed = true;
  }
}

bool CRunRecord::AnyFailed() const {
  for (const RecordedChange& change : m_changes)
    if (!change.result.IsOk()) return true;
  return false;
}

bool CRunRecord::RestartPending(IMachine& machine) const {
  for (const RecordedChange& change : m_changes) {
    if (change.group != ChangeGroup::RestartLines || !change.result.IsOk()) continue;
    if (change.restartTarget.empty()) return true;
    FileInfo info;
    if (machine.GetFileInfo(change.restartTarget, &info).IsOk()) return true;
  }
  return false;
}

std::string CRunRecord::Describe(const RecordedChange& change) const {
  std::string text;
  if (change.result.IsOk())
    text = m_preview ? std::string("would ") + change.verb : std::string(change.pastVerb);
  else
    text = std::string(m_preview ? "would fail to " : "could not ") + change.verb;
  text += " " + change.item;
  if (!change.result.IsOk()) text += ": " + Why(change.result);
  return text;
}
