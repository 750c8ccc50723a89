// CMenuHolder: a registered menu's layout.
#include "tools/MenuHolder.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CMenuHolder, CObject)

void CMenuHolder::Load(CMenu* menu, int* positions, int count) {
  m_layout.RemoveAll();
  if (!menu) return;
  const int items = static_cast<int>(menu->GetMenuItemCount());
  for (int i = 0; i < items; ++i) {
    CMenu* popup = menu->GetSubMenu(i);
    const int n = popup ? static_cast<int>(popup->GetMenuItemCount()) : 0;
    const bool marked = positions && std::find(positions, positions + std::max(count, 0), i) !=
                                         positions + std::max(count, 0);
    if (marked) {
      m_layout.Add(static_cast<WORD>(-n));
      continue;
    }
    int separators = 0;
    while (separators < n && zel_tools::IsMenuSeparator(popup, separators)) ++separators;
    m_layout.Add(static_cast<WORD>(n - separators));
  }
}

bool zel_tools::IsMenuSeparator(CMenu* menu, int position) {
  const UINT state = menu->GetMenuState(static_cast<UINT>(position), MF_BYPOSITION);
  return state != 0xFFFFFFFF && !(state & MF_POPUP) && (state & MF_SEPARATOR);
}
