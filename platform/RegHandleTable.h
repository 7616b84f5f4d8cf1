// The open registry handles of the process and the key each one names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <unordered_map>
#include <utility>

#include "platform/Machine.h"
#include "platform/Registry.h"

class CRegHandleTable {
 public:
  // A handle for `key` of `machine`: the root's predefined handle for a root; otherwise, as on
  // Windows 95, the same value for as long as the key stays open, with one more reference.
  HKEY Open(IMachine* machine, RegKeyId key);
  // Drops one reference; false when `handle` is not open. Closing a root always succeeds.
  bool Close(HKEY handle);
  // The key that `handle` names in `machine`; 0 for NULL, an unknown handle or a handle of
  // another machine (one installed before).
  RegKeyId Find(IMachine* machine, HKEY handle) const;
  std::size_t OpenCount(IMachine* machine) const;

 private:
  struct Entry {
    IMachine* machine;
    RegKeyId key;
    std::uint32_t references;
  };

  mutable std::mutex m_mutex;
  std::unordered_map<std::uintptr_t, Entry> m_byHandle;
  std::map<std::pair<IMachine*, RegKeyId>, std::uintptr_t> m_byKey;
  // Values are never reused, so a closed handle stays invalid.
  std::uintptr_t m_next = 0x1000;
};
