// Where the last enumeration of each key stood, so that walking a key's subkeys in order, or
// enumerating the same index again after deleting there, is one indexed step, not a scan.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/Machine.h"

class CRegistryEnumCache {
 public:
  // Exactly `before` subkeys of the key sort before `fold` (whether `fold` still exists or not).
  struct Anchor {
    std::string fold;
    DWORD before = 0;
  };

  const Anchor* Find(RegKeyId key) const;
  void Set(RegKeyId key, std::string fold, DWORD before);
  // A subkey of `key` was created or deleted by this connection: later indexes move.
  void OnSubkeyAdded(RegKeyId key, std::string_view fold);
  void OnSubkeyRemoved(RegKeyId key, std::string_view fold);
  // Forgets everything: another process changed the registry, or a change was rolled back.
  void Clear() { m_anchors.clear(); }

 private:
  // Enough for an export's walk down a deep tree; past it the cache starts afresh.
  static constexpr std::size_t kMaxAnchors = 256;
  std::unordered_map<RegKeyId, Anchor> m_anchors;
};
