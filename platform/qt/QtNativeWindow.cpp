// The window's own fill on X: its background pixel, which the server paints at once.
#include <xcb/xcb.h>

#include <QGuiApplication>

#include "platform/qt/QtNativeWindowInternal.h"

namespace zel_qt {

void FillBeforePainting(QWidget* widget, COLORREF colour) {
  const auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11 || !x11->connection()) return;
  // Qt's windows on X are true-colour: the pixel is the colour's bits.
  const uint32_t pixel =
      (uint32_t{GetRValue(colour)} << 16) | (uint32_t{GetGValue(colour)} << 8) | GetBValue(colour);
  xcb_change_window_attributes(x11->connection(), static_cast<xcb_window_t>(widget->winId()),
                               XCB_CW_BACK_PIXEL, &pixel);
}

}  // namespace zel_qt
