// RemoveRegEntries: the registry keys and values that a DeleteRegEntries section names.
#include <array>
#include <string>
#include <string_view>

#include "engine/ActionLines.h"
#include "engine/Actions.h"
#include "engine/HashLine.h"
#include "engine/OpenRegKey.h"
#include "engine/TextRoom.h"
#include "platform/Machine.h"
#include "platform/RegTransaction.h"
#include "platform/TextCase.h"

namespace {

struct RootName {
  const char* name;
  HKEY key;
};

// In the order each line's root name is compared with them.
const std::array<RootName, 6> kRoots{{
    {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
    {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
    {"HKEY_USERS", HKEY_USERS},
    {"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
    {"HKEY_DYN_DATA", HKEY_DYN_DATA},
}};

void SelectRoot(std::string_view name, HKEY& currentRoot) {
  for (const RootName& root : kRoots)
    if (EqualsNoCase(name, root.name)) {
      currentRoot = root.key;
      return;
    }
}

void DeleteKey(HKEY root, const std::string& subKey) {
  const KeyDeletion deletion = SplitKeyDeletion(subKey);
  COpenRegKey key(root, deletion.parent.c_str());
  if (key.IsOpen()) RegDeleteKeyA(key.Key(), deletion.child ? deletion.child->c_str() : nullptr);
}

void DeleteValue(HKEY root, const std::string& subKey, const HashLine& fields) {
  COpenRegKey key(root, subKey.c_str());
  if (!key.IsOpen()) return;
  if (fields.third == "@") {
    RegDeleteValueA(key.Key(), nullptr);
    return;
  }
  const std::string name(fields.third);
  if (!fields.fourth.empty()) {
    std::string data;
    if (!key.QueryText(name.c_str(), &data) || !EqualsNoCase(data, fields.fourth)) return;
  }
  RegDeleteValueA(key.Key(), name.c_str());
}

void RemoveLineEntry(std::string_view line, HKEY& currentRoot) {
  const RegEntryLine parsed = ParseRegEntryLine(line, currentRoot);
  if (parsed.step != LineStep::Act) return;
  const std::string subKey(parsed.fields.second);
  if (parsed.fields.third.empty())
    DeleteKey(parsed.root, subKey);
  else
    DeleteValue(parsed.root, subKey, parsed.fields);
}

}  // namespace

RegEntryLine ParseRegEntryLine(std::string_view line, HKEY& currentRoot) {
  RegEntryLine parsed;
  HashLineShape shape = SplitHashLine(line, &parsed.fields);
  if (shape == HashLineShape::NoSeparator) return parsed;
  // The root changes before the rest of the line is looked at, so a line passed over below
  // may still set it.
  SelectRoot(parsed.fields.first, currentRoot);
  if (shape != HashLineShape::Complete || !currentRoot) return parsed;
  if (!FitsTextRoom(parsed.fields.second) || !FitsTextRoom(parsed.fields.third)) return parsed;
  parsed.root = currentRoot;
  parsed.step = LineStep::Act;
  return parsed;
}

// The key's parent is opened and the last part of the path deleted from it; a path without a
// backslash is opened whole and given no child name, which deletes nothing.
KeyDeletion SplitKeyDeletion(std::string_view subKey) {
  size_t slash = subKey.rfind('\\');
  if (slash == std::string_view::npos) return {std::string(subKey), std::nullopt};
  return {std::string(subKey.substr(0, slash)), std::string(subKey.substr(slash + 1))};
}

void RemoveRegEntries(const SectionLines& lines, HKEY& currentRoot) {
  auto walk = [&lines](HKEY& root) {
    for (const std::string& line : lines) RemoveLineEntry(line, root);
  };
  // One transaction for the section rather than one commit per line. Should it not commit, none
  // of its changes stand, and the lines are carried out again one by one: the package is struck
  // from [Packages] after this, and must not leave its entries behind.
  const HKEY rootBefore = currentRoot;
  CRegTransaction transaction(TheMachine());
  if (!transaction.Begin().IsOk()) return walk(currentRoot);
  walk(currentRoot);
  if (transaction.Commit().IsOk()) return;
  currentRoot = rootBefore;
  walk(currentRoot);
}
