// The expansion of a path variable at the start of a key text.
#include "engine/PathVariables.h"

#include "platform/TextCase.h"

Expansion ExpandPathVariable(const PathDirectories& dirs, std::string_view keyText, std::string* path) {
  if (!keyText.starts_with('$')) {
    path->assign(keyText);
    return Expansion::Path;
  }
  size_t close = keyText.find('$', 1);
  if (close == std::string_view::npos) return Expansion::Stop;
  std::string_view name = keyText.substr(1, close - 1);
  const CString* dir = EqualsNoCase(name, "windows")    ? &dirs.m_strWindowsDir
                       : EqualsNoCase(name, "system")   ? &dirs.m_strSystemDir
                       : EqualsNoCase(name, "premiere") ? &dirs.m_strPremiereDir
                       : EqualsNoCase(name, "mstudio")  ? &dirs.m_strMStudioDir
                                                        : nullptr;
  if (!dir) return Expansion::Stop;
  *path = dir->Str();
  path->append(keyText.substr(close + 1));
  return Expansion::Path;
}
