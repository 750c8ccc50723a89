// The tool manager's watch on the tool folder: the watching thread, the change message
// and rebuilding a menu on the user-interface thread.
#include <atomic>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "layout/DirectoryLayout.h"
#include "platform/os/fs/FileSystem.h"
#include "platform/os/sync/Event.h"
#include "platform/os/watch/TreeWatch.h"
#include "platform/user/app/WinApp.h"
#include "platform/user/framework/Menu.h"
#include "platform/user/framework/Wnd.h"
#include "platform/user/wnd/Message.h"
#include "platform/user/wnd/Window.h"
#include "tools/AppTools.h"

const UINT WM_MENUCHANGE = RegisterWindowMessage("WM_MENUCHANGE");

namespace {
constexpr int kRetryMs = 1000;
// How long a stop waits for the thread. Every wait of the thread ends at the stop; only a
// walk stalled in a folder (a hung network share) can outlast this, and such a thread is
// left to end on its own, holding nothing of the manager.
constexpr int kStopGraceMs = 3000;
}  // namespace

struct CAppTools::MonitorLink {
  zel_sync::Event stop;
  zel_sync::Event ended;  // set by the thread as its last act
  std::atomic<bool> active{true};
  std::string path;
  std::mutex mutex;  // guards owner
  CAppTools* owner;  // null once the manager has let go of the thread

  // Runs work on the manager while it holds on to the thread; false once it has let go.
  template <typename Work>
  bool WithOwner(Work work) {
    std::lock_guard lock(mutex);
    if (!owner || !active) return false;
    work(*owner);
    return true;
  }
};

int CAppTools::StartToolMenuMonitoring() {
  if (m_monitorThread.joinable()) return 1;
  if (TOOLSMENUDIR.IsSpecSet() && zel_fs::KindOf(TOOLSMENUDIR.GetPath()) == ZelPathKind::None)
    CreateNewDirectoryTools(TOOLSMENUDIR.GetPath());
  m_watchedPath = TOOLSMENUDIR.IsSpecSet() ? CString(TOOLSMENUDIR.GetPath()) : CString();
  m_reloadNeeded = 1;
  auto link = std::make_shared<MonitorLink>();
  if (link->stop.Error() || link->ended.Error()) return 0;
  link->path = m_watchedPath.str();
  link->owner = this;
  m_monitor = link;
  m_loopActive = 1;
  try {
    m_monitorThread = std::thread([link] { ToolMonitor(link.get()); });
  } catch (const std::system_error&) {
    m_monitor.reset();
    m_loopActive = 0;
    return 0;
  }
  return 1;
}

void CAppTools::StopToolMenuMonitoring() {
  m_loopActive = 0;
  if (m_monitor) {
    m_monitor->active = false;
    m_monitor->stop.Set();
  }
  if (m_monitorThread.joinable()) {
    // Every wait of the thread, a send to this thread included, ends at the stop.
    if (m_monitor->ended.Wait(kStopGraceMs)) {
      m_monitorThread.join();
    } else {
      // Stalled in a folder: the thread keeps its link alive and finds no manager there.
      std::lock_guard lock(m_monitor->mutex);
      m_monitor->owner = nullptr;
      m_monitorThread.detach();
    }
  }
  m_monitor.reset();
  m_loopActive = 0;
  m_watching = 0;
  m_watchedPath.Empty();
  m_reloadNeeded = 1;
}

void CAppTools::ToolMonitor(void* linkPtr) {
  auto* link = static_cast<MonitorLink*>(linkPtr);
  struct Ended {
    MonitorLink* link;
    ~Ended() { link->ended.Set(); }
  } ended{link};
  const int stop = link->stop.Handle();
  std::unique_ptr<zel_watch::TreeWatch> watch = zel_watch::NewTreeWatch();
  // Marks the tree stale and tells the windows; false once the manager has let go.
  auto change = [link] {
    return link->WithOwner([](CAppTools& tools) {
      tools.m_reloadNeeded = 1;
      // Synchronous: the next changes are waited for once the windows have rebuilt.
      tools.ExecuteChangeHandler(HMENU(), nullptr);
    });
  };
  auto watching = [link](bool on) {
    return link->WithOwner([on](CAppTools& tools) { tools.m_watching = on; });
  };
  bool armed = false, first = true;
  std::error_code err;
  while (link->active) {
    if (!armed) {
      // The folder cannot be watched (missing, not made yet): the only timer there is.
      if (!first && zel_sync::WaitAny(&stop, 1, kRetryMs, err) == 0) break;
      first = false;
      armed = !link->path.empty() && !watch->Start(link->path);
      // Set up, it is followed by a change (before it counts as watching): whatever came
      // between the manager's load and now, or while the folder was away, is read again.
      // Not set up, the tree is stale all the same.
      if (!(armed ? change() : link->WithOwner([](CAppTools& t) { t.m_reloadNeeded = 1; }))) break;
      if (!watching(armed)) break;
      continue;
    }
    switch (watch->Wait(stop, -1)) {
      case zel_watch::Wake::Stopped:
        if (link->active) link->stop.Reset();  // not ours to end on
        break;
      case zel_watch::Wake::Changed:
        change();
        break;
      case zel_watch::Wake::Gone:
        armed = false;
        if (watching(false)) change();
        break;
      case zel_watch::Wake::TimedOut:
      case zel_watch::Wake::Failed:
        if (zel_sync::WaitAny(&stop, 1, kRetryMs, err) == 0) break;
        link->WithOwner([](CAppTools& tools) { tools.m_reloadNeeded = 1; });
        watch->Stop();
        armed = false;
        watching(false);
        break;
    }
  }
  watch->Stop();
}

void CAppTools::SetMainWindow(CWnd* first, CWnd* second, CWnd* third, CWnd* fourth) {
  std::lock_guard lock(m_windowsMutex);
  m_windows.Add(first);
  for (CWnd* w : {second, third, fourth})
    if (w) m_windows.Add(w);
}

void CAppTools::SendChange(CWnd* window, HMENU menu) {
  if (!window || !window->m_hWnd) return;
  if (m_monitor)
    zel_wnd::SendMessageUnless(window->m_hWnd, WM_MENUCHANGE, HandleToWParam(menu), 0,
                               m_monitor->stop.Handle());
  else
    ::SendMessage(window->m_hWnd, WM_MENUCHANGE, HandleToWParam(menu), 0);
}

void CAppTools::ExecuteChangeHandler(HMENU menu, CWnd* window) {
  CWnd* first = window;
  std::vector<CWnd*> others;
  {
    std::lock_guard lock(m_windowsMutex);
    if (!first && m_windows.GetSize() > 0) first = static_cast<CWnd*>(m_windows[0]);
    if (!window)
      for (INT_PTR i = 1; i < m_windows.GetSize(); ++i)
        others.push_back(static_cast<CWnd*>(m_windows[i]));
  }
  if (!first) first = AfxGetMainWnd();
  SendChange(first, menu);
  for (CWnd* w : others) SendChange(w, menu);
}

void CAppTools::DoMenuChange(CChangeInfo* info) {
  if (!info || !info->window || info->name.IsEmpty()) return;
  CMenu* menu = info->menu ? info->menu : info->window->GetMenu();
  if (!menu) return;
  if (!CheckMenu(info->name)) RegisterMenu(info->name, menu, nullptr, 0, info->offset);
  UpdateMenu(info->name, menu, info->position, info->offset);
  info->window->SetWindowPos(nullptr, 0, 0, 0, 0,
                             SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                                 SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
  info->window->DrawMenuBar();
  if (info->unregisterAfter) UnRegisterMenu(info->name);
}

CString CAppTools::GetWatchedPath() const {
  if (!m_watchedPath.IsEmpty()) return m_watchedPath;
  return TOOLSMENUDIR.IsSpecSet() ? CString(TOOLSMENUDIR.GetPath()) : CString();
}
