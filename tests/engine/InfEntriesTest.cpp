// DeleteInfFile sections: the INF files of the Windows Inf folder that carry the board's
// identifier.
#include <string>
#include <vector>

#include "tests/engine/EngineFixture.h"

namespace {

class InfEntriesTest : public EngineTest {
 protected:
  void Inf(const std::string& relative, const std::string& value, const std::string& section = "tolvekSection",
           const std::string& key = "%DevDesc%") {
    WriteFile("C:\\WINDOWS\\INF\\" + relative, "[Version]\r\nSignature=$CHICAGO$\r\n[" + section + "]\r\n" + key + "=" +
                                                  value + "\r\n");
  }
  void RunInfSection(const std::string& keys) {
    WriteScript("[Pkg]\r\nDeleteInfFile=InfKeys\r\n[InfKeys]\r\n" + keys);
    SetPackages({{"Pkg"}, {"Kept", false}});
    Run();
  }
};

TEST_F(InfEntriesTest, SearchesInfOthersFirstThenOemFilesWithTheValueUpperCased) {
  Inf("oem3.inf", "Kalvora TK7 Capture");
  Inf("others\\zboard.inf", "tk7 capture board");  // lower case in the file still matches
  Inf("others\\other.inf", "Another device");
  Inf("mdmgen.inf", "TK7 but not an oem file");
  Inf("sub\\oem9.inf", "TK7 in another folder");
  RunInfSection("Search_ID=TK7\r\n");
  EXPECT_EQ(Labels(), (std::vector<std::string>{"C:\\WINDOWS\\Inf\\others\\zboard.inf", "C:\\WINDOWS\\Inf\\oem3.inf"}));
  EXPECT_TRUE(Exists("C:\\WINDOWS\\INF\\others\\other.inf"));
  EXPECT_TRUE(Exists("C:\\WINDOWS\\INF\\mdmgen.inf")) << "only oem*.inf of the Inf folder is looked at";
  EXPECT_TRUE(Exists("C:\\WINDOWS\\INF\\sub\\oem9.inf"));
}

struct InfCase {
  const char* name;
  std::string keys;   // of the action section
  bool taken;         // is oem1.inf, "[Board] Desc=Kalvora TK7", taken?
};

TEST_F(InfEntriesTest, TheSectionItemAndIdentifierDecideWhichFileIsTaken) {
  const std::vector<InfCase> cases = {
      {"named section and item", "Section=Board\r\nItem=Desc\r\nSearch_ID=TK7\r\n", true},
      {"names compare without regard to case", "Section=BOARD\r\nItem=desc\r\nSearch_ID=KALVORA\r\n", true},
      {"a lower-case identifier never matches", "Section=Board\r\nItem=Desc\r\nSearch_ID=tk7\r\n", false},
      {"the defaults name another section", "Search_ID=TK7\r\n", false},
      {"a missing key gives an empty value", "Section=Board\r\nItem=Other\r\nSearch_ID=TK7\r\n", false},
      {"an empty identifier takes nothing", "Section=Board\r\nItem=Desc\r\nSearch_ID=\r\n", false},
      {"a missing identifier takes nothing", "Section=Board\r\nItem=Desc\r\n", false},
      {"a section name too long for the room", "Section=" + std::string(300, 'S') + "\r\nItem=Desc\r\nSearch_ID=TK7\r\n",
       false},
  };
  for (const InfCase& c : cases) {
    SCOPED_TRACE(c.name);
    Inf("oem1.inf", "Kalvora TK7", "Board", "Desc");
    Inf("oem2.inf", "Another device", "Board", "Desc");
    Inf("oem5.inf", "Kalvora TK7", std::string(300, 'S'), "Desc");
    RunInfSection(c.keys);
    EXPECT_TRUE(Exists("C:\\WINDOWS\\INF\\oem5.inf")) << "a line of 256 characters or more is passed over";
    EXPECT_EQ(Exists("C:\\WINDOWS\\INF\\oem1.inf"), !c.taken);
    EXPECT_TRUE(Exists("C:\\WINDOWS\\INF\\oem2.inf")) << "another device's file is never taken";
  }
}

}  // namespace
