// The dialog framework: controls from the template, the framework's handlers, data
// exchange and what a person does.
#include "platform/user/dialog/Dialog.h"

#include <utility>

#include "platform/user/dialog/DataExchange.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

namespace {

std::unique_ptr<CDialogItem> NewItem(DialogItemKind kind) {
  switch (kind) {
    case DialogItemKind::Text:
      return std::make_unique<CStatic>();
    case DialogItemKind::Edit:
      return std::make_unique<CEdit>();
    case DialogItemKind::ListBox:
      return std::make_unique<CListBox>();
    case DialogItemKind::ComboBox:
      return std::make_unique<CComboBox>();
    default:
      return std::make_unique<CButton>();
  }
}

}  // namespace

CDialog::CDialog(UINT templateId, CWnd* parent)
    : m_nIDHelp(templateId), m_templateId(templateId), m_parent(parent) {}

CDialog::~CDialog() { DestroyWindow(); }

bool CDialog::MakeItems() {
  DestroyItems();
  m_template = ZelFindDialogTemplate(m_templateId);
  if (!m_template) return false;
  m_caption = m_template->caption;
  for (size_t i = 0; i < m_template->items.size(); ++i) {
    const DialogItemTemplate& t = m_template->items[i];
    std::unique_ptr<CDialogItem> item = NewItem(t.kind);
    item->m_template = &t;
    item->m_dialog = this;
    item->m_index = static_cast<int>(i);
    item->m_state.text = t.kind == DialogItemKind::ListBox ? CString() : t.text;
    item->m_state.enabled = !(t.style & WS_DISABLED);
    if (t.kind == DialogItemKind::Edit && (t.style & ES_PASSWORD)) item->m_state.passwordChar = '*';
    m_live.push_back(item.get());
    m_own.push_back(std::move(item));
  }
  m_created = true;
  m_ended = false;
  m_center = (m_template->style & DS_CENTER) != 0;
  m_result = 0;
  // The dialog's own window in the window model, so that messages sent to the dialog reach
  // WindowProc and its message boxes have an owner. The backend shows the dialog itself,
  // so the window is a message-only one that nobody presents.
  CWnd::CreateEx(0, "#32770", m_caption, WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, m_template->cx,
                 m_template->cy, HWND_MESSAGE, HMENU());
  return true;
}

void CDialog::DestroyItems() {
  // A control object that took a control over outlives the window; it lets go here.
  for (CDialogItem* item : m_live)
    if (item->m_dialog == this) item->m_dialog = nullptr;
  m_live.clear();
  m_own.clear();
  m_focus = nullptr;
  m_created = false;
  if (m_hWnd) CWnd::DestroyWindow();
}

INT_PTR CDialog::DoModal() {
  if (!MakeItems()) return -1;
  const int result = ZelUi().RunModalDialog(*this);
  m_view = nullptr;
  DestroyItems();
  return result;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
  DestroyWindow();
  m_templateId = templateId;
  m_nIDHelp = templateId;
  if (parent) m_parent = parent;
  if (!MakeItems()) return FALSE;
  m_modelessBackend = &ZelUi();
  if (!m_modelessBackend->ShowModeless(*this)) StartDialog();
  return TRUE;
}

BOOL CDialog::DestroyWindow() {
  if (!m_created) return FALSE;
  if (m_modelessBackend) std::exchange(m_modelessBackend, nullptr)->CloseModeless(*this);
  m_view = nullptr;
  DestroyItems();
  return TRUE;
}

void CDialog::EndDialog(int result) {
  m_ended = true;
  m_result = result;
  if (m_view) m_view->Ended();
}

void CDialog::StartDialog() {
  m_ended = false;
  if (OnInitDialog() && !m_focus) {
    for (CDialogItem* item : m_live)
      if ((item->GetStyle() & WS_TABSTOP) && Takes(item)) {
        SetFocusItem(item);
        break;
      }
  }
}

void CDialog::SetView(DialogView* view) { m_view = view; }

void CDialog::ItemChanged(CDialogItem& item) {
  if (m_view) m_view->ItemChanged(item);
}

BOOL CDialog::ReplaceItem(int id, CDialogItem* replacement) {
  for (CDialogItem*& item : m_live) {
    if (item->GetDlgCtrlID() != id || item == replacement) continue;
    replacement->m_template = item->m_template;
    replacement->m_index = item->m_index;
    replacement->m_state = item->m_state;
    replacement->m_dialog = this;
    if (m_focus == item) m_focus = replacement;
    item->m_dialog = nullptr;
    item = replacement;
    return TRUE;
  }
  return FALSE;
}

CDialogItem* CDialog::Live(int id) const {
  for (CDialogItem* item : m_live)
    if (item->GetDlgCtrlID() == id) return item;
  return nullptr;
}

bool CDialog::Takes(const CDialogItem* item) const {
  return item && item->IsWindowEnabled() && item->IsWindowVisible() &&
         item->Kind() != DialogItemKind::Text && item->Kind() != DialogItemKind::GroupBox;
}

CDialogItem* CDialog::GetDlgItem(int id) const { return Live(id); }

void CDialog::SetDlgItemText(int id, const char* text) {
  if (CDialogItem* item = Live(id)) item->SetWindowText(text);
}

int CDialog::GetDlgItemText(int id, CString& text) const {
  CDialogItem* item = Live(id);
  text = item ? item->State().text : CString();
  return text.GetLength();
}

void CDialog::CheckDlgButton(int id, UINT check) {
  if (auto* button = dynamic_cast<CButton*>(Live(id))) button->SetCheck(static_cast<int>(check));
}

UINT CDialog::IsDlgButtonChecked(int id) const {
  CDialogItem* item = Live(id);
  return item ? static_cast<UINT>(item->State().check) : 0;
}

void CDialog::CheckRadioButton(int first, int last, int check) {
  for (CDialogItem* item : m_live) {
    const int id = item->GetDlgCtrlID();
    if (id >= first && id <= last)
      if (auto* button = dynamic_cast<CButton*>(item)) button->SetCheck(id == check);
  }
}

int CDialog::GetCheckedRadioButton(int first, int last) const {
  for (CDialogItem* item : m_live) {
    const int id = item->GetDlgCtrlID();
    if (id >= first && id <= last && item->Kind() == DialogItemKind::RadioButton &&
        item->State().check)
      return id;
  }
  return 0;
}

LRESULT CDialog::SendDlgItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam) {
  CDialogItem* item = Live(id);
  return item ? item->WindowProc(message, wParam, lParam) : 0;
}

CDialogItem* CDialog::GetFocusItem() const { return m_focus; }

void CDialog::SetFocusItem(CDialogItem* control) {
  if (control && control->GetParent() != this) return;
  if (m_focus == control) return;
  m_focus = control;
  if (m_view) m_view->FocusChanged();
}

void CDialog::SetWindowText(const char* text) {
  m_caption = text;
  if (m_hWnd) CWnd::SetWindowText(text);
  if (m_view) m_view->CaptionChanged();
}

void CDialog::ActivateParent() {
  if (m_view) m_view->ActivateParent();
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      return OnCommand(wParam, lParam);
    case WM_CLOSE:
      UserClose();
      return 0;
    case WM_HELP:
      UserHelp();
      return TRUE;
    case WM_SYSCOMMAND:
      OnSysCommand(static_cast<UINT>(wParam), lParam);
      return 0;
    case WM_PALETTECHANGED:
      OnPaletteChanged(CWnd::FromHandle(HWND(static_cast<uintptr_t>(wParam))));
      return 0;
    case WM_QUERYNEWPALETTE:
      return OnQueryNewPalette();
    default:
      return CWnd::WindowProc(message, wParam, lParam);
  }
}

void CDialog::OnSysCommand(UINT id, LPARAM) {
  switch (id & 0xFFF0) {
    case SC_CLOSE:
      UserClose();
      break;
    case SC_CONTEXTHELP:
      UserHelp();
      break;
    default:
      break;
  }
}

void CDialog::CenterWindow() {
  m_center = true;
  if (m_view) m_view->Center();
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
  CDataExchange dx(this, saveAndValidate);
  try {
    DoDataExchange(&dx);
  } catch (CUserException&) {
    return FALSE;
  }
  return TRUE;
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM) {
  if (HIWORD(wParam) != BN_CLICKED) return FALSE;
  switch (LOWORD(wParam)) {
    case IDOK:
      OnOK();
      return TRUE;
    case IDCANCEL:
      OnCancel();
      return TRUE;
    default:
      return FALSE;
  }
}

void CDialog::OnClose() { SendCommand(IDCANCEL, BN_CLICKED); }

BOOL CDialog::PreTranslateMessage(MSG*) { return FALSE; }

void CDialog::SendCommand(int id, UINT code) {
  OnCommand(MAKEWPARAM(static_cast<WORD>(id), static_cast<WORD>(code)), 0);
}

void CDialog::UserClick(int id) {
  if (m_ended) return;
  CDialogItem* item = Live(id);
  if (!item) {
    // Enter and Escape reach the dialog without a button of their own.
    if (id == IDOK || id == IDCANCEL) SendCommand(id, BN_CLICKED);
    return;
  }
  if (!item->IsWindowEnabled() || !item->IsWindowVisible()) return;
  auto* button = dynamic_cast<CButton*>(item);
  if (!button) return;
  const DialogItemKind kind = item->Kind();
  if (kind == DialogItemKind::GroupBox) return;
  if (kind == DialogItemKind::CheckBox) button->SetCheck(!button->GetCheck());
  if (kind == DialogItemKind::RadioButton) {
    // The group runs from the last control marked WS_GROUP up to the next one.
    const int index = item->Index();
    int first = index;
    while (first > 0 && !(m_live[static_cast<size_t>(first)]->GetStyle() & WS_GROUP)) --first;
    for (size_t i = static_cast<size_t>(first); i < m_live.size(); ++i) {
      CDialogItem* other = m_live[i];
      if (static_cast<int>(i) > first && (other->GetStyle() & WS_GROUP)) break;
      if (other->Kind() == DialogItemKind::RadioButton)
        static_cast<CButton*>(other)->SetCheck(other == item);
    }
  }
  SetFocusItem(item);
  SendCommand(id, BN_CLICKED);
}

void CDialog::UserType(int id, const char* text) {
  CDialogItem* item = Live(id);
  if (m_ended || !Takes(item)) return;
  const bool edit = item->Kind() == DialogItemKind::Edit;
  if (edit
          ? (item->GetStyle() & ES_READONLY) != 0
          : !(item->Kind() == DialogItemKind::ComboBox && static_cast<CComboBox*>(item)->HasEdit()))
    return;
  item->m_state.text = text;
  item->m_state.selStart = item->m_state.selEnd = item->m_state.text.GetLength();
  if (!edit) item->m_state.curSel = -1;
  SetFocusItem(item);
  SendCommand(id, edit ? EN_CHANGE : CBN_EDITCHANGE);
}

void CDialog::UserSelect(int id, int index) {
  auto* list = dynamic_cast<CListItems*>(Live(id));
  if (m_ended || !Takes(list)) return;
  if (index < -1 || index >= list->GetCount()) index = -1;
  if (index == list->GetCurSel()) return;
  list->SetCurSel(index);
  SetFocusItem(list);
  SendCommand(id, LBN_SELCHANGE);  // the same code as CBN_SELCHANGE
}

void CDialog::UserFocus(int id) {
  CDialogItem* item = id ? Live(id) : nullptr;
  if (!item || Takes(item)) {
    // Keeps the model in step without echoing the move back to the view.
    m_focus = item;
  }
}

void CDialog::UserClose() {
  if (!m_ended) OnClose();
}

BOOL CDialog::UserChar(UINT ch) {
  if (m_ended) return FALSE;
  MSG msg;
  msg.hwnd = m_hWnd;
  msg.message = WM_CHAR;
  msg.wParam = ch;
  return PreTranslateMessage(&msg);
}

void CDialog::UserHelp() {
  if (!m_ended) OnHelp();
}
