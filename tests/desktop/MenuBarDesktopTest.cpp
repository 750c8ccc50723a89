// A frame's menu bar on a real X display (make desktop): every title of the suite's merged
// bar is where a person looks for it, none behind the extension button, and a click on a
// title (a real pointer event through XTEST) opens its popup under it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QToolButton>
#include <QWindow>
#include <cstdlib>
#include <string>

#include "platform/qt/QtPresenter.h"
#include "platform/user/framework/FrameWnd.h"
#include "platform/user/framework/Menu.h"
#include "tests/desktop/RealDisplay.h"
#include "tests/support/TestSupport.h"
#include "tests/support/Wait.h"

namespace {

using namespace desktop_test;

class MenuBarDesktopTest : public zel_test::ZelTest {
 protected:
  void SetUp() override {
    zel_qt::InstallPresenter();
    RequireRealDisplay();
    CMenu bar;
    bar.CreateMenu();
    for (const char* title :
         {"&File", "&Edit", "&View", "&Tools", "&Analyze", "&Window", "&Help"}) {
      CMenu popup;
      popup.CreatePopupMenu();
      popup.AppendMenu(MF_STRING, 40000 + bar.GetMenuItemCount(), "&Something...");
      bar.AppendMenu(MF_POPUP, popup.Detach().value, title);
    }
    ASSERT_TRUE(frame.Create(nullptr, "Menus", WS_OVERLAPPEDWINDOW, CRect(60, 60, 700, 420),
                             nullptr, bar.Detach()));
    frame.ShowWindow(SW_SHOW);
    menuBar = zel_qt::MenuBarOf(frame.m_hWnd);
    ASSERT_NE(menuBar, nullptr);
    ASSERT_TRUE(ProcessUntil([&] {
      return menuBar->window()->windowHandle() && menuBar->window()->windowHandle()->isExposed();
    }));
  }
  void TearDown() override {
    frame.DestroyWindow();
    zel_qt::UninstallPresenter();
  }

  CFrameWnd frame;
  QMenuBar* menuBar = nullptr;
};

TEST_F(MenuBarDesktopTest, EveryTitleIsVisibleAndDrawnNoneBehindTheExtension) {
  auto* extension = menuBar->findChild<QToolButton*>(QStringLiteral("qt_menubar_ext_button"));
  ASSERT_NE(extension, nullptr);
  EXPECT_FALSE(extension->isVisible()) << "titles went behind the extension button";
  const QImage grabbed =
      menuBar->screen()
          ->grabWindow(menuBar->window()->winId(), menuBar->mapTo(menuBar->window(), QPoint()).x(),
                       menuBar->mapTo(menuBar->window(), QPoint()).y(), menuBar->width(),
                       menuBar->height())
          .toImage();
  ASSERT_FALSE(grabbed.isNull());
  if (const char* keep = std::getenv("ZEL_KEEP_PICTURES"))
    grabbed.save(QString::fromStdString(std::string(keep) + "/menu-bar.png"));
  const QRgb background = grabbed.pixel(grabbed.width() - 1, grabbed.height() / 2);
  ASSERT_EQ(menuBar->actions().size(), 7);
  for (QAction* title : menuBar->actions()) {
    SCOPED_TRACE(title->text().toStdString());
    const QRect cell = menuBar->actionGeometry(title);
    EXPECT_TRUE(menuBar->rect().contains(cell)) << "outside the bar";
    int drawn = 0;
    for (int y = cell.top(); y <= cell.bottom() && y < grabbed.height(); ++y)
      for (int x = cell.left(); x <= cell.right() && x < grabbed.width(); ++x)
        drawn += grabbed.pixel(x, y) != background;
    EXPECT_GT(drawn, 10) << "the title's cell shows the background only";
  }
}

TEST_F(MenuBarDesktopTest, AClickOnATitleOpensItsPopupUnderIt) {
  QAction* file = menuBar->actions().value(0);
  ASSERT_NE(file, nullptr);
  const QRect cell = menuBar->actionGeometry(file);
  ClickAt(menuBar->mapToGlobal(cell.center()));
  QMenu* popup = file->menu();
  ASSERT_TRUE(ProcessUntil([&] { return popup->isVisible(); })) << "no popup opened";
  const QPoint below = menuBar->mapToGlobal(cell.bottomLeft());
  EXPECT_NEAR(popup->geometry().top(), below.y() + 1, 2);
  EXPECT_NEAR(popup->geometry().left(), below.x(), 2);
  popup->close();
}

}  // namespace
