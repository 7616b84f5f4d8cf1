// CScreen: the terminal's picture as cells (a character and the role it is drawn in), built
// from the dialogs' state each frame and then written to the terminal in one pass.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What a cell is drawn as; only the terminal knows the colours and attributes of each role.
enum class Role : std::uint8_t {
  Desktop,
  Body,
  Frame,
  Caption,
  CaptionInactive,
  Text,
  TextShortcut,
  Disabled,
  Check,
  CheckShortcut,
  CheckFocused,
  CheckFocusedShortcut,
  Button,
  ButtonShortcut,
  ButtonDefault,
  ButtonDefaultShortcut,
  ButtonFocused,
  ButtonFocusedShortcut,
  ButtonDisabled,
  ButtonShadow,
  Shadow,
  GaugeFill,
  GaugeEmpty,
  Menu,
  MenuShortcut,
  MenuSelected,
  MenuSelectedShortcut,
  MenuDisabled,
  Notice,
  Picture,  // two pixels in one cell: `top` and `bottom` colours of the upper and lower half
  Count
};

struct Cell {
  char32_t ch = U' ';
  Role role = Role::Desktop;
  std::uint8_t top = 0;     // Picture only: colour numbers 0 to 15 in the terminal's order
  std::uint8_t bottom = 0;
  bool operator==(const Cell&) const = default;
};

class CScreen {
 public:
  void Resize(int rows, int cols);
  int Rows() const { return m_rows; }
  int Cols() const { return m_cols; }
  void Clear(Role role);

  // Cells outside the screen are ignored, so callers may draw partly off it.
  void Put(int row, int col, char32_t ch, Role role);
  // Writes the text from `col`, at most `maxCols` cells; returns the cells written.
  int PutText(int row, int col, std::u32string_view text, Role role, int maxCols = 1 << 20);
  void Fill(int row, int col, int rows, int cols, char32_t ch, Role role);
  void PutPixels(int row, int col, std::uint8_t top, std::uint8_t bottom);
  // Keeps the character and draws it in `role` (for shadows).
  void Recolour(int row, int col, Role role);
  const Cell& At(int row, int col) const { return m_cells[Index(row, col)]; }

  void SetCursor(int row, int col) { m_cursorRow = row; m_cursorCol = col; }
  void HideCursor() { m_cursorRow = -1; }
  int CursorRow() const { return m_cursorRow; }
  int CursorCol() const { return m_cursorCol; }

  // The characters of one row, for tests.
  std::u32string RowText(int row) const;

 private:
  bool Inside(int row, int col) const { return row >= 0 && col >= 0 && row < m_rows && col < m_cols; }
  size_t Index(int row, int col) const { return static_cast<size_t>(row) * static_cast<size_t>(m_cols) + static_cast<size_t>(col); }

  int m_rows = 0;
  int m_cols = 0;
  std::vector<Cell> m_cells;
  int m_cursorRow = -1;
  int m_cursorCol = 0;
};
