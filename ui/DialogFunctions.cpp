// Free functions of the suite's dialog layer.
#include "ui/DialogFunctions.h"

CWnd* ZelDialogParent(CWnd* w) { return w; }

INT_PTR ZelDoModal(CDialog* dialog) { return dialog ? dialog->DoModal() : -1; }

INT_PTR ZelDoModal(CPropertySheet* sheet) { return sheet ? sheet->DoModal() : -1; }

namespace {

// The control's own search ignores case and wraps around; it is asked again from each hit
// until an entry matches exactly or the search comes round to where it began.
int FindExactCase(const CListItems* control, const CString& text,
                  int (*entry)(const CListItems*, int, CString&)) {
  if (!control) return -1;
  int previous = -1;
  for (;;) {
    const int index = control->FindStringExact(previous, text);
    if (index == LB_ERR || index <= previous) return -1;
    CString found;
    entry(control, index, found);
    if (found == text) return index;
    previous = index;
  }
}

}  // namespace

int FindStringExactCase(CListBox* list, CString& text) {
  return FindExactCase(list, text, [](const CListItems* c, int i, CString& out) {
    return static_cast<const CListBox*>(c)->GetText(i, out);
  });
}

int FindStringExactCase(CComboBox* combo, CString& text) {
  return FindExactCase(combo, text, [](const CListItems* c, int i, CString& out) {
    return static_cast<const CComboBox*>(c)->GetLBText(i, out);
  });
}
