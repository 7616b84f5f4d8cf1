// CString's formatting, comparison and buffer operations.
#include "platform/String.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "platform/TextCase.h"

void CString::Format(LPCSTR format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (length < 0) {
    va_end(args);
    m_text.clear();
    return;
  }
  std::string text(static_cast<size_t>(length) + 1, '\0');
  std::vsnprintf(text.data(), text.size(), format, args);
  va_end(args);
  text.resize(static_cast<size_t>(length));
  m_text = std::move(text);
}

int CString::Compare(LPCSTR other) const { return std::strcmp(m_text.c_str(), other ? other : ""); }

int CString::CompareNoCase(LPCSTR other) const {
  std::string a = AsciiUpper(m_text);
  std::string b = AsciiUpper(other ? other : "");
  return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

void CString::MakeUpper() { m_text = AsciiUpper(m_text); }

void CString::MakeLower() {
  for (char& c : m_text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
}

CString CString::Left(int count) const {
  if (count <= 0) return CString();
  return CString(m_text.substr(0, static_cast<size_t>(count)));
}

CString CString::Mid(int first, int count) const {
  if (first < 0) first = 0;
  if (static_cast<size_t>(first) >= m_text.size()) return CString();
  if (count < 0) return CString(m_text.substr(static_cast<size_t>(first)));
  return CString(m_text.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::Right(int count) const {
  if (count <= 0) return CString();
  size_t n = static_cast<size_t>(count);
  if (n >= m_text.size()) return *this;
  return CString(m_text.substr(m_text.size() - n));
}

int CString::Find(char c, int start) const {
  if (start < 0) start = 0;
  size_t at = m_text.find(c, static_cast<size_t>(start));
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::Find(LPCSTR text, int start) const {
  if (start < 0) start = 0;
  size_t at = m_text.find(text ? text : "", static_cast<size_t>(start));
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(char c) const {
  size_t at = m_text.rfind(c);
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

LPSTR CString::GetBuffer(int minLength) {
  if (minLength > 0 && m_text.size() < static_cast<size_t>(minLength)) m_text.resize(static_cast<size_t>(minLength));
  return m_text.data();
}

void CString::ReleaseBuffer(int newLength) {
  if (newLength < 0 || static_cast<size_t>(newLength) > m_text.size())
    m_text.resize(std::strlen(m_text.c_str()));
  else
    m_text.resize(static_cast<size_t>(newLength));
}
