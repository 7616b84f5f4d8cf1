// One registry transaction of a machine, rolled back unless committed.
#pragma once

#include "platform/Machine.h"

class CRegTransaction {
 public:
  explicit CRegTransaction(IMachine& machine) : m_machine(machine) {}
  ~CRegTransaction() {
    if (m_open) m_machine.RegRollbackTransaction();
  }
  CRegTransaction(const CRegTransaction&) = delete;
  CRegTransaction& operator=(const CRegTransaction&) = delete;

  Status Begin() {
    RETURN_IF_ERROR(m_machine.RegBeginTransaction());
    m_open = true;
    return Status::Ok();
  }
  Status Commit() {
    m_open = false;
    return m_machine.RegCommitTransaction();
  }

 private:
  IMachine& m_machine;
  bool m_open = false;
};
