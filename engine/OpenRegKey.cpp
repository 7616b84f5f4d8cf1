// Reading a value of an opened key as text.
#include "engine/OpenRegKey.h"

#include <array>
#include <cstring>

#include "engine/TextRoom.h"

bool COpenRegKey::QueryText(LPCSTR name, std::string* text) const {
  if (!m_bOpen) return false;
  std::array<BYTE, kTextRoom> data{};
  DWORD type = 0;
  DWORD size = static_cast<DWORD>(data.size());
  if (RegQueryValueExA(m_hKey, name, nullptr, &type, data.data(), &size) != ERROR_SUCCESS) return false;
  // Only the bytes the call gave count: data without a NUL (a number) ends at its size.
  const char* chars = reinterpret_cast<const char*>(data.data());
  text->assign(chars, strnlen(chars, size));
  return true;
}
