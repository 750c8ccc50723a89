// A headless presenter for tests: records every request and answers popup menus from a
// script, sending the menu messages a user's choice would.
#pragma once

#include <deque>
#include <mutex>
#include <vector>

#include "platform/user/wnd/Presenter.h"

namespace zel_test {

class RecordingPresenter : public zel_wnd::HeadlessPresenter {
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
    kPopupTracked,
    kShowStateChanged,
    kFocused,
    kScrollBarChanged,
    kMdiActivated
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
  void Update(HWND hwnd) override;
  void ShowStateChanged(HWND hwnd) override { Note(kShowStateChanged, hwnd); }
  void Focused(HWND hwnd) override { Note(kFocused, hwnd); }
  void ScrollBarChanged(HWND hwnd, int) override { Note(kScrollBarChanged, hwnd); }
  void MdiActivated(HWND hwnd) override { Note(kMdiActivated, hwnd); }
  void MenuChanged(HWND hwnd) override { Note(kMenuChanged, hwnd); }
  void MenuBarRedrawn(HWND hwnd) override { Note(kMenuBarRedrawn, hwnd); }
  // Selects the next scripted choice when the menu or its popups hold it (0: dismissed).
  UINT TrackPopupMenu(HMENU menu, UINT flags, POINT at, HWND owner) override;

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
};

}  // namespace zel_test
