// The board's driver registration: found below the msvideo key, warned about, removed.
#include <string>

#include "app/StateFile.h"
#include "app/Texts.h"
#include "dialogs/UninstallDlg.h"
#include "engine/OpenRegKey.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/String.h"
#include "platform/TextCase.h"

namespace {

constexpr const char* kMsvideoKey = "System\\CurrentControlSet\\control\\MediaResources\\msvideo";
constexpr size_t kNameRoom = 256;

// The subkey name at `index`, upper-cased; false when there is none.
bool UpperSubkeyAt(HKEY key, DWORD index, std::string* name) {
  char buffer[kNameRoom];
  DWORD size = sizeof buffer;
  if (RegEnumKeyExA(key, index, buffer, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) return false;
  *name = AsciiUpper(std::string_view(buffer, size));
  return true;
}

// An empty driver name would make every video device of the machine the board's.
bool IsDeviceSubkey(const std::string& upperName, const char* driver) {
  return *driver != '\0' && upperName.find(driver) != std::string::npos;
}

struct SplitPath {
  std::string parent;
  std::string child;
};

// A value without any backslash names no parent: its deletion is skipped, the others go on.
enum class Split { None, Ok, TooLong };

Split SplitAtLastBackslash(const std::string& path, const char* prefix, SplitPath* split) {
  size_t slash = path.rfind('\\');
  if (slash == std::string::npos) return Split::None;
  split->parent = prefix + path.substr(0, slash);
  split->child = path.substr(slash + 1);
  return split->parent.size() < kNameRoom ? Split::Ok : Split::TooLong;
}

void DeleteChild(const SplitPath& split) {
  COpenRegKey parent(HKEY_LOCAL_MACHINE, split.parent.c_str());
  if (parent.IsOpen()) RegDeleteKeyA(parent.Key(), split.child.c_str());
}

std::string HardwareWarning(const CUninstallRecord& record) {
  auto text = [&](const TextKey& key) { return LoadText(record.m_szLanguage, record.m_szScriptPath, key); };
  return text(texts::kHardwareWarning1) + "\n" + text(texts::kHardwareWarning2) + " " + text(texts::kHardwareWarning3) +
         " " + text(texts::kHardwareWarning4) + "\n" + text(texts::kHardwareWarning5);
}

}  // namespace

HardwareCheck CUninstallDlg::CheckHardware() {
  HardwareCheck check;
  char package[kNameRoom];
  GetPrivateProfileStringA(state::kHardware, state::kHardwarePackage, state::kDefaultHardwarePackage, package,
                           sizeof package, m_szStatePath);
  for (int i = 0; i < kPackageSlots; ++i) {
    if (m_strPackage[i].CompareNoCase(package) == 0) {
      check.hardwarePackage = m_bPackageSelected[i] != 0;
      break;
    }
  }
  GetPrivateProfileStringA(state::kHardware, state::kDriver, state::kDefaultDriver, check.driver.data(),
                           static_cast<DWORD>(check.driver.Capacity()), m_szStatePath);
  if (!check.hardwarePackage) return check;
  COpenRegKey msvideo(HKEY_LOCAL_MACHINE, kMsvideoKey);
  if (!msvideo.IsOpen()) return check;
  std::string name;
  for (DWORD index = 0; UpperSubkeyAt(msvideo.Key(), index, &name); ++index) {
    if (!IsDeviceSubkey(name, check.driver)) continue;
    if (MessageBox(HardwareWarning(*this).c_str(), m_szTitle, MB_OKCANCEL) == IDCANCEL)
      check.goOn = false;
    else
      m_bHardwareConfirmed = 1;
    break;
  }
  return check;
}

void CUninstallDlg::RemoveDeviceEntries(const char* driver) {
  COpenRegKey msvideo(HKEY_LOCAL_MACHINE, kMsvideoKey);
  if (!msvideo.IsOpen()) return;
  std::string name;
  DWORD index = 0;
  while (UpperSubkeyAt(msvideo.Key(), index, &name)) {
    std::string devicePath = std::string(kMsvideoKey) + "\\" + name;
    // A path that does not fit is passed over, never cut into one that names another key.
    if (!IsDeviceSubkey(name, driver) || devicePath.size() >= kNameRoom) {
      ++index;
      continue;
    }
    bool deleted = false;
    {
      COpenRegKey device(HKEY_LOCAL_MACHINE, devicePath.c_str());
      std::string deviceId;
      std::string softwareKey;
      SplitPath enumKey;
      SplitPath classKey;
      if (device.QueryText("DeviceID", &deviceId)) {
        Split enumSplit = SplitAtLastBackslash(deviceId, "Enum\\", &enumKey);
        Split classSplit = device.QueryText("SOFTWAREKEY", &softwareKey)
                               ? SplitAtLastBackslash(softwareKey, "", &classKey)
                               : Split::None;
        if (enumSplit != Split::TooLong && classSplit != Split::TooLong) {
          if (enumSplit == Split::Ok) DeleteChild(enumKey);
          if (classSplit == Split::Ok) DeleteChild(classKey);
          COpenRegKey again(HKEY_LOCAL_MACHINE, kMsvideoKey);
          if (again.IsOpen()) deleted = RegDeleteKeyA(again.Key(), name.c_str()) == ERROR_SUCCESS;
        }
      }
    }
    // The deletion moved the next subkey to this index.
    if (!deleted) ++index;
  }
}
