// The frame of a run: the package walk and its strike-out, the action keys, the order of the
// actions, the path variables and the directories behind them.
#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "tests/engine/EngineFixture.h"

namespace {

class RunTest : public EngineTest {
 protected:
  // Packages P1... whose DeleteFiles section names C:\Capture\P<n>.dll each.
  void WritePackageScript(int count) {
    std::string script;
    for (int i = 1; i <= count; ++i) {
      std::string n = std::to_string(i);
      script += "[P" + n + "]\r\nDeleteFiles=P" + n + "Files\r\n[P" + n + "Files]\r\nC:\\Capture\\P" + n + ".dll=\r\n";
      WriteFile("C:\\Capture\\P" + n + ".dll");
    }
    WriteScript(script);
  }
};

struct WalkCase {
  const char* name;
  bool cdMode;
  std::vector<bool> selected;  // of P1 to P7; P8 and P9 stand in [Packages] beyond the seven slots
  bool emptyThirdSlot;
  std::vector<int> removed;    // the packages whose file went
  const char* packagesAfter;   // the state file after the run
};

TEST_F(RunTest, WalksTheSevenSlotsAndStrikesWhatItProcessedOutsideCdMode) {
  const std::vector<WalkCase> cases = {
      {"all selected", false, {1, 1, 1, 1, 1, 1, 1}, false, {1, 2, 3, 4, 5, 6, 7}, "[Packages]\r\nP8=1\r\nP9=1\r\n"},
      {"one not selected", false, {1, 1, 0, 1, 1, 1, 1}, false, {1, 2, 4, 5, 6, 7},
       "[Packages]\r\nP3=1\r\nP8=1\r\nP9=1\r\n"},
      {"CD mode", true, {1, 1, 1, 1, 1, 1, 1}, false, {1, 2, 3, 4, 5, 6, 7},
       "[Packages]\r\nP1=1\r\nP2=1\r\nP3=1\r\nP4=1\r\nP5=1\r\nP6=1\r\nP7=1\r\nP8=1\r\nP9=1\r\n"},
      {"an empty name ends the walk", false, {1, 1, 1, 1, 1, 1, 1}, true, {1, 2},
       "[Packages]\r\nP3=1\r\nP4=1\r\nP5=1\r\nP6=1\r\nP7=1\r\nP8=1\r\nP9=1\r\n"},
  };
  for (const WalkCase& c : cases) {
    SCOPED_TRACE(c.name);
    WritePackageScript(9);
    SetPackages({{"P1"}, {"P2"}, {"P3"}, {"P4"}, {"P5"}, {"P6"}, {"P7"}, {"P8"}, {"P9"}});
    for (int i = 0; i < kPackageSlots; ++i) m_main.m_bPackageSelected[i] = c.selected[i];
    if (c.emptyThirdSlot) m_main.m_strPackage[2] = "";
    m_main.m_bCDVersion = c.cdMode;
    Run();
    for (int i = 1; i <= 9; ++i) {
      bool expectGone = std::find(c.removed.begin(), c.removed.end(), i) != c.removed.end();
      EXPECT_EQ(Exists("C:\\Capture\\P" + std::to_string(i) + ".dll"), !expectGone) << "P" << i;
    }
    EXPECT_EQ(StateFile(), c.packagesAfter);
  }
}

TEST_F(RunTest, ActionKeysOfFewerThanTwoCharactersOrTooLongToBeWholeSkipTheirAction) {
  const std::string longName(300, 'L');
  WriteScript("[Short]\r\nDeleteFiles=F\r\n[F]\r\nC:\\Capture\\short.dll=\r\n"
              "[Two]\r\nDeleteFiles=Fi\r\n[Fi]\r\nC:\\Capture\\two.dll=\r\n"
              "[Long]\r\nDeleteFiles=" + longName + "\r\n[" + longName.substr(0, 255) + "]\r\nC:\\Capture\\cut.dll=\r\n"
              "[" + longName + "]\r\nC:\\Capture\\long.dll=\r\n");
  for (const char* file : {"short", "two", "cut", "long", "nosection"}) WriteFile("C:\\Capture\\" + std::string(file) + ".dll");
  SetPackages({{"Short"}, {"Two"}, {"Long"}, {"NoSection"}});
  Run();
  EXPECT_TRUE(Exists("C:\\Capture\\short.dll")) << "a one-character value names no section";
  EXPECT_FALSE(Exists("C:\\Capture\\two.dll")) << "two characters name a section";
  EXPECT_TRUE(Exists("C:\\Capture\\cut.dll")) << "a section name is never cut into another name";
  EXPECT_TRUE(Exists("C:\\Capture\\long.dll")) << "a name of 256 characters or more is passed over";
  EXPECT_EQ(StateFile(), "[Packages]\r\n") << "a package without actions or section is struck all the same";
}

TEST_F(RunTest, ActionsRunInTheirOrderAndTheListKeepsTheOrderOfTheirEntries) {
  ImportReg("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders]\r\n"
            "\"Programs\"=\"C:\\\\WINDOWS\\\\Start Menu\\\\Programs\"\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Capture]\r\n\"Mode\"=\"on\"\r\n");
  WriteFile("C:\\Capture\\a.dll");
  WriteFile("C:\\WINDOWS\\Start Menu\\Programs\\Capture\\APP.LNK");
  WriteFile("C:\\WINDOWS\\INF\\oem1.inf", "[tolvekSection]\r\n%DevDesc%=TK7 capture\r\n");
  WriteFile("C:\\Capture\\b.dll");
  // A's profile action strikes the keys of A's later actions from the script before they are read.
  WriteScript("[A]\r\nDeleteInfFile=Inf\r\nDeleteRegEntries=Reg\r\nDeleteIniEntries=Ini\r\nDeleteGroupEntries=Group\r\n"
              "DeleteFiles=FilesA\r\n"
              "[FilesA]\r\nC:\\Capture\\a.dll=\r\n[Group]\r\nCapture=\r\n[Inf]\r\nSearch_ID=TK7\r\n"
              "[Ini]\r\nC:\\Capture\\uninst.ini#A#DeleteRegEntries#=\r\n[Reg]\r\nHKEY_LOCAL_MACHINE#Software\\Capture#Mode#=\r\n"
              "[B]\r\nDeleteFiles=FilesB\r\n[FilesB]\r\nC:\\Capture\\b.dll=\r\n");
  SetPackages({{"A"}, {"B"}});
  Run();
  EXPECT_EQ(Labels(), (std::vector<std::string>{"C:\\Capture\\a.dll", "C:\\WINDOWS\\Start Menu\\Programs\\Capture\\APP.LNK",
                                                "C:\\WINDOWS\\Inf\\oem1.inf", "C:\\Capture\\b.dll"}))
      << "files, then shortcuts, then INF files, package after package";
  EXPECT_FALSE(Exists("C:\\WINDOWS\\Start Menu\\Programs\\Capture")) << "the group folder follows its shortcuts";
  EXPECT_EQ(ExportReg("HKEY_LOCAL_MACHINE\\Software\\Capture"),
            "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Capture]\r\n\"Mode\"=\"on\"\r\n\r\n")
      << "the registry action runs after the profile action, and its key was gone by then";
}

TEST_F(RunTest, PathVariablesExpandInEveryLetterCase) {
  ImportReg("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Premiere.exe]\r\n"
            "\"Path\"=\"C:\\\\Premiere\\\\Premiere.exe\"\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ulead Systems\\Ulead MediaStudio VE\\2.5AVEE]\r\n\"Path\"=\"C:\\\\MSVE\\\\ms.exe\"\r\n");
  const std::vector<std::pair<std::string, std::string>> lines = {
      {"$windows$\\a.dll", "C:\\WINDOWS\\a.dll"},    {"$WINDOWS$\\b.dll", "C:\\WINDOWS\\b.dll"},
      {"$Windows$\\c.dll", "C:\\WINDOWS\\c.dll"},    {"$system$\\capture.drv", "C:\\WINDOWS\\SYSTEM\\capture.drv"},
      {"$SYSTEM$\\e.drv", "C:\\WINDOWS\\SYSTEM\\e.drv"}, {"$premiere$\\p.dll", "C:\\Premiere\\p.dll"},
      {"$PreMiere$\\q.dll", "C:\\Premiere\\q.dll"},  {"$mstudio$\\m.dll", "C:\\MSVE\\m.dll"},
      {"$MStudio$\\n.dll", "C:\\MSVE\\n.dll"},       {"C:\\Capture\\plain.dll", "C:\\Capture\\plain.dll"},
  };
  std::string section = "[Pkg]\r\nDeleteFiles=Files\r\n[Files]\r\n";
  for (const auto& [key, path] : lines) {
    section += key + "=\r\n";
    WriteFile(path);
  }
  WriteScript(section);
  SetPackages({{"Pkg"}});
  Run();
  for (const auto& [key, path] : lines) EXPECT_FALSE(Exists(path)) << key;
  EXPECT_EQ(m_strWindowsDir, "C:\\WINDOWS");
  EXPECT_EQ(m_strSystemDir, "C:\\WINDOWS\\SYSTEM");
}

TEST_F(RunTest, AnUnknownOrUnclosedVariableEndsTheWalkOfItsSectionOnly) {
  for (const char* stopper : {"$temp$\\x.dll", "$windows\\x.dll", "$$\\x.dll"}) {
    SCOPED_TRACE(stopper);
    WriteFile("C:\\Capture\\before.dll");
    WriteFile("C:\\Capture\\after.dll");
    WriteFile("C:\\WINDOWS\\system.ini", "[drivers]\r\nVIDC.XYZ=xyz.drv\r\n");
    WriteScript("[Pkg]\r\nDeleteFiles=Files\r\nDeleteIniEntries=Ini\r\n[Files]\r\nC:\\Capture\\before.dll=\r\n" +
                std::string(stopper) + "=\r\nC:\\Capture\\after.dll=\r\n[Ini]\r\nsystem.ini#drivers#VIDC.XYZ#=\r\n");
    SetPackages({{"Pkg"}});
    Run();
    EXPECT_FALSE(Exists("C:\\Capture\\before.dll")) << "the lines before it stand";
    EXPECT_TRUE(Exists("C:\\Capture\\after.dll")) << "the lines after it are not handled";
    EXPECT_EQ(ReadFile("C:\\WINDOWS\\system.ini"), "[drivers]\r\n") << "the package's next action runs";
  }
}

std::string PathKey(const std::string& key, const std::string& path) {
  return "[HKEY_LOCAL_MACHINE\\SOFTWARE\\" + key + "]\r\n\"Path\"=\"" + path + "\"\r\n\r\n";
}

const std::string kPremiere = "Microsoft\\Windows\\CurrentVersion\\App Paths\\Premiere.exe";
const std::string kMStudio = "Ulead Systems\\Ulead MediaStudio VE\\2.5AVE";

TEST_F(RunTest, FindsThePremiereAndMediaStudioDirectoriesInTheirKeysInOrder) {
  const std::string longPath = "C:\\\\" + std::string(300, 'p') + "\\\\x.exe";
  const std::vector<std::tuple<std::string, std::string, std::string, std::string, std::string>> cases = {
      // name, .reg keys, language, Premiere directory, MediaStudio directory
      {"no keys", "", "English", "C:\\Win32App\\Premiere", "C:\\MSVE25"},
      {"closing backslash", PathKey(kPremiere, "C:\\\\Premiere\\\\"), "English", "C:\\Premiere", "C:\\MSVE25"},
      {"last element cut", PathKey(kPremiere, "C:\\\\Apps\\\\Premiere"), "English", "C:\\Apps", "C:\\MSVE25"},
      {"no backslash keeps the default", PathKey(kPremiere, "Premiere"), "English", "C:\\Win32App\\Premiere", "C:\\MSVE25"},
      {"a value too long for the room", PathKey(kPremiere, longPath), "English", "C:\\Win32App\\Premiere", "C:\\MSVE25"},
      {"English key", PathKey(kMStudio + "E", "C:\\\\MS\\\\E\\\\ms.exe"), "English", "C:\\Win32App\\Premiere", "C:\\MS\\E"},
      {"French first", PathKey(kMStudio + "D", "C:\\\\D\\\\x") + PathKey(kMStudio + "F", "C:\\\\F\\\\x"), "French",
       "C:\\Win32App\\Premiere", "C:\\F"},
      {"German first", PathKey(kMStudio + "D", "C:\\\\D\\\\x") + PathKey(kMStudio + "G", "C:\\\\G\\\\x"), "German",
       "C:\\Win32App\\Premiere", "C:\\G"},
      {"D before E", PathKey(kMStudio + "D", "C:\\\\D\\\\x") + PathKey(kMStudio + "E", "C:\\\\E\\\\x"), "Spanish",
       "C:\\Win32App\\Premiere", "C:\\D"},
      {"the fourth key is read like the others", PathKey(kMStudio + "F", "C:\\\\F\\\\x"), "English",
       "C:\\Win32App\\Premiere", "C:\\F"},
      {"the first key that opens is the one used", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\" + kMStudio + "E]\r\n\r\n" +
       PathKey(kMStudio + "D", "C:\\\\D\\\\x"), "English", "C:\\Win32App\\Premiere", "C:\\MSVE25"},
  };
  for (const auto& [name, keys, language, premiere, mstudio] : cases) {
    SCOPED_TRACE(name);
    ImportReg("REGEDIT4\r\n\r\n[-HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n\r\n" + keys);
    m_main.m_szLanguage = language;
    SetPackages({{"Pkg"}});
    Run();
    EXPECT_EQ(m_strPremiereDir, premiere);
    EXPECT_EQ(m_strMStudioDir, mstudio);
  }
}

}  // namespace
