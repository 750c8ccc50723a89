/// CZelDialog: the suite's dialog base: palette forwarding to one child control, text
/// updates that leave an unchanged control alone, actions on controls that may be missing,
/// message boxes owned by the dialog, the application's help on F1, and typed backspaces
/// handed to the optional external help module.
///
/// The help module, when the host has loaded one named "VazOve.dll" (here VazOve.so or
/// libVazOve.so), exports
///   extern "C" void fnVazOveEntry(unsigned int character, unsigned int templateId);
#pragma once

#include "ZelExport.h"
#include "platform/user/dialog/Dialog.h"

class ZEL_API CZelDialog : public CDialog {
  DECLARE_DYNAMIC(CZelDialog)
 public:
  CZelDialog() = default;
  explicit CZelDialog(UINT templateId, CWnd* parent = nullptr) : CDialog(templateId, parent) {}

  /// The child control that realises a palette (0: none).
  void AllowPaletteHandling(int controlId) { m_paletteControl = controlId; }
  int GetPaletteControl() const { return m_paletteControl; }

  /// A message box owned by the dialog; a null caption shows the application's name.
  int MessageBox(const char* text, const char* caption = nullptr, UINT type = MB_OK);
  /// Each acts on the control when the dialog has it, and does nothing otherwise.
  void EnableDlgItem(int id, BOOL enable);
  void ShowDlgItem(int id, BOOL show);
  void SetDlgItemFocus(int id);
  /// Sets the text only when it differs (letter case counts) from the control's; null
  /// counts as empty.
  void SetDlgItemText(int id, const char* text);

 protected:
  void OnPaletteChanged(CWnd* focusWnd) override;
  BOOL OnQueryNewPalette() override;
  /// The framework's close, then the owner comes to the front while the window exists.
  void OnClose() override;
  /// The application's help, with the dialog's help id as the context.
  void OnHelp() override;
  BOOL PreTranslateMessage(MSG* msg) override;

 private:
  int m_paletteControl = 0;
};
