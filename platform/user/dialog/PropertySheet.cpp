// Property sheets and their pages.
#include "platform/user/dialog/PropertySheet.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)
IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

BOOL CPropertyPage::OnSetActive() {
  // OnInitDialog has loaded the data the first time.
  if (m_shownBefore) UpdateData(FALSE);
  m_shownBefore = true;
  return TRUE;
}

BOOL CPropertyPage::OnKillActive() { return UpdateData(TRUE); }

BOOL CPropertyPage::OnApply() {
  OnOK();
  return TRUE;
}

void CPropertyPage::OnReset() { OnCancel(); }

CPropertySheet::CPropertySheet(const char* caption, CWnd* parent, UINT selectPage)
    : m_caption(caption),
      m_parent(parent),
      m_start(static_cast<int>(selectPage)),
      m_active(m_start) {}

CPropertySheet::~CPropertySheet() {
  for (CPropertyPage* page : m_pages) page->m_sheet = nullptr;
}

void CPropertySheet::AddPage(CPropertyPage* page) {
  if (!page) return;
  page->m_sheet = this;
  m_pages.push_back(page);
}

void CPropertySheet::RemovePage(int index) {
  if (index < 0 || index >= GetPageCount()) return;
  CPropertyPage* page = m_pages[static_cast<size_t>(index)];
  page->DestroyItems();
  page->m_sheet = nullptr;
  m_pages.erase(m_pages.begin() + index);
  // A page before the active one (or the one to start on) moves it down by one: the same
  // page stays active.
  const bool beforeActive = index < m_active, removedActive = index == m_active;
  if (beforeActive) --m_active;
  if (index < m_start) --m_start;
  if (m_active >= GetPageCount()) m_active = GetPageCount() - 1;
  if (m_running && (beforeActive || removedActive)) {
    if (removedActive && m_active >= 0) Activate(m_active);
    if (m_view) m_view->PageChanged();
  }
}

CPropertyPage* CPropertySheet::GetPage(int index) const {
  if (index < 0 || index >= GetPageCount()) return nullptr;
  return m_pages[static_cast<size_t>(index)];
}

BOOL CPropertySheet::SetActivePage(int index) {
  if (index < 0 || index >= GetPageCount()) return FALSE;
  if (!m_running) {
    m_start = m_active = index;
    return TRUE;
  }
  UserShowPage(index);
  return m_active == index;
}

INT_PTR CPropertySheet::DoModal() {
  if (m_pages.empty()) return -1;
  for (CPropertyPage* page : m_pages)
    if (!ZelFindDialogTemplate(page->GetTemplateId())) return -1;
  m_active = m_start >= 0 && m_start < GetPageCount() ? m_start : 0;
  m_ended = false;
  m_running = true;
  const int result = ZelUi().RunModalSheet(*this);
  m_running = false;
  m_view = nullptr;
  EndPages();
  return result;
}

void CPropertySheet::EndPages() {
  for (CPropertyPage* page : m_pages) {
    page->m_view = nullptr;
    page->DestroyItems();
    page->m_shownBefore = false;
  }
}

void CPropertySheet::EndDialog(int result) {
  m_ended = true;
  m_result = result;
  if (m_view) m_view->Ended();
}

// Makes the page on its first showing, then tells it it is shown.
bool CPropertySheet::Activate(int index) {
  CPropertyPage* page = GetPage(index);
  if (!page) return false;
  if (!page->IsWindow()) {
    if (!page->MakeItems()) return false;
    page->StartDialog();
  }
  m_active = index;
  page->OnSetActive();
  return true;
}

void CPropertySheet::StartSheet() {
  m_ended = false;
  Activate(m_active);
  if (m_view) m_view->PageChanged();
}

void CPropertySheet::UserShowPage(int index) {
  if (m_ended || index == m_active || !GetPage(index)) return;
  if (CPropertyPage* shown = GetActivePage(); shown && !shown->OnKillActive()) return;
  Activate(index);
  if (m_view) m_view->PageChanged();
}

void CPropertySheet::UserClick(int id) {
  if (m_ended) return;
  if (id == IDOK) {
    if (CPropertyPage* shown = GetActivePage(); shown && !shown->OnKillActive()) return;
    for (CPropertyPage* page : m_pages)
      if (page->IsWindow()) page->OnApply();
    EndDialog(IDOK);
  } else if (id == IDCANCEL) {
    for (CPropertyPage* page : m_pages)
      if (page->IsWindow()) page->OnReset();
    EndDialog(IDCANCEL);
  } else if (CPropertyPage* shown = GetActivePage()) {
    shown->UserClick(id);
  }
}

void CPropertySheet::UserType(int id, const char* text) {
  if (CPropertyPage* shown = GetActivePage(); shown && !m_ended) shown->UserType(id, text);
}

void CPropertySheet::UserSelect(int id, int index) {
  if (CPropertyPage* shown = GetActivePage(); shown && !m_ended) shown->UserSelect(id, index);
}

void CPropertySheet::UserFocus(int id) {
  if (CPropertyPage* shown = GetActivePage()) shown->UserFocus(id);
}

void CPropertySheet::UserClose() { UserClick(IDCANCEL); }

BOOL CPropertySheet::UserChar(UINT ch) {
  CPropertyPage* shown = GetActivePage();
  return shown && !m_ended ? shown->UserChar(ch) : FALSE;
}

void CPropertySheet::UserHelp() {
  if (CPropertyPage* shown = GetActivePage(); shown && !m_ended) shown->UserHelp();
}
