// The [Packages] lines of the state file, as the main dialog reads them.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The main dialog shows at most this many packages.
inline constexpr size_t kMaxPackages = 7;
// [Packages] is read whole into a buffer of this size; a longer section is cut.
inline constexpr size_t kPackagesBufferSize = 1024;

struct PackageLine {
  std::string name;      // the text before the first equals sign
  bool checked = false;  // the first character after it is "1"
};

// Walks the NUL-closed lines of `buffer` (as GetPrivateProfileSectionA leaves them, closed by
// an empty string): at most seven, stopping at the first line without an equals sign.
std::vector<PackageLine> ParsePackages(const char* buffer, size_t size);
