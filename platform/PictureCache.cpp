// Scaling images to cells by averaging the pixels each half cell covers.
#include "platform/PictureCache.h"

namespace {

constexpr Rgb kTerminalColours[16] = {
    {0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0},   {0, 0, 128},   {128, 0, 128},
    {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
    {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

int Distance(Rgb a, Rgb b) {
  int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
  return dr * dr + dg * dg + db * db;
}

// The average of the opaque pixels in [x0, x1) by [y0, y1); transparent when most are not.
std::uint8_t Sample(const CImage& image, int x0, int x1, int y0, int y1) {
  long r = 0, g = 0, b = 0, opaque = 0, total = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x, ++total) {
      int index = image.IndexAt(x, y);
      if (index < 0) continue;
      const Rgb& rgb = image.Palette()[static_cast<size_t>(index)];
      r += rgb.r, g += rgb.g, b += rgb.b, ++opaque;
    }
  if (opaque == 0 || opaque * 2 < total) return kTransparent;
  return NearestTerminalColour(Rgb{std::uint8_t(r / opaque), std::uint8_t(g / opaque), std::uint8_t(b / opaque)});
}

}  // namespace

std::uint8_t NearestTerminalColour(Rgb rgb) {
  std::uint8_t best = 0;
  for (std::uint8_t i = 1; i < 16; ++i)
    if (Distance(rgb, kTerminalColours[i]) < Distance(rgb, kTerminalColours[best])) best = i;
  return best;
}

int TerminalColourLuminance(std::uint8_t colour) {
  const Rgb& c = kTerminalColours[colour & 15];
  return (c.r * 30 + c.g * 59 + c.b * 11) / 100;
}

const std::vector<std::uint8_t>& CPictureCache::Pixels(const CImage& image, int cols, int rows) {
  auto key = std::make_tuple(&image, cols, rows);
  auto it = m_cache.find(key);
  if (it != m_cache.end()) return it->second;
  std::vector<std::uint8_t> pixels;
  int halfRows = rows * 2;
  pixels.reserve(static_cast<size_t>(cols) * static_cast<size_t>(halfRows));
  for (int hy = 0; hy < halfRows; ++hy) {
    int y0 = hy * image.Height() / halfRows, y1 = (hy + 1) * image.Height() / halfRows;
    for (int cx = 0; cx < cols; ++cx) {
      int x0 = cx * image.Width() / cols, x1 = (cx + 1) * image.Width() / cols;
      pixels.push_back(Sample(image, x0, x1 > x0 ? x1 : x0 + 1, y0, y1 > y0 ? y1 : y0 + 1));
    }
  }
  return m_cache.emplace(key, std::move(pixels)).first->second;
}
