// The interface texts: each is looked up under its key in the language section of the script
// file, with the English text built into the program as its default.
#pragma once

#include <cstddef>
#include <string>

struct TextKey {
  const char* key;
  const char* defaultText;
};

namespace texts {
inline constexpr TextKey kTitle{"Uninstallation title", "Kalvora TK7/TK5 uninstallation"};
inline constexpr TextKey kDescription{
    "Uninstallation description",
    "Enable the components you want to uninstall. Components with an empty check box will not be uninstalled."};
inline constexpr TextKey kOkButton{"&OK", "&OK"};
inline constexpr TextKey kCancelButton{"&Cancel", "&Cancel"};
inline constexpr TextKey kAbout{"About uninstall", "About tolvek uninstallation..."};
inline constexpr TextKey kOk{"OK", "OK"};
inline constexpr TextKey kAllDeleted{"All deleted", "The complete Kalvora TK7/TK5 software has been deleted completely!"};
inline constexpr TextKey kNoSelection{"No selection",
                                      "No component has been selected! Do you want to stop the uninstallation?"};
inline constexpr TextKey kHardwareWarning1{"Hardware Warning1",
                                           "Achtung! There is still a Kalvora TK7 or TK5 entry in the Registry."};
inline constexpr TextKey kHardwareWarning2{
    "Hardware Warning2", "If you removed the board from your computer, you should proceed with the uninstallation."};
inline constexpr TextKey kHardwareWarning3{
    "Hardware Warning3",
    "If the board is still in your computer, you should shut down Windows directly after the uninstallation, switch "
    "off the computer and remove the board."};
inline constexpr TextKey kHardwareWarning4{
    "Hardware Warning4",
    "If the board remains in the computer, it will be setup in the system immediately after the next Windows "
    "restart!"};
inline constexpr TextKey kHardwareWarning5{"Hardware Warning5", "Do you want to continue?"};
inline constexpr TextKey kCompleted{"Uninstallation completed", "The uninstallation has been completed."};
inline constexpr TextKey kProgress{"Progress text", "Please wait the uninstallation is in progress ..."};
inline constexpr TextKey kShutdown{"shutdown text", "Shut down Windows."};
inline constexpr TextKey kShutdownLong{"shutdown text long", ""};
inline constexpr TextKey kRestart{"Restart text", "Restart Windows."};
inline constexpr TextKey kRestartLong{"Restart text long", ""};
inline constexpr TextKey kRestartLater{"Restart later text", "Shut down Windows later."};
inline constexpr TextKey kRestartLaterLong{"Restart later text long", ""};
inline constexpr TextKey kUninstallEntry{"Registry Uninstall Entry", "Kalvora TK7/TK5"};
}  // namespace texts

// Texts are read into buffers of this size: 255 characters and the closing NUL.
inline constexpr size_t kTextBufferSize = 256;
// The main dialog's title is kept in a buffer of 80: 79 characters.
inline constexpr size_t kTitleBufferSize = 80;

// The text of `key` in section `language` of the script file `scriptPath`, or its default,
// cut to `bufferSize` - 1 characters. A key present with an empty value gives the empty text.
std::string LoadText(const char* language, const char* scriptPath, const TextKey& key,
                     size_t bufferSize = kTextBufferSize);
