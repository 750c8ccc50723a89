// The numbered lists of zel view's menus: the open documents under Window and the recent
// files under File, each item "&1 TEXT" (a mnemonic for the first nine), its command the
// first id plus its index.
#pragma once

#include <string>
#include <vector>

#include "platform/base/types/WinTypes.h"

namespace zel_cli {

struct NumberedItem {
  std::string text;
  UINT id = 0;
  bool checked = false;
};

// checked: the index of the item to check (the active document), -1 for none.
std::vector<NumberedItem> NumberedItems(const std::vector<std::string>& texts, UINT firstId,
                                        int checked);

}  // namespace zel_cli
