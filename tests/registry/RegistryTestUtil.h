// Small helpers for the registry tests: keys made and read through the Win32 functions.
#pragma once

#include "tests/support/TestMachine.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Registry.h"

// Creates `path` below `root` and returns an open handle to it (closed by the caller).
inline HKEY MakeKey(HKEY root, const char* path) {
  HKEY key = nullptr;
  EXPECT_EQ(RegCreateKeyA(root, path, &key), ERROR_SUCCESS) << path;
  return key;
}

inline void SetString(HKEY key, const char* name, const std::string& text) {
  EXPECT_EQ(RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                           static_cast<DWORD>(text.size() + 1)),
            ERROR_SUCCESS);
}

// The names of the subkeys of `key` in enumeration order.
inline std::vector<std::string> Subkeys(HKEY key) {
  std::vector<std::string> names;
  for (DWORD i = 0;; ++i) {
    char name[256];
    DWORD size = sizeof name;
    LONG rc = RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr);
    if (rc != ERROR_SUCCESS) {
      EXPECT_EQ(rc, ERROR_NO_MORE_ITEMS);
      return names;
    }
    names.emplace_back(name, size);
  }
}

// The host path of a file of tests/fixtures/registry.
inline std::string RegistryFixture(const std::string& name) { return SourcePath("tests/fixtures/registry/" + name); }

inline std::string ReadHostFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}
