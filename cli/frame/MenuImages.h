// The images the windowed commands' menus show beside their commands (16 by 15 each, in
// one strip): Open, Reload, Copy, Find, Go to Line and About, with the commands' ids.
#pragma once

#include "platform/base/types/WinTypes.h"

namespace zel_cli {

enum : UINT {
  ID_FILE_OPEN = 57601,
  ID_FILE_CLOSE = 57602,
  ID_FILE_MRU_FIRST = 57616,
  ID_EDIT_COPY = 57634,
  ID_EDIT_FIND = 57636,
  ID_WINDOW_CASCADE = 57650,
  ID_WINDOW_TILE = 57651,
  ID_APP_ABOUT = 57664,
  ID_APP_EXIT = 57665,
  ID_FILE_RELOAD = 32900,
  ID_EDIT_GOTO = 32901,
};

// The strip as a bitmap resource (registered on first call); its id.
UINT MenuImagesBitmap();
// The commands of the strip's images, in order.
extern const UINT kMenuImageCommands[6];

}  // namespace zel_cli
