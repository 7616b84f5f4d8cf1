// Texts for the terminal: the program's ANSI bytes as characters, and word wrapping in a
// rectangle as a static control wraps its text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Windows-1252, the ANSI code page of the machine's texts.
std::u32string AnsiToUnicode(std::string_view text);
std::string UnicodeToUtf8(std::u32string_view text);

struct WrappedLine {
  size_t start = 0;  // where the line begins in the wrapped text
  std::u32string text;
};

// Breaks `text` into lines of at most `width` characters: at line breaks (CR LF, LF), else at
// the last blank that fits; a word longer than a line is cut. Blanks at a break are dropped.
std::vector<WrappedLine> WrapText(std::u32string_view text, int width);
// The text cut to `width` characters, an ellipsis in the middle when it is longer, so that
// the end of a path stays visible.
std::u32string TruncateMiddle(std::u32string_view text, int width, char32_t ellipsis);
