// The room the Windows program gives a path, a key text or a section name, and the test each
// action makes against it.
#pragma once

#include <cstddef>
#include <string_view>

// 255 characters and the closing NUL.
inline constexpr std::size_t kTextRoom = 256;

// A text that would not fit is passed over whole: cut to the room it could name another file,
// key or section than the script meant.
inline bool FitsTextRoom(std::string_view text) { return text.size() < kTextRoom; }
