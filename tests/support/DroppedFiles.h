// The paths a WM_DROPFILES carries, as a frame's handler takes them: every file, then the
// drop given back.
#pragma once

#include <string>
#include <vector>

#include "platform/user/wnd/DragDrop.h"

namespace zel_test {

inline std::vector<std::string> TakeDroppedFiles(HDROP drop) {
  std::vector<std::string> paths;
  const UINT n = DragQueryFile(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < n; ++i) {
    std::string path(DragQueryFile(drop, i, nullptr, 0), '\0');
    DragQueryFile(drop, i, path.data(), static_cast<UINT>(path.size()) + 1);
    paths.push_back(path);
  }
  DragFinish(drop);
  return paths;
}

}  // namespace zel_test
