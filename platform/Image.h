// CImage: a palette image (a bitmap or icon resource) and its reading from XPM text.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/Status.h"

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  bool operator==(const Rgb&) const = default;
};

class CImage {
 public:
  // Reads the XPM image whose strings are `lines` (the array an .xpm file declares): the
  // header "W H COLOURS CHARS", one line per colour ("c #RRGGBB" or "c None" for transparent)
  // and H rows of W pixels. Malformed text fails with ERROR_INVALID_PARAMETER and `error`
  // says what is wrong.
  static Status FromXpm(UINT id, std::span<const char* const> lines, CImage* image, std::string* error);

  UINT Id() const { return m_id; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  const std::vector<Rgb>& Palette() const { return m_palette; }
  // The palette index of a pixel, or -1 where the image is transparent.
  int IndexAt(int x, int y) const;

 private:
  UINT m_id = 0;
  int m_width = 0;
  int m_height = 0;
  std::vector<Rgb> m_palette;
  std::vector<std::int16_t> m_pixels;
};
