// A text as one word for the shell, for tests that build command lines.
#pragma once

#include <string>

// `text` in single quotes, each single quote in it written as '\''.
inline std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}
