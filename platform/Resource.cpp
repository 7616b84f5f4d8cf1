// The resource module, its lookups and the installed resource handle.
#include "platform/Resource.h"

namespace {

HINSTANCE g_resourceHandle = nullptr;

template <class Map>
const typename Map::mapped_type* Find(const Map& map, UINT id) {
  auto it = map.find(id);
  return it == map.end() ? nullptr : &it->second;
}

UINT NumberOf(LPCSTR name) {
  return IS_INTRESOURCE(name) ? static_cast<UINT>(reinterpret_cast<std::uintptr_t>(name)) : 0;
}

}  // namespace

void CResourceModule::AddDialog(DialogTemplate dialog) {
  UINT id = dialog.id;
  m_dialogs[id] = std::move(dialog);
}

Status CResourceModule::AddBitmap(UINT id, std::span<const char* const> xpm, std::string* error) {
  CImage image;
  RETURN_IF_ERROR(CImage::FromXpm(id, xpm, &image, error));
  m_bitmaps[id] = std::move(image);
  return Status::Ok();
}

Status CResourceModule::AddIcon(UINT id, std::span<const char* const> xpm, std::string* error) {
  CImage image;
  RETURN_IF_ERROR(CImage::FromXpm(id, xpm, &image, error));
  m_icons[id] = std::move(image);
  return Status::Ok();
}

const DialogTemplate* CResourceModule::FindDialog(UINT id) const { return Find(m_dialogs, id); }
const CImage* CResourceModule::FindBitmap(UINT id) const { return Find(m_bitmaps, id); }
const CImage* CResourceModule::FindIcon(UINT id) const { return Find(m_icons, id); }

void AfxSetResourceHandle(HINSTANCE module) { g_resourceHandle = module; }
HINSTANCE AfxGetResourceHandle() { return g_resourceHandle; }

// Only numbered resources exist in this program, so a name given as text finds nothing.
HICON LoadIconA(HINSTANCE module, LPCSTR name) {
  return module ? module->FindIcon(NumberOf(name)) : nullptr;
}

HBITMAP LoadBitmapA(HINSTANCE module, LPCSTR name) {
  return module ? module->FindBitmap(NumberOf(name)) : nullptr;
}
