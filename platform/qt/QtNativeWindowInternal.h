// What the presenter asks of a widget's window on the window system itself, below Qt.
#pragma once

#include <QWidget>

#include "platform/base/types/WinTypes.h"

namespace zel_qt {

// Has the window system fill the widget's window with colour wherever the program has not
// painted yet: as it maps, and where it grows. A window shown while the program is busy
// (fonts loading, a long command) is otherwise what lay beneath it, on a bare X desktop a
// black box, until the program gets round to painting. Creates the window; nothing where
// the window system has no such fill (it paints nothing there before the program does).
void FillBeforePainting(QWidget* widget, COLORREF colour);

}  // namespace zel_qt
