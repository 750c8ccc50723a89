// What the desktop suite does as a person at the real display would: pointer and keys
// through XTEST (xdotool), pictures grabbed from the screen, Qt's loop run while waiting.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QImage>
#include <QRect>
#include <QScreen>
#include <QString>
#include <cstdlib>
#include <functional>
#include <string>

#include "tests/support/Wait.h"

namespace desktop_test {

// Runs Qt's event loop between looks.
inline bool ProcessUntil(const std::function<bool()>& done, int ms = 5000) {
  return zel_test::WaitUntil(
      done, [] { QCoreApplication::processEvents(QEventLoop::AllEvents, 20); }, ms);
}

// Runs xdotool with these arguments; its events reach the server before it returns.
inline void XdoTool(const std::string& arguments) {
  const std::string command = "xdotool " + arguments;
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

// xdotool's --sync waits for the pointer to move, which it never does when it is there
// already.
inline void MovePointer(QPoint global) {
  if (QCursor::pos() == global) return;
  XdoTool("mousemove --sync " + std::to_string(global.x()) + " " + std::to_string(global.y()));
}

inline void ClickAt(QPoint global) {
  MovePointer(global);
  XdoTool("click 1");
}

// Keys as xdotool names them ("alt+f", "Down", "Return", "Tab", "Escape"), to the window
// with the keyboard focus.
inline void PressKeys(const std::string& keys) { XdoTool("key --clearmodifiers " + keys); }

inline void TypeText(const std::string& text) { XdoTool("type --delay 20 '" + text + "'"); }

// What the screen shows in a rectangle of global coordinates, as RGB.
inline QImage GrabScreen(const QRect& global) {
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen->grabWindow(0, global.x(), global.y(), global.width(), global.height())
      .toImage()
      .convertToFormat(QImage::Format_RGB32);
}

// Keeps a picture in the folder $ZEL_KEEP_PICTURES names, when it names one, for a person to
// look at.
inline void KeepPicture(const QImage& picture, const char* name) {
  if (const char* keep = std::getenv("ZEL_KEEP_PICTURES"))
    picture.save(QString::fromStdString(std::string(keep) + "/" + name));
}

// Pixels of rect in picture that differ from background.
inline int DrawnPixels(const QImage& picture, const QRect& rect, QRgb background) {
  int drawn = 0;
  const QRect inside = rect.intersected(picture.rect());
  for (int y = inside.top(); y <= inside.bottom(); ++y)
    for (int x = inside.left(); x <= inside.right(); ++x)
      drawn += (picture.pixel(x, y) & 0xFFFFFF) != (background & 0xFFFFFF);
  return drawn;
}

// The suite runs on the display make desktop gives it: offscreen would pass where a
// person sees nothing.
inline void RequireRealDisplay() {
  ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb")) << "run by make desktop";
}

}  // namespace desktop_test
