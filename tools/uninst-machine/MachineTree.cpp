// The tree of a machine's drives as Windows paths.
#include "tools/uninst-machine/MachineTree.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

void PrintFolder(IMachine& machine, const std::string& folder, int depth) {
  std::vector<DirEntry> entries;
  if (!machine.ListDirectory(folder, &entries).IsOk()) return;
  for (const DirEntry& entry : entries) {
    std::string path = folder + (folder.ends_with('\\') ? "" : "\\") + entry.name;
    std::printf("  %s%s\n", path.c_str(), entry.isDirectory ? "\\" : "");
    if (entry.isDirectory && depth < 32) PrintFolder(machine, path, depth + 1);
  }
}

}  // namespace

void PrintMachineTree(IMachine& machine) {
  for (char drive = 'A'; drive <= 'Z'; ++drive) {
    std::string root{drive, ':', '\\'};
    std::vector<DirEntry> entries;
    if (!machine.ListDirectory(root, &entries).IsOk()) continue;
    std::printf("  %s\n", root.c_str());
    PrintFolder(machine, root, 0);
  }
}
