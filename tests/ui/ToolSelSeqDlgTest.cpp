// The "Sequence Data" dialog: which radios it offers and presets, and what it returns.
#include "tests/support/TestSupport.h"
#include "ui/ToolSelSeqDlg.h"
#include "ui/ZelDialogTemplates.h"

namespace {

class ToolSelSeqDlgTest : public zel_test::ZelTest {
 protected:
  static bool Enabled(CDialog& d, int id) { return d.GetDlgItem(id)->IsWindowEnabled(); }
};

TEST_F(ToolSelSeqDlgTest, ACdsFeatureIsPreselectedAndFreezesTheStrand) {
  for (int mode : {0, 2}) {
    SCOPED_TRACE(mode);
    CToolSelSeqDlg dialog(mode);
    dialog.m_cds = 1;
    dialog.m_translate = 1;
    ui().dialogScripts.push_back({
        DialogStep::Look([&](CDialog& d) {
          EXPECT_EQ(d.GetTemplateId(), mode == 2 ? IDD_TOOL_SEL_SEQ_SHORT : IDD_TOOL_SEL_SEQ);
          CString caption, label;
          d.GetWindowText(caption);
          d.GetDlgItemText(IDC_STRAND_GROUP, label);
          EXPECT_EQ(caption, "Sequence Data");
          EXPECT_EQ(label, "Translate Strand");
          EXPECT_EQ(d.GetCheckedRadioButton(IDC_RANGE_WHOLE, IDC_RANGE_CDS), IDC_RANGE_CDS);
          // Range 2 after the exchange: "Selection Only" is offered too.
          EXPECT_TRUE(Enabled(d, IDC_RANGE_SELECTION));
          EXPECT_TRUE(Enabled(d, IDC_RANGE_CDS));
          EXPECT_FALSE(Enabled(d, IDC_STRAND_DIRECT));
          EXPECT_FALSE(Enabled(d, IDC_STRAND_COMPLEMENTARY));
        }),
        DialogStep::ClickButton(IDC_STRAND_COMPLEMENTARY),  // disabled: no effect
        DialogStep::ClickButton(IDOK),
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_cds, 1);
    EXPECT_EQ(dialog.m_range, 1);  // cut to 0 or 1
    EXPECT_EQ(dialog.m_strand, 0);
  }
}

TEST_F(ToolSelSeqDlgTest, RadiosOfferedByWhatExistsAndRangeChosen) {
  CToolSelSeqDlg dialog(1);
  dialog.m_range = 0;
  dialog.m_strand = 1;
  ui().dialogScripts.push_back({
      DialogStep::Look([](CDialog& d) {
        CString label;
        d.GetDlgItemText(IDC_STRAND_GROUP, label);
        EXPECT_EQ(label, "Strand");
        EXPECT_FALSE(Enabled(d, IDC_RANGE_SELECTION));
        EXPECT_FALSE(Enabled(d, IDC_RANGE_CDS));
        EXPECT_TRUE(Enabled(d, IDC_STRAND_DIRECT));
        EXPECT_EQ(d.GetCheckedRadioButton(IDC_STRAND_DIRECT, IDC_STRAND_COMPLEMENTARY),
                  IDC_STRAND_COMPLEMENTARY);
      }),
      DialogStep::ClickButton(IDC_RANGE_SELECTION),  // disabled
      DialogStep::ClickButton(IDOK),
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.m_range, 0);
  EXPECT_EQ(dialog.m_cds, 0);
  EXPECT_EQ(dialog.m_strand, 1);

  // With a selection and a CDS feature the user may leave the CDS: the strand returns.
  CToolSelSeqDlg other(0);
  other.m_range = 1;
  other.m_cds = 1;
  ui().dialogScripts.push_back({
      DialogStep::ClickButton(IDC_RANGE_SELECTION),
      DialogStep::Look([](CDialog& d) { EXPECT_TRUE(Enabled(d, IDC_STRAND_DIRECT)); }),
      DialogStep::ClickButton(IDC_STRAND_COMPLEMENTARY),
      DialogStep::ClickButton(IDC_RANGE_CDS),
      DialogStep::Look([](CDialog& d) { EXPECT_FALSE(Enabled(d, IDC_STRAND_DIRECT)); }),
      DialogStep::ClickButton(IDC_RANGE_SELECTION),
      DialogStep::ClickButton(IDOK),
  });
  EXPECT_EQ(other.DoModal(), IDOK);
  EXPECT_EQ(other.m_range, 1);
  EXPECT_EQ(other.m_cds, 0);
  EXPECT_EQ(other.m_strand, 1);
}

}  // namespace
