// The terminal UI for real: the demo's dialogs in an 80 by 24 tmux window, driven by keys and
// the mouse, read back from the screen.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "tests/support/TmuxSession.h"
#include "platform/DialogLayout.h"
#include "resources/ProgramResources.h"

namespace {

constexpr const char* kRestored = "icanon echo";

// The demo program showing template `args`.
std::string Demo(const std::string& args) { return std::string(TUI_DEMO_PATH) + " " + args; }

std::vector<std::string> Lines(const std::string& screen) {
  std::vector<std::string> lines;
  std::istringstream in(screen);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Where the cursor stands when control `id` of the main dialog has the focus; the dialog fills
// the 80 by 24 window, so its client area starts at row 1, column 1.
std::pair<int, int> FocusCell(int id) {
  for (const DialogItemTemplate& item : ProgramResources()->FindDialog(IDD_UNINST_DIALOG)->items) {
    if (item.id != id) continue;
    CellRect r = ControlCells(item);
    bool button = (item.style & BS_TYPEMASK) == BS_PUSHBUTTON;
    return {1 + r.row + (button || r.rows <= 1 ? 0 : (r.rows - 1) / 2), 1 + r.col + (button ? 2 : 1)};
  }
  return {-1, -1};
}

TEST(TerminalTest, MainDialogFillsTheWindowAndTabFollowsTheTemplateOrder) {
  CTmuxSession tmux(Demo("102"));
  ASSERT_TRUE(tmux.WaitForText("Capture board driver")) << tmux.Screen();
  std::vector<std::string> lines = Lines(tmux.Screen());
  ASSERT_EQ(lines.size(), 24u);
  // 313 by 174 dialog units: 78 by 22 cells inside the frame, 80 by 24 with it.
  EXPECT_EQ(lines[0].rfind("┌[■]", 0), 0u) << lines[0];
  EXPECT_NE(lines[0].find("[_][×]┐"), std::string::npos) << lines[0];
  EXPECT_EQ(lines[23].rfind("└", 0), 0u);
  EXPECT_NE(lines[23].find("┘"), std::string::npos);
  EXPECT_EQ(tmux.Screen().find("Check1"), std::string::npos) << "boxes without a package are hidden";
  EXPECT_EQ(tmux.Cursor(), FocusCell(IDC_PACKAGE1));
  for (int id : {IDC_PACKAGE1 + 1, IDC_PACKAGE1 + 2, IDC_CONFIRM, IDCANCEL, IDC_PACKAGE1}) {
    tmux.Keys("Tab");
    EXPECT_TRUE(tmux.WaitFor([&](const std::string&) { return tmux.Cursor() == FocusCell(id); }, 3000))
        << "focus should reach control " << id;
  }
  tmux.Keys("BTab");
  EXPECT_TRUE(tmux.WaitFor([&](const std::string&) { return tmux.Cursor() == FocusCell(IDCANCEL); }, 3000));
}

TEST(TerminalTest, SpaceTogglesAndAltMnemonicsPressButtons) {
  CTmuxSession tmux(Demo("102"));
  ASSERT_TRUE(tmux.WaitForText("[ ] Capture board driver"));
  tmux.Keys("Space");
  ASSERT_TRUE(tmux.WaitForText("[X] Capture board driver")) << tmux.Screen();
  tmux.Keys("M-o");
  ASSERT_TRUE(tmux.WaitForText("(?) 1 component(s) selected. Remove them?")) << tmux.Screen();
  EXPECT_NE(tmux.Screen().find("Yes"), std::string::npos);
  tmux.Keys("n");  // the box's own mnemonic: No, and the dialog goes on
  ASSERT_TRUE(tmux.WaitFor([](const std::string& s) { return s.find("Remove them?") == std::string::npos; }));
  tmux.Keys("M-c");
  ASSERT_TRUE(tmux.WaitForText("exit=2")) << tmux.Screen();
  EXPECT_TRUE(tmux.WaitForText(kRestored)) << tmux.Screen();
}

TEST(TerminalTest, EscapeAndCtrlCCancelAndTheTerminalIsRestored) {
  for (const char* key : {"Escape", "C-c"}) {
    CTmuxSession tmux(Demo("102"));
    ASSERT_TRUE(tmux.WaitForText("Capture board driver"));
    tmux.Keys(key);
    ASSERT_TRUE(tmux.WaitForText("exit=2")) << key << "\n" << tmux.Screen();
    EXPECT_TRUE(tmux.WaitForText(kRestored)) << tmux.Screen();
  }
}

TEST(TerminalTest, TerminalIsRestoredWhenTheProgramIsKilled) {
  CTmuxSession tmux(Demo("102"));
  ASSERT_TRUE(tmux.WaitForText("Capture board driver"));
  ASSERT_EQ(kill(tmux.DemoPid(), SIGTERM), 0);
  ASSERT_TRUE(tmux.WaitForText("exit=143")) << tmux.Screen();
  EXPECT_TRUE(tmux.WaitForText(kRestored)) << tmux.Screen();
}

TEST(TerminalTest, SystemMenuOpensTheAboutDialogAndCloses) {
  CTmuxSession tmux(Demo("102"));
  ASSERT_TRUE(tmux.WaitForText("Capture board driver"));
  tmux.Keys("M-Space");
  ASSERT_TRUE(tmux.WaitForText("Close    Alt+F4")) << tmux.Screen();
  tmux.Keys("Up Enter");  // the last item, About
  ASSERT_TRUE(tmux.WaitForText("About tolvek uninstallation...")) << tmux.Screen();
  tmux.Keys("Escape");
  ASSERT_TRUE(tmux.WaitFor([](const std::string& s) { return s.find("About tolvek") == std::string::npos; }));
  tmux.Keys("M-Space");
  ASSERT_TRUE(tmux.WaitForText("Close    Alt+F4"));
  tmux.Keys("c");
  EXPECT_TRUE(tmux.WaitForText("exit=2")) << tmux.Screen();
}

TEST(TerminalTest, MouseClickPressesTheButtonUnderIt) {
  CTmuxSession tmux(Demo("102"));
  ASSERT_TRUE(tmux.WaitForText("[  Cancel  ]"));
  std::pair<int, int> cancel = FocusCell(IDCANCEL);
  // An SGR mouse report (1-based column and row): button 1 down, then up.
  std::string at = std::to_string(cancel.second + 1) + ";" + std::to_string(cancel.first + 1);
  tmux.Literal("\x1b[<0;" + at + "M");
  tmux.Literal("\x1b[<0;" + at + "m");
  EXPECT_TRUE(tmux.WaitForText("exit=2")) << tmux.Screen();
}

TEST(TerminalTest, ProgressDialogUpdatesWhileTheProgramWorksWithoutReadingKeys) {
  CTmuxSession tmux(Demo("134"));
  ASSERT_TRUE(tmux.WaitForText("Please wait the uninstallation is in progress")) << tmux.Screen();
  // Redraws are at most 20 a second, so not every file shows; the label must keep moving on.
  auto fileNumber = [](const std::string& screen) {
    size_t at = screen.find("\\file");
    return at == std::string::npos ? -1 : std::atoi(screen.c_str() + at + 5);
  };
  int first = -1;
  ASSERT_TRUE(tmux.WaitFor([&](const std::string& s) { return (first = fileNumber(s)) >= 0 && first < 60; }));
  EXPECT_TRUE(tmux.WaitFor([&](const std::string& s) { return fileNumber(s) > first + 20; })) << tmux.Screen();
  // The path is longer than its label: cut in the middle, on one line, its start and its file
  // name both in sight.
  std::string screen = tmux.Screen();
  size_t name = screen.find("\\file");
  size_t start = screen.rfind("C:\\Program", name);
  ASSERT_NE(start, std::string::npos) << screen;
  std::string shown = screen.substr(start, name - start);
  EXPECT_NE(shown.find("\u2026"), std::string::npos) << shown;
  EXPECT_EQ(shown.find('\n'), std::string::npos) << shown;
  ASSERT_TRUE(tmux.WaitForText("(i) Uninstallation completed")) << tmux.Screen();
  EXPECT_EQ(tmux.Screen().find("Please wait"), std::string::npos) << "the progress dialog is gone";
  tmux.Keys("Enter");
  EXPECT_TRUE(tmux.WaitForText("exit=0")) << tmux.Screen();
}

TEST(TerminalTest, TooSmallTerminalSaysSoAndTheDialogComesBack) {
  CTmuxSession tmux(Demo("102"));
  ASSERT_TRUE(tmux.WaitForText("Capture board driver"));
  tmux.Keys("Tab");
  ASSERT_TRUE(tmux.WaitFor([&](const std::string&) { return tmux.Cursor() == FocusCell(IDC_PACKAGE1 + 1); }));
  tmux.Resize(40, 12);
  ASSERT_TRUE(tmux.WaitForText("Terminal too small")) << tmux.Screen();
  EXPECT_EQ(tmux.Screen().find("Capture board driver"), std::string::npos);
  tmux.Keys("Escape");  // keys do nothing while the notice stands
  tmux.Resize(80, 24);
  ASSERT_TRUE(tmux.WaitForText("Capture board driver")) << tmux.Screen();
  EXPECT_TRUE(tmux.WaitFor([&](const std::string&) { return tmux.Cursor() == FocusCell(IDC_PACKAGE1 + 1); }))
      << "the focus is where it was";
}

TEST(TerminalTest, WithoutColoursFocusAndDefaultAreMarked) {
  CTmuxSession tmux(Demo("135"), 80, 24, "vt100");
  ASSERT_TRUE(tmux.WaitForText("Restart Windows now")) << tmux.Screen();
  // The OK button is the first tab stop and so has the focus.
  EXPECT_NE(tmux.Screen().find("»"), std::string::npos) << tmux.Screen();
  EXPECT_NE(tmux.Screen().find("[X] Restart Windows now"), std::string::npos);
  tmux.Keys("Tab");
  EXPECT_TRUE(tmux.WaitForText("→")) << "the default button shows its mark when the focus leaves it\n" << tmux.Screen();
  tmux.Keys("Enter");  // Enter on a check box presses the default button
  EXPECT_TRUE(tmux.WaitForText("exit=1")) << tmux.Screen();
}

}  // namespace
