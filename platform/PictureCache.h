// CPictureCache: bitmaps and icons scaled to the half-block cells they are drawn in, in the
// terminal's sixteen colours, worked out once per image and size.
#pragma once

#include <cstdint>
#include <map>
#include <tuple>
#include <vector>

#include "platform/Image.h"

inline constexpr std::uint8_t kTransparent = 255;

class CPictureCache {
 public:
  // `cols` by `rows` cells, two pixels a cell vertically: cols * rows * 2 colour numbers
  // (0 to 15 in the terminal's order, kTransparent where the image is), row by row.
  const std::vector<std::uint8_t>& Pixels(const CImage& image, int cols, int rows);

 private:
  std::map<std::tuple<const CImage*, int, int>, std::vector<std::uint8_t>> m_cache;
};

// The terminal colour (0 to 15: black, red, green, yellow, blue, magenta, cyan, white, then
// their bright forms) nearest to `rgb`.
std::uint8_t NearestTerminalColour(Rgb rgb);
// The brightness of a terminal colour, 0 to 255, for drawing pictures without colours.
int TerminalColourLuminance(std::uint8_t colour);
