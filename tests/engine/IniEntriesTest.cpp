// DeleteIniEntries sections: keys and sections removed from profile files, on condition or not.
#include <string>
#include <vector>

#include "tests/engine/EngineFixture.h"

namespace {

const std::string kSystemIni =
    "[drivers]\r\nVIDC.XYZ=xyz.drv\r\nwave=mmsound.drv\r\nmidi=other.drv\r\n[XYZ Settings]\r\nMode=1\r\n[keep]\r\nk=v\r\n";

class IniEntriesTest : public EngineTest {
 protected:
  void RunIniSection(const std::string& lines) {
    WriteScript("[Pkg]\r\nDeleteIniEntries=Ini\r\n[Ini]\r\n" + lines);
    SetPackages({{"Pkg"}, {"Kept", false}});
    Run();
  }
};

struct IniCase {
  const char* name;
  std::string lines;
  std::string after;  // system.ini after the run
};

TEST_F(IniEntriesTest, EachLineRemovesASectionOrAKeyOnItsCondition) {
  auto without = [](std::initializer_list<std::string> lines) {
    std::string text = kSystemIni;
    for (const std::string& line : lines) text.erase(text.find(line), line.size());
    return text;
  };
  const std::vector<IniCase> cases = {
      {"an empty key removes the section whatever its value says", "system.ini#XYZ Settings##anything=1\r\n",
       without({"[XYZ Settings]\r\nMode=1\r\n"})},
      {"a key goes when its value differs only in case", "system.ini#drivers#VIDC.XYZ#XYZ.DRV=1\r\n",
       without({"VIDC.XYZ=xyz.drv\r\n"})},
      {"a key stays when its value differs", "system.ini#drivers#VIDC.XYZ#abc.drv=1\r\n", kSystemIni},
      {"a missing key is left alone", "system.ini#drivers#nokey#xyz.drv=1\r\n", kSystemIni},
      {"an empty value removes the key whatever it holds", "system.ini#drivers#wave#=\r\n",
       without({"wave=mmsound.drv\r\n"})},
      {"a line ending at its \"=\" is whole, and the next one is handled",
       "system.ini#drivers#wave#=\r\nsystem.ini#drivers#midi#=\r\n", without({"wave=mmsound.drv\r\n", "midi=other.drv\r\n"})},
      {"malformed lines are passed over and the walk goes on",
       "system.ini#drivers\r\nsystem.ini#drivers#wave\r\nsystem.ini#drivers#wave#\r\nno separator=1\r\n"
       "$nothing$ without separator=1\r\nsystem.ini#drivers#midi#=\r\n",
       without({"midi=other.drv\r\n"})},
      {"an unknown variable ends the walk at its line",
       "system.ini#drivers#wave#=\r\n$temp$\\system.ini#drivers#midi#=\r\nsystem.ini#keep##=\r\n",
       without({"wave=mmsound.drv\r\n"})},
      {"the file field expands", "$WINDOWS$\\system.ini#drivers#wave#=\r\n$windows$\\SYSTEM.INI#keep##=\r\n",
       without({"wave=mmsound.drv\r\n", "[keep]\r\nk=v\r\n"})},
  };
  for (const IniCase& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFile("C:\\WINDOWS\\system.ini", kSystemIni);
    RunIniSection(c.lines);
    EXPECT_EQ(ReadFile("C:\\WINDOWS\\system.ini"), c.after);
  }
}

TEST_F(IniEntriesTest, FileFieldsWithEachVariableReachTheirOwnDirectories) {
  ImportReg("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Premiere.exe]\r\n"
            "\"Path\"=\"C:\\\\Premiere\\\\Premiere.exe\"\r\n");
  const std::vector<std::pair<std::string, std::string>> files = {
      {"$System$\\capture.ini", "C:\\WINDOWS\\SYSTEM\\capture.ini"},
      {"$premiere$\\plugins.ini", "C:\\Premiere\\plugins.ini"},
      {"$MStudio$\\setup.ini", "C:\\MSVE25\\setup.ini"},
      {"C:\\Capture\\capture.ini", "C:\\Capture\\capture.ini"},
  };
  std::string lines;
  for (const auto& [field, path] : files) {
    WriteFile(path, "[Capture]\r\nBoard=TK7\r\nOther=1\r\n");
    lines += field + "#capture#BOARD#tk7=\r\n";
  }
  RunIniSection(lines);
  for (const auto& [field, path] : files) EXPECT_EQ(ReadFile(path), "[Capture]\r\nOther=1\r\n") << field;
}

TEST_F(IniEntriesTest, ConditionsAndNamesAreNeverCutToTheRoom) {
  const std::string head(255, 'v');
  const std::string longKey(256, 'k');
  const std::string text = "[drivers]\r\nlong=" + head + "tail\r\n" + longKey + "=1\r\n";
  WriteFile("C:\\WINDOWS\\system.ini", text);
  RunIniSection("system.ini#drivers#long#" + head + "=\r\nsystem.ini#drivers#" + longKey + "#=\r\n");
  EXPECT_EQ(ReadFile("C:\\WINDOWS\\system.ini"), text)
      << "a value is compared whole, and a line with a key of 256 characters is passed over";
}

}  // namespace
