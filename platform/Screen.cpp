// The cell buffer.
#include "platform/Screen.h"

void CScreen::Resize(int rows, int cols) {
  m_rows = rows > 0 ? rows : 0;
  m_cols = cols > 0 ? cols : 0;
  m_cells.assign(static_cast<size_t>(m_rows) * static_cast<size_t>(m_cols), Cell{});
  m_cursorRow = -1;
}

void CScreen::Clear(Role role) {
  for (Cell& cell : m_cells) cell = Cell{U' ', role, 0, 0};
  m_cursorRow = -1;
}

void CScreen::Put(int row, int col, char32_t ch, Role role) {
  if (Inside(row, col)) m_cells[Index(row, col)] = Cell{ch, role, 0, 0};
}

int CScreen::PutText(int row, int col, std::u32string_view text, Role role, int maxCols) {
  int written = 0;
  for (char32_t ch : text) {
    if (written >= maxCols) break;
    Put(row, col + written, ch, role);
    ++written;
  }
  return written;
}

void CScreen::Fill(int row, int col, int rows, int cols, char32_t ch, Role role) {
  for (int r = row; r < row + rows; ++r)
    for (int c = col; c < col + cols; ++c) Put(r, c, ch, role);
}

void CScreen::PutPixels(int row, int col, std::uint8_t top, std::uint8_t bottom) {
  if (Inside(row, col)) m_cells[Index(row, col)] = Cell{U'\u2580', Role::Picture, top, bottom};
}

void CScreen::Recolour(int row, int col, Role role) {
  if (!Inside(row, col)) return;
  Cell& cell = m_cells[Index(row, col)];
  if (cell.role == Role::Picture) cell.ch = U' ';
  cell.role = role;
}

std::u32string CScreen::RowText(int row) const {
  std::u32string text;
  for (int col = 0; col < m_cols; ++col) text += At(row, col).ch;
  return text;
}
