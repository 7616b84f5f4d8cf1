// A file search from its first match to its last, with the search handle always closed.
#pragma once

#include <string>

#include "platform/FileApi.h"

// Calls onMatch(const WIN32_FIND_DATAA&) for each match of `pattern`, in the search's order;
// a pattern that matches nothing calls it never.
template <class OnMatch>
void ForEachMatch(const std::string& pattern, OnMatch&& onMatch) {
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA(pattern.c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return;
  struct Closer {
    HANDLE handle;
    ~Closer() { FindClose(handle); }
  } closer{search};
  do onMatch(static_cast<const WIN32_FIND_DATAA&>(data));
  while (FindNextFileA(search, &data));
}
