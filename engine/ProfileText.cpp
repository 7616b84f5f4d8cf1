// Reads that grow their buffer until the profile function no longer cuts.
#include "engine/ProfileText.h"

#include <cstring>

#include "engine/TextRoom.h"
#include "platform/Profile.h"

namespace {

// The section buffer of the Windows program; most sections fit it at the first read.
constexpr DWORD kSectionRoom = 16384;

}  // namespace

std::string ReadProfileString(LPCSTR section, LPCSTR key, LPCSTR defaultText, LPCSTR file) {
  std::string text(kTextRoom, '\0');
  for (;;) {
    DWORD size = static_cast<DWORD>(text.size());
    DWORD count = GetPrivateProfileStringA(section, key, defaultText, text.data(), size, file);
    // A value is cut to size - 1 characters; only a shorter one is known to be whole.
    if (count + 1 < size) {
      text.resize(count);
      return text;
    }
    text.assign(text.size() * 2, '\0');
  }
}

std::vector<std::string> ReadProfileSection(LPCSTR section, LPCSTR file) {
  std::string list(kSectionRoom, '\0');
  DWORD count = 0;
  for (;;) {
    DWORD size = static_cast<DWORD>(list.size());
    count = GetPrivateProfileSectionA(section, list.data(), size, file);
    // A section that is cut, or fits exactly, comes back with size - 2 characters.
    if (count + 2 != size) break;
    list.assign(list.size() * 2, '\0');
  }
  std::vector<std::string> lines;
  for (size_t at = 0; at < count && list[at] != '\0';) {
    size_t length = std::strlen(list.data() + at);
    lines.emplace_back(list, at, length);
    at += length + 1;
  }
  return lines;
}
