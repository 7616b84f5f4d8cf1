// The six root keys of the machine's registry: handle values, store ids and names.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/Machine.h"

struct RegRoot {
  std::uintptr_t handle;       // the predefined HKEY value (winreg.h)
  RegKeyId id;                 // the key's fixed id in the store
  std::string_view name;       // as .reg files write it
  std::string_view shortName;  // the abbreviation that reg.exe also accepts
};

// In handle order; HKEY_PERFORMANCE_DATA (0x80000004) exists on NT only and is not a root here.
inline constexpr RegRoot kRegRoots[] = {
    {0x80000000, 1, "HKEY_CLASSES_ROOT", "HKCR"},   {0x80000001, 2, "HKEY_CURRENT_USER", "HKCU"},
    {0x80000002, 3, "HKEY_LOCAL_MACHINE", "HKLM"},  {0x80000003, 4, "HKEY_USERS", "HKU"},
    {0x80000005, 6, "HKEY_CURRENT_CONFIG", "HKCC"}, {0x80000006, 7, "HKEY_DYN_DATA", "HKDD"},
};

// The root whose full name or abbreviation is `name` (any case), or null.
const RegRoot* FindRegRootByName(std::string_view name);
// The root with store id `id`, or null.
const RegRoot* FindRegRootById(RegKeyId id);
