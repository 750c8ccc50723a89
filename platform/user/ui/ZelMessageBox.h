/// \file
/// The suite's message boxes: owned by a window, by the application's main window, or
/// with the suite's own caption. They go through the user-interface backend.
#pragma once

#include "ZelExport.h"
#include "platform/user/framework/Wnd.h"
#include "platform/user/ui/UiBackend.h"

/// The caption of message boxes that name none.
inline constexpr const char* ZEL_MESSAGE_CAPTION = "Quillion";

/// Owned by parent (no owner when null); a null caption shows the application's name.
/// helpId is accepted for the callers' sake and not used. Answers the button chosen.
ZEL_API int ZelMessageBox(CWnd* parent, const char* text, const char* caption, UINT type = MB_OK,
                          UINT helpId = 0);
/// Owned by the application's main window.
ZEL_API int ZelMessageBox(const char* text, const char* caption, UINT type = MB_OK,
                          UINT helpId = 0);
/// With the caption "Quillion".
ZEL_API int ZelMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);
/// The text of a string resource, with the caption "Quillion".
ZEL_API int ZelMessageBox(unsigned stringId, UINT type = MB_OK, UINT helpId = 0);
