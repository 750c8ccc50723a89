// CWnd: a window as the library sees it, a handle and little more.
#pragma once

#include "platform/afx/Object.h"
#include "platform/afx/WinTypes.h"

class CWnd : public CObject {
  DECLARE_DYNAMIC(CWnd)
 public:
  CWnd() = default;
  explicit CWnd(HWND hWnd) : m_hWnd(hWnd) {}
  HWND GetSafeHwnd() const { return m_hWnd; }

  HWND m_hWnd;
};
