// The process-wide registry of dialog templates, and dialog units.
#include "platform/user/dialog/DialogTemplate.h"

#include <map>

#include "platform/user/gdi/MulDiv.h"

namespace {
std::map<UINT, std::shared_ptr<const DialogTemplate>>& Templates() {
  static std::map<UINT, std::shared_ptr<const DialogTemplate>> templates;
  return templates;
}
}  // namespace

void ZelRegisterDialogTemplate(const DialogTemplate& dialogTemplate) {
  Templates()[dialogTemplate.id] = std::make_shared<const DialogTemplate>(dialogTemplate);
}

std::shared_ptr<const DialogTemplate> ZelFindDialogTemplate(UINT id) {
  auto it = Templates().find(id);
  return it == Templates().end() ? nullptr : it->second;
}

SIZE DialogBaseUnits(int alphabetWidth, int fontHeight) {
  return SIZE{(alphabetWidth / 26 + 1) / 2, fontHeight};
}

RECT DialogUnitsToPixels(int x, int y, int cx, int cy, SIZE base) {
  const int left = MulDiv(x, base.cx, 4);
  const int top = MulDiv(y, base.cy, 8);
  return RECT{left, top, left + MulDiv(cx, base.cx, 4), top + MulDiv(cy, base.cy, 8)};
}
