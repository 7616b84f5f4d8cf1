// `cmake --install` of this build: the two programs and their manual pages under the prefix and
// nothing else, programs that run from there on their own, and pages that man shows without a
// warning, within 80 columns, documenting every command and option the programs' --help lists.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/ShellQuote.h"
#include "tests/support/TestMachine.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// What `--help` of one command lists: its subcommands and its long options.
struct HelpListing {
  std::vector<std::string> subcommands;
  std::vector<std::string> options;
};

HelpListing ParseHelp(const std::string& help) {
  HelpListing listing;
  std::string section;
  for (const std::string& line : Lines(help)) {
    if (!line.empty() && line.back() == ':' && line.front() != ' ') {
      section = line;
      continue;
    }
    std::istringstream fields(line);
    std::string first;
    if (line.rfind("  ", 0) != 0 || !(fields >> first)) continue;
    if (section == "Subcommands:") listing.subcommands.push_back(first);
    if (section != "Options:") continue;
    std::istringstream names(first);
    for (std::string name; std::getline(names, name, ',');)
      if (name.rfind("--", 0) == 0) listing.options.push_back(name);
  }
  return listing;
}

class InstallTest : public ::testing::Test {
 protected:
  // One installation serves every case: it is the same each time.
  static void SetUpTestSuite() {
    s_prefix = std::make_unique<CTempDir>();
    s_status = RunCommand(ShellQuoted(UNINST_CMAKE_COMMAND) + " --install " + ShellQuoted(UNINST_BUILD_ROOT) +
                              " --prefix " + ShellQuoted(s_prefix->Path()) + " 2>&1",
                          &s_output);
  }
  static void TearDownTestSuite() { s_prefix.reset(); }
  void SetUp() override { ASSERT_EQ(s_status, 0) << "cmake --install failed:\n" << s_output; }

  static std::string Installed(const std::string& relative) { return s_prefix->Path() + "/" + relative; }

  // The page as `man PAGE` shows it from the prefix's man folder; man's and groff's complaints
  // go to `warnings`.
  static std::string Rendered(const std::string& page, std::string* warnings) {
    CTempDir dir;
    const std::string errors = dir.Path() + "/errors";
    std::string text;
    int status = RunCommand("LC_ALL=C MANWIDTH=80 man --warnings -M " + ShellQuoted(Installed("share/man")) + " " +
                                page + " 2>" + ShellQuoted(errors),
                            &text);
    RunCommand("cat " + ShellQuoted(errors), warnings);
    if (status != 0) warnings->append("man exited " + std::to_string(status));
    return text;
  }

  static std::unique_ptr<CTempDir> s_prefix;
  static int s_status;
  static std::string s_output;
};

std::unique_ptr<CTempDir> InstallTest::s_prefix;
int InstallTest::s_status = -1;
std::string InstallTest::s_output;

TEST_F(InstallTest, PutsTheProgramsAndTheirPagesUnderThePrefixAndNothingElse) {
  std::set<std::string> files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(s_prefix->Path()))
    if (!entry.is_directory()) files.insert(fs::relative(entry.path(), s_prefix->Path()).string());
  EXPECT_EQ(files, (std::set<std::string>{"bin/uninst", "bin/uninst-machine", "share/man/man1/uninst-machine.1",
                                          "share/man/man1/uninst.1"}));
  for (const char* program : {"bin/uninst", "bin/uninst-machine"}) {
    struct stat info {};
    ASSERT_EQ(::stat(Installed(program).c_str(), &info), 0) << program;
    EXPECT_EQ(info.st_mode & 0755, 0755u) << program << " should be executable by everyone";
  }
}

TEST_F(InstallTest, InstalledProgramsRunWithoutTheBuildTree) {
  std::string help;
  EXPECT_EQ(RunCommand(ShellQuoted(Installed("bin/uninst")) + " --help", &help), 0);
  EXPECT_NE(help.find("Usage: uninst"), std::string::npos) << help;
  CTempDir dir;
  const std::string machine = dir.Path() + "/pc";
  ASSERT_EQ(RunCommand(ShellQuoted(Installed("bin/uninst-machine")) + " demo " + ShellQuoted(machine) + " --quiet"), 0);
  EXPECT_TRUE(fs::exists(machine + "/drive_c/Capture/uninst.ini"));
  std::string query;
  EXPECT_EQ(RunCommand(ShellQuoted(Installed("bin/uninst-machine")) + " reg query " + ShellQuoted(machine) +
                           " 'HKEY_LOCAL_MACHINE\\Software\\Kalvora\\TK7 Driver' Version",
                       &query),
            0);
  EXPECT_NE(query.find("2.10"), std::string::npos) << query;
  // A run path into the build folder would load libraries that a person's machine lacks.
  for (const char* program : {"bin/uninst", "bin/uninst-machine"}) {
    std::string dynamic;
    RunCommand("readelf -d " + ShellQuoted(Installed(program)), &dynamic);
    EXPECT_EQ(dynamic.find(UNINST_BUILD_ROOT), std::string::npos) << program << ":\n" << dynamic;
  }
}

TEST_F(InstallTest, PagesRenderInManWithoutWarningsWithinEightyColumns) {
  const char* const kSections[] = {"NAME", "SYNOPSIS", "DESCRIPTION", "EXIT STATUS", "FILES", "EXAMPLES", "SEE ALSO"};
  for (const char* page : {"uninst", "uninst-machine"}) {
    SCOPED_TRACE(page);
    std::string groff;
    RunCommand("groff -man -ww -z " + ShellQuoted(Installed("share/man/man1/" + std::string(page) + ".1")) + " 2>&1",
               &groff);
    EXPECT_EQ(groff, "");
    std::string warnings;
    std::string text = Rendered(page, &warnings);
    EXPECT_EQ(warnings, "");
    std::set<std::string> headings;
    for (const std::string& line : Lines(text)) {
      EXPECT_LE(line.size(), 80u) << line;
      if (!line.empty() && line.front() != ' ') headings.insert(line);
    }
    for (const char* section : kSections) EXPECT_TRUE(headings.count(section)) << "no " << section << " section";
  }
}

TEST_F(InstallTest, PagesDocumentEveryCommandAndOptionOfTheirProgram) {
  for (const char* program : {"uninst", "uninst-machine"}) {
    SCOPED_TRACE(program);
    std::string warnings;
    const std::string page = Rendered(program, &warnings);
    ASSERT_FALSE(page.empty()) << warnings;
    // Each command's --help, from the program down through its subcommands.
    std::vector<std::vector<std::string>> pending{{}};
    while (!pending.empty()) {
      std::vector<std::string> words = pending.back();
      pending.pop_back();
      std::string command = ShellQuoted(Installed(std::string("bin/") + program));
      std::string spoken;
      for (const std::string& word : words) {
        command += " " + word;
        spoken += (spoken.empty() ? "" : " ") + word;
      }
      std::string help;
      ASSERT_EQ(RunCommand(command + " --help", &help), 0) << command;
      HelpListing listing = ParseHelp(help);
      if (!spoken.empty()) {
        EXPECT_NE(page.find(spoken), std::string::npos) << "command " << spoken;
      }
      for (const std::string& option : listing.options)
        EXPECT_NE(page.find(option), std::string::npos) << "option " << option << " of '" << spoken << "'";
      for (const std::string& sub : listing.subcommands) {
        std::vector<std::string> deeper = words;
        deeper.push_back(sub);
        pending.push_back(deeper);
      }
    }
  }
}

}  // namespace
