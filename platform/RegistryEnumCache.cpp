// The enumeration positions of the registry store.
#include "platform/RegistryEnumCache.h"

const CRegistryEnumCache::Anchor* CRegistryEnumCache::Find(RegKeyId key) const {
  auto it = m_anchors.find(key);
  return it == m_anchors.end() ? nullptr : &it->second;
}

void CRegistryEnumCache::Set(RegKeyId key, std::string fold, DWORD before) {
  if (m_anchors.size() >= kMaxAnchors && !m_anchors.contains(key)) m_anchors.clear();
  m_anchors[key] = Anchor{std::move(fold), before};
}

void CRegistryEnumCache::OnSubkeyAdded(RegKeyId key, std::string_view fold) {
  auto it = m_anchors.find(key);
  if (it != m_anchors.end() && fold < it->second.fold) ++it->second.before;
}

void CRegistryEnumCache::OnSubkeyRemoved(RegKeyId key, std::string_view fold) {
  auto it = m_anchors.find(key);
  if (it != m_anchors.end() && fold < it->second.fold) --it->second.before;
}
