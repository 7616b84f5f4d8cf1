// The uninstaller in a real terminal: the main dialog of a small machine, a box toggled with
// Space, Escape ends the program, and the terminal is itself again.
#include <gtest/gtest.h>

#include "tests/support/TestMachine.h"
#include "tests/support/TmuxSession.h"

namespace {

TEST(TerminalRun, MainDialogSpaceAndEscape) {
  CTestMachine machine(false);
  machine.Write("drive_c/Capture/uninstin.ini", "[Packages]\r\nDriver=0\r\nPlayer=1\r\n");
  machine.Write("drive_c/Capture/uninst.ini", "[English]\r\nDriver=Capture board driver\r\nPlayer=Capture player\r\n");
  CTmuxSession tmux("'" + ToolPath("uninst") + "' '" + machine.Host("drive_c/Capture/uninst.exe") + "'");
  ASSERT_TRUE(tmux.WaitForText("[ ] Capture board driver")) << tmux.Screen();
  EXPECT_NE(tmux.Screen().find("[X] Capture player"), std::string::npos);
  EXPECT_NE(tmux.Screen().find("Kalvora TK7/TK5 uninstallation"), std::string::npos);
  tmux.Keys("Space");
  EXPECT_TRUE(tmux.WaitForText("[X] Capture board driver")) << tmux.Screen();
  tmux.Keys("Escape");
  EXPECT_TRUE(tmux.WaitForText("exit=1")) << tmux.Screen();
  EXPECT_TRUE(tmux.WaitForText("icanon echo")) << tmux.Screen();
}

}  // namespace
