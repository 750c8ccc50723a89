// The presenter: whatever puts the window model on a screen. The model tells it what
// changed; it paints windows through PaintWindow, tracks popup menus, and gives devices
// to measure with. Each call comes on the thread of the window concerned.
//
// The headless presenter (the default) shows nothing: it keeps a record of the requests,
// paints invalid windows on the fixed-metrics device when asked to update them, and
// answers popup menus from a script, sending the menu messages a user's choice would.
// The Qt backend's presenter (platform/qt) makes widgets: a frame with its menu bar for a
// top-level window, a frameless window that takes no focus for a popup (WS_POPUP with
// WS_EX_NOACTIVATE or WS_EX_TOOLWINDOW), each painted through the Qt device.
#pragma once

#include <deque>
#include <memory>
#include <mutex>
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
  enum Kind {
    kCreated,
    kDestroyed,
    kShown,
    kHidden,
    kMoved,
    kFrameChanged,
    kRetitled,
    kOwnerChanged,
    kInvalidated,
    kUpdated,
    kMenuChanged,
    kMenuBarRedrawn,
    kPopupTracked
  };
  struct Request {
    Kind kind;
    HWND hwnd;
  };

  void Created(HWND hwnd) override { Note(kCreated, hwnd); }
  void Destroyed(HWND hwnd) override;
  void Shown(HWND hwnd, bool visible) override { Note(visible ? kShown : kHidden, hwnd); }
  void Moved(HWND hwnd) override { Note(kMoved, hwnd); }
  void FrameChanged(HWND hwnd) override { Note(kFrameChanged, hwnd); }
  void Retitled(HWND hwnd) override { Note(kRetitled, hwnd); }
  void OwnerChanged(HWND hwnd) override { Note(kOwnerChanged, hwnd); }
  void Invalidated(HWND hwnd, const RECT* rect) override;
  // Paints the invalid part on a fixed-metrics device, so that WM_PAINT handlers run.
  void Update(HWND hwnd) override;
  void MenuChanged(HWND hwnd) override { Note(kMenuChanged, hwnd); }
  void MenuBarRedrawn(HWND hwnd) override { Note(kMenuBarRedrawn, hwnd); }
  // Opens the popup (enter menu loop, init popup), selects the scripted choice when it
  // is an item of the menu or of its popups, closes the menu and answers the choice; no
  // scripted choice answers 0 after opening and closing.
  UINT TrackPopupMenu(HMENU menu, UINT flags, POINT at, HWND owner) override;
  // A fixed-metrics device.
  std::unique_ptr<CDC> NewDC(HWND hwnd) override;

  // Commands the next popup menus choose, in order (0: dismissed).
  void ScriptPopupChoice(UINT command);
  // How many requests of the kind came for the window (any window for a null one).
  int Count(Kind kind, HWND hwnd = HWND()) const;
  std::vector<Request> Requests() const;
  void Clear();

 private:
  void Note(Kind kind, HWND hwnd);

  mutable std::mutex m_mutex;
  std::vector<Request> m_requests;
  std::deque<UINT> m_choices;
  std::vector<std::pair<HWND, RECT>> m_invalid;
};

// The presenter in use (a headless one unless another was installed).
ZEL_API Presenter& CurrentPresenter();
// Installs a presenter (null: back to the headless one); answers the previous one.
ZEL_API Presenter* SetPresenter(Presenter* presenter);
// The headless presenter that stands in while no other is installed.
ZEL_API HeadlessPresenter& DefaultPresenter();

// Paints the window: WM_PAINT is sent with dc as the device BeginPaint hands out and rect
// (client coordinates) as the part to paint. For presenters.
ZEL_API void PaintWindow(HWND hwnd, CDC* dc, const RECT& rect);

}  // namespace zel_wnd
