// The process's registry handles.
#include "platform/RegHandleTable.h"

#include "platform/RegistryRoots.h"

namespace {
std::uintptr_t ValueOf(HKEY handle) { return reinterpret_cast<std::uintptr_t>(handle); }
HKEY HandleOf(std::uintptr_t value) { return reinterpret_cast<HKEY>(value); }
}  // namespace

HKEY CRegHandleTable::Open(IMachine* machine, RegKeyId key) {
  if (const RegRoot* root = FindRegRootById(key)) return HandleOf(root->handle);
  std::lock_guard lock(m_mutex);
  auto [it, added] = m_byKey.try_emplace({machine, key}, m_next);
  if (added) {
    m_byHandle.emplace(m_next, Entry{machine, key, 1});
    m_next += 4;
  } else {
    ++m_byHandle.at(it->second).references;
  }
  return HandleOf(it->second);
}

bool CRegHandleTable::Close(HKEY handle) {
  for (const RegRoot& root : kRegRoots)
    if (root.handle == ValueOf(handle)) return true;
  std::lock_guard lock(m_mutex);
  auto it = m_byHandle.find(ValueOf(handle));
  if (it == m_byHandle.end()) return false;
  if (--it->second.references == 0) {
    m_byKey.erase({it->second.machine, it->second.key});
    m_byHandle.erase(it);
  }
  return true;
}

RegKeyId CRegHandleTable::Find(IMachine* machine, HKEY handle) const {
  for (const RegRoot& root : kRegRoots)
    if (root.handle == ValueOf(handle)) return root.id;
  std::lock_guard lock(m_mutex);
  auto it = m_byHandle.find(ValueOf(handle));
  return it == m_byHandle.end() || it->second.machine != machine ? 0 : it->second.key;
}

std::size_t CRegHandleTable::OpenCount(IMachine* machine) const {
  std::lock_guard lock(m_mutex);
  std::size_t count = 0;
  for (const auto& [value, entry] : m_byHandle) count += entry.machine == machine ? 1 : 0;
  return count;
}
