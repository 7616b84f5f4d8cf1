// CRestartList: the restart-time list, the [Rename] section of wininit.ini that Windows works
// through at its next start, held for one deletion pass.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class CRestartList {
 public:
  // Reads every line the section holds now, however many.
  CRestartList();

  // Adds "NULL=" and `path` after every line read or added before.
  void AddDeletion(std::string_view path);
  // Replaces the section with the lines read, in their order, followed by the lines added.
  void WriteBack() const;

  const std::vector<std::string>& Lines() const { return m_lines; }

 private:
  std::vector<std::string> m_lines;
};
