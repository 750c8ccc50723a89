// The presenter: whatever puts the window model on a screen. The model tells it what
// changed; it paints windows through PaintWindow, tracks popup menus, and gives devices
// to measure with. Each call comes on the thread of the window concerned.
//
// The headless presenter (the default) shows nothing: it paints invalid windows on the
// fixed-metrics device when asked to update them, and opens and closes popup menus with
// the menu messages as a user who chooses nothing would.
// The Qt backend's presenter (platform/qt) makes widgets: a frame with its menu bar for a
// top-level window, a frameless window that takes no focus for a popup (WS_POPUP with
// WS_EX_NOACTIVATE or WS_EX_TOOLWINDOW), a widget in its parent's client area for a child,
// an MDI area and its sub-windows for an MDI client and its children, each painted through
// the Qt device.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ZelExport.h"
#include "platform/base/types/WinUser.h"
#include "platform/user/gdi/DC.h"

namespace zel_wnd {

class ZEL_API Presenter {
 public:
  virtual ~Presenter() = default;
  // A window now exists (hidden); it is gone.
  virtual void Created(HWND hwnd) = 0;
  virtual void Destroyed(HWND hwnd) = 0;
  virtual void Shown(HWND hwnd, bool visible) = 0;
  // Its rectangle changed (GetWindowRect tells the new one).
  virtual void Moved(HWND hwnd) = 0;
  // SetWindowPos with SWP_FRAMECHANGED: the frame and menu bar are laid out again.
  virtual void FrameChanged(HWND hwnd) = 0;
  virtual void Retitled(HWND hwnd) = 0;
  // A top-level window got another owner (GWLP_HWNDPARENT), or none.
  virtual void OwnerChanged(HWND hwnd) = 0;
  // Some of the client area (all of it for null) needs painting.
  virtual void Invalidated(HWND hwnd, const RECT* rect) = 0;
  // Paints what is invalid now.
  virtual void Update(HWND hwnd) = 0;
  // It was maximised, minimised or restored (IsZoomed and IsIconic tell which); a new
  // rectangle comes with Moved.
  virtual void ShowStateChanged(HWND hwnd) = 0;
  // The keyboard focus went to the window (null: to none of the thread's windows).
  virtual void Focused(HWND hwnd) = 0;
  // The range, page or position of its scroll bar (SB_HORZ, SB_VERT) changed.
  virtual void ScrollBarChanged(HWND hwnd, int bar) = 0;
  // The MDI child became the active one of its frame.
  virtual void MdiActivated(HWND child) = 0;
  // SetMenu gave the window another menu; DrawMenuBar asks for its menu bar anew.
  virtual void MenuChanged(HWND hwnd) = 0;
  virtual void MenuBarRedrawn(HWND hwnd) = 0;
  // Shows the popup at the screen point for owner and answers the command chosen, 0 when
  // none was; the menu messages go to owner as the user works the menu.
  virtual UINT TrackPopupMenu(HMENU menu, UINT flags, POINT at, HWND owner) = 0;
  // A device for measuring outside painting (GetDC).
  virtual std::unique_ptr<CDC> NewDC(HWND hwnd) = 0;
};

class ZEL_API HeadlessPresenter : public Presenter {
 public:
  void Created(HWND) override {}
  void Destroyed(HWND hwnd) override;
  void Shown(HWND, bool) override {}
  void Moved(HWND) override {}
  void FrameChanged(HWND) override {}
  void Retitled(HWND) override {}
  void OwnerChanged(HWND) override {}
  void Invalidated(HWND hwnd, const RECT* rect) override;
  // Paints the invalid part on a fixed-metrics device, so that WM_PAINT handlers run.
  void Update(HWND hwnd) override;
  void ShowStateChanged(HWND) override {}
  void Focused(HWND) override {}
  void ScrollBarChanged(HWND, int) override {}
  void MdiActivated(HWND) override {}
  void MenuChanged(HWND) override {}
  void MenuBarRedrawn(HWND) override {}
  // Nobody chooses: the popup opens (enter menu loop, init popup) and closes; 0.
  UINT TrackPopupMenu(HMENU menu, UINT flags, POINT at, HWND owner) override;
  // A fixed-metrics device.
  std::unique_ptr<CDC> NewDC(HWND hwnd) override;

 protected:
  // Opens the popup, selects command when it is an item of the menu or of its popups
  // (opening those on the way), closes the menu; answers command when it was selected,
  // else 0. For presenters that take the choice from elsewhere.
  static UINT Track(HMENU menu, HWND owner, UINT command);

 private:
  std::mutex m_mutex;
  std::vector<std::pair<HWND, RECT>> m_invalid;
};

// The presenter of the installed integration, else the headless one.
ZEL_API Presenter& CurrentPresenter();
// The headless presenter: the one in use while the integration leaves the family empty.
ZEL_API HeadlessPresenter& DefaultPresenter();

// Paints the window: WM_PAINT is sent with dc as the device BeginPaint hands out and rect
// (client coordinates) as the part to paint. For presenters.
ZEL_API void PaintWindow(HWND hwnd, CDC* dc, const RECT& rect);

// What a presenter tells the model of a drop: the window under the pointer (over) and the
// files dropped there (paths as bytes). FileDropTarget answers the window that takes them:
// over or its nearest parent with WS_EX_ACCEPTFILES (null: none, the drag is refused).
// DropFiles posts WM_DROPFILES to that window, the point in its client coordinates, and
// answers it.
ZEL_API HWND FileDropTarget(HWND over);
ZEL_API HWND DropFiles(HWND over, const std::vector<std::string>& paths, POINT screen);

// The user drags the thumb of the window's scroll bar (tracking), or let it go at position:
// SIF_TRACKPOS answers position until the window sets a position of its own.
ZEL_API void TrackScroll(HWND hwnd, int bar, int position, bool tracking);

}  // namespace zel_wnd
