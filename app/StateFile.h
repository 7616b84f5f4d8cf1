// The names and defaults of the two INI files beside the executable.
#pragma once

#include <cstddef>

// The script file says what the program shows and removes; the state file what is installed.
inline constexpr const char* kScriptFileName = "uninst.ini";
inline constexpr const char* kStateFileName = "uninstin.ini";

namespace state {
inline constexpr const char* kSettings = "Settings";
inline constexpr const char* kCdVersion = "CD_Version";
inline constexpr const char* kLanguageSection = "Language";
inline constexpr const char* kLanguageKey = "Language";
inline constexpr const char* kDefaultLanguage = "English";
inline constexpr size_t kLanguageBufferSize = 20;
inline constexpr const char* kPackages = "Packages";
inline constexpr const char* kHardware = "Hardware";
inline constexpr const char* kHardwarePackage = "Hardware Package";
inline constexpr const char* kDefaultHardwarePackage = "default";
inline constexpr const char* kDriver = "Driver";
inline constexpr const char* kDefaultDriver = "TK7CAP";
inline constexpr size_t kDriverBufferSize = 16;
}  // namespace state

// The five action keys of a package section, in the order the engine takes them.
namespace script {
inline constexpr const char* kDeleteFiles = "DeleteFiles";
inline constexpr const char* kDeleteGroupEntries = "DeleteGroupEntries";
inline constexpr const char* kDeleteIniEntries = "DeleteIniEntries";
inline constexpr const char* kDeleteRegEntries = "DeleteRegEntries";
inline constexpr const char* kDeleteInfFile = "DeleteInfFile";
}  // namespace script
