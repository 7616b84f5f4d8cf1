// CDialogPainter: draws a dialog from its template and state into the cell buffer: frame and
// caption bar, check boxes, push buttons, texts, group boxes, pictures and progress bars.
#pragma once

#include "platform/Dialog.h"
#include "platform/DialogLayout.h"
#include "platform/Glyphs.h"
#include "platform/Mnemonic.h"
#include "platform/PictureCache.h"
#include "platform/Screen.h"

struct PaintOptions {
  bool unicode = true;  // Unicode glyphs; ASCII ones otherwise
  bool mono = false;    // no colours: markers on focused and default buttons
  bool shadows = true;  // the 3-D look's shadows (never without colours)
};

// The parts of a caption bar a mouse can hit.
enum class CaptionPart { None, SystemMenu, Minimize, Close };

class CDialogPainter {
 public:
  CDialogPainter(CScreen& screen, CPictureCache& pictures, const PaintOptions& options);

  // Draws the dialog with its outer rectangle at `outer`; an active one has a highlighted
  // caption and shows its focus.
  void Paint(const CDialog& dialog, const CellRect& outer, bool active);
  // Draws `icon` with its top left corner at pixel x, y of the client area `client`.
  void PaintIcon(const CImage& icon, const CellRect& client, int x, int y);
  // Where the terminal's cursor goes: inside the focused control. False when none has focus.
  static bool CursorCell(const CDialog& dialog, const CellRect& outer, int* row, int* col);
  static CaptionPart HitCaption(const CDialog& dialog, const CellRect& outer, int row, int col);
  // The cells of a push button that show (its body, without the shadow).
  static int ButtonBodyWidth(const CDialog& dialog, const CControlWnd& button, bool shadow);

 private:
  void PaintFrame(const CDialog& dialog, const CellRect& outer, bool active);
  void PaintShadow(const CellRect& outer);
  void PaintControl(const CDialog& dialog, const CControlWnd& control, const CellRect& client, bool active);
  void PaintText(const CControlWnd& control, const CellRect& r);
  void PaintGroupBox(const CControlWnd& control, const CellRect& r);
  void PaintCheckBox(const CDialog& dialog, const CControlWnd& control, const CellRect& r, bool active);
  void PaintButton(const CDialog& dialog, const CControlWnd& control, const CellRect& r, bool active);
  void PaintProgress(const CControlWnd& control, const CellRect& r);
  void PaintImage(const CImage& image, const CellRect& r);
  void PaintLabel(int row, int col, int width, const LabelText& label, Role role, Role shortcut);
  void PaintBox(const CellRect& r, Role role);

  CScreen& m_screen;
  CPictureCache& m_pictures;
  PaintOptions m_options;
  const Glyphs& m_glyphs;
};
