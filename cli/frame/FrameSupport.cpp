// The desktop, the pictures and the Tools menu of the windowed commands.
#include "cli/frame/FrameSupport.h"

#include <cstdio>
#include <iterator>

#include "cli/frame/MenuImages.h"
#include "platform/user/backend/IntegrationChoice.h"
#include "platform/user/integration/Integration.h"
#include "platform/user/wnd/Window.h"

namespace zel_cli {

void AddPictureOptions(CLI::App* cmd, PictureOptions& options) {
  cmd->add_option("--screenshot", options.screenshot,
                  "Save a PNG picture of the window and quit (after --quit-after, default "
                  "1000 ms); prints PATH<TAB>WIDTH<TAB>HEIGHT");
  cmd->add_option("--quit-after", options.quitAfter, "Quit after this many milliseconds")
      ->check(CLI::Range(0, 86400000));
}

zel_wnd::Desktop* StartDesktop() {
  zel_wnd::Desktop* desktop = zel_wnd::CurrentDesktop();
  if (!desktop) return nullptr;
  // Its message boxes and dialogs are the desktop's too.
  zel_user::InstallIntegration(zel_user::ChooseIntegration());
  desktop->Present();
  return desktop;
}

bool SaveFramePicture(CWnd& frame, const std::string& path, std::string& error) {
  SIZE size;
  zel_wnd::Desktop* desktop = zel_wnd::CurrentDesktop();
  if (!desktop) {
    error = "no desktop to take pictures with";
    return false;
  }
  if (!desktop->SavePicture(frame.m_hWnd, path, &error, &size)) return false;
  std::printf("%s\t%ld\t%ld\n", path.c_str(), static_cast<long>(size.cx),
              static_cast<long>(size.cy));
  std::fflush(stdout);
  return true;
}

FrameTools::~FrameTools() { Uninstall(); }

void FrameTools::Merge(CMenu& menu, bool bar) {
  m_bar = bar;
  m_menu = bar ? HMENU() : menu.m_hMenu;
  if (!m_tools) return;
  m_tools->RegisterMenu(kName, &menu, nullptr, 0, 0);
  m_tools->UpdateMenu(kName, &menu, -1, 0);
}

void FrameTools::Install(CFrameWnd& frame) {
  if (m_tools) {
    m_tools->SetMainWindow(&frame);
    m_drawing.SetToolsManager(m_tools);
  }
  m_drawing.Install(&frame);
  m_installed = true;
  OnReloadMenus();
}

void FrameTools::OnReloadMenus() {
  // Loading sets the button size too, which makes room for the tools' icons.
  m_drawing.LoadToolbar(MenuImagesBitmap(), kMenuImageCommands,
                        static_cast<int>(std::size(kMenuImageCommands)));
}

void FrameTools::OnMenuChange(CFrameWnd& frame) {
  if (!m_tools) return;
  CAppTools::CChangeInfo info;
  info.window = &frame;
  info.name = kName;
  info.menu = m_bar ? nullptr : CMenu::FromHandle(m_menu);
  m_tools->DoMenuChange(&info);
}

void FrameTools::Uninstall() {
  if (!m_installed) return;
  m_drawing.Install(static_cast<CWnd*>(nullptr));
  m_installed = false;
}

}  // namespace zel_cli
