// The window table, and window procedures called from the queue's machinery.
#include <cstdio>
#include <unordered_map>

#include "platform/base/exceptions/Exceptions.h"
#include "platform/os/engines/OsEngines.h"
#include "platform/user/input/Input.h"
#include "platform/user/wnd/Message.h"
#include "platform/user/wnd/WindowInternal.h"

namespace zel_wnd_internal {

namespace {

struct Table {
  std::mutex mutex;
  std::unordered_map<uintptr_t, WindowRecord> windows;
  uintptr_t serial = 0;
  uint64_t zorder = 0;
};
Table& TheTable() {
  static Table table;
  return table;
}

}  // namespace

std::optional<WindowRecord> Find(HWND hwnd) {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  auto it = t.windows.find(hwnd.value);
  if (it == t.windows.end()) return std::nullopt;
  return it->second;
}

bool Change(HWND hwnd, const std::function<void(WindowRecord&)>& change) {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  auto it = t.windows.find(hwnd.value);
  if (it == t.windows.end()) return false;
  change(it->second);
  return true;
}

HWND Add(WindowRecord record) {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  // Handles are never given out twice, so a stale one is always told from a live one.
  record.handle = HWND(0x10000 + ++t.serial);
  record.zorder = ++t.zorder;
  HWND h = record.handle;
  t.windows.emplace(h.value, std::move(record));
  return h;
}

void Remove(HWND hwnd) {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  t.windows.erase(hwnd.value);
}

HMENU SystemMenuOf(HWND hwnd) {
  auto w = Find(hwnd);
  return w ? w->systemMenu : HMENU();
}

void SetSystemMenuOf(HWND hwnd, HMENU menu) {
  Change(hwnd, [&](WindowRecord& r) { r.systemMenu = menu; });
}

std::vector<WindowRecord> All() {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  std::vector<WindowRecord> out;
  out.reserve(t.windows.size());
  for (const auto& [key, w] : t.windows) out.push_back(w);
  return out;
}

uint64_t NextZOrder() {
  Table& t = TheTable();
  std::lock_guard lock(t.mutex);
  return ++t.zorder;
}

LRESULT CallGuarded(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!proc) return 0;
  std::string what;
  try {
    return proc(hwnd, message, wParam, lParam);
  } catch (CException& e) {
    what = e.GetRuntimeClass()->m_lpszClassName;
  } catch (std::exception& e) {
    what = e.what();
  } catch (...) {
    what = "an exception of unknown type";
  }
  char text[160];
  std::snprintf(text, sizeof text, "The handler of window message 0x%04X failed: ", message);
  zel_os::ReportFailure(text + what);
  return 0;
}

// Messages are stamped with the input service's clock, so that their times agree with
// GetTickCount also when a test sets it.
DWORD TickCount() { return GetTickCount(); }

}  // namespace zel_wnd_internal
