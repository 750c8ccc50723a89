// Drops: a process-wide table of dropped file lists, handed to windows as HDROP handles.
#include "platform/user/wnd/DragDrop.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>

#include "platform/user/wnd/Message.h"
#include "platform/user/wnd/Presenter.h"
#include "platform/user/wnd/Window.h"
#include "platform/user/wnd/WindowInternal.h"

namespace {

struct Drop {
  std::vector<std::string> files;
  POINT point;
  bool inClient = false;
};

struct DropTable {
  std::mutex mutex;
  std::map<uintptr_t, Drop> drops;
  uintptr_t serial = 0;
};

DropTable& Drops() {
  static DropTable table;
  return table;
}

std::optional<Drop> FindDrop(HDROP drop) {
  DropTable& t = Drops();
  std::lock_guard lock(t.mutex);
  auto it = t.drops.find(drop.value);
  if (it == t.drops.end()) return std::nullopt;
  return it->second;
}

}  // namespace

void DragAcceptFiles(HWND hwnd, BOOL accept) {
  zel_wnd_internal::Change(hwnd, [&](zel_wnd_internal::WindowRecord& r) {
    if (accept)
      r.exStyle |= WS_EX_ACCEPTFILES;
    else
      r.exStyle &= ~static_cast<DWORD>(WS_EX_ACCEPTFILES);
  });
}

UINT DragQueryFile(HDROP drop, UINT file, LPSTR buffer, UINT size) {
  auto d = FindDrop(drop);
  if (!d) return 0;
  if (file == 0xFFFFFFFF) return static_cast<UINT>(d->files.size());
  if (file >= d->files.size()) return 0;
  const std::string& path = d->files[file];
  if (!buffer) return static_cast<UINT>(path.size());
  if (size == 0) return 0;
  const size_t n = std::min<size_t>(path.size(), size - 1);
  std::memcpy(buffer, path.data(), n);
  buffer[n] = 0;
  return static_cast<UINT>(n);
}

BOOL DragQueryPoint(HDROP drop, POINT* point) {
  auto d = FindDrop(drop);
  if (!d || !point) return FALSE;
  *point = d->point;
  return d->inClient;
}

void DragFinish(HDROP drop) {
  DropTable& t = Drops();
  std::lock_guard lock(t.mutex);
  t.drops.erase(drop.value);
}

namespace zel_wnd {

HWND FileDropTarget(HWND over) {
  // Up through the parents of a child only: a top-level window's owner is no drop target.
  for (HWND h = over; h;) {
    auto w = zel_wnd_internal::Find(h);
    if (!w) return HWND();
    if (w->exStyle & WS_EX_ACCEPTFILES) return h;
    if (!(w->style & WS_CHILD)) return HWND();
    h = w->parent;
  }
  return HWND();
}

HWND DropFiles(HWND over, const std::vector<std::string>& paths, POINT screen) {
  const HWND target = FileDropTarget(over);
  if (!target || paths.empty()) return HWND();
  Drop d;
  d.files = paths;
  d.point = screen;
  ScreenToClient(target, &d.point);
  RECT client;
  GetClientRect(target, &client);
  d.inClient =
      d.point.x >= 0 && d.point.y >= 0 && d.point.x < client.right && d.point.y < client.bottom;
  DropTable& t = Drops();
  HDROP drop;
  {
    std::lock_guard lock(t.mutex);
    drop = HDROP(++t.serial);
    t.drops.emplace(drop.value, std::move(d));
  }
  if (!PostMessage(target, WM_DROPFILES, HandleToWParam(drop), 0)) {
    DragFinish(drop);
    return HWND();
  }
  return target;
}

}  // namespace zel_wnd
