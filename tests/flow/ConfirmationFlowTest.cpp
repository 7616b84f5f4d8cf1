// A whole uninstall through the real program: the selection, the hardware check, the engine
// with its progress dialog, and the restart dialog or the completion message.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "tests/support/TestMachine.h"
#include "tests/support/UninstRun.h"

namespace {

constexpr const char* kMsvideo = "System\\CurrentControlSet\\control\\MediaResources\\msvideo";

class ConfirmationFlow : public ::testing::Test {
 protected:
  void SetUp() override {
    m_machine.Write("drive_c/Capture/uninstin.ini",
                    "[Packages]\r\nDriver=1\r\nApp=1\r\n[Hardware]\r\nHardware Package=DRIVER\r\nDriver=TK7CAP\r\n");
    m_machine.Write("drive_c/Capture/uninst.ini",
                    "[Driver]\r\nDeleteFiles=DriverFiles\r\n[DriverFiles]\r\n$system$\\tk7cap.drv=\r\n"
                    "[App]\r\nDeleteFiles=AppFiles\r\n[AppFiles]\r\nC:\\Capture\\app.exe=\r\n");
    m_machine.Write("drive_c/WINDOWS/SYSTEM/tk7cap.drv", "driver");
    m_machine.Write("drive_c/Capture/app.exe", "app");
  }

  static void SetString(const std::string& path, const char* name, const char* data) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, path.c_str(), &key), ERROR_SUCCESS);
    if (name)
      RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data), static_cast<DWORD>(std::strlen(data) + 1));
    RegCloseKey(key);
  }
  static bool KeyExists(const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, path.c_str(), &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }
  // A device subkey of the board with its enumeration and class keys.
  static void AddDevice(const std::string& name, const std::string& instance, bool deviceId = true,
                        bool softwareKey = true) {
    std::string device = std::string(kMsvideo) + "\\" + name;
    SetString(device, nullptr, nullptr);
    SetString("Enum\\PCI\\VEN_1234&DEV_5678\\" + instance, "Class", "MEDIA");
    SetString("System\\CurrentControlSet\\Services\\Class\\MEDIA\\" + instance, "Driver", "tk7cap.drv");
    if (deviceId) SetString(device, "DeviceID", ("PCI\\VEN_1234&DEV_5678\\" + instance).c_str());
    if (softwareKey)
      SetString(device, "SOFTWAREKEY", ("System\\CurrentControlSet\\Services\\Class\\MEDIA\\" + instance).c_str());
  }
  static bool DeviceGone(const std::string& name, const std::string& instance) {
    return !KeyExists(std::string(kMsvideo) + "\\" + name) && !KeyExists("Enum\\PCI\\VEN_1234&DEV_5678\\" + instance) &&
           !KeyExists("System\\CurrentControlSet\\Services\\Class\\MEDIA\\" + instance);
  }

  UninstResult Run(const std::string& script) {
    return RunUninst(m_machine.Host("drive_c/Capture/uninst.exe"), script);
  }
  std::string State() const { return m_machine.Read("drive_c/Capture/uninstin.ini"); }
  bool DriverFile() const { return m_machine.Exists("drive_c/WINDOWS/SYSTEM/tk7cap.drv"); }
  bool AppFile() const { return m_machine.Exists("drive_c/Capture/app.exe"); }

  CTestMachine m_machine;
};

TEST_F(ConfirmationFlow, NoSelectionAnsweredYesEndsWithNothingRemoved) {
  const std::string before = State();
  UninstResult result = Run("uncheck 1001\nuncheck 1002\nclick 1010\nanswer IDYES\n");
  ASSERT_EQ(result.status, 1) << "stopped before anything was removed\n" << result.errors;
  EXPECT_TRUE(result.Has({"\"event\":\"messagebox\"", "No component has been selected!", "\"type\":4", "\"answer\":6"}));
  EXPECT_TRUE(result.Has({"\"id\":102", "\"state\":\"end\"", "\"result\":1"}));
  EXPECT_FALSE(result.Has({"\"id\":134"}));
  EXPECT_EQ(result.Lines({"\"event\":\"messagebox\""}).size(), 1u) << "no completion message";
  EXPECT_EQ(State(), before);
  EXPECT_TRUE(DriverFile() && AppFile());
}

TEST_F(ConfirmationFlow, NoSelectionAnsweredNoStaysAndOkRunsTheFlowAgain) {
  UninstResult result = Run("uncheck 1001\nuncheck 1002\nclick 1010\nanswer IDNO\nclick 1010\nanswer IDNO\nkey ESC\n");
  ASSERT_EQ(result.status, 1) << "stopped before anything was removed\n" << result.errors;
  EXPECT_EQ(result.Lines({"No component has been selected!"}).size(), 2u);
  EXPECT_TRUE(result.Has({"\"id\":102", "\"state\":\"end\"", "\"result\":2"}));
  EXPECT_TRUE(DriverFile() && AppFile());
}

TEST_F(ConfirmationFlow, WithoutHardwarePackageEndsWithCompletionMessage) {
  AddDevice("TK7CAP", "0001");
  UninstResult result = Run("uncheck 1001\nclick 1010\nanswer IDOK\n");
  ASSERT_EQ(result.status, 0) << result.errors;
  EXPECT_TRUE(result.Has({"\"event\":\"messagebox\"", "The uninstallation has been completed.", "\"type\":0"}));
  EXPECT_FALSE(result.Has({"\"id\":135"}));
  EXPECT_FALSE(result.Has({"Achtung!"}));
  EXPECT_TRUE(result.Has({"\"id\":134", "\"state\":\"open\""}));
  EXPECT_FALSE(AppFile());
  EXPECT_TRUE(DriverFile());
  EXPECT_FALSE(DeviceGone("TK7CAP", "0001"));
  EXPECT_EQ(State().find("App="), std::string::npos) << State();
}

TEST_F(ConfirmationFlow, HardwarePackageWithoutDriverEntryPreselectsRestart) {
  UninstResult result = Run("click 1010\nkey ENTER\n");  // in the restart dialog OK has the focus
  ASSERT_EQ(result.status, 0) << result.errors;
  EXPECT_TRUE(result.Has({"\"dialog\":135", "\"id\":1019", "\"checked\":1"}));
  EXPECT_TRUE(result.Has({"\"dialog\":135", "\"id\":1018", "\"checked\":0"}));
  EXPECT_TRUE(result.Has({"\"event\":\"exitwindows\"", "\"flags\":2"}));
  EXPECT_TRUE(result.Has({"\"event\":\"window\"", "\"dialog\":102", "\"visible\":false"}));
  EXPECT_FALSE(DriverFile() || AppFile());
}

TEST_F(ConfirmationFlow, DriverEntryFoundAndUserContinues) {
  AddDevice("TK7CAP", "0001");
  AddDevice("TK7CAP2", "0002");
  AddDevice("msvideo.tk7cap.3", "0003");
  SetString(std::string(kMsvideo) + "\\OTHERCAP", "DeviceID", "PCI\\OTHER\\1");
  UninstResult result = Run("click 1010\nanswer IDOK\nclick 1020\nclick 1\n");
  ASSERT_EQ(result.status, 5) << "a restart is needed\n" << result.errors;
  std::vector<std::string> warnings = result.Lines({"\"event\":\"messagebox\"", "Achtung!"});
  ASSERT_EQ(warnings.size(), 1u) << "one warning, however many device subkeys";
  EXPECT_NE(warnings[0].find("Registry.\\nIf you removed the board from your computer, you should proceed with the "
                             "uninstallation. If the board is still"),
            std::string::npos)
      << warnings[0];
  EXPECT_NE(warnings[0].find("next Windows restart!\\nDo you want to continue?"), std::string::npos);
  EXPECT_NE(warnings[0].find("\"type\":1"), std::string::npos);
  for (auto [name, instance] : {std::pair{"TK7CAP", "0001"}, {"TK7CAP2", "0002"}, {"msvideo.tk7cap.3", "0003"}})
    EXPECT_TRUE(DeviceGone(name, instance)) << name;
  EXPECT_TRUE(KeyExists(std::string(kMsvideo) + "\\OTHERCAP"));
  EXPECT_TRUE(result.Has({"\"dialog\":135", "\"id\":1018", "\"checked\":1"})) << "shutdown preselected";
  EXPECT_FALSE(result.Has({"\"event\":\"exitwindows\""})) << "the third choice asks for nothing";
  EXPECT_TRUE(result.Has({"\"event\":\"window\"", "\"dialog\":102", "\"visible\":false"}));
}

TEST_F(ConfirmationFlow, ShutdownPreselectedEvenWhenNothingCouldBeDeleted) {
  AddDevice("TK7CAP", "0001", /*deviceId=*/false);
  UninstResult result = Run("click 1010\nanswer IDOK\nkey ENTER\n");
  ASSERT_EQ(result.status, 5) << "the shutdown leaves the restart-time list to the next start\n" << result.errors;
  EXPECT_TRUE(result.Has({"\"dialog\":135", "\"id\":1018", "\"checked\":1"}));
  EXPECT_TRUE(result.Has({"\"event\":\"exitwindows\"", "\"flags\":1"}));
  EXPECT_TRUE(KeyExists(std::string(kMsvideo) + "\\TK7CAP")) << "without DeviceID the subkey stays";
  EXPECT_TRUE(KeyExists("Enum\\PCI\\VEN_1234&DEV_5678\\0001"));
}

TEST_F(ConfirmationFlow, CancelAtTheWarningChangesNothing) {
  AddDevice("TK7CAP", "0001");
  const std::string before = State();
  UninstResult result = Run("click 1010\nanswer IDCANCEL\n");
  ASSERT_EQ(result.status, 1) << "stopped before anything was removed\n" << result.errors;
  EXPECT_TRUE(result.Has({"\"id\":102", "\"state\":\"end\"", "\"result\":1"}));
  EXPECT_FALSE(result.Has({"\"id\":134"}));
  EXPECT_FALSE(result.Has({"\"id\":135"}));
  EXPECT_EQ(State(), before);
  EXPECT_TRUE(DriverFile() && AppFile());
  EXPECT_FALSE(DeviceGone("TK7CAP", "0001"));
  EXPECT_TRUE(KeyExists(std::string(kMsvideo) + "\\TK7CAP"));
}

TEST_F(ConfirmationFlow, DeviceSubkeyCases) {
  // Without SOFTWAREKEY: the enumeration key and the subkey go, the class key stays. A
  // DeviceID without a backslash: its deletion is skipped, the others go on.
  AddDevice("TK7CAP_A", "000A", true, /*softwareKey=*/false);
  AddDevice("TK7CAP_B", "000B");
  SetString(std::string(kMsvideo) + "\\TK7CAP_B", "DeviceID", "NOBACKSLASH");
  // A subkey between them that cannot be read is passed over; the later ones still go.
  AddDevice("TK7CAP_AA", "00AA", /*deviceId=*/false);
  UninstResult result = Run("click 1010\nanswer IDOK\nkey ESC\n");
  ASSERT_EQ(result.status, 5) << "a restart is needed\n" << result.errors;
  EXPECT_FALSE(KeyExists(std::string(kMsvideo) + "\\TK7CAP_A"));
  EXPECT_FALSE(KeyExists("Enum\\PCI\\VEN_1234&DEV_5678\\000A"));
  EXPECT_TRUE(KeyExists("System\\CurrentControlSet\\Services\\Class\\MEDIA\\000A"));
  EXPECT_TRUE(KeyExists(std::string(kMsvideo) + "\\TK7CAP_AA"));
  EXPECT_FALSE(KeyExists(std::string(kMsvideo) + "\\TK7CAP_B"));
  EXPECT_TRUE(KeyExists("Enum\\PCI\\VEN_1234&DEV_5678\\000B"));
  EXPECT_FALSE(KeyExists("System\\CurrentControlSet\\Services\\Class\\MEDIA\\000B"));
  EXPECT_FALSE(result.Has({"\"event\":\"exitwindows\""})) << "Escape asks for nothing";
}

TEST_F(ConfirmationFlow, DriverNameRules) {
  struct Case {
    const char* driver;  // the state file's Driver value; nullptr: the key is missing
    const char* subkey;
    bool warned;
  };
  const Case cases[] = {
      {"tk7cap", "TK7CAP", false},                       // only subkey names are upper-cased
      {"TK7CAPXXXXXXXXXYYY", "A_TK7CAPXXXXXXXXX_Z", true},  // cut to 15 characters
      {"", "TK7CAP", false},                             // an empty name selects nothing
      {nullptr, "board.tk7cap", true},                   // the default, against an upper-cased name
  };
  for (const Case& c : cases) {
    m_machine.Write("drive_c/Capture/uninstin.ini", std::string("[Packages]\r\nDriver=1\r\n[Hardware]\r\n") +
                                                        "Hardware Package=driver\r\n" +
                                                        (c.driver ? std::string("Driver=") + c.driver + "\r\n" : ""));
    HKEY root = nullptr;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, "System", &root) == ERROR_SUCCESS) {
      RegDeleteKeyA(root, "CurrentControlSet");
      RegCloseKey(root);
    }
    AddDevice(c.subkey, "0001");
    UninstResult result = Run("click 1010\nanswer IDCANCEL\n");
    EXPECT_EQ(result.Has({"Achtung!"}), c.warned) << (c.driver ? c.driver : "(default)") << "\n" << result.errors;
  }
}

TEST_F(ConfirmationFlow, RestartDialogChoices) {
  UninstResult result = Run("click 1010\nclick 1019\nclick 1018\nkey ESC\n");
  ASSERT_EQ(result.status, 5) << "a restart is needed\n" << result.errors;
  std::vector<std::string> restart = result.Lines({"\"dialog\":135", "\"id\":1019"});
  std::vector<std::string> shutdown = result.Lines({"\"dialog\":135", "\"id\":1018"});
  ASSERT_GE(restart.size(), 3u);
  EXPECT_NE(restart[1].find("\"checked\":1"), std::string::npos) << "a click on the set box keeps it";
  EXPECT_NE(shutdown[2].find("\"checked\":1"), std::string::npos) << "another box takes the mark";
  EXPECT_NE(restart[2].find("\"checked\":0"), std::string::npos);
  EXPECT_FALSE(result.Has({"\"event\":\"exitwindows\""})) << "Escape with the first box set";
  EXPECT_FALSE(result.Has({"\"event\":\"window\"", "\"dialog\":102", "\"visible\":false"}));
  EXPECT_TRUE(result.Has({"\"dialog\":135", "\"id\":1022", "\"text\":\"\""})) << "long texts empty by default";
  EXPECT_TRUE(result.Has({"\"dialog\":135", "\"id\":1018", "\"text\":\"Shut down Windows.\""}));
}

}  // namespace
