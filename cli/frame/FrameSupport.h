// What the windowed commands (zel view, zel gui-demo) share: the desktop they show their
// frame on, the --screenshot and --quit-after options, the picture of the frame, and the
// frame's Tools menu merged, watched and drawn with the tools' icons.
#pragma once

#include <CLI/CLI.hpp>
#include <memory>
#include <string>

#include "platform/user/framework/FrameWnd.h"
#include "platform/user/framework/Menu.h"
#include "platform/user/wnd/Desktop.h"
#include "tools/AppTools.h"
#include "tools/ZelMenuManager.h"

namespace zel_cli {

struct PictureOptions {
  std::string screenshot;  // a PNG of the frame, then quit
  int quitAfter = -1;      // ms; -1: run until closed (1000 with --screenshot)
};
void AddPictureOptions(CLI::App* cmd, PictureOptions& options);

// The desktop, presenting the window model from now on, its message boxes and dialogs
// the desktop's; null when there is no toolkit to show windows with.
zel_wnd::Desktop* StartDesktop();

// Saves the frame as shown (with the popups over it) and prints PATH<TAB>WIDTH<TAB>HEIGHT;
// false with the reason in error.
bool SaveFramePicture(CWnd& frame, const std::string& path, std::string& error);

// A frame's tools: merged into a menu (the menu bar, after its marked Tools popup, or a
// popup of its own), merged again when the tool folder changes, and owner-drawn with the
// icons of the files the tools open. Without a manager (no tool folder) nothing is merged.
class FrameTools {
 public:
  explicit FrameTools(CAppTools* tools) : m_tools(tools) {}
  FrameTools(const FrameTools&) = delete;
  FrameTools& operator=(const FrameTools&) = delete;
  ~FrameTools();

  CAppTools* Tools() const { return m_tools; }
  // Registers menu (bar: the frame's menu bar, else a popup that the frame's bar holds)
  // and merges the tools in; before the frame is made.
  void Merge(CMenu& menu, bool bar);
  // After the frame is made: its popups are drawn by the manager, with the menu images
  // beside their commands and the tools' icons, and it is told of changes of the tools.
  void Install(CFrameWnd& frame);
  // The frame's handler of "WM_RELOADCOOLMENU": the menu images loaded again.
  void OnReloadMenus();
  // The frame's handler of "WM_MENUCHANGE": the menu merged again.
  void OnMenuChange(CFrameWnd& frame);
  // Before the frame goes.
  void Uninstall();

 private:
  static constexpr const char* kName = "main";
  CAppTools* m_tools;
  HMENU m_menu;  // the popup merged into; null for the bar
  bool m_bar = true;
  CZelMenuManager m_drawing;
  bool m_installed = false;
};

}  // namespace zel_cli
