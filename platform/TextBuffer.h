// A NUL-closed text of fixed room, as the Windows program keeps its paths and names: a longer
// text is cut to the room on purpose, never written past it.
#pragma once

#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

template <std::size_t N>
class CTextBuffer {
  static_assert(N > 0);

 public:
  CTextBuffer() { m_chars[0] = '\0'; }
  CTextBuffer(std::string_view text) { Assign(text); }  // NOLINT: implicit, like a char array

  // Keeps at most N - 1 characters of `text`; returns whether it fitted whole.
  bool Assign(std::string_view text) {
    std::size_t count = text.size() < N ? text.size() : N - 1;
    std::memcpy(m_chars.data(), text.data(), count);
    m_chars[count] = '\0';
    return count == text.size();
  }
  CTextBuffer& operator=(std::string_view text) {
    Assign(text);
    return *this;
  }

  const char* c_str() const { return m_chars.data(); }
  operator const char*() const { return m_chars.data(); }  // NOLINT: as a char array decays
  // The room for Win32 calls that fill a buffer of Capacity() characters with its NUL.
  char* data() { return m_chars.data(); }
  static constexpr std::size_t Capacity() { return N; }
  std::size_t size() const { return std::strlen(m_chars.data()); }
  bool empty() const { return m_chars[0] == '\0'; }
  std::string_view view() const { return {m_chars.data(), size()}; }

 private:
  std::array<char, N> m_chars;
};
