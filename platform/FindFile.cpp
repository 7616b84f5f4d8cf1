// FindFirstFileA, FindNextFileA and FindClose over the installed machine's directory listings.
#include <algorithm>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/FileApi.h"
#include "platform/Machine.h"
#include "platform/LastError.h"
#include "platform/TextCase.h"
#include "platform/Wildcard.h"

namespace {

// The results of one search, taken from one listing when the search starts, as a search of a
// directory that nobody changes meanwhile would see them.
struct FindSearch {
  std::vector<WIN32_FIND_DATAA> results;
  size_t next = 0;
};

class FindHandleTable {
 public:
  HANDLE Add(std::unique_ptr<FindSearch> search) {
    std::lock_guard lock(m_mutex);
    HANDLE handle = search.get();
    m_searches.emplace(handle, std::move(search));
    return handle;
  }
  // Copies out the next result; ERROR_INVALID_HANDLE or ERROR_NO_MORE_FILES when there is none.
  DWORD Next(HANDLE handle, WIN32_FIND_DATAA* data) {
    std::lock_guard lock(m_mutex);
    auto it = m_searches.find(handle);
    if (it == m_searches.end()) return ERROR_INVALID_HANDLE;
    FindSearch& search = *it->second;
    if (search.next == search.results.size()) return ERROR_NO_MORE_FILES;
    *data = search.results[search.next++];
    return ERROR_SUCCESS;
  }
  bool Remove(HANDLE handle) {
    std::lock_guard lock(m_mutex);
    return m_searches.erase(handle) == 1;
  }

 private:
  std::mutex m_mutex;
  std::unordered_map<HANDLE, std::unique_ptr<FindSearch>> m_searches;
};

FindHandleTable& Handles() {
  static FindHandleTable table;
  return table;
}

// Copies `text` into a fixed field of the find data, cut to fit with its closing NUL.
template <size_t N>
void CopyField(char (&field)[N], const std::string& text) {
  size_t count = std::min(text.size(), N - 1);
  std::copy_n(text.data(), count, field);
  field[count] = '\0';
}

WIN32_FIND_DATAA ToFindData(const DirEntry& entry) {
  WIN32_FIND_DATAA data;
  data.dwFileAttributes = entry.attributes | (entry.isDirectory ? FILE_ATTRIBUTE_DIRECTORY : 0);
  data.nFileSizeHigh = static_cast<DWORD>(entry.size >> 32);
  data.nFileSizeLow = static_cast<DWORD>(entry.size & 0xFFFFFFFFu);
  CopyField(data.cFileName, entry.name);
  CopyField(data.cAlternateFileName, entry.shortName);
  return data;
}

DirEntry DotEntry(std::string name) {
  DirEntry entry;
  entry.name = std::move(name);
  entry.isDirectory = true;
  entry.attributes = FILE_ATTRIBUTE_DIRECTORY;
  return entry;
}

// The pattern split into the directory to list and the last element to match.
struct SearchParts {
  std::string directory;
  std::string pattern;
};

SearchParts SplitSearchPath(std::string_view path) {
  size_t slash = path.find_last_of("\\/");
  if (slash == std::string_view::npos) return {std::string(), std::string(path)};
  std::string directory(path.substr(0, slash));
  // "C:\x" lists "C:\", and "\x" the root of the current drive: the backslash is the directory.
  if (directory.empty() || directory.back() == ':') directory += '\\';
  return {std::move(directory), std::string(path.substr(slash + 1))};
}

bool IsDriveRoot(IMachine& machine, const std::string& directory) {
  std::string full;
  if (!machine.FullPath(directory, &full)) return false;
  return full.size() == 3 && full[1] == ':' && full[2] == '\\';
}

// A name without wildcards names one file, by its long or its short name. Where two long names
// differ only in case, the one spelled exactly as asked wins, else the first in sorted order,
// as path resolution picks them.
std::vector<DirEntry> FindNamed(const std::vector<DirEntry>& entries, const std::string& name) {
  const DirEntry* found = nullptr;
  for (const DirEntry& entry : entries) {
    if (entry.name == name) return {entry};
    if (!found && (EqualsNoCase(entry.name, name) || EqualsNoCase(entry.shortName, name))) found = &entry;
  }
  if (found) return {*found};
  return {};
}

std::vector<DirEntry> FindMatching(std::vector<DirEntry> entries, const std::string& pattern, bool isRoot) {
  std::vector<DirEntry> matches;
  if (!isRoot) {
    for (const char* dots : {".", ".."})
      if (MatchesWildcard(pattern, dots)) matches.push_back(DotEntry(dots));
  }
  for (DirEntry& entry : entries)
    if (MatchesWildcard(pattern, entry.name)) matches.push_back(std::move(entry));
  return matches;
}

// A plain name that path resolution takes exactly as the search would match it: no `.` or
// `..`, and no trailing dot or space (which resolution drops and a search does not).
bool ResolvesLikeSearch(const std::string& name) {
  return name != "." && name != ".." && !name.ends_with('.') && !name.ends_with(' ');
}

// The one file a plain name names, found by resolving it rather than by listing its whole
// directory: a search per listed file would otherwise read every entry of its folder each
// time. Only a found file or a missing one in an existing folder is answered here; whatever
// else (a link out of the machine, a missing folder) the listing answers as before.
std::optional<DWORD> SearchNamed(IMachine& machine, const SearchParts& parts,
                                 std::vector<WIN32_FIND_DATAA>* results) {
  if (!ResolvesLikeSearch(parts.pattern)) return std::nullopt;
  std::string path = parts.directory;
  if (!path.ends_with('\\')) path += '\\';
  path += parts.pattern;
  FileInfo info;
  Status status = machine.GetFileInfo(path, &info);
  if (status.Code() == ERROR_FILE_NOT_FOUND) return ERROR_FILE_NOT_FOUND;
  if (!status) return std::nullopt;
  DirEntry entry{std::move(info.name), std::move(info.shortName), info.isDirectory,
                 info.isDirectory ? 0 : info.size,
                 info.isDirectory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE};
  if (info.isReadOnly) entry.attributes |= FILE_ATTRIBUTE_READONLY;
  results->push_back(ToFindData(entry));
  return ERROR_SUCCESS;
}

// The matches of `path` in the order the search reports them, or the error of the search.
DWORD Search(std::string_view path, std::vector<WIN32_FIND_DATAA>* results) {
  IMachine& machine = TheMachine();
  SearchParts parts = SplitSearchPath(path);
  if (parts.pattern.empty()) return ERROR_FILE_NOT_FOUND;
  if (parts.directory.empty()) parts.directory = machine.CurrentDirectory();
  if (!HasWildcards(parts.pattern))
    if (std::optional<DWORD> answer = SearchNamed(machine, parts, results)) return *answer;
  std::vector<DirEntry> entries;
  if (Status status = machine.ListDirectory(parts.directory, &entries); !status)
    return status.IsNotFound() ? ERROR_PATH_NOT_FOUND : status.Code();
  std::vector<DirEntry> matches =
      HasWildcards(parts.pattern)
          ? FindMatching(std::move(entries), parts.pattern, IsDriveRoot(machine, parts.directory))
          : FindNamed(entries, parts.pattern);
  if (matches.empty()) return ERROR_FILE_NOT_FOUND;
  results->reserve(matches.size());
  for (const DirEntry& entry : matches) results->push_back(ToFindData(entry));
  return ERROR_SUCCESS;
}

}  // namespace

HANDLE FindFirstFileA(LPCSTR lpFileName, LPWIN32_FIND_DATAA lpFindFileData) {
  if (!lpFileName || !lpFindFileData) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  auto search = std::make_unique<FindSearch>();
  if (DWORD error = Search(lpFileName, &search->results); error != ERROR_SUCCESS) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
  }
  *lpFindFileData = search->results.front();
  search->next = 1;
  return Handles().Add(std::move(search));
}

BOOL FindNextFileA(HANDLE hFindFile, LPWIN32_FIND_DATAA lpFindFileData) {
  if (!lpFindFileData) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  DWORD error = Handles().Next(hFindFile, lpFindFileData);
  if (error == ERROR_SUCCESS) return TRUE;
  SetLastError(error);
  return FALSE;
}

BOOL FindClose(HANDLE hFindFile) {
  if (Handles().Remove(hFindFile)) return TRUE;
  SetLastError(ERROR_INVALID_HANDLE);
  return FALSE;
}
