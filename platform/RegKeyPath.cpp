// Splitting of registry key paths, with the Windows 9x rules for stray backslashes.
#include "platform/RegKeyPath.h"

Status SplitKeyPath(std::string_view path, KeyPathUse use, std::vector<std::string_view>* parts) {
  parts->clear();
  if (path.starts_with('\\')) {
    if (use == KeyPathUse::Open) return Status::Error(ERROR_FILE_NOT_FOUND, std::string(path));
    std::size_t first = path.find_first_not_of('\\');
    path.remove_prefix(first == std::string_view::npos ? path.size() : first);
  }
  while (path.ends_with('\\')) path.remove_suffix(1);
  while (!path.empty()) {
    std::size_t end = path.find('\\');
    std::string_view part = path.substr(0, end);
    if (part.empty() || part.find('\0') != std::string_view::npos)
      return Status::Error(ERROR_FILE_NOT_FOUND, std::string(path));
    if (part.size() > kMaxRegNameLength)
      return Status::Error(use == KeyPathUse::Open ? ERROR_FILE_NOT_FOUND : ERROR_INVALID_PARAMETER,
                           std::string(part));
    parts->push_back(part);
    path.remove_prefix(end == std::string_view::npos ? path.size() : end + 1);
  }
  return Status::Ok();
}

bool SplitRootedKeyPath(std::string_view text, const RegRoot** root, std::string_view* below) {
  std::size_t slash = text.find('\\');
  *root = FindRegRootByName(text.substr(0, slash));
  *below = slash == std::string_view::npos ? std::string_view() : text.substr(slash + 1);
  return *root != nullptr;
}
