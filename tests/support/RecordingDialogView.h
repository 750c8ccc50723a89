// A dialog view for tests: counts what the model told it, by control id.
#pragma once

#include <map>

#include "platform/dialog/Dialog.h"

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

}  // namespace zel_test
