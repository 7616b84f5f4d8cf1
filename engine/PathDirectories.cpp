// Where the run finds the directories of the four path variables.
#include <array>
#include <string>

#include "engine/OpenRegKey.h"
#include "engine/PathVariables.h"
#include "engine/TextRoom.h"
#include "platform/FileApi.h"

namespace {

constexpr const char* kPremiereKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Premiere.exe";
constexpr const char* kPremiereDefault = "C:\\Win32App\\Premiere";
// Written with a leading backslash, as the keys once were, RegOpenKeyA could never open them
// and the MediaStudio directory would always be the default.
constexpr const char* kMStudioKeyStem = "SOFTWARE\\Ulead Systems\\Ulead MediaStudio VE\\2.5AVE";
constexpr const char* kMStudioDefault = "C:\\MSVE25";

template <class GetDirectory>
CString SystemDirectory(GetDirectory get) {
  std::array<char, kTextRoom> dir{};
  UINT length = get(dir.data(), static_cast<UINT>(dir.size()));
  return length < dir.size() ? CString(std::string(dir.data(), length)) : CString();
}

// The key's Path value without its last element, or false where there is none to take: a value
// that cannot be read, or one without any backslash, leaves the default.
bool DirectoryFromPath(const COpenRegKey& key, CString* dir) {
  std::string path;
  if (!key.QueryText("Path", &path)) return false;
  size_t slash = path.rfind('\\');
  if (slash == std::string::npos) return false;
  *dir = path.substr(0, slash);
  return true;
}

CString PremiereDirectory() {
  CString dir = kPremiereDefault;
  COpenRegKey key(HKEY_LOCAL_MACHINE, kPremiereKey);
  if (key.IsOpen()) DirectoryFromPath(key, &dir);
  return dir;
}

// The key named by the language's first letter, then the German, English and French ones; the
// first that opens is the one read.
CString MStudioDirectory(const char* language) {
  CString dir = kMStudioDefault;
  std::string stem = kMStudioKeyStem;
  // An empty language has no letter; the stem alone would name another key.
  std::string first = language && *language ? stem + language[0] : std::string();
  for (const std::string& path : {first, stem + 'D', stem + 'E', stem + 'F'}) {
    if (path.empty()) continue;
    COpenRegKey key(HKEY_LOCAL_MACHINE, path.c_str());
    if (!key.IsOpen()) continue;
    DirectoryFromPath(key, &dir);
    break;
  }
  return dir;
}

}  // namespace

PathDirectories FindPathDirectories(const char* language) {
  PathDirectories dirs;
  dirs.m_strWindowsDir = SystemDirectory(GetWindowsDirectoryA);
  dirs.m_strSystemDir = SystemDirectory(GetSystemDirectoryA);
  dirs.m_strPremiereDir = PremiereDirectory();
  dirs.m_strMStudioDir = MStudioDirectory(language);
  return dirs;
}
