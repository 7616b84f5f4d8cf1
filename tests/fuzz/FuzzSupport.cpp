// Helpers of the fuzz targets.
#include "tests/fuzz/FuzzSupport.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

void FuzzFail(std::string_view what, std::string_view detail) {
  std::fprintf(stderr, "\nproperty broken: %.*s\n", static_cast<int>(what.size()), what.data());
  if (!detail.empty()) {
    std::string text = Printable(detail);
    std::fprintf(stderr, "  %s\n", text.c_str());
  }
  std::abort();
}

std::string Printable(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7f && byte != '\\') {
      out += c;
    } else {
      out += "\\x";
      out += kHex[byte >> 4];
      out += kHex[byte & 0xf];
    }
  }
  return out;
}

std::vector<std::string_view> SplitFields(std::string_view input, std::size_t count) {
  std::vector<std::string_view> fields;
  while (fields.size() + 1 < count) {
    std::size_t nul = input.find('\0');
    if (nul == std::string_view::npos) break;
    fields.push_back(input.substr(0, nul));
    input.remove_prefix(nul + 1);
  }
  fields.push_back(input);
  fields.resize(count);
  return fields;
}

void PreferMemoryTempDir() {
  const char* current = std::getenv("TMPDIR");
  if (current && *current) return;
  struct stat st {};
  if (::stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) && ::access("/dev/shm", W_OK) == 0)
    ::setenv("TMPDIR", "/dev/shm", 0);
}
