// Running the demo under tmux.
#include "tests/support/TmuxSession.h"

#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace

CTmuxSession::CTmuxSession(const std::string& program, int cols, int rows, const std::string& term) {
  static int counter = 0;
  m_socket = "uninst-tui-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
  m_dir = std::filesystem::temp_directory_path() / m_socket;
  std::filesystem::create_directories(m_dir);
  std::ofstream(m_dir + "/demo.sh") << "echo $$ > " << m_dir << "/pid\nexec " << program << "\n";
  std::ofstream(m_dir + "/run.sh") << "sh " << m_dir << "/demo.sh\necho exit=$?\n"
                                   << "stty -a | tr ' ;' '\\n\\n' | grep -x -e icanon -e -icanon -e echo -e -echo | "
                                      "tr '\\n' ' '\necho\nsleep 120\n";
  std::string command = "env -u TMUX TERM=" + term + " ESCDELAY=25 LANG=C.UTF-8 sh " + m_dir + "/run.sh";
  Tmux("-f /dev/null new-session -d -s ui -x " + std::to_string(cols) + " -y " + std::to_string(rows) + " " +
       Quote(command));
}

CTmuxSession::~CTmuxSession() {
  Tmux("kill-server");
  std::error_code ignored;
  std::filesystem::remove_all(m_dir, ignored);
}

std::string CTmuxSession::Tmux(const std::string& args) const {
  std::string command = "tmux -L " + m_socket + " " + args + " 2>/dev/null";
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    std::array<char, 4096> buffer;
    for (size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) out.append(buffer.data(), n);
    pclose(pipe);
  }
  return out;
}

void CTmuxSession::Keys(const std::string& keys) const {
  Tmux("send-keys -t ui " + keys);
  if (keys.find("Escape") != std::string::npos) std::this_thread::sleep_for(std::chrono::milliseconds(150));
}

void CTmuxSession::Literal(const std::string& text) const { Tmux("send-keys -t ui -l " + Quote(text)); }

void CTmuxSession::Resize(int cols, int rows) const {
  Tmux("resize-window -t ui -x " + std::to_string(cols) + " -y " + std::to_string(rows));
}

std::string CTmuxSession::Screen(bool attributes) const {
  return Tmux(std::string("capture-pane -p -t ui") + (attributes ? " -e" : ""));
}

std::pair<int, int> CTmuxSession::Cursor() const {
  int col = -1, row = -1;
  std::sscanf(Tmux("display -p -t ui '#{cursor_x} #{cursor_y}'").c_str(), "%d %d", &col, &row);
  return {row, col};
}

int CTmuxSession::DemoPid() const {
  int pid = 0;
  for (int i = 0; i < 100 && pid == 0; ++i) {
    std::ifstream(m_dir + "/pid") >> pid;
    if (pid == 0) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return pid;
}

bool CTmuxSession::WaitFor(const std::function<bool(const std::string&)>& test, int timeoutMs) const {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (true) {
    if (test(Screen())) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

bool CTmuxSession::WaitForText(const std::string& text, int timeoutMs) const {
  return WaitFor([&](const std::string& screen) { return screen.find(text) != std::string::npos; }, timeoutMs);
}
