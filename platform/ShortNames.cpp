// FAT basis-name generation with numeric tails.
#include "platform/ShortNames.h"

#include <functional>
#include <unordered_map>
#include <unordered_set>

#include "platform/TextCase.h"

namespace {

// Characters a short name may hold besides letters and digits; bytes of 128 and up are
// characters of the code page and allowed too.
bool IsShortNameChar(unsigned char c) {
  if (c >= 0x80) return true;
  if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  return std::string_view("!#$%&'()-@^_`{}~").find(static_cast<char>(c)) != std::string_view::npos;
}

bool IsShortNamePart(std::string_view part, size_t maxLength) {
  if (part.empty() || part.size() > maxLength) return false;
  for (unsigned char c : part)
    if (!IsShortNameChar(c)) return false;
  return true;
}

// Upper-cases and replaces what 8.3 names cannot hold; spaces and periods are dropped.
// `lossy` is set when anything but case changed.
std::string BasisPart(std::string_view text, bool* lossy) {
  std::string out;
  for (unsigned char c : text) {
    char upper = AsciiUpper(static_cast<char>(c));
    if (c == ' ' || c == '.') {
      *lossy = true;
    } else if (IsShortNameChar(static_cast<unsigned char>(upper))) {
      out += upper;
    } else {
      out += '_';
      *lossy = true;
    }
  }
  return out;
}

struct Basis {
  std::string base;
  std::string extension;
  bool lossless = false;  // the upper-cased long name is the short name itself
};

Basis MakeBasis(std::string_view name) {
  Basis basis;
  bool lossy = false;
  size_t start = name.find_first_not_of('.');
  if (start == std::string_view::npos) start = name.size();
  if (start > 0) lossy = true;
  std::string_view rest = name.substr(start);
  size_t dot = rest.rfind('.');
  std::string_view base = rest;
  if (dot != std::string_view::npos && dot + 1 < rest.size()) {
    base = rest.substr(0, dot);
    basis.extension = BasisPart(rest.substr(dot + 1), &lossy);
  } else if (dot != std::string_view::npos) {
    base = rest.substr(0, dot);
    lossy = true;
  }
  basis.base = BasisPart(base, &lossy);
  if (basis.base.empty()) {
    basis.base = "_";
    lossy = true;
  }
  if (basis.base.size() > 8 || basis.extension.size() > 3) lossy = true;
  basis.base.resize(std::min<size_t>(basis.base.size(), 8));
  basis.extension.resize(std::min<size_t>(basis.extension.size(), 3));
  basis.lossless = !lossy;
  return basis;
}

std::string Join(const std::string& base, const std::string& extension) {
  return extension.empty() ? base : base + "." + extension;
}

// `nextTail` remembers, for each basis, the first tail not yet tried: every earlier one names
// a taken short name already (names are only ever added), so a directory of many names with one
// basis costs one try per name instead of one per earlier name.
std::string WithTail(const Basis& basis, std::unordered_set<std::string>& taken,
                     std::unordered_map<std::string, unsigned>& nextTail) {
  unsigned& next = nextTail.try_emplace(Join(basis.base, basis.extension), 1).first->second;
  for (unsigned n = next;; ++n) {
    next = n + 1;
    std::string tail = "~" + std::to_string(n);
    std::string base = basis.base.substr(0, 8 - std::min<size_t>(tail.size(), 7)) + tail;
    std::string candidate = Join(base, basis.extension);
    if (taken.insert(candidate).second) return candidate;
  }
}

}  // namespace

bool IsUpperShortName(std::string_view name) {
  if (name == "." || name == "..") return true;
  size_t dot = name.find('.');
  if (dot == std::string_view::npos) return IsShortNamePart(name, 8);
  return IsShortNamePart(name.substr(0, dot), 8) && IsShortNamePart(name.substr(dot + 1), 3);
}

std::string ShortNameFor(std::string_view longName, const std::function<bool(const std::string&)>& taken) {
  if (IsUpperShortName(longName)) return {};
  Basis basis = MakeBasis(longName);
  std::string plain = Join(basis.base, basis.extension);
  if (basis.lossless && !taken(plain)) return plain;
  for (unsigned n = 1;; ++n) {
    std::string tail = "~" + std::to_string(n);
    std::string candidate = Join(basis.base.substr(0, 8 - std::min<size_t>(tail.size(), 7)) + tail, basis.extension);
    if (!taken(candidate)) return candidate;
  }
}

std::vector<std::string> GenerateShortNames(const std::vector<std::string>& longNames) {
  std::vector<std::string> shortNames(longNames.size());
  std::unordered_set<std::string> taken;
  std::unordered_map<std::string, unsigned> nextTail;
  // Names that are short names already keep them; the others must not collide with those.
  for (const std::string& name : longNames)
    if (IsUpperShortName(name)) taken.insert(name);
  for (size_t i = 0; i < longNames.size(); ++i) {
    if (IsUpperShortName(longNames[i])) continue;
    Basis basis = MakeBasis(longNames[i]);
    std::string plain = Join(basis.base, basis.extension);
    if (basis.lossless && taken.insert(plain).second)
      shortNames[i] = plain;
    else
      shortNames[i] = WithTail(basis, taken, nextTail);
  }
  return shortNames;
}
