/// \file
/// The menu calls that involve a window: a popup tracked for it, its system menu.
#pragma once

#include "ZelExport.h"
#include "platform/base/types/WinUser.h"

/// Shows the popup for the window through the presenter. With TPM_RETURNCMD the chosen
/// command is answered; otherwise it is posted to hwnd as WM_COMMAND and the answer says
/// whether one was chosen.
ZEL_API BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND hwnd,
                            const RECT* rect);
/// The window's system menu (restore, move, size, minimize, maximize, close), made on
/// first use; revert TRUE puts back the standard one and answers null.
ZEL_API HMENU GetSystemMenu(HWND hwnd, BOOL revert);
