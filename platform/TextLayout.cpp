// Decoding and wrapping texts for the terminal.
#include "platform/TextLayout.h"

namespace {

// 0x80 to 0x9F of Windows-1252; 0 marks the five bytes it leaves undefined.
constexpr char32_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

std::u32string AnsiToUnicode(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (unsigned char c : text) {
    char32_t ch = c;
    if (c >= 0x80 && c < 0xA0) ch = kHigh[c - 0x80] ? kHigh[c - 0x80] : U'?';
    if (c < 0x20 && c != '\n' && c != '\r' && c != '\t') ch = U'?';
    out += ch;
  }
  return out;
}

std::string UnicodeToUtf8(std::u32string_view text) {
  std::string out;
  for (char32_t ch : text) {
    if (ch < 0x80) {
      out += static_cast<char>(ch);
    } else if (ch < 0x800) {
      out += static_cast<char>(0xC0 | (ch >> 6));
      out += static_cast<char>(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
      out += static_cast<char>(0xE0 | (ch >> 12));
      out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (ch & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (ch >> 18));
      out += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (ch & 0x3F));
    }
  }
  return out;
}

std::vector<WrappedLine> WrapText(std::u32string_view text, int width) {
  std::vector<WrappedLine> lines;
  if (width <= 0) return lines;
  size_t w = static_cast<size_t>(width);
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(U'\n', start);
    std::u32string_view paragraph = text.substr(start, end == std::u32string_view::npos ? text.npos : end - start);
    if (!paragraph.empty() && paragraph.back() == U'\r') paragraph.remove_suffix(1);
    do {
      size_t offset = static_cast<size_t>(paragraph.data() - text.data());
      if (paragraph.size() <= w) {
        lines.push_back({offset, std::u32string(paragraph)});
        break;
      }
      size_t cut = paragraph.rfind(U' ', w);
      size_t next = cut;
      if (cut == std::u32string_view::npos || cut == 0) cut = next = w;
      std::u32string_view line = paragraph.substr(0, cut);
      while (!line.empty() && line.back() == U' ') line.remove_suffix(1);
      lines.push_back({offset, std::u32string(line)});
      paragraph.remove_prefix(next);
      while (!paragraph.empty() && paragraph.front() == U' ') paragraph.remove_prefix(1);
    } while (!paragraph.empty());
    if (end == std::u32string_view::npos) break;
    start = end + 1;
  }
  return lines;
}

std::u32string TruncateMiddle(std::u32string_view text, int width, char32_t ellipsis) {
  if (width <= 0) return {};
  size_t w = static_cast<size_t>(width);
  if (text.size() <= w) return std::u32string(text);
  if (w == 1) return std::u32string(1, ellipsis);
  size_t head = (w - 1) / 2;
  size_t tail = w - 1 - head;
  return std::u32string(text.substr(0, head)) + ellipsis + std::u32string(text.substr(text.size() - tail));
}
