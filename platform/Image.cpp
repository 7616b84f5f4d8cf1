// Reading XPM text into a palette image.
#include "platform/Image.h"

#include <cstdio>
#include <map>
#include <sstream>

namespace {

Status Fail(std::string* error, std::string message) {
  *error = std::move(message);
  return Status::Error(ERROR_INVALID_PARAMETER);
}

bool ParseHex(const std::string& text, Rgb* rgb) {
  if (text.size() != 7 || text[0] != '#') return false;
  unsigned value = 0;
  for (size_t i = 1; i < 7; ++i) {
    char c = text[i];
    unsigned digit = (c >= '0' && c <= '9') ? unsigned(c - '0')
                     : (c >= 'a' && c <= 'f') ? unsigned(c - 'a' + 10)
                     : (c >= 'A' && c <= 'F') ? unsigned(c - 'A' + 10) : 16u;
    if (digit > 15) return false;
    value = value * 16 + digit;
  }
  *rgb = Rgb{std::uint8_t(value >> 16), std::uint8_t(value >> 8), std::uint8_t(value)};
  return true;
}

}  // namespace

Status CImage::FromXpm(UINT id, std::span<const char* const> lines, CImage* image, std::string* error) {
  if (lines.empty()) return Fail(error, "no header");
  int width = 0, height = 0, colours = 0, chars = 0;
  if (std::sscanf(lines[0], "%d %d %d %d", &width, &height, &colours, &chars) != 4 || width <= 0 ||
      height <= 0 || colours <= 0 || chars != 1)
    return Fail(error, "bad header (one character per pixel is read)");
  if (lines.size() != static_cast<size_t>(1 + colours + height)) return Fail(error, "wrong number of lines");
  CImage result;
  result.m_id = id;
  result.m_width = width;
  result.m_height = height;
  std::map<char, int> indexOf;
  for (int i = 0; i < colours; ++i) {
    std::string line = lines[static_cast<size_t>(1 + i)];
    std::istringstream in(line.size() > 1 ? line.substr(1) : std::string());
    std::string key, value;
    if (line.empty() || !(in >> key >> value) || key != "c") return Fail(error, "bad colour line: " + line);
    Rgb rgb;
    if (value == "None") {
      indexOf[line[0]] = -1;
      continue;
    }
    if (!ParseHex(value, &rgb)) return Fail(error, "bad colour: " + value);
    indexOf[line[0]] = static_cast<int>(result.m_palette.size());
    result.m_palette.push_back(rgb);
  }
  result.m_pixels.reserve(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    std::string_view row = lines[static_cast<size_t>(1 + colours + y)];
    if (row.size() != static_cast<size_t>(width)) return Fail(error, "row " + std::to_string(y) + " has the wrong width");
    for (char c : row) {
      auto it = indexOf.find(c);
      if (it == indexOf.end()) return Fail(error, std::string("unknown colour key '") + c + "'");
      result.m_pixels.push_back(static_cast<std::int16_t>(it->second));
    }
  }
  *image = std::move(result);
  return Status::Ok();
}

int CImage::IndexAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= m_width || y >= m_height) return -1;
  return m_pixels[static_cast<size_t>(y) * static_cast<size_t>(m_width) + static_cast<size_t>(x)];
}
