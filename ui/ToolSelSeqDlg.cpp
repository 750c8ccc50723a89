// The "Sequence Data" dialog.
#include "ui/ToolSelSeqDlg.h"

#include "platform/user/dialog/DataExchange.h"
#include "ui/ZelDialogTemplates.h"

IMPLEMENT_DYNAMIC(CToolSelSeqDlg, CZelDialog)

CToolSelSeqDlg::CToolSelSeqDlg(int mode, CWnd* parent)
    : CZelDialog(mode == 2 ? IDD_TOOL_SEL_SEQ_SHORT : IDD_TOOL_SEL_SEQ, parent) {}

BOOL CToolSelSeqDlg::OnInitDialog() {
  CZelDialog::OnInitDialog();
  SetDlgItemText(IDC_STRAND_GROUP, m_translate ? "Translate Strand" : "Strand");
  EnableDlgItem(IDC_RANGE_SELECTION, m_range != 0);
  EnableDlgItem(IDC_RANGE_CDS, m_cds != 0);
  UpdateRadio();
  return TRUE;
}

void CToolSelSeqDlg::DoDataExchange(CDataExchange* dx) {
  CZelDialog::DoDataExchange(dx);
  if (!dx->m_bSaveAndValidate && m_cds) m_range = 2;
  DDX_Radio(dx, IDC_RANGE_WHOLE, m_range);
  DDX_Radio(dx, IDC_STRAND_DIRECT, m_strand);
  if (dx->m_bSaveAndValidate) {
    m_cds = m_range == 2;
    m_range = m_range >= 1 ? 1 : 0;
  }
}

void CToolSelSeqDlg::UpdateRadio() {
  const BOOL strand = !IsDlgButtonChecked(IDC_RANGE_CDS);
  EnableDlgItem(IDC_STRAND_DIRECT, strand);
  EnableDlgItem(IDC_STRAND_COMPLEMENTARY, strand);
}

BOOL CToolSelSeqDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  if (HIWORD(wParam) == BN_CLICKED && id >= IDC_RANGE_WHOLE && id <= IDC_RANGE_CDS) {
    UpdateRadio();
    return TRUE;
  }
  return CZelDialog::OnCommand(wParam, lParam);
}
