// CActionScope: one engine action as a unit of work. Its profile writes go out together when
// it ends, its registry changes are made durable once, not once per line, and the directories it
// walks are checked against the host once.
#pragma once

#include "platform/DirectoryScope.h"
#include "platform/Machine.h"
#include "platform/Profile.h"

class CActionScope {
 public:
  CActionScope() = default;
  ~CActionScope() {
    // Like every result of the engine's platform calls, a failed sync is not reported: the
    // changes are committed already and only their survival of a power cut is at stake.
    if (HasMachine()) (void)TheMachine().RegSync();
  }
  CActionScope(const CActionScope&) = delete;
  CActionScope& operator=(const CActionScope&) = delete;

 private:
  CDirectoryScope m_directories;
  CProfileWriteBatch m_batch;
};
