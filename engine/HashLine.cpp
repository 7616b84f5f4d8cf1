// Splitting a profile-entry or registry-entry line into its fields.
#include "engine/HashLine.h"

namespace {

// The text from `at` up to the next `separator`, and `at` moved past that separator; false
// when there is none.
bool NextField(std::string_view line, size_t& at, char separator, std::string_view* field) {
  size_t end = line.find(separator, at);
  if (end == std::string_view::npos) return false;
  *field = line.substr(at, end - at);
  at = end + 1;
  return true;
}

}  // namespace

HashLineShape SplitHashLine(std::string_view line, HashLine* fields) {
  *fields = HashLine{};
  size_t at = 0;
  if (!NextField(line, at, '#', &fields->first)) return HashLineShape::NoSeparator;
  if (!NextField(line, at, '#', &fields->second) || !NextField(line, at, '#', &fields->third) ||
      !NextField(line, at, '=', &fields->fourth))
    return HashLineShape::Incomplete;
  return HashLineShape::Complete;
}
