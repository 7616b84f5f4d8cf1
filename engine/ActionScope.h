// CActionScope: one engine action as a unit of work. Its profile writes go out together when
// it ends, and its registry changes are made durable once, not once per line.
#pragma once

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
  CProfileWriteBatch m_batch;
};
