// The presenter in use, painting, the headless presenter, and the desktop in use.
#include "platform/user/wnd/Presenter.h"

#include <algorithm>
#include <utility>

#include "platform/user/gdi/FixedDC.h"
#include "platform/user/integration/Integration.h"
#include "platform/user/menu/MenuApi.h"
#include "platform/user/wnd/Desktop.h"
#include "platform/user/wnd/MenuTracking.h"
#include "platform/user/wnd/Message.h"
#include "platform/user/wnd/Window.h"
#include "platform/user/wnd/WindowInternal.h"

namespace zel_wnd {
namespace {

// The position of the item with that command in menu, its popups opened on the way
// (each gets its init message); the menu holding it in *holder. -1 when none has it.
int OpenTo(HWND owner, HMENU menu, UINT command, HMENU* holder, int depth = 0) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count && depth < 32; ++i) {
    if (HMENU sub = GetSubMenu(menu, i)) {
      zel_menu::Select(owner, menu, i);
      zel_menu::InitMenuPopup(owner, sub, i, false);
      int found = OpenTo(owner, sub, command, holder, depth + 1);
      if (found >= 0) return found;
    } else if (GetMenuItemID(menu, i) == command &&
               !(GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR)) {
      *holder = menu;
      return i;
    }
  }
  return -1;
}

}  // namespace

Presenter& CurrentPresenter() {
  Presenter* installed = zel_user::InstalledEngine<Presenter>();
  return installed ? *installed : DefaultPresenter();
}

HeadlessPresenter& DefaultPresenter() {
  static HeadlessPresenter headless;
  return headless;
}

void PaintWindow(HWND hwnd, CDC* dc, const RECT& rect) {
  using zel_wnd_internal::WindowRecord;
  CDC* previous = nullptr;
  RECT previousRect;
  if (!zel_wnd_internal::Change(hwnd, [&](WindowRecord& r) {
        previous = std::exchange(r.paintDC, dc);
        previousRect = std::exchange(r.paintRect, rect);
      }))
    return;
  SendMessage(hwnd, WM_PAINT, 0, 0);
  zel_wnd_internal::Change(hwnd, [&](WindowRecord& r) {
    r.paintDC = previous;
    r.paintRect = previousRect;
  });
}

void HeadlessPresenter::Destroyed(HWND hwnd) {
  std::lock_guard lock(m_mutex);
  std::erase_if(m_invalid, [&](const auto& entry) { return entry.first == hwnd; });
}

void HeadlessPresenter::Invalidated(HWND hwnd, const RECT* rect) {
  RECT r;
  if (rect)
    r = *rect;
  else
    GetClientRect(hwnd, &r);
  std::lock_guard lock(m_mutex);
  m_invalid.emplace_back(hwnd, r);
}

void HeadlessPresenter::Update(HWND hwnd) {
  bool any = false;
  RECT all{0, 0, 0, 0};
  {
    std::lock_guard lock(m_mutex);
    for (const auto& [h, r] : m_invalid) {
      if (h != hwnd) continue;
      all = any ? RECT{std::min(all.left, r.left), std::min(all.top, r.top),
                       std::max(all.right, r.right), std::max(all.bottom, r.bottom)}
                : r;
      any = true;
    }
    std::erase_if(m_invalid, [&](const auto& entry) { return entry.first == hwnd; });
  }
  if (!any) return;
  CFixedDC dc;
  PaintWindow(hwnd, &dc, all);
}

UINT HeadlessPresenter::TrackPopupMenu(HMENU menu, UINT, POINT, HWND owner) {
  return Track(menu, owner, 0);
}

UINT HeadlessPresenter::Track(HMENU menu, HWND owner, UINT command) {
  zel_menu::EnterMenuLoop(owner, true);
  zel_menu::InitMenuPopup(owner, menu, 0, false);
  if (command) {
    HMENU holder;
    int position = OpenTo(owner, menu, command, &holder);
    if (position >= 0)
      zel_menu::Select(owner, holder, position);
    else
      command = 0;
  }
  zel_menu::Close(owner);
  zel_menu::ExitMenuLoop(owner, true);
  return command;
}

std::unique_ptr<CDC> HeadlessPresenter::NewDC(HWND) { return std::make_unique<CFixedDC>(); }

Desktop* CurrentDesktop() {
  if (Desktop* installed = zel_user::InstalledEngine<Desktop>()) return installed;
  const zel_user::Integration* toolkit = zel_user::ToolkitIntegration();
  return toolkit ? toolkit->desktop : nullptr;
}

}  // namespace zel_wnd
