// The dialog the framework tests drive: two exchanged check boxes, a hidden one, a status
// text, Apply and Fail buttons, an About item in its system menu and the minimised icon.
#pragma once

#include <functional>
#include <stdexcept>

#include "platform/DC.h"
#include "platform/DataExchange.h"
#include "platform/Dialog.h"
#include "platform/Menu.h"
#include "platform/Resource.h"

#include "FrameworkFixture.h"

class CTestDlg : public CDialog {
 public:
  explicit CTestDlg(CWnd* parent = nullptr) : CDialog(kTestDialog, parent) {}

  int m_bAlpha = 1;
  int m_bBeta = 0;
  int m_nApplied = 0;
  int m_nAbout = 0;
  int m_nAfterFail = 0;
  std::function<void(CTestDlg&)> m_onApply;  // what Apply does besides counting
  std::function<void()> m_onFail;            // what Fail throws

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Check(pDX, 201, m_bAlpha);
    DDX_Check(pDX, 202, m_bBeta);
  }

  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    GetDlgItem(203)->ShowWindow(SW_HIDE);
    CMenu* menu = GetSystemMenu(FALSE);
    menu->AppendMenu(MF_SEPARATOR);
    menu->AppendMenu(MF_STRING, 16, "&About 100%");
    return TRUE;
  }

  const CMessageMap* GetMessageMap() const override {
    static const CMessageMap map(CDialog::GetMessageMap(), {
                                                               MapCommand(300, &CTestDlg::OnApply),
                                                               MapCommand(301, &CTestDlg::OnFail),
                                                               MapSysCommand(&CTestDlg::OnSysCommand),
                                                               MapPaint(&CTestDlg::OnPaint),
                                                           });
    return &map;
  }

  void OnApply() {
    ++m_nApplied;
    SetDlgItemText(400, "applied");
    if (m_onApply) m_onApply(*this);
  }

  void OnFail() {
    if (m_onFail) m_onFail();
    ++m_nAfterFail;
  }

  void OnSysCommand(UINT nID, LPARAM lParam) {
    if ((nID & 0xFFF0) == 16)
      ++m_nAbout;
    else
      CDialog::OnSysCommand(nID, lParam);
  }

  void OnPaint() {
    if (!IsIconic()) {
      CDialog::OnPaint();
      return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    int cxIcon = GetSystemMetrics(SM_CXICON);
    int cyIcon = GetSystemMetrics(SM_CYICON);
    RECT rect;
    GetClientRect(&rect);
    int x = (rect.right - rect.left - cxIcon + 1) / 2;
    int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(kTestIcon)));
  }
};
