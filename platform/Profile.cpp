// The five profile functions over the parsed copies of the machine's files.
#include "platform/Profile.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Machine.h"
#include "platform/ProfileCache.h"

namespace {

// Calls name sections and keys with the spaces around them ignored; only 0x20 counts here,
// a tab is part of the name.
std::string_view DropSpaces(std::string_view name) {
  while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  return name;
}

// The Windows path of a profile file: a name without any directory is in the Windows
// directory, not the current one.
Status ProfilePath(LPCSTR fileName, std::string* path) {
  if (!fileName) return Status::Error(ERROR_FILE_NOT_FOUND);
  std::string_view name = fileName;
  if (name.empty()) return Status::Error(ERROR_ACCESS_DENIED);
  std::string full = name.find_first_of("\\/:") == std::string_view::npos
                         ? std::string(kWindowsDirectory) + "\\" + std::string(name)
                         : std::string(name);
  return TheMachine().FullPath(full, path);
}

struct LoadedProfile {
  const CIniDocument* doc = nullptr;
  bool exists = false;
};

Status LoadProfile(LPCSTR fileName, LoadedProfile* loaded) {
  std::string path;
  RETURN_IF_ERROR(ProfilePath(fileName, &path));
  return TheProfileCache().Load(TheMachine(), path, &loaded->doc, &loaded->exists);
}

DWORD CopyText(std::string_view text, LPSTR buffer, DWORD size) {
  if (size == 0) {
    SetLastError(ERROR_MORE_DATA);
    return 0;
  }
  size_t count = std::min<size_t>(text.size(), size - 1);
  std::memcpy(buffer, text.data(), count);
  buffer[count] = '\0';
  if (count < text.size()) SetLastError(ERROR_MORE_DATA);
  return static_cast<DWORD>(count);
}

// Fills a buffer with a list of NUL-closed strings closed by one more NUL. A list that does not
// fit, or fits exactly, is cut: its last string is cut short and two NULs close the buffer.
// Strings are written as they come, so a long section costs what the buffer holds, not what
// the section holds.
class CListWriter {
 public:
  CListWriter(LPSTR buffer, DWORD size) : m_buffer(buffer), m_size(size) {}

  // Adds one string made of `parts`; false once the list is known not to fit, when adding more
  // would change nothing.
  bool Add(std::span<const std::string_view> parts) {
    for (std::string_view part : parts) Put(part);
    Put(std::string_view("", 1));
    return Fits();
  }
  bool Add(std::string_view item) { return Add(std::span<const std::string_view>(&item, 1)); }

  // Closes the list; returns the count before the closing NUL (nSize - 2 when cut).
  DWORD Finish() {
    if (m_size == 0) return 0;
    if (m_count == 0) {
      m_buffer[0] = '\0';
      if (m_size >= 2) m_buffer[1] = '\0';
      return 0;
    }
    if (Fits()) {
      m_buffer[m_count] = '\0';
      return static_cast<DWORD>(m_count);
    }
    SetLastError(ERROR_MORE_DATA);
    if (m_size == 1) {
      m_buffer[0] = '\0';
      return 0;
    }
    m_buffer[m_size - 2] = '\0';
    m_buffer[m_size - 1] = '\0';
    return m_size - 2;
  }

 private:
  bool Fits() const { return m_count + 1 < m_size; }
  // Bytes beyond what a cut list keeps are counted, not written.
  void Put(std::string_view bytes) {
    size_t room = m_size >= 2 ? m_size - 2 : 0;
    if (m_count < room) std::memcpy(m_buffer + m_count, bytes.data(), std::min(bytes.size(), room - m_count));
    m_count += bytes.size();
  }

  LPSTR m_buffer;
  DWORD m_size;
  size_t m_count = 0;  // the list's length so far, closing NULs of its strings included
};

DWORD CopyList(const std::vector<std::string>& items, LPSTR buffer, DWORD size) {
  CListWriter list(buffer, size);
  for (const std::string& item : items)
    if (!list.Add(item)) break;
  return list.Finish();
}

// One pair of matching quotes around a value is not part of it.
std::string_view StripQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

const IniLine* FindValue(const CIniDocument& doc, LPCSTR section, LPCSTR key) {
  const IniSection* found = doc.FindSection(DropSpaces(section));
  return found ? CIniDocument::FindKey(*found, DropSpaces(key)) : nullptr;
}

UINT ParseProfileInt(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  UINT value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = value * 10u + static_cast<UINT>(c - '0');
  }
  return negative ? 0u - value : value;
}

BOOL Fail(const Status& status) {
  SetLastError(status.Code());
  return FALSE;
}

BOOL UpdateProfile(LPCSTR fileName, const CProfileCache::Edit& edit) {
  std::string path;
  Status status = ProfilePath(fileName, &path);
  if (status.IsOk()) status = TheProfileCache().Update(TheMachine(), path, edit);
  return status.IsOk() ? TRUE : Fail(status);
}

}  // namespace

DWORD GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString,
                               DWORD nSize, LPCSTR lpFileName) {
  SetLastError(ERROR_SUCCESS);
  if (!lpReturnedString) return 0;
  LoadedProfile profile;
  Status status = LoadProfile(lpFileName, &profile);
  if (!status.IsOk()) SetLastError(status.Code());
  if (status.IsOk() && !profile.exists) SetLastError(ERROR_FILE_NOT_FOUND);
  const CIniDocument empty;
  const CIniDocument& doc = status.IsOk() ? *profile.doc : empty;
  if (!lpAppName) return CopyList(doc.SectionNames(), lpReturnedString, nSize);
  if (!lpKeyName) {
    const IniSection* section = doc.FindSection(DropSpaces(lpAppName));
    return CopyList(section ? CIniDocument::KeyNames(*section) : std::vector<std::string>(), lpReturnedString,
                    nSize);
  }
  if (const IniLine* line = FindValue(doc, lpAppName, lpKeyName))
    return CopyText(StripQuotes(line->value), lpReturnedString, nSize);
  std::string_view fallback = lpDefault ? lpDefault : "";
  while (!fallback.empty() && fallback.back() == ' ') fallback.remove_suffix(1);
  return CopyText(fallback, lpReturnedString, nSize);
}

DWORD GetPrivateProfileSectionA(LPCSTR lpAppName, LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName) {
  SetLastError(ERROR_SUCCESS);
  if (!lpAppName || !lpReturnedString) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  LoadedProfile profile;
  Status status = LoadProfile(lpFileName, &profile);
  if (!status.IsOk()) SetLastError(status.Code());
  const IniSection* section = status.IsOk() ? profile.doc->FindSection(DropSpaces(lpAppName)) : nullptr;
  CListWriter list(lpReturnedString, nSize);
  if (section) {
    CIniDocument::ForEachSectionLine(*section,
                                     [&list](std::span<const std::string_view> parts) { return list.Add(parts); });
  }
  return list.Finish();
}

UINT GetPrivateProfileIntA(LPCSTR lpAppName, LPCSTR lpKeyName, INT nDefault, LPCSTR lpFileName) {
  SetLastError(ERROR_SUCCESS);
  UINT fallback = static_cast<UINT>(nDefault);
  if (!lpAppName || !lpKeyName) return fallback;
  LoadedProfile profile;
  Status status = LoadProfile(lpFileName, &profile);
  if (!status.IsOk()) {
    SetLastError(status.Code());
    return fallback;
  }
  const IniLine* line = FindValue(*profile.doc, lpAppName, lpKeyName);
  if (!line) return fallback;
  std::string_view value = StripQuotes(line->value);
  return value.empty() ? fallback : ParseProfileInt(value);
}

BOOL WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString, LPCSTR lpFileName) {
  SetLastError(ERROR_SUCCESS);
  if (!lpAppName) {
    // All three NULL is the documented flush of the cache, which reports FALSE whatever happens.
    if (!lpKeyName && !lpString) (void)FlushProfileWrites();
    else SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  std::string section(DropSpaces(lpAppName));
  if (!lpKeyName)
    return UpdateProfile(lpFileName, [section](CIniDocument& doc) { return doc.DeleteSection(section); });
  std::string key(DropSpaces(lpKeyName));
  if (!lpString)
    return UpdateProfile(lpFileName, [section, key](CIniDocument& doc) { return doc.DeleteKey(section, key); });
  std::string value(lpString);
  return UpdateProfile(lpFileName,
                       [section, key, value](CIniDocument& doc) { return doc.SetValue(section, key, value); });
}

BOOL WritePrivateProfileSectionA(LPCSTR lpAppName, LPCSTR lpString, LPCSTR lpFileName) {
  SetLastError(ERROR_SUCCESS);
  if (!lpAppName) return Fail(Status::Error(ERROR_INVALID_PARAMETER));
  std::string section(DropSpaces(lpAppName));
  if (!lpString)
    return UpdateProfile(lpFileName, [section](CIniDocument& doc) { return doc.DeleteSection(section); });
  std::vector<std::string> lines;
  for (LPCSTR line = lpString; *line; line += std::strlen(line) + 1) lines.emplace_back(line);
  return UpdateProfile(lpFileName,
                       [section, lines](CIniDocument& doc) { return doc.ReplaceSection(section, lines); });
}

BOOL ProfileFileReadable(LPCSTR lpFileName) {
  LoadedProfile profile;
  Status status = LoadProfile(lpFileName, &profile);
  if (status.IsOk() || status.IsNotFound()) return TRUE;
  return Fail(status);
}

CProfileWriteBatch::CProfileWriteBatch() { TheProfileCache().BeginBatch(); }

CProfileWriteBatch::~CProfileWriteBatch() {
  Status written = HasMachine() ? TheProfileCache().EndBatch(TheMachine()) : Status::Ok();
  if (!written.IsOk()) SetLastError(written.Code());
}

BOOL FlushProfileWrites() {
  if (!HasMachine()) return TRUE;
  Status written = TheProfileCache().Flush(TheMachine());
  return written.IsOk() ? TRUE : Fail(written);
}
