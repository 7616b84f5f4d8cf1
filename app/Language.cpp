// Choosing the language section of the script file.
#include "app/Language.h"

#include <cstring>

#include "app/StateFile.h"
#include "platform/Profile.h"
#include "platform/Registry.h"

namespace {

// The user's locale value, read into a buffer of 10 bytes as the program always has: a value
// that does not fit cannot be read and gives English.
bool ReadLocale(char (&locale)[10]) {
  HKEY key = nullptr;
  if (RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\International", &key) != ERROR_SUCCESS) return false;
  DWORD type = 0;
  DWORD size = sizeof locale;
  LONG read = RegQueryValueExA(key, "Locale", nullptr, &type, reinterpret_cast<LPBYTE>(locale), &size);
  RegFlushKey(key);
  RegCloseKey(key);
  if (read != ERROR_SUCCESS) return false;
  locale[sizeof locale - 1] = '\0';
  return true;
}

}  // namespace

const char* LanguageOfLocale(const char* locale) {
  size_t length = std::strlen(locale);
  const char* last = length >= 2 ? locale + length - 2 : "";
  if (std::strcmp(last, "07") == 0) return "German";
  if (std::strcmp(last, "0C") == 0) return "French";
  return state::kDefaultLanguage;
}

std::string ChooseLanguage(bool cdMode, const char* statePath) {
  if (cdMode) {
    char locale[10] = {};
    return ReadLocale(locale) ? LanguageOfLocale(locale) : state::kDefaultLanguage;
  }
  char language[state::kLanguageBufferSize];
  DWORD count = GetPrivateProfileStringA(state::kLanguageSection, state::kLanguageKey, state::kDefaultLanguage,
                                         language, sizeof language, statePath);
  return std::string(language, count);
}
