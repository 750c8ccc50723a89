/// \class CDialog
/// CDialog: a dialog made from a registered template, modal (DoModal) or modeless
/// (Create), with the framework's behaviour: OnInitDialog, data exchange (UpdateData,
/// DoDataExchange), OnOK and OnCancel, EndDialog, commands from its controls, and its
/// controls by id. The dialog is a model: the user-interface backend presents it (the Qt
/// backend as a QDialog, the scripted one for tests) and feeds what a person does back
/// through the DialogInput calls.
#pragma once

#include <memory>
#include <vector>

#include "ZelExport.h"
#include "platform/base/types/WinUser.h"
#include "platform/user/dialog/DialogItem.h"
#include "platform/user/dialog/DialogTemplate.h"
#include "platform/user/ui/UiBackend.h"

class CDataExchange;

/// What presents a running dialog: told of every change the program makes, so that what
/// shows follows the model.
class ZEL_API DialogView {
 public:
  virtual ~DialogView() = default;
  virtual void ItemChanged(CDialogItem& item) = 0;
  virtual void CaptionChanged() = 0;
  virtual void FocusChanged() = 0;
  /// Centre the dialog over its owner (or the screen).
  virtual void Center() = 0;
  /// Bring the dialog's owner window to the front.
  virtual void ActivateParent() = 0;
  /// The dialog ended (modal) or was hidden (modeless).
  virtual void Ended() = 0;
};

/// What a person does in a dialog or property sheet, as its presenter reports it.
class ZEL_API DialogInput {
 public:
  virtual ~DialogInput() = default;
  /// A button, check box or radio button is clicked (IDOK and IDCANCEL also stand for
  /// Enter and Escape); disabled or hidden controls take no clicks.
  virtual void UserClick(int id) = 0;
  /// The text of an edit or a combo box's edit becomes text.
  virtual void UserType(int id, const char* text) = 0;
  /// Entry index of a list or combo box is selected (-1: none).
  virtual void UserSelect(int id, int index) = 0;
  /// The focus moves to a control (0: none).
  virtual void UserFocus(int id) = 0;
  /// The window's close box.
  virtual void UserClose() = 0;
  /// A typed character, before the control gets it; TRUE when the dialog consumed it.
  virtual BOOL UserChar(UINT ch) = 0;
  /// F1.
  virtual void UserHelp() = 0;
  /// A page of a property sheet is chosen; dialogs have none.
  virtual void UserShowPage(int) {}
  virtual bool IsEnded() const = 0;
  virtual int Result() const = 0;
};

class ZEL_API CDialog : public CWnd, public DialogInput {
  DECLARE_DYNAMIC(CDialog)
 public:
  CDialog() = default;
  explicit CDialog(UINT templateId, CWnd* parent = nullptr);
  ~CDialog() override;
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;

  /// Runs the dialog until it ends; answers what EndDialog was given, IDCANCEL when the
  /// backend cannot show it, -1 when its template is not registered.
  virtual INT_PTR DoModal();
  /// Makes and shows a modeless dialog; FALSE when its template is not registered.
  virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
  /// Takes a modeless dialog's window away (a modal one ends through EndDialog).
  BOOL DestroyWindow() override;
  /// Ends a modal dialog with result; hides a modeless one.
  void EndDialog(int result);
  /// Exchanges data between the members and the controls; FALSE when a control's text
  /// was refused (the user has been told and the control has the focus).
  BOOL UpdateData(BOOL saveAndValidate = TRUE);

  /// Whether the dialog's window exists (between creation and its end).
  bool IsWindow() const { return m_created; }
  UINT GetTemplateId() const { return m_templateId; }
  CWnd* GetParent() const { return m_parent; }

  /// Controls by id: null (or nothing done, empty text) when there is no such control.
  CDialogItem* GetDlgItem(int id) const;
  void SetDlgItemText(int id, const char* text);
  int GetDlgItemText(int id, CString& text) const;
  void CheckDlgButton(int id, UINT check);
  UINT IsDlgButtonChecked(int id) const;
  /// Checks check and unchecks the other radio buttons with ids first to last.
  void CheckRadioButton(int first, int last, int check);
  /// The checked radio button with an id from first to last, 0 for none.
  int GetCheckedRadioButton(int first, int last) const;
  LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  /// Moves the focus to control (null: no control has it).
  CDialogItem* GetFocusItem() const;
  void SetFocusItem(CDialogItem* control);
  void SetWindowText(const char* text);
  void GetWindowText(CString& text) const { text = m_caption; }
  void CenterWindow();
  /// Brings the window that owns the dialog to the front.
  void ActivateParent();
  const std::vector<CDialogItem*>& Items() const { return m_live; }

  /// The dialog's window procedure, which the messages sent to the dialog's window reach:
  /// the messages a dialog handles go to their handlers (WM_COMMAND, WM_CLOSE, WM_HELP,
  /// WM_SYSCOMMAND, WM_PALETTECHANGED with the focus window's handle in wParam,
  /// WM_QUERYNEWPALETTE); anything else to the window's default handling. While the dialog
  /// runs, m_hWnd is its window: a message-only one, as the backend presents the dialog.
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  /// The template id, as the dialog's help context.
  UINT m_nIDHelp = 0;

  /// The presenter's side. StartDialog runs OnInitDialog (and gives the focus to the first
  /// control that takes it unless OnInitDialog answered FALSE).
  const DialogTemplate& Template() const { return *m_template; }
  void StartDialog();
  void SetView(DialogView* view);
  DialogView* View() const { return m_view; }
  bool CenterRequested() const { return m_center; }
  void ItemChanged(CDialogItem& item);
  BOOL ReplaceItem(int id, CDialogItem* replacement);

  void UserClick(int id) override;
  void UserType(int id, const char* text) override;
  void UserSelect(int id, int index) override;
  void UserFocus(int id) override;
  void UserClose() override;
  BOOL UserChar(UINT ch) override;
  void UserHelp() override;
  bool IsEnded() const override { return m_ended; }
  int Result() const override { return m_result; }

 protected:
  /// The base's way of making a window does not make this kind: out of a caller's reach.
  using CWnd::Create;
  virtual BOOL OnInitDialog();
  virtual void DoDataExchange(CDataExchange* dx);
  virtual void OnOK();
  virtual void OnCancel();
  /// A control's command (id in the low word, notification in the high word); TRUE when
  /// handled. The framework handles IDOK and IDCANCEL clicks.
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  /// The close box: the framework's answer is the IDCANCEL command.
  virtual void OnClose();
  /// F1: a plain dialog has no help.
  virtual void OnHelp() {}
  /// The framework's answer to a system command: SC_CLOSE closes, SC_CONTEXTHELP is
  /// help; moving and sizing belong to the presenter.
  virtual void OnSysCommand(UINT id, LPARAM lParam);
  /// The system palette changed (the window given realised it); a plain dialog has none.
  virtual void OnPaletteChanged(CWnd*) {}
  /// The dialog may realise its palette; TRUE when it did.
  virtual BOOL OnQueryNewPalette() { return FALSE; }
  /// A message before it reaches the dialog's controls; TRUE consumes it.
  virtual BOOL PreTranslateMessage(MSG* msg);
  /// Hands a control's notification to OnCommand.
  void SendCommand(int id, UINT code);

  /// Makes the controls of the template; false when it is not registered.
  bool MakeItems();
  void DestroyItems();

 private:
  friend class CPropertySheet;
  CDialogItem* Live(int id) const;
  bool Takes(const CDialogItem* item) const;

  UINT m_templateId = 0;
  CWnd* m_parent = nullptr;
  std::shared_ptr<const DialogTemplate> m_template;
  std::vector<std::unique_ptr<CDialogItem>> m_own;
  std::vector<CDialogItem*> m_live;  ///< the controls in template order, subclassed or own
  CString m_caption;
  CDialogItem* m_focus = nullptr;
  DialogView* m_view = nullptr;
  UiBackend* m_modelessBackend = nullptr;
  bool m_created = false;
  bool m_ended = false;
  bool m_center = false;
  int m_result = 0;
};
