// Lookup of the registry's root keys by name and by id.
#include "platform/RegistryRoots.h"

#include "platform/TextCase.h"

const RegRoot* FindRegRootByName(std::string_view name) {
  for (const RegRoot& root : kRegRoots)
    if (EqualsNoCase(name, root.name) || EqualsNoCase(name, root.shortName)) return &root;
  return nullptr;
}

const RegRoot* FindRegRootById(RegKeyId id) {
  for (const RegRoot& root : kRegRoots)
    if (root.id == id) return &root;
  return nullptr;
}
