// Reading, extending and writing back the [Rename] section of wininit.ini.
#include "engine/RestartList.h"

#include "engine/ProfileText.h"
#include "platform/Profile.h"

namespace {

constexpr const char* kRenameSection = "Rename";
// Named without a directory, the file is the one in the Windows directory.
constexpr const char* kWininit = "wininit.ini";

}  // namespace

CRestartList::CRestartList() : m_lines(ReadProfileSection(kRenameSection, kWininit)) {}

void CRestartList::AddDeletion(std::string_view path) {
  std::string line = "NULL=";
  line += path;
  m_lines.push_back(std::move(line));
}

void CRestartList::WriteBack() const {
  std::string list;
  for (const std::string& line : m_lines) {
    list += line;
    list += '\0';
  }
  list += '\0';
  WritePrivateProfileSectionA(kRenameSection, list.c_str(), kWininit);
}
