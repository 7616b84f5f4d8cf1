// The interface language of a run: from the state file, or in CD mode from the Windows locale.
#pragma once

#include <string>

// Outside CD mode the [Language] entry of the state file, default "English", cut to 19
// characters and used unchanged; in CD mode the user's "Locale" value decides: ...07 German,
// ...0C French, anything else (or no readable value) English.
std::string ChooseLanguage(bool cdMode, const char* statePath);

// The language that a locale identifier in hexadecimal stands for, by its last two
// characters, compared with case.
const char* LanguageOfLocale(const char* locale);
