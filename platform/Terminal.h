// CTerminal: the terminal itself (through ncursesw): it shows a CScreen and reads keys, mouse
// clicks and size changes. It is always put back as it was: when the object goes, at exit,
// and on SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGSEGV and SIGABRT. What the program writes to
// standard error meanwhile is kept and shown after.
#pragma once

#include <memory>
#include <string>

#include "platform/Screen.h"

enum class TermKey { None, Char, Tab, BackTab, Up, Down, Left, Right, Enter, Escape, Repaint, Interrupt, Close, Resize, Mouse };
enum class MouseAction { Press, Release, Click };

struct InputEvent {
  TermKey key = TermKey::None;
  char ch = 0;       // TermKey::Char: the character (a letter or a blank)
  bool alt = false;  // Alt held (the terminal sent ESC and then the key)
  int row = 0;       // TermKey::Mouse: where
  int col = 0;
  MouseAction mouse = MouseAction::Click;
};

class CTerminal {
 public:
  // Takes over the terminal on standard input and output; nullptr and a reason when it cannot
  // (no terminal, an unknown TERM). `mono` draws without colours even where there are some;
  // so does a set NO_COLOR.
  static std::unique_ptr<CTerminal> Open(bool mono, std::string* error);
  ~CTerminal();
  CTerminal(const CTerminal&) = delete;
  CTerminal& operator=(const CTerminal&) = delete;

  int Rows() const;
  int Cols() const;
  bool Unicode() const { return m_unicode; }
  bool Colours() const { return m_colours; }

  // Takes on a size change that no key read has reported yet (the program is busy and reads
  // none). Returns whether the size changed.
  bool CheckResize();
  // Shows the screen; `full` repaints every cell (after Ctrl+L).
  void Draw(const CScreen& screen, bool full);
  // Waits at most timeoutMs milliseconds (-1: as long as it takes) for input.
  InputEvent Read(int timeoutMs);
  // Drops the keys typed ahead.
  void FlushInput();

 private:
  CTerminal() = default;
  void InitColours();
  void PutCell(int row, int col, const Cell& cell);
  int PicturePair(int fg, int bg);
  InputEvent Translate(int key);

  bool m_unicode = false;
  bool m_colours = false;
  bool m_sixteen = false;
  int m_nextPair = 0;
  unsigned m_roleAttrs[static_cast<int>(Role::Count)] = {};
};
