// The characters the terminal UI draws with: Unicode where the locale is UTF-8, ASCII else.
#pragma once

struct Glyphs {
  char32_t horizontal, vertical, topLeft, topRight, bottomLeft, bottomRight;
  char32_t sysMenuBox, closeBox, minimizeBox;
  char32_t checked, indeterminate;
  char32_t focusLeft, focusRight, defaultLeft, defaultRight;
  char32_t buttonShadowRight, buttonShadowBelow;
  char32_t gaugeFill, ellipsis, times;
  const char32_t* gaugeEighths;  // 8 partial cells, 1/8 to 8/8; nullptr where there are none
};

inline const Glyphs& UnicodeGlyphs() {
  static const Glyphs g{U'\u2500', U'\u2502', U'\u250C', U'\u2510', U'\u2514', U'\u2518', U'\u25A0', U'\u00D7',
                        U'_',      U'X',      U'-',      U'\u00BB', U'\u00AB', U'\u2192', U'\u2190', U'\u2584',
                        U'\u2580', U'\u2588', U'\u2026', U'\u00D7',
                        U"\u258F\u258E\u258D\u258C\u258B\u258A\u2589\u2588"};
  return g;
}

inline const Glyphs& AsciiGlyphs() {
  static const Glyphs g{U'-', U'|', U'+', U'+', U'+', U'+', U'=', U'x', U'_', U'X', U'-', U'>', U'<',
                        U'-', U'-', U' ', U' ', U'#', U'~', U'x', nullptr};
  return g;
}
