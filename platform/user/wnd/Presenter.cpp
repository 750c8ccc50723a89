// The presenter in use, painting, the headless presenter, and the registered desktop.
#include "platform/user/wnd/Presenter.h"

#include <algorithm>
#include <atomic>
#include <utility>

#include "platform/os/module/Toolkit.h"
#include "platform/os/sync/ServiceSlot.h"
#include "platform/user/gdi/FixedDC.h"
#include "platform/user/menu/MenuApi.h"
#include "platform/user/wnd/Desktop.h"
#include "platform/user/wnd/MenuTracking.h"
#include "platform/user/wnd/Message.h"
#include "platform/user/wnd/Window.h"
#include "platform/user/wnd/WindowInternal.h"

namespace zel_wnd {
namespace {

Presenter& Headless() { return DefaultPresenter(); }
constinit zel_sync::ServiceSlot<Presenter> g_presenter{&Headless};

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

Presenter& CurrentPresenter() { return g_presenter.Current(); }

Presenter* SetPresenter(Presenter* presenter) { return g_presenter.Install(presenter); }

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

void HeadlessPresenter::Note(Kind kind, HWND hwnd) {
  std::lock_guard lock(m_mutex);
  m_requests.push_back(Request{kind, hwnd});
}

void HeadlessPresenter::Destroyed(HWND hwnd) {
  Note(kDestroyed, hwnd);
  std::lock_guard lock(m_mutex);
  std::erase_if(m_invalid, [&](const auto& entry) { return entry.first == hwnd; });
}

void HeadlessPresenter::Invalidated(HWND hwnd, const RECT* rect) {
  Note(kInvalidated, hwnd);
  RECT r;
  if (rect)
    r = *rect;
  else
    GetClientRect(hwnd, &r);
  std::lock_guard lock(m_mutex);
  m_invalid.emplace_back(hwnd, r);
}

void HeadlessPresenter::Update(HWND hwnd) {
  Note(kUpdated, hwnd);
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
  Note(kPopupTracked, owner);
  UINT choice = 0;
  {
    std::lock_guard lock(m_mutex);
    if (!m_choices.empty()) {
      choice = m_choices.front();
      m_choices.pop_front();
    }
  }
  zel_menu::EnterMenuLoop(owner, true);
  zel_menu::InitMenuPopup(owner, menu, 0, false);
  if (choice) {
    HMENU holder;
    int position = OpenTo(owner, menu, choice, &holder);
    if (position >= 0)
      zel_menu::Select(owner, holder, position);
    else
      choice = 0;
  }
  zel_menu::Close(owner);
  zel_menu::ExitMenuLoop(owner, true);
  return choice;
}

std::unique_ptr<CDC> HeadlessPresenter::NewDC(HWND) { return std::make_unique<CFixedDC>(); }

void HeadlessPresenter::ScriptPopupChoice(UINT command) {
  std::lock_guard lock(m_mutex);
  m_choices.push_back(command);
}

int HeadlessPresenter::Count(Kind kind, HWND hwnd) const {
  std::lock_guard lock(m_mutex);
  return static_cast<int>(
      std::count_if(m_requests.begin(), m_requests.end(),
                    [&](const Request& r) { return r.kind == kind && (!hwnd || r.hwnd == hwnd); }));
}

std::vector<HeadlessPresenter::Request> HeadlessPresenter::Requests() const {
  std::lock_guard lock(m_mutex);
  return m_requests;
}

void HeadlessPresenter::Clear() {
  std::lock_guard lock(m_mutex);
  m_requests.clear();
  m_choices.clear();
  m_invalid.clear();
}

}  // namespace zel_wnd

namespace zel_wnd {
namespace {
std::atomic<Desktop*> g_desktop{nullptr};
}  // namespace

void RegisterDesktop(Desktop* desktop) { g_desktop.store(desktop); }
Desktop* RegisteredDesktop() {
  if (!g_desktop.load()) zel_module::EnsureToolkit();
  return g_desktop.load();
}

}  // namespace zel_wnd
