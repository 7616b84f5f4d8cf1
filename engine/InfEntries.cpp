// AddInfEntries: the driver information files that describe the board.
#include <array>
#include <string>

#include "engine/ActionLines.h"
#include "engine/Actions.h"
#include "engine/FileSearch.h"
#include "engine/ProfileText.h"
#include "engine/TextRoom.h"
#include "platform/Profile.h"
#include "platform/TextCase.h"

namespace {

// The value an INF file gives its tested entry, cut to the room the program reads it into.
std::string InfValue(const std::string& infPath, const InfTest& test) {
  std::array<char, kTextRoom> value{};
  DWORD count = GetPrivateProfileStringA(test.section.c_str(), test.item.c_str(), "", value.data(),
                                         static_cast<DWORD>(value.size()), infPath.c_str());
  return std::string(value.data(), count);
}

// One search of the Inf folder: `pattern` below the Windows directory, each match in `folder`.
void AddMatchingInfs(const char* pattern, const char* folder, const InfTest& test, RemovalList& list) {
  std::array<char, kTextRoom> windows{};
  UINT length = GetWindowsDirectoryA(windows.data(), static_cast<UINT>(windows.size()));
  if (length == 0 || length >= windows.size()) return;
  const std::string windowsDir(windows.data(), length);
  const std::string dir = windowsDir + folder;
  ForEachMatch(windowsDir + pattern, [&](const WIN32_FIND_DATAA& match) {
    std::string path = dir + match.cFileName;
    if (InfValueMatches(InfValue(path, test), test))
      list.Add(CString(std::move(path)), match.nFileSizeLow, RemovalKind::File);
  });
}

}  // namespace

std::optional<InfTest> MakeInfTest(std::string section, std::string item, std::string searchId) {
  // The empty text occurs in every value: it would take every device's files.
  if (searchId.empty()) return std::nullopt;
  if (!FitsTextRoom(section) || !FitsTextRoom(item) || !FitsTextRoom(searchId)) return std::nullopt;
  return InfTest{std::move(section), std::move(item), std::move(searchId)};
}

bool InfValueMatches(std::string_view value, const InfTest& test) {
  return AsciiUpper(value).find(test.searchId) != std::string::npos;
}

void AddInfEntries(LPCSTR sectionName, LPCSTR scriptPath, RemovalList& list) {
  std::optional<InfTest> test = MakeInfTest(ReadProfileString(sectionName, "Section", "tolvekSection", scriptPath),
                                            ReadProfileString(sectionName, "Item", "%DevDesc%", scriptPath),
                                            ReadProfileString(sectionName, "Search_ID", "", scriptPath));
  if (!test) return;
  AddMatchingInfs("\\Inf\\others\\*.inf", "\\Inf\\others\\", *test, list);
  AddMatchingInfs("\\Inf\\oem*.inf", "\\Inf\\", *test, list);
}
