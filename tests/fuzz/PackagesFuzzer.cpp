// The [Packages] walk of the main dialog on any state file, read as the dialog reads it (the
// whole section into 1024 bytes): at most seven packages, each the i-th line of the section,
// its name the text before the line's first "=" and its check box set by a "1" after it; the
// walk ends at the first line without "=". Striking a package read from a whole line removes
// exactly that line, as the engine does once the package is gone.
//
// Input: the bytes of the state file.
#include <string>
#include <string_view>
#include <vector>

#include "app/Packages.h"
#include "app/StateFile.h"
#include "platform/IniDocument.h"
#include "platform/Profile.h"
#include "platform/ProfileCache.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/support/TestMachine.h"

namespace {

constexpr const char* kState = "C:\\Capture\\uninstin.ini";
constexpr const char* kStateHost = "drive_c/Capture/uninstin.ini";

CTestMachine& Machine() {
  static CTestMachine machine;
  return machine;
}

// The section's lines as the profile functions give them, and where each starts in the list
// they are copied as (each closed by a NUL).
struct ListedLine {
  std::string text;
  size_t offset = 0;
};

std::vector<ListedLine> PackageLines(std::string_view file) {
  CIniDocument doc = CIniDocument::Parse(file);
  std::vector<ListedLine> lines;
  const IniSection* section = doc.FindSection(state::kPackages);
  if (!section) return lines;
  size_t offset = 0;
  for (std::string& text : CIniDocument::SectionLines(*section)) {
    size_t length = text.size();
    lines.push_back({std::move(text), offset});
    offset += length + 1;
  }
  return lines;
}

size_t SectionLineCount() {
  std::vector<char> buffer(65536);
  DWORD count = GetPrivateProfileSectionA(state::kPackages, buffer.data(), static_cast<DWORD>(buffer.size()), kState);
  size_t lines = 0;
  for (size_t at = 0; at < count && buffer[at] != '\0'; at += std::string_view(buffer.data() + at).size() + 1) ++lines;
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  PreferMemoryTempDir();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view file = AsText(data, size);
  CTestMachine& machine = Machine();
  machine.Write(kStateHost, file);
  TheProfileCache().Clear();

  char buffer[kPackagesBufferSize];
  DWORD count = GetPrivateProfileSectionA(state::kPackages, buffer, sizeof buffer, kState);
  const std::vector<PackageLine> packages = ParsePackages(buffer, sizeof buffer);
  if (count < 2) FUZZ_CHECK(packages.empty(), "a section the dialog reports as empty shows packages");
  FUZZ_CHECK(packages.size() <= kMaxPackages, "more than seven packages");

  // What the buffer keeps of the list: all of it, or its first 1022 bytes.
  const size_t kept = kPackagesBufferSize - 2;
  const std::vector<ListedLine> lines = PackageLines(file);
  // A NUL byte inside a line ends it early in the buffer, as a line of its own would.
  for (const ListedLine& line : lines)
    if (line.text.find('\0') != std::string::npos) return 0;
  size_t expected = 0;
  while (expected < lines.size() && expected < kMaxPackages && lines[expected].offset < kept &&
         std::string_view(lines[expected].text).substr(0, kept - lines[expected].offset).find('=') !=
             std::string_view::npos)
    ++expected;
  FUZZ_CHECK(packages.size() == expected,
             std::to_string(packages.size()) + " packages instead of " + std::to_string(expected));
  for (size_t i = 0; i < packages.size(); ++i) {
    const std::string& text = lines[i].text;
    const size_t equals = text.find('=');
    FUZZ_CHECK(packages[i].name == text.substr(0, equals), packages[i].name + " from the line " + text);
    if (lines[i].offset + text.size() > kept) continue;  // cut by the buffer: its flag may be lost
    FUZZ_CHECK(packages[i].checked == (equals + 1 < text.size() && text[equals + 1] == '1'),
               "the flag of " + text);
  }

  // The engine strikes the first package: its line goes and no other.
  if (packages.empty() || lines[0].text.size() >= kept) return 0;
  const size_t before = SectionLineCount();
  FUZZ_CHECK(WritePrivateProfileStringA(state::kPackages, packages[0].name.c_str(), nullptr, kState),
             "striking " + packages[0].name + " failed");
  FUZZ_CHECK(SectionLineCount() + 1 == before, "striking " + packages[0].name + " did not remove its line alone");
  return 0;
}
