/// CMenuHolder: what the tool manager remembers of one application menu registered for
/// tool merging: its name, the layout of its top-level items at registration, where the
/// last update put top-level tool items, and the tools popup's position.
#pragma once

#include <vector>

#include "ZelExport.h"
#include "platform/base/collections/Collections.h"
#include "platform/user/framework/Menu.h"

class ZEL_API CMenuHolder : public CObject {
  DECLARE_DYNAMIC(CMenuHolder)
 public:
  explicit CMenuHolder(const char* name) : m_strName(name) {}

  /// The layout: per top-level item, -n for an item whose position is among positions
  /// (n the items of its popup, 0 for a plain item), otherwise n less the separators that
  /// open its popup.
  void Load(CMenu* menu, int* positions, int count);

  CString m_strName;
  CWordArray m_layout;
  CWordArray m_inserted;      ///< positions (from the offset) of top-level tool items
  int m_nToolsPosition = -1;  ///< the tools popup's position (from the offset), -1: none
  /// The top-level popups the updates made for tool folders; one that its folder no longer
  /// fills goes again (the application's own popups stay, empty or not).
  std::vector<HMENU> m_toolPopups;
};

namespace zel_tools {
/// Whether the item at position is a separator. A popup's state holds its item count in
/// the high byte, where a count of 8 to 15 reads as the separator bit, so only a plain
/// item's state says it.
ZEL_API bool IsMenuSeparator(CMenu* menu, int position);
}  // namespace zel_tools
