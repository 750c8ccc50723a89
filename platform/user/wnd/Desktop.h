/// \file
/// The desktop a program's windows appear on, an engine of the integration that the
/// toolkit's set brings (the Qt library's does). A program of its own, such as zel, asks
/// for it to show the window model for real, run the event loop and take pictures of what
/// it shows; without a toolkit there is none.
/// Usage:
/// ```
///   zel_wnd::Desktop* desktop = zel_wnd::CurrentDesktop();
///   if (!desktop) return;            // nothing to show windows with
///   desktop->Present();              // windows made from now on appear
///   frame.Create(...); frame.ShowWindow(SW_SHOW);
///   return desktop->Run();           // until PostQuitMessage
/// ```
#pragma once

#include <string>

#include "ZelExport.h"
#include "platform/base/types/WinUser.h"

namespace zel_wnd {

/// The engine of the desktop the windows appear on.
class ZEL_API Desktop {
 public:
  virtual ~Desktop() = default;
  /// Presents the window model on the calling thread from now on: on the user's display
  /// when there is one, else on an offscreen one that still lays out and paints. With
  /// offscreen, offscreen even where a display is (for pictures), unless the toolkit's
  /// application already runs on the display.
  virtual void Present(bool offscreen = false) = 0;
  /// Runs the event loop, serving the calling thread's queue, until PostQuitMessage;
  /// answers its exit code.
  virtual int Run() = 0;
  /// Saves a PNG picture of the top-level window as it is shown, with the visible popups
  /// it owns (tips, for one) drawn over it where they lie; false with the reason in *error
  /// when the window is not presented or the file cannot be written. The picture's size
  /// goes to *size when given.
  virtual bool SavePicture(HWND hwnd, const std::string& path, std::string* error,
                           SIZE* size = nullptr) = 0;
};

/// The installed integration's desktop, else the toolkit's (its library loaded on first
/// need); null when there is no toolkit.
ZEL_API Desktop* CurrentDesktop();

}  // namespace zel_wnd
