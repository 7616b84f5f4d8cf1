// The terminal through ncursesw: the one file of the program that includes curses.
#include "platform/Terminal.h"

// Our headers come first: curses defines TRUE and FALSE as macros.
#include "platform/PictureCache.h"

#include <curses.h>
#include <fcntl.h>
#include <langinfo.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <atomic>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct RoleStyle {
  short fg, bg;
  attr_t colour;  // attributes with colours
  attr_t mono;    // attributes without colours
};

// One table of the colours and attributes of every role: a grey dialog on a blue desktop with
// green buttons, and a monochrome set that marks the same things with video attributes.
constexpr RoleStyle kStyles[] = {
    {COLOR_WHITE, COLOR_BLUE, 0, 0},                              // Desktop
    {COLOR_BLACK, COLOR_WHITE, 0, 0},                             // Body
    {COLOR_BLACK, COLOR_WHITE, 0, 0},                             // Frame
    {COLOR_WHITE, COLOR_CYAN, A_BOLD, A_REVERSE},                 // Caption
    {COLOR_BLACK, COLOR_WHITE, 0, 0},                             // CaptionInactive
    {COLOR_BLACK, COLOR_WHITE, 0, 0},                             // Text
    {COLOR_RED, COLOR_WHITE, 0, A_UNDERLINE},                     // TextShortcut
    {COLOR_BLACK, COLOR_WHITE, A_DIM, A_DIM},                     // Disabled
    {COLOR_BLACK, COLOR_WHITE, 0, 0},                             // Check
    {COLOR_RED, COLOR_WHITE, 0, A_UNDERLINE},                     // CheckShortcut
    {COLOR_BLACK, COLOR_CYAN, 0, A_REVERSE},                      // CheckFocused
    {COLOR_RED, COLOR_CYAN, 0, A_REVERSE | A_UNDERLINE},          // CheckFocusedShortcut
    {COLOR_BLACK, COLOR_GREEN, 0, 0},                             // Button
    {COLOR_YELLOW, COLOR_GREEN, A_BOLD, A_UNDERLINE},             // ButtonShortcut
    {COLOR_CYAN, COLOR_GREEN, A_BOLD, A_BOLD},                    // ButtonDefault
    {COLOR_YELLOW, COLOR_GREEN, A_BOLD, A_BOLD | A_UNDERLINE},    // ButtonDefaultShortcut
    {COLOR_WHITE, COLOR_GREEN, A_BOLD, A_REVERSE},                // ButtonFocused
    {COLOR_YELLOW, COLOR_GREEN, A_BOLD, A_REVERSE | A_UNDERLINE}, // ButtonFocusedShortcut
    {COLOR_BLACK, COLOR_GREEN, A_DIM, A_DIM},                     // ButtonDisabled
    {COLOR_BLACK, COLOR_WHITE, 0, 0},                             // ButtonShadow
    {COLOR_WHITE, COLOR_BLACK, A_DIM, 0},                         // Shadow
    {COLOR_BLUE, COLOR_WHITE, 0, A_REVERSE},                      // GaugeFill
    {COLOR_BLACK, COLOR_WHITE, 0, 0},                             // GaugeEmpty
    {COLOR_BLACK, COLOR_WHITE, 0, 0},                             // Menu
    {COLOR_RED, COLOR_WHITE, 0, A_UNDERLINE},                     // MenuShortcut
    {COLOR_WHITE, COLOR_BLUE, A_BOLD, A_REVERSE},                 // MenuSelected
    {COLOR_YELLOW, COLOR_BLUE, A_BOLD, A_REVERSE | A_UNDERLINE},  // MenuSelectedShortcut
    {COLOR_BLACK, COLOR_WHITE, A_DIM, A_DIM},                     // MenuDisabled
    {COLOR_WHITE, COLOR_RED, A_BOLD, A_BOLD},                     // Notice
    {COLOR_BLACK, COLOR_WHITE, 0, 0},                             // Picture (its pairs are made per cell)
};
static_assert(sizeof kStyles / sizeof kStyles[0] == static_cast<size_t>(Role::Count));

// What a signal handler needs to put the terminal back: plain values only.
std::atomic<bool> g_active{false};
int g_savedStderr = -1;
int g_stderrBuffer = -1;
int g_pairs[256];
struct sigaction g_previous[32];
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGSEGV, SIGABRT};

// Puts standard error back and writes out what was kept meanwhile; async-signal-safe.
void ReleaseStderr() {
  if (g_savedStderr < 0) return;
  dup2(g_savedStderr, STDERR_FILENO);
  char buffer[4096];
  lseek(g_stderrBuffer, 0, SEEK_SET);
  for (ssize_t n; (n = read(g_stderrBuffer, buffer, sizeof buffer)) > 0;)
    if (write(STDERR_FILENO, buffer, static_cast<size_t>(n)) < 0) break;
  close(g_stderrBuffer);
  close(g_savedStderr);
  g_savedStderr = g_stderrBuffer = -1;
}

void Restore() {
  if (!g_active.exchange(false)) return;
  endwin();
  std::fflush(stderr);
  ReleaseStderr();
}

void OnFatalSignal(int sig) {
  Restore();
  sigaction(sig, &g_previous[sig], nullptr);
  raise(sig);
}

void KeepStderr() {
  std::fflush(stderr);
  FILE* buffer = std::tmpfile();
  if (!buffer) return;
  g_stderrBuffer = dup(fileno(buffer));
  std::fclose(buffer);
  g_savedStderr = dup(STDERR_FILENO);
  if (g_stderrBuffer < 0 || g_savedStderr < 0 || dup2(g_stderrBuffer, STDERR_FILENO) < 0) ReleaseStderr();
}

void InstallHandlers() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  std::atexit(Restore);
  for (int sig : kSignals) {
    struct sigaction action {};
    action.sa_handler = OnFatalSignal;
    sigemptyset(&action.sa_mask);
    sigaction(sig, &action, &g_previous[sig]);
  }
}

wchar_t AsAcs(char32_t ch, chtype* acs) {
  switch (ch) {
    case U'\u2500': *acs = ACS_HLINE; return 0;
    case U'\u2502': *acs = ACS_VLINE; return 0;
    case U'\u250C': *acs = ACS_ULCORNER; return 0;
    case U'\u2510': *acs = ACS_URCORNER; return 0;
    case U'\u2514': *acs = ACS_LLCORNER; return 0;
    case U'\u2518': *acs = ACS_LRCORNER; return 0;
    default: *acs = 0; return ch < 0x80 ? static_cast<wchar_t>(ch) : L'?';
  }
}

}  // namespace

std::unique_ptr<CTerminal> CTerminal::Open(bool mono, std::string* error) {
  if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) {
    *error = "standard input and output are not a terminal";
    return nullptr;
  }
  std::setlocale(LC_CTYPE, "");
  std::unique_ptr<CTerminal> terminal(new CTerminal());
  terminal->m_unicode = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
  InstallHandlers();
  KeepStderr();
  if (!newterm(nullptr, stdout, stdin)) {
    ReleaseStderr();
    const char* term = std::getenv("TERM");
    *error = std::string("the terminal cannot be used (TERM=") + (term ? term : "") + ")";
    return nullptr;
  }
  g_active = true;
  raw();
  noecho();
  nonl();
  keypad(stdscr, TRUE);
  if (!std::getenv("ESCDELAY")) set_escdelay(25);
  mousemask(BUTTON1_PRESSED | BUTTON1_RELEASED | BUTTON1_CLICKED, nullptr);
  mouseinterval(0);
  terminal->m_colours = !mono && !std::getenv("NO_COLOR") && has_colors();
  terminal->InitColours();
  return terminal;
}

CTerminal::~CTerminal() { Restore(); }

void CTerminal::InitColours() {
  attr_t supported = termattrs();
  for (int i = 0; i < static_cast<int>(Role::Count); ++i) {
    attr_t attrs = m_colours ? kStyles[i].colour : kStyles[i].mono;
    if ((attrs & A_UNDERLINE) && !(supported & A_UNDERLINE)) attrs = (attrs & ~A_UNDERLINE) | A_BOLD;
    if (!(supported & A_DIM)) attrs &= ~A_DIM;
    m_roleAttrs[i] = static_cast<unsigned>(attrs);
  }
  if (!m_colours) return;
  start_color();
  use_default_colors();
  m_sixteen = COLORS >= 16;
  m_nextPair = 1;
  std::fill(std::begin(g_pairs), std::end(g_pairs), -1);
}

// One colour pair per pair of colours, made on first use and shared by roles and pictures.
int CTerminal::PicturePair(int fg, int bg) {
  if (!m_sixteen) {
    fg = fg < 8 ? fg : (fg == 8 ? COLOR_WHITE : fg - 8);
    bg = bg < 8 ? bg : (bg == 8 ? COLOR_WHITE : bg - 8);
  }
  int& pair = g_pairs[(fg & 15) * 16 + (bg & 15)];
  if (pair < 0) {
    if (m_nextPair >= COLOR_PAIRS || m_nextPair > 32767) return 0;
    pair = m_nextPair++;
    init_pair(static_cast<short>(pair), static_cast<short>(fg), static_cast<short>(bg));
  }
  return pair;
}

int CTerminal::Rows() const { return LINES; }
int CTerminal::Cols() const { return COLS; }

bool CTerminal::CheckResize() {
  struct winsize size {};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_row == 0 || size.ws_col == 0) return false;
  if (size.ws_row == LINES && size.ws_col == COLS) return false;
  resize_term(size.ws_row, size.ws_col);
  return true;
}

void CTerminal::PutCell(int row, int col, const Cell& cell) {
  auto role = static_cast<int>(cell.role);
  attr_t attrs = m_roleAttrs[role];
  int pair = 0;
  char32_t ch = cell.ch;
  if (cell.role == Role::Picture) {
    if (m_colours) {
      pair = PicturePair(cell.top, cell.bottom);
      if (!m_unicode) ch = U' ', pair = PicturePair(cell.top, cell.top);
    } else {
      // Without colours a pixel is lit or dark, and the half blocks draw which.
      bool top = TerminalColourLuminance(cell.top) >= 96, bottom = TerminalColourLuminance(cell.bottom) >= 96;
      ch = top && bottom ? (m_unicode ? U'\u2588' : U'#') : top ? (m_unicode ? U'\u2580' : U'"')
           : bottom      ? (m_unicode ? U'\u2584' : U'.') : U' ';
    }
  } else if (m_colours) {
    pair = PicturePair(kStyles[role].fg, kStyles[role].bg);
  }
  if (cell.role == Role::GaugeFill && ch == U' ') attrs |= A_REVERSE;
  if (!m_unicode) {
    chtype acs = 0;
    wchar_t plain = AsAcs(ch, &acs);
    mvaddch(row, col, (acs ? acs : static_cast<chtype>(plain)) | attrs | COLOR_PAIR(pair));
    return;
  }
  wchar_t text[2] = {static_cast<wchar_t>(ch), L'\0'};
  cchar_t wide;
  setcchar(&wide, text, attrs, static_cast<short>(pair), nullptr);
  mvadd_wch(row, col, &wide);
}

void CTerminal::Draw(const CScreen& screen, bool full) {
  if (full) clearok(curscr, TRUE);
  for (int row = 0; row < screen.Rows() && row < LINES; ++row)
    for (int col = 0; col < screen.Cols() && col < COLS; ++col) PutCell(row, col, screen.At(row, col));
  if (screen.CursorRow() >= 0) {
    curs_set(1);
    move(screen.CursorRow(), screen.CursorCol());
  } else {
    curs_set(0);
  }
  refresh();
}

void CTerminal::FlushInput() { flushinp(); }

InputEvent CTerminal::Read(int timeoutMs) {
  wtimeout(stdscr, timeoutMs);
  int key = wgetch(stdscr);
  if (key != 27) return Translate(key);
  // An Alt key arrives as ESC and the key right after it; a lone ESC is the Escape key.
  wtimeout(stdscr, get_escdelay());
  int next = wgetch(stdscr);
  if (next >= 32 && next < 127) return InputEvent{TermKey::Char, static_cast<char>(next), true};
  if (next == KEY_F(4)) return InputEvent{TermKey::Close};
  if (next != ERR) ungetch(next);
  return InputEvent{TermKey::Escape};
}

InputEvent CTerminal::Translate(int key) {
  switch (key) {
    case ERR: return {};
    case KEY_RESIZE: return {TermKey::Resize};
    case '\t': return {TermKey::Tab};
    case KEY_BTAB: return {TermKey::BackTab};
    case KEY_UP: return {TermKey::Up};
    case KEY_DOWN: return {TermKey::Down};
    case KEY_LEFT: return {TermKey::Left};
    case KEY_RIGHT: return {TermKey::Right};
    case '\r':
    case '\n':
    case KEY_ENTER: return {TermKey::Enter};
    case 12: return {TermKey::Repaint};
    case 3: return {TermKey::Interrupt};
    case KEY_F(52): return {TermKey::Close};  // Alt+F4 as xterm reports it
    case KEY_MOUSE: {
      MEVENT event;
      if (getmouse(&event) != OK) return {};
      InputEvent input{TermKey::Mouse};
      input.row = event.y;
      input.col = event.x;
      input.mouse = (event.bstate & BUTTON1_PRESSED) ? MouseAction::Press
                    : (event.bstate & BUTTON1_RELEASED) ? MouseAction::Release : MouseAction::Click;
      return input;
    }
    default:
      if (key >= 32 && key < 127) return {TermKey::Char, static_cast<char>(key)};
      return {};
  }
}
