/// \file
/// The scroll bars of a window with WS_VSCROLL or WS_HSCROLL (SB_VERT, SB_HORZ): a range,
/// a page and a position each, which the window's owner keeps and the presenter shows. The
/// user's actions on a bar arrive as WM_VSCROLL / WM_HSCROLL with an SB_ request code in
/// the low word of wParam (the thumb's position in the high word for SB_THUMBTRACK and
/// SB_THUMBPOSITION, cut to 16 bits: SIF_TRACKPOS answers it whole); the window then moves
/// the position itself. Positions are int: a window showing more than that scales its own
/// position onto the range.
///
/// A window with the style shows its bar whatever the range (the presenter's bar then has
/// nothing to move); a window without it keeps the state all the same.
///
/// The page is kept within the range's size (max - min + 1) and the position within min
/// and max - page + 1 (max for no page). Bars of scroll-bar controls (SB_CTL) are not kept:
/// the calls answer 0 or FALSE for them.
#pragma once

#include "ZelExport.h"
#include "platform/base/types/WinUser.h"

/// Takes the parts fMask names; answers the position after.
ZEL_API int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, BOOL redraw);
/// Fills the parts fMask names.
ZEL_API BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info);
/// Answers the previous position.
ZEL_API int SetScrollPos(HWND hwnd, int bar, int position, BOOL redraw);
/// A scroll bar's position and range, read and set.
///@{
ZEL_API int GetScrollPos(HWND hwnd, int bar);
ZEL_API BOOL SetScrollRange(HWND hwnd, int bar, int min, int max, BOOL redraw);
ZEL_API BOOL GetScrollRange(HWND hwnd, int bar, int* min, int* max);
///@}
