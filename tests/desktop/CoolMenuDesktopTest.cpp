// The suite's owner-drawn menus on a real X display (make desktop): a popup opened by a
// click shows each item's image and text on the screen, and the keyboard works them as a
// person would: Alt with a mnemonic opens a menu, the arrows move, Enter runs the command.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QWindow>
#include <algorithm>
#include <filesystem>
#include <map>
#include <string>

#include "layout/DirectoryLayout.h"
#include "platform/qt/QtMenus.h"
#include "platform/qt/QtPresenter.h"
#include "platform/user/fileicons/FileIcons.h"
#include "platform/user/framework/FrameWnd.h"
#include "platform/user/resource/Resources.h"
#include "tests/desktop/RealDisplay.h"
#include "tests/support/PngFixture.h"
#include "tests/support/TestSupport.h"
#include "tests/support/ToolsMenuFrame.h"
#include "tools/AppTools.h"
#include "tools/ZelMenuManager.h"

namespace fs = std::filesystem;
using namespace desktop_test;

namespace {

constexpr UINT IDR_MAIN = 850, ID_OPEN = 57601, ID_SAVE = 57603, ID_CLOSE = 57602;
constexpr uint32_t kOpenRed = 0xFFE02020u, kSaveGreen = 0xFF20B040u;

class MenuFrame : public zel_test::ToolsMenuFrame {
  DECLARE_MESSAGE_MAP()
 public:
  MenuFrame() : ToolsMenuFrame(IDR_MAIN) {}
  UINT lastCommand = 0;
  int commands = 0;

 protected:
  void OnFile(UINT id) {
    lastCommand = id;
    ++commands;
  }
};
BEGIN_MESSAGE_MAP(MenuFrame, zel_test::ToolsMenuFrame)
ON_COMMAND_RANGE(ID_OPEN, ID_SAVE, OnFile)
END_MESSAGE_MAP()

// The colour most of the icon the desktop gives the tool's program shows.
uint32_t ToolIconColour() {
  SHFILEINFO info;
  const auto* list = reinterpret_cast<const CImageList*>(
      SHGetFileInfo("blast.exe", FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                    SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES));
  if (!list || info.iIcon < 0) return 0;
  std::map<uint32_t, int> counts;
  for (uint32_t p : list->Pixels(info.iIcon))
    if ((p >> 24) == 0xFF) ++counts[p];
  const auto most = std::max_element(counts.begin(), counts.end(),
                                     [](auto& a, auto& b) { return a.second < b.second; });
  return most == counts.end() ? 0 : most->first;
}

class CoolMenuDesktopTest : public zel_test::ZelTest {
 protected:
  void SetUp() override {
    zel_qt::InstallPresenter();
    RequireRealDisplay();
    EXEDIR = CZelDirSpec((tmp / "Programs").c_str());
    RecalcEXEDIRDependencies();
    const std::string menu = TOOLSMENUDIR.GetPath();
    fs::create_directories(menu + "/Analyze");
    zel_test::WriteFile(menu + "/Analyze/Blast.tq",
                        "[ToolUnitShortcut]\r\nInputType=0\r\nTarget=~..\\blast.exe\r\n");
    AfxSetBitmapResource(IDR_MAIN,
                         zel_test::ToolbarPng(16, 15, {kOpenRed, kSaveGreen}, 0xFF000000u));
    const UINT ids[] = {ID_OPEN, ID_SAVE};
    AfxSetToolbarResource(IDR_MAIN, 16, 15, ids, 2);

    CMenu bar, file;
    bar.CreateMenu();
    file.CreatePopupMenu();
    file.AppendMenu(MF_STRING, ID_OPEN, "&Open...");
    file.AppendMenu(MF_STRING, ID_CLOSE, "&Close");
    file.AppendMenu(MF_STRING, ID_SAVE, "&Save");
    bar.AppendMenu(MF_POPUP, file.Detach().value, "&File");
    ASSERT_TRUE(frame.Show(manager, menus, bar, "Cool menus", CRect(80, 80, 560, 400)));
    bar_ = zel_qt::MenuBarOf(frame.m_hWnd);
    ASSERT_NE(bar_, nullptr);
    // The keys go where the focus is: the frame, as a person's window would have it.
    QWidget* window = bar_->window();
    window->activateWindow();
    ASSERT_TRUE(ProcessUntil([&] {
      return window->windowHandle() && window->windowHandle()->isExposed() &&
             window->isActiveWindow();
    })) << "the frame never showed or took the focus";
  }
  void TearDown() override {
    if (QWidget* open = QApplication::activePopupWidget()) open->close();
    menus.Install(static_cast<CWnd*>(nullptr));
    frame.DestroyWindow();
    zel_qt::UninstallPresenter();
    EXEDIR.ClearSpec();
    TOOLSDIR.ClearSpec();
    TOOLSMENUDIR.ClearSpec();
  }
  QAction* Title(const QString& text) {
    for (QAction* a : bar_->actions())
      if (a->text() == text) return a;
    return nullptr;
  }
  // Opens a title's popup with a real click.
  QMenu* ClickOpen(const QString& text) {
    QAction* title = Title(text);
    if (!title) return nullptr;
    const QPoint at = bar_->mapToGlobal(bar_->actionGeometry(title).center());
    ClickAt(at);
    QMenu* popup = title->menu();
    if (!ProcessUntil([&] { return popup->isVisible() && !popup->actions().isEmpty(); }))
      return nullptr;
    // Shown is not yet drawn: the first paint has reached the screen once it is exposed.
    ProcessUntil([&] { return popup->windowHandle() && popup->windowHandle()->isExposed(); });
    return popup;
  }
  // The popup as the screen shows it, once it stays the same between two looks.
  static QImage Grabbed(QMenu* popup, const char* name) {
    QImage shot;
    ProcessUntil([&] {
      const QImage now = GrabScreen(popup->geometry());
      const bool steady = now == shot;
      shot = now;
      return steady;
    });
    KeepPicture(shot, name);
    return shot;
  }

  CAppTools manager{CAppTools::kNoWatch};
  CZelMenuManager menus;
  MenuFrame frame;
  QMenuBar* bar_ = nullptr;
};

TEST_F(CoolMenuDesktopTest, OwnerDrawnItemsShowTheirImagesAndTextOnTheScreen) {
  struct Case {
    const char* title;
    int position;
    uint32_t colour;  // of the item's image
    int pixels;       // that many in its cell
    bool exactly;     // a toolbar image's inside, whole and nothing else in that colour
  } cases[] = {{"&File", 0, kOpenRed, 14 * 13, true},
               {"&File", 2, kSaveGreen, 14 * 13, true},
               {"Analyze", 0, ToolIconColour(), 40, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.title) + " item " + std::to_string(c.position));
    QMenu* popup = ClickOpen(c.title);
    ASSERT_NE(popup, nullptr) << "no popup opened";
    QAction* item = popup->actions().value(c.position);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(zel_qt::OwnerDrawnPosition(item->text()), c.position) << "not owner-drawn";
    const std::string picture = "cool-menu-" + QString(c.title).remove('&').toStdString() + "-" +
                                std::to_string(c.position) + ".png";
    const QImage shot = Grabbed(popup, picture.c_str());
    const QRect cell = popup->actionGeometry(item);
    ASSERT_TRUE(shot.rect().contains(cell));
    const QRgb background = shot.pixel(cell.right() - 1, cell.center().y());
    const QRect icon(cell.left(), cell.top(), 20, cell.height());
    ASSERT_NE(c.colour, 0u) << "the desktop has no icon for the tool";
    int coloured = 0;
    for (int y = icon.top(); y <= icon.bottom(); ++y)
      for (int x = icon.left(); x <= icon.right(); ++x)
        coloured += shot.pixel(x, y) == (c.colour | 0xFF000000u);
    if (c.exactly)
      EXPECT_EQ(coloured, c.pixels) << "the image's inside is not on the screen whole";
    else
      EXPECT_GE(coloured, c.pixels) << "the icon is not on the screen";
    const QRect text(cell.left() + 23, cell.top(), cell.width() - 23 - 20, cell.height());
    EXPECT_GT(DrawnPixels(shot, text, background), 20) << "the text cell is empty";
    popup->close();
    ASSERT_TRUE(ProcessUntil([&] { return !popup->isVisible(); }));
  }
}

TEST_F(CoolMenuDesktopTest, AltWithAMnemonicOpensTheMenuArrowsMoveEnterRunsTheCommand) {
  QMenu* popup = Title("&File")->menu();
  PressKeys("alt+f");
  ASSERT_TRUE(ProcessUntil([&] { return popup->isVisible(); })) << "Alt+F opened nothing";
  ASSERT_TRUE(ProcessUntil([&] { return popup->activeAction() != nullptr; }));
  EXPECT_EQ(popup->actions().indexOf(popup->activeAction()), 0);
  PressKeys("Down");
  ASSERT_TRUE(ProcessUntil([&] { return popup->actions().indexOf(popup->activeAction()) == 1; }))
      << "Down did not move to the second item";
  PressKeys("Return");
  ASSERT_TRUE(ProcessUntil([&] { return frame.commands > 0; })) << "Enter ran nothing";
  EXPECT_EQ(frame.lastCommand, ID_CLOSE);
  EXPECT_EQ(frame.commands, 1);
  EXPECT_TRUE(ProcessUntil([&] { return !popup->isVisible(); }));
}

}  // namespace
