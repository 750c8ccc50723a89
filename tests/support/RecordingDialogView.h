// A dialog view for tests that counts what the model told it, by control id, and a
// control object that records the messages it is sent.
#pragma once

#include <map>
#include <utility>
#include <vector>

#include "platform/user/dialog/Dialog.h"

namespace zel_test {

class RecordingDialogView : public DialogView {
 public:
  void ItemChanged(CDialogItem& item) override { ++changes[item.GetDlgCtrlID()]; }
  void CaptionChanged() override { ++captions; }
  void FocusChanged() override { ++focusMoves; }
  void Center() override { ++centred; }
  void ActivateParent() override { ++parentActivations; }
  void Ended() override { ++ended; }

  std::map<int, int> changes;
  int captions = 0, focusMoves = 0, centred = 0, parentActivations = 0, ended = 0;
};

// Takes a control over (SubclassDlgItem) and keeps each message with its wParam.
class RecordingControl : public CStatic {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM) override {
    received.push_back({message, wParam});
    return 77;
  }
  std::vector<std::pair<UINT, WPARAM>> received;
};

}  // namespace zel_test
