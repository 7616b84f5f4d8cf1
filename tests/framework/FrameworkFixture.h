// The fixture of the framework tests: test templates in their own resource module, a script
// front end over a string, and the transcript it writes.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Dialog.h"
#include "platform/Resource.h"
#include "platform/ScriptFrontEnd.h"

inline constexpr UINT kTestDialog = 500;
inline constexpr UINT kTestProgress = 501;
inline constexpr UINT kTestIcon = 900;

class FrameworkTest : public ::testing::Test {
 protected:
  FrameworkTest();
  ~FrameworkTest() override;

  // Installs the script front end for `script`; fails the test when the script does not read.
  void UseScript(const std::string& script);
  // The transcript lines of one event kind, or all lines for an empty kind.
  std::vector<std::string> Events(const std::string& kind = "") const;
  std::string Transcript() const { return m_transcript.str(); }
  bool HasLine(const std::string& line) const;

  CResourceModule m_module;

 private:
  HINSTANCE m_previousModule;
  std::ostringstream m_transcript;
  std::unique_ptr<CScriptFrontEnd> m_frontEnd;
  std::unique_ptr<CFrontEndScope> m_scope;
};
