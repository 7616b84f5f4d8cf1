// The program's templates and images, against the tables they are built from.
#include <gtest/gtest.h>

#include <set>

#include "platform/Mnemonic.h"
#include "resources/ProgramResources.h"

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kChoice = kChild | BS_AUTOCHECKBOX | BS_MULTILINE | BS_TOP | BS_NOTIFY | WS_GROUP | WS_TABSTOP;

struct Row {
  int id;
  const char* cls;
  DWORD style;
  short x, y, cx, cy;
  const char* text;
  UINT image;
};

struct Dialog {
  UINT id;
  DWORD style;
  DWORD exStyle;
  short cx, cy;
  const char* caption;
  std::vector<Row> rows;
};

const std::vector<Dialog>& Expected() {
  static const std::vector<Dialog> dialogs = {
      {100, DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 217, 61, "About tolvek uninstallation...",
       {{-1, "Static", kChild | SS_ICON, 11, 17, 21, 20, "", 132},
        {-1, "Static", kChild | SS_NOPREFIX, 40, 10, 119, 8, "uninst.exe version 1.0", 0},
        {-1, "Static", kChild, 40, 25, 119, 8, "Copyright (C) 1999", 0},
        {1, "Button", kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 178, 7, 32, 14, "OK", 0},
        {-1, "Static", kChild, 40, 40, 155, 8, "Published by tolvek", 0}}},
      {102, DS_MODALFRAME | DS_3DLOOK | WS_MINIMIZEBOX | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU,
       WS_EX_APPWINDOW, 313, 174, "uninstall",
       {{1011, "Static", kChild | SS_BITMAP, 6, 6, 80, 161, "", 131},
        {1012, "Static", kChild | SS_LEFT, 92, 6, 214, 23, "Static", 0},
        {1009, "Button", kChild | BS_GROUPBOX, 92, 28, 214, 119, "", 0},
        {1001, "Button", kChild | BS_AUTOCHECKBOX | WS_TABSTOP, 102, 42, 195, 10, "Check1", 0},
        {1002, "Button", kChild | BS_AUTOCHECKBOX | WS_TABSTOP, 102, 56, 195, 10, "Check1", 0},
        {1003, "Button", kChild | BS_AUTOCHECKBOX | WS_TABSTOP, 102, 70, 195, 10, "Check1", 0},
        {1004, "Button", kChild | BS_AUTOCHECKBOX | WS_TABSTOP, 102, 84, 195, 10, "Check1", 0},
        {1005, "Button", kChild | BS_AUTOCHECKBOX | WS_TABSTOP, 102, 99, 195, 10, "Check1", 0},
        {1006, "Button", kChild | BS_AUTOCHECKBOX | WS_TABSTOP, 102, 113, 195, 10, "Check1", 0},
        {1007, "Button", kChild | BS_AUTOCHECKBOX | WS_TABSTOP, 102, 127, 195, 10, "Check1", 0},
        {1010, "Button", kChild | BS_PUSHBUTTON | WS_TABSTOP, 202, 153, 50, 14, "&OK", 0},
        {2, "Button", kChild | BS_PUSHBUTTON | WS_TABSTOP, 256, 153, 50, 14, "&Cancel", 0}}},
      {134, DS_MODALFRAME | DS_3DLOOK | DS_CENTER | WS_POPUP | WS_VISIBLE | WS_CAPTION, 0, 230, 70, "uninstall",
       {{1015, "Static", kChild | SS_LEFT, 15, 12, 200, 16, "Static", 0},
        {1014, "Static", kChild | SS_LEFT, 15, 31, 200, 8, "File", 0},
        {1013, "msctls_progress32", kChild | WS_BORDER, 14, 43, 203, 14, "", 0}}},
      {135, DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 312, 174, "Uninstall",
       {{1, "Button", kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 256, 153, 50, 14, "OK", 0},
        {1011, "Static", kChild | SS_BITMAP, 6, 6, 80, 161, "", 131},
        {1018, "Button", kChoice, 102, 14, 198, 8, "Check1", 0},
        {1019, "Button", kChoice, 102, 62, 198, 9, "Check1", 0},
        {1020, "Button", kChoice, 102, 110, 198, 8, "Check1", 0},
        {1023, "Static", kChild | SS_LEFT | WS_GROUP, 114, 71, 184, 36, "Static", 0},
        {1022, "Static", kChild | SS_LEFT | WS_GROUP, 114, 23, 184, 36, "Static", 0},
        {1024, "Static", kChild | SS_LEFT | WS_GROUP, 114, 119, 184, 31, "Static", 0}}},
  };
  return dialogs;
}

TEST(TemplateTest, TemplatesMatchTheirTables) {
  for (const Dialog& want : Expected()) {
    SCOPED_TRACE("template " + std::to_string(want.id));
    const DialogTemplate* got = ProgramResources()->FindDialog(want.id);
    ASSERT_NE(got, nullptr);
    EXPECT_EQ(got->style, want.style);
    EXPECT_EQ(got->exStyle, want.exStyle);
    EXPECT_EQ(got->cx, want.cx);
    EXPECT_EQ(got->cy, want.cy);
    EXPECT_EQ(got->caption, want.caption);
    EXPECT_EQ(got->fontName, "MS Sans Serif");
    EXPECT_EQ(got->pointSize, 8);
    ASSERT_EQ(got->items.size(), want.rows.size());
    for (size_t i = 0; i < want.rows.size(); ++i) {
      const Row& w = want.rows[i];
      const DialogItemTemplate& g = got->items[i];
      SCOPED_TRACE("control " + std::to_string(i) + " (id " + std::to_string(w.id) + ")");
      EXPECT_EQ(g.id, w.id);
      EXPECT_EQ(g.className, w.cls);
      EXPECT_EQ(g.style, w.style);
      EXPECT_EQ((std::vector<short>{g.x, g.y, g.cx, g.cy}), (std::vector<short>{w.x, w.y, w.cx, w.cy}));
      EXPECT_EQ(g.text, w.text);
      EXPECT_EQ(g.imageId, w.image);
    }
  }
}

TEST(TemplateTest, MnemonicsAreUniqueWithinEachTemplate) {
  for (const Dialog& want : Expected()) {
    std::set<char> seen;
    for (const DialogItemTemplate& item : ProgramResources()->FindDialog(want.id)->items) {
      if (item.className == "Static" && (item.style & SS_NOPREFIX)) continue;
      char letter = MnemonicOf(item.text);
      if (letter) {
        EXPECT_TRUE(seen.insert(letter).second) << "template " << want.id << " repeats &" << letter;
      }
    }
  }
}

TEST(TemplateTest, PictureAndIconAreSixteenColourImagesOfTheirSizes) {
  const CImage* bitmap = ProgramResources()->FindBitmap(131);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->Width(), 120);
  EXPECT_EQ(bitmap->Height(), 260);
  EXPECT_EQ(bitmap->Palette().size(), 16u);
  HICON icon = LoadIconA(ProgramResources(), MAKEINTRESOURCEA(132));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->Width(), GetSystemMetrics(SM_CXICON));
  EXPECT_EQ(icon->Height(), GetSystemMetrics(SM_CYICON));
  EXPECT_EQ(icon->Palette().size(), 16u);
  EXPECT_EQ(icon->IndexAt(0, 0), -1) << "the icon's corners are transparent";
  EXPECT_EQ(LoadIconA(ProgramResources(), MAKEINTRESOURCEA(131)), nullptr) << "131 is a bitmap, not an icon";
}

TEST(ImageTest, MalformedXpmIsRefusedWithAReason) {
  struct Case {
    std::vector<const char*> lines;
    const char* error;
  };
  for (const Case& c : {Case{{"2 1 1 2", "aa c #000000", "aaaa"}, "bad header (one character per pixel is read)"},
                        Case{{"2 1 1 1", "a c #000000"}, "wrong number of lines"},
                        Case{{"2 1 1 1", "a c #00000G", "aa"}, "bad colour: #00000G"},
                        Case{{"2 1 1 1", "a c #000000", "a"}, "row 0 has the wrong width"},
                        Case{{"2 1 1 1", "a c #000000", "ab"}, "unknown colour key 'b'"}}) {
    CImage image;
    std::string error;
    EXPECT_FALSE(CImage::FromXpm(1, c.lines, &image, &error).IsOk());
    EXPECT_EQ(error, c.error);
  }
}

}  // namespace
