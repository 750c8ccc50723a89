// The suite's message boxes, shown through the user-interface backend.
#include "platform/user/ui/ZelMessageBox.h"

#include "platform/base/string/StringResources.h"
#include "platform/user/app/WinApp.h"

int ZelMessageBox(CWnd* parent, const char* text, const char* caption, UINT type, UINT) {
  MessageBoxRequest request;
  request.text = text;
  request.caption = caption ? CString(caption) : CString(AfxGetAppName());
  request.type = type;
  if (parent) request.owner = parent->GetSafeHwnd();
  return ZelUi().MessageBox(request);
}

int ZelMessageBox(const char* text, const char* caption, UINT type, UINT helpId) {
  return ZelMessageBox(AfxGetApp()->m_pMainWnd, text, caption, type, helpId);
}

int ZelMessageBox(const char* text, UINT type, UINT helpId) {
  return ZelMessageBox(text, ZEL_MESSAGE_CAPTION, type, helpId);
}

int ZelMessageBox(unsigned stringId, UINT type, UINT helpId) {
  CString text;
  AfxLoadString(stringId, text);
  return ZelMessageBox(text.GetString(), type, helpId);
}
