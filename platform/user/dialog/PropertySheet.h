/// \file
/// CPropertySheet and CPropertyPage: a dialog of tabbed pages, each page a dialog of its
/// own template made when it is first shown. OK asks the shown page to give up (its data
/// exchange must pass), then applies every page that was made; Cancel resets them.
#pragma once

#include <vector>

#include "ZelExport.h"
#include "platform/user/dialog/Dialog.h"

class CPropertySheet;

/// A page of a property sheet: a dialog of its own template, made when first shown.
class ZEL_API CPropertyPage : public CDialog {
  DECLARE_DYNAMIC(CPropertyPage)
 public:
  /// The tab shows the template's caption.
  explicit CPropertyPage(UINT templateId) : CDialog(templateId) {}

  /// The page is shown: the first time after OnInitDialog, later with its data reloaded.
  virtual BOOL OnSetActive();
  /// Another page or OK comes: saves the data; FALSE keeps the page.
  virtual BOOL OnKillActive();
  /// OK: OnOK; answers TRUE.
  virtual BOOL OnApply();
  /// Cancel: OnCancel.
  virtual void OnReset();
  CPropertySheet* GetSheet() const { return m_sheet; }

 protected:
  /// The sheet ends, not the page.
  void OnOK() override {}
  void OnCancel() override {}

 private:
  friend class CPropertySheet;
  CPropertySheet* m_sheet = nullptr;
  bool m_shownBefore = false;
};

/// What presents a running property sheet, besides a DialogView per page it shows.
class ZEL_API SheetView {
 public:
  virtual ~SheetView() = default;
  virtual void PageChanged() = 0;
  virtual void CaptionChanged() = 0;
  virtual void Ended() = 0;
};

/// A dialog of tabbed property pages.
class ZEL_API CPropertySheet : public CWnd, public DialogInput {
  DECLARE_DYNAMIC(CPropertySheet)
 public:
  explicit CPropertySheet(const char* caption = nullptr, CWnd* parent = nullptr,
                          UINT selectPage = 0);
  ~CPropertySheet() override;
  CPropertySheet(const CPropertySheet&) = delete;
  CPropertySheet& operator=(const CPropertySheet&) = delete;

  /// The sheet does not own its pages.
  void AddPage(CPropertyPage* page);
  void RemovePage(int index);
  int GetPageCount() const { return static_cast<int>(m_pages.size()); }
  CPropertyPage* GetPage(int index) const;
  CPropertyPage* GetActivePage() const { return GetPage(m_active); }
  int GetActiveIndex() const { return m_active; }
  /// Before DoModal: the page shown first; while running: shows it (when the shown page
  /// lets go). FALSE for an index outside the sheet.
  BOOL SetActivePage(int index);
  const CString& GetTitle() const { return m_caption; }
  CWnd* GetParent() const { return m_parent; }

  /// Runs the sheet until OK or Cancel; -1 when it has no page or a page's template is
  /// not registered.
  virtual INT_PTR DoModal();
  void EndDialog(int result);

  /// The presenter's side: StartSheet shows the first page.
  void StartSheet();
  void SetView(SheetView* view) { m_view = view; }

  void UserClick(int id) override;
  void UserType(int id, const char* text) override;
  void UserSelect(int id, int index) override;
  void UserFocus(int id) override;
  void UserClose() override;
  BOOL UserChar(UINT ch) override;
  void UserHelp() override;
  void UserShowPage(int index) override;
  bool IsEnded() const override { return m_ended; }
  int Result() const override { return m_result; }

 private:
  bool Activate(int index);
  void EndPages();

  CString m_caption;
  CWnd* m_parent;
  std::vector<CPropertyPage*> m_pages;
  int m_start;  ///< the page each run shows first
  int m_active;
  bool m_running = false;
  bool m_ended = false;
  int m_result = 0;
  SheetView* m_view = nullptr;
};
