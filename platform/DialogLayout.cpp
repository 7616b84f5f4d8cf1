// Dialog geometry in terminal cells.
#include "platform/DialogLayout.h"

namespace {

// Nearest cell edge; dialog units are never negative in a template.
int RoundColumn(int du) { return (du + 2) / 4; }
int RoundRow(int du) { return (du + 4) / 8; }

}  // namespace

CellRect DialogUnitsToCells(int x, int y, int cx, int cy) {
  int left = RoundColumn(x);
  int top = RoundRow(y);
  return {top, left, RoundRow(y + cy) - top, RoundColumn(x + cx) - left};
}

CellRect ControlCells(const DialogItemTemplate& item) { return DialogUnitsToCells(item.x, item.y, item.cx, item.cy); }

CellRect OuterSize(const CDialog& dialog) {
  if (dialog.IsIconic()) return {0, 0, kIconicRows, kIconicCols};
  const DialogTemplate* t = dialog.Template();
  if (!t) return {};
  CellRect client = DialogUnitsToCells(0, 0, t->cx, t->cy);
  return {0, 0, client.rows + 2, client.cols + 2};
}

CellRect CentreIn(const CellRect& size, const CellRect& area) {
  int row = area.row + (area.rows - size.rows) / 2;
  int col = area.col + (area.cols - size.cols) / 2;
  return {row < 0 ? 0 : row, col < 0 ? 0 : col, size.rows, size.cols};
}
