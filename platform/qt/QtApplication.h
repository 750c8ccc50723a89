/// \file
/// The Qt application the Qt backend draws under: the host's when it runs one, else one of
/// our own, made on first need and on Qt's offscreen platform when no display is set.
#pragma once
#include "ZelQtExport.h"

namespace zel_qt {

/// Makes sure a Qt GUI application exists. Without DISPLAY and WAYLAND_DISPLAY (and no
/// QT_QPA_PLATFORM of the user's) it runs on the offscreen platform, so fonts, images and
/// widgets work headless. An application made here lives until the process exits.
ZEL_QT_API void EnsureApplication();

}  // namespace zel_qt
