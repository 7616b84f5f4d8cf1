// Drawing a dialog's frame, caption bar and shadow, and placing the cursor.
#include "platform/DialogPainter.h"

#include "platform/TextLayout.h"

namespace {

// The caption bar: `[■]` at the left for the system menu, `[_]` and `[×]` at the right.
constexpr int kBoxWidth = 3;

bool HasSystemMenu(const CDialog& dialog) { return dialog.GetStyle() & WS_SYSMENU; }
bool HasMinimizeBox(const CDialog& dialog) { return (dialog.GetStyle() & WS_MINIMIZEBOX) && HasSystemMenu(dialog); }

}  // namespace

CDialogPainter::CDialogPainter(CScreen& screen, CPictureCache& pictures, const PaintOptions& options)
    : m_screen(screen),
      m_pictures(pictures),
      m_options(options),
      m_glyphs(options.unicode ? UnicodeGlyphs() : AsciiGlyphs()) {}

void CDialogPainter::Paint(const CDialog& dialog, const CellRect& outer, bool active) {
  if (m_options.shadows && !dialog.IsIconic()) PaintShadow(outer);
  PaintFrame(dialog, outer, active);
  if (dialog.IsIconic()) return;
  CellRect client = ClientOf(outer);
  for (const CControlWnd* control : dialog.Controls())
    if (control->IsWindowVisible()) PaintControl(dialog, *control, client, active);
}

void CDialogPainter::PaintShadow(const CellRect& outer) {
  for (int r = outer.row + 1; r <= outer.row + outer.rows; ++r)
    for (int c = outer.col + outer.cols; c < outer.col + outer.cols + kShadowCols; ++c) m_screen.Recolour(r, c, Role::Shadow);
  for (int c = outer.col + kShadowCols; c < outer.col + outer.cols; ++c) m_screen.Recolour(outer.row + outer.rows, c, Role::Shadow);
}

void CDialogPainter::PaintBox(const CellRect& r, Role role) {
  if (r.rows < 2 || r.cols < 2) return;
  int bottom = r.row + r.rows - 1, right = r.col + r.cols - 1;
  for (int c = r.col + 1; c < right; ++c) {
    m_screen.Put(r.row, c, m_glyphs.horizontal, role);
    m_screen.Put(bottom, c, m_glyphs.horizontal, role);
  }
  for (int row = r.row + 1; row < bottom; ++row) {
    m_screen.Put(row, r.col, m_glyphs.vertical, role);
    m_screen.Put(row, right, m_glyphs.vertical, role);
  }
  m_screen.Put(r.row, r.col, m_glyphs.topLeft, role);
  m_screen.Put(r.row, right, m_glyphs.topRight, role);
  m_screen.Put(bottom, r.col, m_glyphs.bottomLeft, role);
  m_screen.Put(bottom, right, m_glyphs.bottomRight, role);
}

void CDialogPainter::PaintFrame(const CDialog& dialog, const CellRect& outer, bool active) {
  m_screen.Fill(outer.row + 1, outer.col + 1, outer.rows - 2, outer.cols - 2, U' ', Role::Body);
  PaintBox(outer, Role::Frame);
  Role caption = active ? Role::Caption : Role::CaptionInactive;
  m_screen.Fill(outer.row, outer.col, 1, outer.cols, m_glyphs.horizontal, caption);
  m_screen.Put(outer.row, outer.col, m_glyphs.topLeft, caption);
  m_screen.Put(outer.row, outer.col + outer.cols - 1, m_glyphs.topRight, caption);
  int left = outer.col + 1, right = outer.col + outer.cols - 1;  // the title goes in [left, right)
  if (HasSystemMenu(dialog) && !dialog.IsIconic() && outer.cols >= 2 * kBoxWidth + 4) {
    m_screen.PutText(outer.row, left, std::u32string{U'[', m_glyphs.sysMenuBox, U']'}, caption);
    left += kBoxWidth;
    right -= kBoxWidth;
    m_screen.PutText(outer.row, right, std::u32string{U'[', m_glyphs.closeBox, U']'}, caption);
    if (HasMinimizeBox(dialog)) {
      right -= kBoxWidth;
      m_screen.PutText(outer.row, right, std::u32string{U'[', m_glyphs.minimizeBox, U']'}, caption);
    }
  }
  int room = right - left - 2;
  if (room <= 0) return;
  std::u32string title = AnsiToUnicode(dialog.Text());
  if (static_cast<int>(title.size()) > room) title = title.substr(0, static_cast<size_t>(room - 1)) + m_glyphs.ellipsis;
  std::u32string shown = U" " + title + U" ";
  int col = left + (right - left - static_cast<int>(shown.size())) / 2;
  m_screen.PutText(outer.row, col, shown, caption);
}

CaptionPart CDialogPainter::HitCaption(const CDialog& dialog, const CellRect& outer, int row, int col) {
  if (row != outer.row || !HasSystemMenu(dialog)) return CaptionPart::None;
  if (dialog.IsIconic()) return outer.Contains(row, col) ? CaptionPart::SystemMenu : CaptionPart::None;
  int right = outer.col + outer.cols - 1;
  if (col >= outer.col + 1 && col < outer.col + 1 + kBoxWidth) return CaptionPart::SystemMenu;
  if (col >= right - kBoxWidth && col < right) return CaptionPart::Close;
  if (HasMinimizeBox(dialog) && col >= right - 2 * kBoxWidth && col < right - kBoxWidth) return CaptionPart::Minimize;
  return CaptionPart::None;
}

void CDialogPainter::PaintIcon(const CImage& icon, const CellRect& client, int x, int y) {
  // Each half cell shows the icon pixel at its centre: a cell is 6 by 13 pixels of the dialog
  // font, so a 32 by 32 icon takes about five columns and two and a half rows.
  for (int r = 0; r < client.rows; ++r)
    for (int c = 0; c < client.cols; ++c) {
      std::uint8_t halves[2];
      for (int h = 0; h < 2; ++h) {
        int px = c * kBaseUnitX + kBaseUnitX / 2 - x;
        int py = r * kBaseUnitY + (h * kBaseUnitY + kBaseUnitY / 2) / 2 - y;
        int index = icon.IndexAt(px, py);
        halves[h] = index < 0 ? kTransparent : NearestTerminalColour(icon.Palette()[static_cast<size_t>(index)]);
      }
      if (halves[0] == kTransparent && halves[1] == kTransparent) continue;
      const std::uint8_t body = 7;  // the dialog's grey shows through
      m_screen.PutPixels(client.row + r, client.col + c, halves[0] == kTransparent ? body : halves[0],
                         halves[1] == kTransparent ? body : halves[1]);
    }
}

bool CDialogPainter::CursorCell(const CDialog& dialog, const CellRect& outer, int* row, int* col) {
  const CControlWnd* focus = dialog.FocusedControl();
  if (!focus || dialog.IsIconic() || !focus->IsWindowVisible()) return false;
  CellRect r = ControlCells(focus->Item());
  CellRect client = ClientOf(outer);
  bool top = focus->Kind() == ControlKind::PushButton || (focus->GetStyle() & (BS_TOP | BS_MULTILINE));
  *row = client.row + r.row + (top || r.rows <= 1 ? 0 : (r.rows - 1) / 2);
  *col = client.col + r.col + (focus->Kind() == ControlKind::CheckBox ? 1 : 2);
  return true;
}
