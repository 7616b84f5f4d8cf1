// Where a dialog and its controls go on the terminal: a dialog unit is a quarter of a column
// horizontally and an eighth of a row vertically, and edges round to the nearest cell, so
// neighbouring controls neither overlap nor leave gaps.
#pragma once

#include "platform/Dialog.h"

struct CellRect {
  int row = 0;
  int col = 0;
  int rows = 0;
  int cols = 0;
  bool Contains(int r, int c) const { return r >= row && r < row + rows && c >= col && c < col + cols; }
};

// The cells of a rectangle in dialog units, relative to the client area.
CellRect DialogUnitsToCells(int x, int y, int cx, int cy);
CellRect ControlCells(const DialogItemTemplate& item);

// The frame and title take a column on each side and a row above and below the client area;
// the shadow two more columns and one more row.
inline constexpr int kShadowCols = 2;
inline constexpr int kShadowRows = 1;
// A minimised dialog is a small window with room for its icon.
inline constexpr int kIconicCols = 8;
inline constexpr int kIconicRows = 5;

// The outer size of the dialog as it is now (minimised or not), without the shadow.
CellRect OuterSize(const CDialog& dialog);
// The outer rectangle centred in `area` (clamped to its top left corner when larger).
CellRect CentreIn(const CellRect& size, const CellRect& area);
// The client area of a dialog whose outer rectangle is `outer`.
inline CellRect ClientOf(const CellRect& outer) { return {outer.row + 1, outer.col + 1, outer.rows - 2, outer.cols - 2}; }
