// CTmuxSession: a program running in a private tmux server (its own socket, no user
// configuration), with its keys, screen and cursor, for the terminal tests. Every wait has a
// time limit.
#pragma once

#include <functional>
#include <string>
#include <utility>

class CTmuxSession {
 public:
  // Runs the shell command `command` in a window of cols by rows, TERM=`term`. When the
  // program ends, the window shows "exit=N" and the terminal modes that matter ("icanon echo"
  // when the terminal was put back).
  CTmuxSession(const std::string& command, int cols = 80, int rows = 24, const std::string& term = "xterm-256color");
  ~CTmuxSession();
  CTmuxSession(const CTmuxSession&) = delete;
  CTmuxSession& operator=(const CTmuxSession&) = delete;

  // tmux key names ("Tab", "M-c", "BTab"). An Escape is followed by a pause longer than the
  // demo's escape delay, so the next key is not read as Alt+key.
  void Keys(const std::string& keys) const;
  void Literal(const std::string& text) const;
  void Resize(int cols, int rows) const;
  std::string Screen(bool attributes = false) const;
  std::pair<int, int> Cursor() const;  // row, column
  int DemoPid() const;

  // Waits until `test` holds for the screen; false after timeoutMs.
  bool WaitFor(const std::function<bool(const std::string&)>& test, int timeoutMs = 5000) const;
  bool WaitForText(const std::string& text, int timeoutMs = 5000) const;

 private:
  std::string Tmux(const std::string& args) const;
  std::string m_socket;
  std::string m_dir;
};
