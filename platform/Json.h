// JSON text for the program's machine-readable output.
#pragma once

#include <string>
#include <string_view>

// `bytes` as a quoted JSON string in which each byte b stands for the code point U+00bb (the
// ANSI text of the machine read as Latin-1), so any bytes give valid JSON and a NUL is \u0000.
std::string JsonBytes(std::string_view bytes);
