// Printing a dry run's list.
#include "tools/uninst/PreviewList.h"

#include <string>
#include <vector>

namespace {

void PrintGroup(const char* heading, const std::vector<std::string>& items, std::FILE* out) {
  std::fprintf(out, "%s:\n", heading);
  if (items.empty()) std::fprintf(out, "  (none)\n");
  for (const std::string& item : items) std::fprintf(out, "  %s\n", item.c_str());
}

}  // namespace

void PrintPreview(const CRunRecord& record, std::FILE* out) {
  std::fprintf(out, "Dry run: nothing was changed. The run would remove or schedule:\n");
  constexpr ChangeGroup kOrder[] = {ChangeGroup::FilesAndFolders, ChangeGroup::IniEntries,   ChangeGroup::Registry,
                                    ChangeGroup::DeviceEntries,   ChangeGroup::RestartLines, ChangeGroup::UninstallKey};
  for (ChangeGroup group : kOrder) {
    std::vector<std::string> items;
    for (const RecordedChange& change : record.Changes())
      if (change.group == group && change.result.IsOk()) items.push_back(change.item);
    PrintGroup(GroupHeading(group), items, out);
  }
  std::vector<std::string> failing;
  std::vector<std::string> other;
  for (const RecordedChange& change : record.Changes()) {
    if (!change.result.IsOk())
      failing.push_back(record.Describe(change));
    else if (change.group == ChangeGroup::Other)
      other.push_back(record.Describe(change));
  }
  PrintGroup("Could not be removed", failing, out);
  PrintGroup(GroupHeading(ChangeGroup::Other), other, out);
  std::fflush(out);
}
