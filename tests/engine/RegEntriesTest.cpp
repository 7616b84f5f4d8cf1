// DeleteRegEntries sections: keys and values deleted below the root in force, which lasts for
// the whole run.
#include <string>
#include <vector>

#include "platform/HostMachine.h"
#include "platform/Machine.h"
#include "platform/RegFile.h"
#include "tests/engine/EngineFixture.h"

namespace {

const std::string kLongData(300, 'd');
const std::string kLongName(250, 'a');

// Each case starts from these keys; the deletions first make a repeated import start afresh.
const std::string kBase =
    "REGEDIT4\r\n\r\n"
    "[-HKEY_CURRENT_USER\\Software\\Capture]\r\n[-HKEY_LOCAL_MACHINE\\Software\\Capture]\r\n"
    "[-HKEY_LOCAL_MACHINE\\Single]\r\n[-HKEY_CLASSES_ROOT\\.cap]\r\n[-HKEY_USERS\\.DEFAULT]\r\n"
    "[-HKEY_CURRENT_CONFIG\\Software]\r\n[-HKEY_DYN_DATA\\Software]\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Capture]\r\n\"Mode\"=\"on\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Capture]\r\n@=\"default\"\r\n\"Mode\"=\"ON\"\r\n\"Path\"=\"C:\\\\Capture\"\r\n"
    "\"Long\"=\"" + kLongData + "\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Capture\\Sub\\Deep]\r\n\"x\"=\"y\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Capture\\" + kLongName + "]\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\Single]\r\n\r\n"
    "[HKEY_CLASSES_ROOT\\.cap]\r\n@=\"CaptureFile\"\r\n\r\n"
    "[HKEY_USERS\\.DEFAULT\\Software\\Capture]\r\n\r\n"
    "[HKEY_CURRENT_CONFIG\\Software\\Capture]\r\n\r\n"
    "[HKEY_DYN_DATA\\Software\\Capture]\r\n\r\n";

struct RegCase {
  const char* name;
  std::string script;     // the packages P1 and P2 with their registry sections
  std::string deletions;  // REGEDIT4 lines: what the run is expected to have deleted
};

// A script whose package P1 has registry section `first`, and P2 `second` when given.
std::string Packages(const std::string& first, const std::string& second = "") {
  std::string script = "[P1]\r\nDeleteRegEntries=Reg1\r\n[Reg1]\r\n" + first;
  if (!second.empty()) script += "[P2]\r\nDeleteRegEntries=Reg2\r\n[Reg2]\r\n" + second;
  return script;
}

class RegEntriesTest : public EngineTest {
 protected:
  // The whole registry of a fresh machine given the base keys and then `deletions`.
  std::string Expected(const std::string& deletions) {
    CTempDir dir;
    CHostMachine machine(dir.Path());
    RegFileError error;
    EXPECT_TRUE(ImportRegText(machine, "base", kBase, &error).IsOk()) << error.ToString();
    EXPECT_TRUE(ImportRegText(machine, "deletions", "REGEDIT4\r\n\r\n" + deletions, &error).IsOk()) << error.ToString();
    std::string text;
    EXPECT_TRUE(ExportRegistry(machine, "", &text).IsOk());
    return text;
  }
};

TEST_F(RegEntriesTest, EachLineDeletesWhatItNamesBelowTheRootInForce) {
  const std::vector<RegCase> cases = {
      {"root names in any letter case",
       Packages("hkey_current_user#Software\\Capture#Mode#=\r\nHKEY_Local_Machine#Software\\Capture#Path#=\r\n"
                "Hkey_Classes_Root#.cap#@#=\r\nhkey_users#.DEFAULT\\Software\\Capture##=\r\n"
                "HKEY_CURRENT_CONFIG#Software\\Capture##=\r\nhKeY_dYn_DaTa#Software\\Capture##=\r\n"),
       "[HKEY_CURRENT_USER\\Software\\Capture]\r\n\"Mode\"=-\r\n[HKEY_LOCAL_MACHINE\\Software\\Capture]\r\n\"Path\"=-\r\n"
       "[HKEY_CLASSES_ROOT\\.cap]\r\n@=-\r\n[-HKEY_USERS\\.DEFAULT\\Software\\Capture]\r\n"
       "[-HKEY_CURRENT_CONFIG\\Software\\Capture]\r\n[-HKEY_DYN_DATA\\Software\\Capture]\r\n"},
      {"the root lasts across packages, set by a line that was itself passed over",
       Packages("HKEY_CURRENT_USER#Software\\Capture#Path#=\r\nHKEY_LOCAL_MACHINE#malformed\r\n",
                "Other#Software\\Capture#Mode#=\r\n"),
       "[HKEY_LOCAL_MACHINE\\Software\\Capture]\r\n\"Mode\"=-\r\n"},
      {"an unknown root before any known one acts nowhere", Packages("Other#Software\\Capture#Mode#=\r\n"), ""},
      {"\"@\" deletes the default value whatever it holds",
       Packages("HKEY_LOCAL_MACHINE#Software\\Capture#@#something else=\r\n"),
       "[HKEY_LOCAL_MACHINE\\Software\\Capture]\r\n@=-\r\n"},
      {"a condition matches without regard to case, and only then",
       Packages("HKEY_LOCAL_MACHINE#Software\\Capture#Mode#on=1\r\nHKEY_CURRENT_USER#Software\\Capture#Mode#off=1\r\n"
                "HKEY_LOCAL_MACHINE#Software\\Capture#Missing#on=1\r\n"),
       "[HKEY_LOCAL_MACHINE\\Software\\Capture]\r\n\"Mode\"=-\r\n"},
      {"data longer than the room is never compared",
       Packages("HKEY_LOCAL_MACHINE#Software\\Capture#Long#" + kLongData.substr(0, 255) + "=\r\n"
                "HKEY_LOCAL_MACHINE#Software\\Capture#Long#" + kLongData + "=\r\n"),
       ""},
      {"a key goes with its subkeys", Packages("HKEY_LOCAL_MACHINE#Software\\Capture\\Sub##=\r\n"),
       "[-HKEY_LOCAL_MACHINE\\Software\\Capture\\Sub]\r\n"},
      {"a key without a backslash, or ending in one, deletes nothing",
       Packages("HKEY_LOCAL_MACHINE#Single##=\r\nHKEY_LOCAL_MACHINE#Software\\Capture\\Sub\\##=\r\n"), ""},
      {"malformed lines are passed over and the walk goes on",
       Packages("HKEY_LOCAL_MACHINE#Software\\Capture#Mode\r\nHKEY_LOCAL_MACHINE#Software\\Capture#Mode#\r\n"
                "no separator=\r\nHKEY_LOCAL_MACHINE#Software\\Capture#Path#=\r\n"),
       "[HKEY_LOCAL_MACHINE\\Software\\Capture]\r\n\"Path\"=-\r\n"},
      {"a subkey of 256 characters or more is passed over",
       Packages("HKEY_LOCAL_MACHINE#Software\\Capture\\" + kLongName + "##=\r\n"), ""},
  };
  for (const RegCase& c : cases) {
    SCOPED_TRACE(c.name);
    ImportReg(kBase);
    WriteScript(c.script);
    SetPackages({{"P1"}, {"P2"}, {"Kept", false}});
    Run();
    EXPECT_EQ(ExportReg(), Expected(c.deletions));
  }
}

// A registry whose transactions never commit: what they did is rolled back.
class CFailingCommitMachine : public CForwardingMachine {
 public:
  using CForwardingMachine::CForwardingMachine;
  Status RegCommitTransaction() override {
    Target().RegRollbackTransaction();
    return Status::Error(ERROR_REGISTRY_IO_FAILED);
  }
};

TEST_F(RegEntriesTest, ASectionWhoseTransactionDoesNotCommitIsCarriedOutLineByLine) {
  ImportReg(kBase);
  WriteScript(Packages("HKEY_LOCAL_MACHINE#Software\\Capture\\Sub##=\r\nHKEY_CURRENT_USER#Software\\Capture#Mode#ON=\r\n",
                       "Other#Software\\Capture#Path#=\r\n"));
  SetPackages({{"P1"}, {"P2"}, {"Kept", false}});
  CFailingCommitMachine failing(m_machine.Machine());
  InstallMachine(&failing);
  Run();
  InstallMachine(&m_machine.Machine());
  EXPECT_EQ(ExportReg(), Expected("[-HKEY_LOCAL_MACHINE\\Software\\Capture\\Sub]\r\n"
                                  "[HKEY_CURRENT_USER\\Software\\Capture]\r\n\"Mode\"=-\r\n"))
      << "the packages are struck, so their entries must not stay behind; P2 acts below P1's last root";
}

}  // namespace
