// CMenuRClickHook: the menu loop's state and the click.
#include "ui/MenuRClickHook.h"

#include "platform/user/ui/UiBackend.h"

CMenuRClickHook::CMenuRClickHook(CWnd* wnd) : m_pWnd(wnd) {}

BOOL CMenuRClickHook::OnWmEnterMenuLoop(WPARAM, LPARAM) {
  m_bInMenuLoop = TRUE;
  ForgetItem();
  return TRUE;
}

BOOL CMenuRClickHook::OnWmExitMenuLoop(WPARAM, LPARAM) {
  m_bInMenuLoop = FALSE;
  ForgetItem();
  return TRUE;
}

void CMenuRClickHook::ForgetItem() {
  m_hMenu = HMENU();
  m_bPopup = FALSE;
  m_nItemID = 0xFFFF;
}

BOOL CMenuRClickHook::OnWmMenuSelect(WPARAM wParam, LPARAM lParam) {
  m_hMenu = HMENU(static_cast<uintptr_t>(lParam));
  m_bPopup = FALSE;
  m_nItemID = LOWORD(wParam);
  return TRUE;
}

BOOL CMenuRClickHook::OnWmRButtonClick(WPARAM, LPARAM) {
  if (!m_bInMenuLoop || !m_hMenu || m_nItemID == 0xFFFF) return FALSE;
  DoClick();
  return TRUE;
}

void CMenuRClickHook::DoClick() {
  MessageBoxRequest request;
  request.text = "On Menu";
  request.type = MB_OK;
  request.owner = m_pWnd ? m_pWnd->m_hWnd : HWND();
  ZelUi().MessageBox(request);
}
