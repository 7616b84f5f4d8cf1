// Drawing the controls of a dialog (part of CDialogPainter).
#include <algorithm>

#include "platform/DialogPainter.h"
#include "platform/TextLayout.h"

namespace {

bool IsMultiline(const CControlWnd& control) { return control.GetStyle() & (BS_MULTILINE | BS_TOP); }

// The row of a one-line control: text sits in the middle of its rectangle unless it is told
// to sit at the top.
int TextRow(const CControlWnd& control, const CellRect& r) {
  return IsMultiline(control) || r.rows <= 1 ? r.row : r.row + (r.rows - 1) / 2;
}

}  // namespace

void CDialogPainter::PaintControl(const CDialog& dialog, const CControlWnd& control, const CellRect& client,
                                  bool active) {
  CellRect r = ControlCells(control.Item());
  r.row += client.row;
  r.col += client.col;
  // Nothing is drawn outside the client area, as a child window is clipped by its parent.
  int right = std::min(r.col + r.cols, client.col + client.cols);
  int bottom = std::min(r.row + r.rows, client.row + client.rows);
  r.cols = std::max(0, right - r.col);
  r.rows = std::max(0, bottom - r.row);
  if (r.rows == 0 || r.cols == 0) return;
  switch (control.Kind()) {
    case ControlKind::Text: PaintText(control, r); break;
    case ControlKind::GroupBox: PaintGroupBox(control, r); break;
    case ControlKind::CheckBox: PaintCheckBox(dialog, control, r, active); break;
    case ControlKind::PushButton: PaintButton(dialog, control, r, active); break;
    case ControlKind::Progress: PaintProgress(control, r); break;
    case ControlKind::Picture:
    case ControlKind::Icon:
      if (control.Image()) PaintImage(*control.Image(), r);
      break;
  }
}

void CDialogPainter::PaintLabel(int row, int col, int width, const LabelText& label, Role role, Role shortcut) {
  std::u32string text = AnsiToUnicode(label.text);
  int written = m_screen.PutText(row, col, text, role, width);
  if (label.mnemonicIndex >= 0 && label.mnemonicIndex < written)
    m_screen.Put(row, col + label.mnemonicIndex, text[static_cast<size_t>(label.mnemonicIndex)], shortcut);
}

void CDialogPainter::PaintText(const CControlWnd& control, const CellRect& r) {
  bool enabled = control.IsWindowEnabled();
  LabelText label = ParseMnemonic(control.Text(), !(control.GetStyle() & SS_NOPREFIX));
  std::u32string text = AnsiToUnicode(label.text);
  // A path on a one-line label (the progress dialog's current file) keeps its file name in
  // sight: cut in the middle, where a wrap would show only its first folders.
  bool pathLine = r.rows == 1 && label.mnemonicIndex < 0 && text.find(U'\\') != std::u32string::npos &&
                  text.find_first_of(U"\r\n") == std::u32string::npos;
  std::vector<WrappedLine> lines =
      pathLine ? std::vector<WrappedLine>{{0, TruncateMiddle(text, r.cols, m_glyphs.ellipsis)}} : WrapText(text, r.cols);
  DWORD align = control.GetStyle() & SS_TYPEMASK;
  for (size_t i = 0; i < lines.size() && static_cast<int>(i) < r.rows; ++i) {
    const WrappedLine& line = lines[i];
    int width = static_cast<int>(line.text.size());
    int col = r.col + (align == SS_CENTER ? (r.cols - width) / 2 : align == SS_RIGHT ? r.cols - width : 0);
    int row = r.row + static_cast<int>(i);
    m_screen.PutText(row, col, line.text, enabled ? Role::Text : Role::Disabled, r.cols);
    size_t mark = static_cast<size_t>(label.mnemonicIndex);
    if (enabled && label.mnemonicIndex >= 0 && mark >= line.start && mark < line.start + line.text.size())
      m_screen.Put(row, col + static_cast<int>(mark - line.start), text[mark], Role::TextShortcut);
  }
}

void CDialogPainter::PaintGroupBox(const CControlWnd& control, const CellRect& r) {
  PaintBox(r, Role::Frame);
  if (control.Text().empty() || r.cols < 5) return;
  LabelText label = ParseMnemonic(control.Text());
  label.text = " " + label.text + " ";
  if (label.mnemonicIndex >= 0) ++label.mnemonicIndex;
  PaintLabel(r.row, r.col + 1, r.cols - 2, label, Role::Text, Role::TextShortcut);
}

void CDialogPainter::PaintCheckBox(const CDialog& dialog, const CControlWnd& control, const CellRect& r, bool active) {
  bool enabled = control.IsWindowEnabled();
  bool focused = active && dialog.FocusedControl() == &control;
  Role role = !enabled ? Role::Disabled : focused ? Role::CheckFocused : Role::Check;
  Role shortcut = !enabled ? Role::Disabled : focused ? Role::CheckFocusedShortcut : Role::CheckShortcut;
  char32_t mark = control.CheckState() == BST_CHECKED         ? m_glyphs.checked
                  : control.CheckState() == BST_INDETERMINATE ? m_glyphs.indeterminate
                                                              : U' ';
  int row = TextRow(control, r);
  m_screen.PutText(row, r.col, std::u32string{U'[', mark, U']', U' '}, role, r.cols);
  if (r.cols <= 4) return;
  LabelText label = ParseMnemonic(control.Text());
  if (!IsMultiline(control)) {
    PaintLabel(row, r.col + 4, r.cols - 4, label, role, shortcut);
    return;
  }
  std::u32string text = AnsiToUnicode(label.text);
  std::vector<WrappedLine> lines = WrapText(text, r.cols - 4);
  for (size_t i = 0; i < lines.size() && static_cast<int>(i) < r.rows; ++i) {
    m_screen.PutText(r.row + static_cast<int>(i), r.col + 4, lines[i].text, role);
    size_t at = static_cast<size_t>(label.mnemonicIndex);
    if (label.mnemonicIndex >= 0 && at >= lines[i].start && at < lines[i].start + lines[i].text.size())
      m_screen.Put(r.row + static_cast<int>(i), r.col + 4 + static_cast<int>(at - lines[i].start), text[at], shortcut);
  }
}

// Buttons side by side in a row get the same width, the narrowest one's, so rounding the
// template's edges to cells does not make twins of different widths.
int CDialogPainter::ButtonBodyWidth(const CDialog& dialog, const CControlWnd& button, bool shadow) {
  CellRect own = ControlCells(button.Item());
  int width = own.cols;
  for (const CControlWnd* other : dialog.Controls()) {
    if (other->Kind() != ControlKind::PushButton || !other->IsWindowVisible()) continue;
    CellRect r = ControlCells(other->Item());
    if (r.row == own.row && r.rows == own.rows) width = std::min(width, r.cols);
  }
  return shadow && own.rows >= 2 ? width - 1 : width;
}

void CDialogPainter::PaintButton(const CDialog& dialog, const CControlWnd& control, const CellRect& r, bool active) {
  bool shadow = m_options.shadows;
  int width = std::min(ButtonBodyWidth(dialog, control, shadow), r.cols);
  if (width < 2) return;
  bool enabled = control.IsWindowEnabled();
  bool focused = active && dialog.FocusedControl() == &control;
  bool isDefault = active && dialog.DefaultButton() == &control;
  Role role = !enabled ? Role::ButtonDisabled : focused ? Role::ButtonFocused : isDefault ? Role::ButtonDefault : Role::Button;
  Role shortcut = !enabled ? Role::ButtonDisabled
                  : focused ? Role::ButtonFocusedShortcut
                  : isDefault ? Role::ButtonDefaultShortcut : Role::ButtonShortcut;
  char32_t left = U'[', right = U']';
  if (m_options.mono && focused) left = m_glyphs.focusLeft, right = m_glyphs.focusRight;
  else if (m_options.mono && isDefault) left = m_glyphs.defaultLeft, right = m_glyphs.defaultRight;
  m_screen.Fill(r.row, r.col, 1, width, U' ', role);
  m_screen.Put(r.row, r.col, left, role);
  m_screen.Put(r.row, r.col + width - 1, right, role);
  LabelText label = ParseMnemonic(control.Text());
  int inner = width - 2;
  int length = std::min(static_cast<int>(AnsiToUnicode(label.text).size()), inner);
  PaintLabel(r.row, r.col + 1 + (inner - length) / 2, inner, label, role, shortcut);
  if (!shadow || r.rows < 2) return;
  auto shadowCell = [&](int row, int col, char32_t glyph) {
    if (glyph == U' ') m_screen.Put(row, col, U' ', Role::Shadow);
    else m_screen.Put(row, col, glyph, Role::ButtonShadow);
  };
  shadowCell(r.row, r.col + width, m_glyphs.buttonShadowRight);
  for (int c = r.col + 1; c <= r.col + width; ++c) shadowCell(r.row + 1, c, m_glyphs.buttonShadowBelow);
}

void CDialogPainter::PaintProgress(const CControlWnd& control, const CellRect& r) {
  bool border = control.GetStyle() & WS_BORDER;
  int row = r.row + (r.rows - 1) / 2;
  int field = border ? r.cols - 2 : r.cols;
  int col = border ? r.col + 1 : r.col;
  if (field <= 0) return;
  if (border) {
    m_screen.Put(row, r.col, U'[', Role::Text);
    m_screen.Put(row, r.col + r.cols - 1, U']', Role::Text);
  }
  long span = static_cast<long>(control.RangeMax()) - control.RangeMin();
  long done = span > 0 ? static_cast<long>(control.Position()) - control.RangeMin() : 0;
  long eighths = span > 0 ? std::clamp(done * field * 8 / span, 0L, static_cast<long>(field) * 8) : 0;
  int full = static_cast<int>(eighths / 8);
  m_screen.Fill(row, col, 1, field, U' ', Role::GaugeEmpty);
  bool glyphs = m_options.unicode && !m_options.mono;
  m_screen.Fill(row, col, 1, full, glyphs ? m_glyphs.gaugeFill : U' ', Role::GaugeFill);
  if (glyphs && m_glyphs.gaugeEighths && eighths % 8 && full < field)
    m_screen.Put(row, col + full, m_glyphs.gaugeEighths[eighths % 8 - 1], Role::GaugeFill);
}

void CDialogPainter::PaintImage(const CImage& image, const CellRect& r) {
  const std::vector<std::uint8_t>& pixels = m_pictures.Pixels(image, r.cols, r.rows);
  const std::uint8_t body = 7;
  auto at = [&](int halfRow, int col) {
    std::uint8_t p = pixels[static_cast<size_t>(halfRow) * static_cast<size_t>(r.cols) + static_cast<size_t>(col)];
    return p == kTransparent ? body : p;
  };
  for (int row = 0; row < r.rows; ++row)
    for (int col = 0; col < r.cols; ++col) m_screen.PutPixels(r.row + row, r.col + col, at(2 * row, col), at(2 * row + 1, col));
}
