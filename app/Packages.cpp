// The walk over the [Packages] buffer.
#include "app/Packages.h"

#include <string_view>

std::vector<PackageLine> ParsePackages(const char* buffer, size_t size) {
  std::vector<PackageLine> packages;
  size_t pos = 0;
  while (packages.size() < kMaxPackages && pos < size) {
    std::string_view rest(buffer + pos, size - pos);
    std::string_view line = rest.substr(0, rest.find('\0'));
    size_t equals = line.find('=');
    if (equals == std::string_view::npos) break;
    packages.push_back({std::string(line.substr(0, equals)), line.size() > equals + 1 && line[equals + 1] == '1'});
    pos += line.size() + 1;
  }
  return packages;
}
