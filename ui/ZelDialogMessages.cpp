// The window messages of the suite's dialog base: palette messages for its palette
// control, closing, help, and typed characters for the external help module.
#include "platform/os/module/LoadedModule.h"
#include "platform/user/app/WinApp.h"
#include "ui/ZelDialog.h"

void CZelDialog::OnPaletteChanged(CWnd* focusWnd) {
  if (!m_paletteControl) return;
  const HWND focus = focusWnd ? focusWnd->GetSafeHwnd() : HWND();
  SendDlgItemMessage(m_paletteControl, WM_PALETTECHANGED, focus.value, 0);
}

BOOL CZelDialog::OnQueryNewPalette() {
  if (!m_paletteControl) return FALSE;
  CDialogItem* control = GetDlgItem(m_paletteControl);
  if (control && control->IsWindowVisible())
    SendDlgItemMessage(m_paletteControl, WM_QUERYNEWPALETTE, 0, 0);
  return FALSE;
}

void CZelDialog::OnClose() {
  CDialog::OnClose();
  if (IsWindow()) ActivateParent();
}

void CZelDialog::OnHelp() { AfxGetApp()->WinHelp(m_nIDHelp, HELP_CONTEXT); }

BOOL CZelDialog::PreTranslateMessage(MSG* msg) {
  if (msg && msg->message == WM_CHAR && msg->wParam == '\b') {
    using Entry = void (*)(unsigned int, unsigned int);
    if (auto entry =
            reinterpret_cast<Entry>(zel_module::FindLoadedEntry("VazOve.dll", "fnVazOveEntry"))) {
      entry(static_cast<unsigned int>(msg->wParam), GetTemplateId());
      return TRUE;
    }
  }
  return CDialog::PreTranslateMessage(msg);
}
