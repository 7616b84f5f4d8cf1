// Text lookup in the language section of the script file.
#include "app/Texts.h"

#include <vector>

#include "platform/Profile.h"

std::string LoadText(const char* language, const char* scriptPath, const TextKey& key, size_t bufferSize) {
  std::vector<char> buffer(bufferSize, '\0');
  DWORD count = GetPrivateProfileStringA(language, key.key, key.defaultText, buffer.data(),
                                         static_cast<DWORD>(bufferSize), scriptPath);
  return std::string(buffer.data(), count);
}
