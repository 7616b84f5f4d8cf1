// Comparing two texts of one profile file.
#include "platform/IniChanges.h"

#include <unordered_map>
#include <unordered_set>

#include "platform/IniDocument.h"
#include "platform/TextCase.h"

namespace {

// The lines of `from` that `other` does not hold, each as often as `from` holds it more often.
std::vector<std::string> Missing(const std::vector<std::string>& from, const std::vector<std::string>& other) {
  std::unordered_map<std::string, int> left;
  for (const std::string& line : other) ++left[line];
  std::vector<std::string> missing;
  for (const std::string& line : from) {
    auto it = left.find(line);
    if (it != left.end() && it->second > 0)
      --it->second;
    else
      missing.push_back(line);
  }
  return missing;
}

std::vector<std::string> LinesOf(const IniSection* section) {
  return section ? CIniDocument::SectionLines(*section) : std::vector<std::string>();
}

}  // namespace

std::vector<IniChange> DiffIniTexts(std::string_view before, std::string_view after) {
  CIniDocument old = CIniDocument::Parse(before);
  CIniDocument now = CIniDocument::Parse(after);
  std::vector<IniChange> changes;
  std::unordered_set<std::string> seen;
  for (const std::string& name : old.SectionNames()) {
    if (!seen.insert(AsciiUpper(name)).second) continue;
    const IniSection* was = old.FindSection(name);
    const IniSection* is = now.FindSection(name);
    if (!is) {
      changes.push_back({IniChange::Kind::SectionRemoved, name, {}});
      continue;
    }
    std::vector<std::string> oldLines = LinesOf(was);
    std::vector<std::string> newLines = LinesOf(is);
    for (std::string& line : Missing(oldLines, newLines))
      changes.push_back({IniChange::Kind::EntryRemoved, name, std::move(line)});
    for (std::string& line : Missing(newLines, oldLines))
      changes.push_back({IniChange::Kind::EntryAdded, name, std::move(line)});
  }
  for (const std::string& name : now.SectionNames()) {
    if (!seen.insert(AsciiUpper(name)).second) continue;
    for (std::string& line : LinesOf(now.FindSection(name)))
      changes.push_back({IniChange::Kind::EntryAdded, name, std::move(line)});
  }
  return changes;
}
