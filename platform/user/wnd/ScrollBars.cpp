// Scroll bars: their state in the window's record, kept consistent, told to the presenter.
#include "platform/user/wnd/ScrollBars.h"

#include <algorithm>

#include "platform/user/wnd/Presenter.h"
#include "platform/user/wnd/WindowInternal.h"

using zel_wnd_internal::ScrollBarState;

namespace {

bool IsWindowBar(int bar) { return bar == SB_HORZ || bar == SB_VERT; }

// The page within the range's size, the position where the page still fits.
void Clamp(ScrollBarState& s) {
  s.max = std::max(s.max, s.min);
  const long long size = static_cast<long long>(s.max) - s.min + 1;
  s.page = static_cast<UINT>(std::min<long long>(s.page, size));
  const long long last = s.page ? static_cast<long long>(s.max) - s.page + 1 : s.max;
  s.pos = static_cast<int>(std::clamp<long long>(s.pos, s.min, std::max<long long>(last, s.min)));
  if (!s.tracking) s.trackPos = s.pos;
}

// Changes the bar and tells the presenter; false for no such window or bar.
bool ChangeBar(HWND hwnd, int bar, const std::function<void(ScrollBarState&)>& change) {
  if (!IsWindowBar(bar)) return false;
  bool changed = false;
  if (!zel_wnd_internal::Change(hwnd, [&](zel_wnd_internal::WindowRecord& r) {
        ScrollBarState& s = r.scroll[bar];
        const ScrollBarState before = s;
        change(s);
        Clamp(s);
        changed = before.min != s.min || before.max != s.max || before.page != s.page ||
                  before.pos != s.pos;
      }))
    return false;
  if (changed) zel_wnd::CurrentPresenter().ScrollBarChanged(hwnd, bar);
  return true;
}

std::optional<ScrollBarState> BarOf(HWND hwnd, int bar) {
  if (!IsWindowBar(bar)) return std::nullopt;
  auto w = zel_wnd_internal::Find(hwnd);
  if (!w) return std::nullopt;
  return w->scroll[bar];
}

}  // namespace

int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, BOOL) {
  if (!info) return 0;
  int position = 0;
  ChangeBar(hwnd, bar, [&](ScrollBarState& s) {
    if (info->fMask & SIF_RANGE) {
      s.min = info->nMin;
      s.max = info->nMax;
    }
    if (info->fMask & SIF_PAGE) s.page = info->nPage;
    if (info->fMask & SIF_POS) s.pos = info->nPos;
  });
  if (auto s = BarOf(hwnd, bar)) position = s->pos;
  return position;
}

BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info) {
  auto s = BarOf(hwnd, bar);
  if (!s || !info) return FALSE;
  if (info->fMask & SIF_RANGE) {
    info->nMin = s->min;
    info->nMax = s->max;
  }
  if (info->fMask & SIF_PAGE) info->nPage = s->page;
  if (info->fMask & SIF_POS) info->nPos = s->pos;
  if (info->fMask & SIF_TRACKPOS) info->nTrackPos = s->trackPos;
  return TRUE;
}

int SetScrollPos(HWND hwnd, int bar, int position, BOOL) {
  auto before = BarOf(hwnd, bar);
  if (!before) return 0;
  ChangeBar(hwnd, bar, [&](ScrollBarState& s) { s.pos = position; });
  return before->pos;
}

int GetScrollPos(HWND hwnd, int bar) {
  auto s = BarOf(hwnd, bar);
  return s ? s->pos : 0;
}

BOOL SetScrollRange(HWND hwnd, int bar, int min, int max, BOOL) {
  return ChangeBar(hwnd, bar, [&](ScrollBarState& s) {
    s.min = min;
    s.max = max;
  });
}

BOOL GetScrollRange(HWND hwnd, int bar, int* min, int* max) {
  auto s = BarOf(hwnd, bar);
  if (!s || !min || !max) return FALSE;
  *min = s->min;
  *max = s->max;
  return TRUE;
}

namespace zel_wnd {

void TrackScroll(HWND hwnd, int bar, int position, bool tracking) {
  if (!IsWindowBar(bar)) return;
  zel_wnd_internal::Change(hwnd, [&](zel_wnd_internal::WindowRecord& r) {
    ScrollBarState& s = r.scroll[bar];
    // The last position stays the track position until the window sets one: it reads it
    // when the thumb is let go.
    s.tracking = tracking;
    s.trackPos = position;
  });
}

}  // namespace zel_wnd
