// The engine tests' machine, main dialog, front end and run.
#include "tests/engine/EngineFixture.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>

#include "dialogs/ProgressDlg.h"
#include "platform/RegFile.h"
#include "platform/Registry.h"
#include "platform/Resource.h"
#include "resources/ProgramResources.h"

CTestMainDlg::CTestMainDlg() : CDialog(IDD_UNINST_DIALOG) {}

EngineTest::EngineTest() : m_previousModule(AfxGetResourceHandle()) {
  AfxSetResourceHandle(ProgramResources());
  UseScript("");
  m_main.m_szExeDir = kExeDir;
  m_main.m_szExePath = "C:\\Capture\\uninst.exe";
  m_main.m_szScriptPath = kScript;
  m_main.m_szStatePath = kState;
  m_main.m_szLanguage = "English";
  m_app.m_pMainWnd = &m_main;
  EXPECT_TRUE(m_main.Create());
  WriteFile("C:\\Capture\\uninst.exe", "MZ");
}

EngineTest::~EngineTest() {
  m_main.DestroyWindow();
  m_app.m_pMainWnd = nullptr;
  m_scope.reset();
  m_frontEnd.reset();
  AfxSetResourceHandle(m_previousModule);
}

std::string EngineTest::HostRelative(const std::string& windowsPath) {
  std::string relative = "drive_";
  relative += static_cast<char>(std::tolower(static_cast<unsigned char>(windowsPath.at(0))));
  for (char c : windowsPath.substr(2)) relative += c == '\\' ? '/' : c;
  return relative;
}

void EngineTest::WriteFile(const std::string& windowsPath, const std::string& bytes) const {
  m_machine.Write(HostRelative(windowsPath), bytes);
}

void EngineTest::MakeDir(const std::string& windowsPath) const { m_machine.MakeDir(HostRelative(windowsPath)); }

bool EngineTest::Exists(const std::string& windowsPath) const { return m_machine.Exists(HostRelative(windowsPath)); }

std::string EngineTest::ReadFile(const std::string& windowsPath) const {
  return m_machine.Read(HostRelative(windowsPath));
}

void EngineTest::MakeReadOnly(const std::string& windowsPath) const {
  ASSERT_EQ(::chmod(HostOf(windowsPath).c_str(), 0444), 0);
}

void EngineTest::ImportReg(const std::string& text) {
  RegFileError error;
  ASSERT_TRUE(ImportRegText(m_machine.Machine(), "fixture", text, &error).IsOk()) << error.ToString();
}

std::string EngineTest::ExportReg(const std::string& key) {
  std::string text;
  EXPECT_TRUE(ExportRegistry(m_machine.Machine(), key, &text).IsOk()) << key;
  return text;
}

bool EngineTest::KeyExists(HKEY root, const char* path) {
  HKEY key = nullptr;
  if (RegOpenKeyA(root, path, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

void EngineTest::SetPackages(std::initializer_list<PackageLine> packages) {
  std::string lines = "[Packages]\r\n";
  int slot = 0;
  for (const PackageLine& package : packages) {
    lines += package.name + "=1\r\n";
    if (slot < kPackageSlots) {
      m_main.m_strPackage[slot] = package.name;
      m_main.m_bPackageSelected[slot] = package.selected ? 1 : 0;
    }
    ++slot;
  }
  WriteFile(kState, lines);
}

std::vector<std::string> EngineTest::RenameLines() const {
  std::vector<std::string> lines;
  std::istringstream text(ReadFile(kWininit));
  std::string line;
  bool inRename = false;
  while (std::getline(text, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.starts_with('[')) {
      inRename = line == "[Rename]";
      continue;
    }
    if (inRename && !line.empty()) lines.push_back(line);
  }
  return lines;
}

void EngineTest::UseScript(const std::string& script) {
  CScript parsed;
  std::string error;
  ASSERT_TRUE(CScript::Parse(script, &parsed, &error)) << error;
  m_scope.reset();
  m_frontEnd = std::make_unique<CScriptFrontEnd>(std::move(parsed), m_transcript);
  m_scope = std::make_unique<CFrontEndScope>(*m_frontEnd);
}

void EngineTest::Run() {
  CProgressDlg dialog;
  ASSERT_TRUE(dialog.Create());
  EXPECT_EQ(dialog.RunUninstall(), 1);
  m_strWindowsDir = dialog.m_strWindowsDir.Str();
  m_strSystemDir = dialog.m_strSystemDir.Str();
  m_strPremiereDir = dialog.m_strPremiereDir.Str();
  m_strMStudioDir = dialog.m_strMStudioDir.Str();
  dialog.DestroyWindow();
  EXPECT_EQ(OpenRegistryHandleCount(), 0u) << "every key the run opened is closed";
}

std::vector<std::string> EngineTest::Events(const std::string& kind) const {
  std::vector<std::string> lines;
  std::istringstream in(m_transcript.str());
  std::string line;
  std::string tag = "{\"event\":\"" + kind + "\"";
  while (std::getline(in, line))
    if (kind.empty() || line.starts_with(tag)) lines.push_back(line);
  return lines;
}

namespace {

// The transcript lines after the progress dialog of the last run opened.
std::vector<std::string> AfterProgressOpened(const std::vector<std::string>& lines) {
  auto open = std::find_if(lines.rbegin(), lines.rend(), [](const std::string& line) {
    return line.starts_with(R"({"event":"dialog","id":134,"state":"open")");
  });
  return open == lines.rend() ? std::vector<std::string>() : std::vector<std::string>(open.base(), lines.end());
}

}  // namespace

std::vector<int> EngineTest::RunPositions() const {
  const std::string prefix = R"({"event":"progress","dialog":134,"id":1013,"pos":)";
  std::vector<int> positions;
  for (const std::string& line : AfterProgressOpened(Events()))
    if (line.starts_with(prefix)) positions.push_back(std::atoi(line.c_str() + prefix.size()));
  return positions;
}

std::vector<std::string> EngineTest::Labels() const {
  std::vector<std::string> labels;
  for (const std::string& line : AfterProgressOpened(Events()))
    if (line.starts_with(R"({"event":"text","dialog":134,"id":1014,)")) labels.push_back(JsonField(line, "text"));
  return labels;
}

std::string JsonField(const std::string& line, const std::string& field) {
  std::string key = "\"" + field + "\":\"";
  size_t at = line.find(key);
  if (at == std::string::npos) return "<no " + field + ">";
  std::string text;
  for (at += key.size(); at < line.size() && line[at] != '"'; ++at) {
    if (line[at] != '\\') {
      text += line[at];
      continue;
    }
    char escaped = line.at(++at);
    if (escaped == 'u') {
      text += static_cast<char>(std::stoi(line.substr(at + 1, 4), nullptr, 16));
      at += 4;
    } else {
      text += escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped;
    }
  }
  return text;
}
