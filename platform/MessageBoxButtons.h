// The answers a message box of each MB_ type can give, and the one its default button gives.
#pragma once

#include <vector>

#include "platform/WinTypes.h"

// The buttons' answers (IDOK, IDCANCEL, IDYES...) in the order the box shows them.
std::vector<int> MessageBoxAnswers(UINT type);

// The answer of the default button: the one that MB_DEFBUTTONn names, or the first where the
// box has fewer buttons than that number, as Windows does.
int MessageBoxDefaultAnswer(UINT type);
