/// CToolSelSeqDlg: the "Sequence Data" dialog asked before a tool runs: which range of the
/// sequence (whole, the selection, the current CDS feature) and which strand.
#pragma once

#include "ZelExport.h"
#include "ui/ZelDialog.h"

class ZEL_API CToolSelSeqDlg : public CZelDialog {
  DECLARE_DYNAMIC(CToolSelSeqDlg)
 public:
  /// Mode 2 takes the compact template.
  explicit CToolSelSeqDlg(int mode, CWnd* parent = nullptr);

  /// On entry non-zero when a selection exists; on return 0 whole sequence, 1 selection.
  int m_range = 0;
  /// Label the strand "Translate Strand".
  int m_translate = 0;
  /// 0 direct, 1 complementary.
  int m_strand = 0;
  /// On entry a current CDS feature exists; on return the user chose it.
  int m_cds = 0;

  /// The strand radios are enabled unless the CDS radio is checked.
  void UpdateRadio();

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
};
