// The tool manager's watch on the tool folder: the watching thread, the change message
// and rebuilding a menu on the user-interface thread.
#include <utility>
#include <vector>

#include "layout/DirectoryLayout.h"
#include "platform/afx/Wnd.h"
#include "platform/fs/FileSystem.h"
#include "platform/menu/Menu.h"
#include "platform/sync/Event.h"
#include "platform/watch/TreeWatch.h"
#include "platform/wnd/Message.h"
#include "platform/wnd/Window.h"
#include "tools/AppTools.h"

const UINT WM_MENUCHANGE = RegisterWindowMessage("WM_MENUCHANGE");

namespace {
constexpr int kRetryMs = 1000;
}  // namespace

int CAppTools::StartToolMenuMonitoring() {
  if (m_monitorThread.joinable()) return 1;
  if (TOOLSMENUDIR.IsSpecSet() && zel_fs::KindOf(TOOLSMENUDIR.GetPath()) == ZelPathKind::None)
    CreateNewDirectoryTools(TOOLSMENUDIR.GetPath());
  m_watchedPath = TOOLSMENUDIR.IsSpecSet() ? CString(TOOLSMENUDIR.GetPath()) : CString();
  m_reloadNeeded = 1;
  m_loopActive = 1;
  m_stopEvent = std::make_unique<zel_sync::Event>();
  if (m_stopEvent->Error()) {
    m_stopEvent.reset();
    m_loopActive = 0;
    return 0;
  }
  try {
    m_monitorThread = std::thread(&CAppTools::ToolMonitor, this);
  } catch (const std::system_error&) {
    m_stopEvent.reset();
    m_loopActive = 0;
    return 0;
  }
  return 1;
}

void CAppTools::StopToolMenuMonitoring() {
  m_loopActive = 0;
  if (m_stopEvent) m_stopEvent->Set();
  // Every wait of the thread, a send to this thread included, ends at the stop: it is
  // joined, never killed.
  if (m_monitorThread.joinable()) m_monitorThread.join();
  m_stopEvent.reset();
  m_loopActive = 0;
  m_watchedPath.Empty();
  m_reloadNeeded = 1;
}

void CAppTools::ToolMonitor(void* manager) {
  auto* self = static_cast<CAppTools*>(manager);
  const std::string path = self->m_watchedPath.str();
  const int stop = self->m_stopEvent->Handle();
  std::unique_ptr<zel_watch::TreeWatch> watch = zel_watch::NewTreeWatch();
  bool armed = !path.empty() && !watch->Start(path);
  self->m_watching = armed;
  std::error_code err;
  while (self->m_loopActive) {
    if (!armed) {
      // The folder cannot be watched (missing, not made yet): the only timer there is.
      zel_sync::WaitAny(&stop, 1, kRetryMs, err);
      if (!self->m_loopActive) break;
      self->m_reloadNeeded = 1;
      armed = !path.empty() && !watch->Start(path);
      self->m_watching = armed;
      if (armed) self->ExecuteChangeHandler(HMENU(), nullptr);  // it is back: a change
      continue;
    }
    switch (watch->Wait(stop, -1)) {
      case zel_watch::Wake::Stopped:
        if (self->m_loopActive) self->m_stopEvent->Reset();
        break;
      case zel_watch::Wake::Changed:
        if (!self->m_loopActive) break;
        self->m_reloadNeeded = 1;
        // Synchronous: the next changes are waited for once the windows have rebuilt.
        self->ExecuteChangeHandler(HMENU(), nullptr);
        break;
      case zel_watch::Wake::Gone:
        armed = false;
        self->m_watching = 0;
        if (!self->m_loopActive) break;
        self->m_reloadNeeded = 1;
        self->ExecuteChangeHandler(HMENU(), nullptr);
        break;
      case zel_watch::Wake::TimedOut:
      case zel_watch::Wake::Failed:
        zel_sync::WaitAny(&stop, 1, kRetryMs, err);
        self->m_reloadNeeded = 1;
        watch->Stop();
        armed = false;
        self->m_watching = 0;
        break;
    }
  }
  watch->Stop();
  self->m_watching = 0;
}

void CAppTools::SetMainWindow(CWnd* first, CWnd* second, CWnd* third, CWnd* fourth) {
  std::lock_guard lock(m_windowsMutex);
  m_windows.Add(first);
  for (CWnd* w : {second, third, fourth})
    if (w) m_windows.Add(w);
}

void CAppTools::SendChange(CWnd* window, HMENU menu) {
  if (!window || !window->m_hWnd) return;
  if (m_stopEvent)
    zel_wnd::SendMessageUnless(window->m_hWnd, WM_MENUCHANGE, HandleToWParam(menu), 0,
                               m_stopEvent->Handle());
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
