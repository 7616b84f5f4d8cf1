// Whole reads of profile values and sections: the engine never works on a cut text.
#pragma once

#include <string>
#include <vector>

#include "platform/WinTypes.h"

// The value of `key` in `section` of `file`, or `defaultText`, however long it is.
std::string ReadProfileString(LPCSTR section, LPCSTR key, LPCSTR defaultText, LPCSTR file);

// Every line of `section` of `file` in order, however long the section: an empty list for a
// missing or empty section.
std::vector<std::string> ReadProfileSection(LPCSTR section, LPCSTR file);
