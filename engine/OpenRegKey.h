// COpenRegKey: a registry key opened for one use and, when that use ends, flushed and closed,
// as the program treats every key it opens.
#pragma once

#include <string>

#include "platform/Registry.h"

class COpenRegKey {
 public:
  // Opens `subKey` below `parent` with RegOpenKeyA; IsOpen tells whether it opened.
  COpenRegKey(HKEY parent, LPCSTR subKey) { m_bOpen = RegOpenKeyA(parent, subKey, &m_hKey) == ERROR_SUCCESS; }
  ~COpenRegKey() {
    if (!m_bOpen) return;
    RegFlushKey(m_hKey);
    RegCloseKey(m_hKey);
  }
  COpenRegKey(const COpenRegKey&) = delete;
  COpenRegKey& operator=(const COpenRegKey&) = delete;

  bool IsOpen() const { return m_bOpen; }
  HKEY Key() const { return m_hKey; }

  // The data of value `name` read into room of 256 bytes, as text up to its first NUL. False
  // when the key is not open, or the value is missing or does not fit the room.
  bool QueryText(LPCSTR name, std::string* text) const;

 private:
  HKEY m_hKey = nullptr;
  bool m_bOpen = false;
};
