// CString: the class library's string, a value-semantics text with printf-style formatting.
#pragma once

#include <string>
#include <string_view>

#include "platform/WinTypes.h"

// Copies behave as the reference-counted original's do: each CString is its own value, so a
// change to one never shows in another.
class CString {
 public:
  CString() = default;
  CString(LPCSTR text) : m_text(text ? text : "") {}  // NOLINT: implicit, as in the class library
  CString(std::string text) : m_text(std::move(text)) {}  // NOLINT
  CString(std::string_view text) : m_text(text) {}  // NOLINT

  operator LPCSTR() const { return m_text.c_str(); }  // NOLINT: implicit, as in the class library
  LPCSTR GetString() const { return m_text.c_str(); }
  const std::string& Str() const { return m_text; }

  int GetLength() const { return static_cast<int>(m_text.size()); }
  BOOL IsEmpty() const { return m_text.empty(); }
  void Empty() { m_text.clear(); }
  char GetAt(int index) const { return m_text.at(static_cast<size_t>(index)); }

  // printf-style formatting; the result may be of any length.
  void Format(LPCSTR format, ...) __attribute__((format(printf, 2, 3)));

  CString& operator=(LPCSTR text) { m_text = text ? text : ""; return *this; }
  CString& operator+=(const CString& other) { m_text += other.m_text; return *this; }
  CString& operator+=(LPCSTR text) { if (text) m_text += text; return *this; }
  CString& operator+=(char c) { m_text += c; return *this; }
  friend CString operator+(const CString& a, const CString& b) { return CString(a.m_text + b.m_text); }
  friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
  friend bool operator==(const CString& a, LPCSTR b) { return a.m_text == (b ? b : ""); }

  int Compare(LPCSTR other) const;
  // Compares without regard to the case of the letters A to Z.
  int CompareNoCase(LPCSTR other) const;
  void MakeUpper();
  void MakeLower();
  CString Left(int count) const;
  CString Mid(int first, int count = -1) const;
  CString Right(int count) const;
  // The index of the first `c` or `text` at or after `start`, or -1.
  int Find(char c, int start = 0) const;
  int Find(LPCSTR text, int start = 0) const;
  int ReverseFind(char c) const;

  // A writable buffer of at least `minLength` characters and a closing NUL; ReleaseBuffer
  // takes the text up to its first NUL (or `newLength` characters) as the new value.
  LPSTR GetBuffer(int minLength);
  void ReleaseBuffer(int newLength = -1);

 private:
  std::string m_text;
};
