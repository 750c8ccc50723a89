// zel view's window on a real X display (make desktop), as a person meets it: titled after
// its document, its menu bar's titles where one looks for them, a click on File opening
// File, the documents' lines drawn, and the Tools menu open over two documents (the
// picture the README shows is taken here).
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QToolButton>
#include <QWindow>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "cli/frame/MenuImages.h"
#include "cli/view/MainFrame.h"
#include "layout/DirectoryLayout.h"
#include "platform/qt/QtMenus.h"
#include "platform/qt/QtPresenter.h"
#include "platform/user/app/WinApp.h"
#include "tests/desktop/RealDisplay.h"
#include "tests/support/TestSupport.h"
#include "tests/support/Wait.h"

namespace {

using namespace desktop_test;

class ViewDesktopTest : public zel_test::ZelTest {
 protected:
  void SetUp() override {
    zel_qt::InstallPresenter();
    RequireRealDisplay();
    const std::string examples = std::string(ZEL_SOURCE_DIR) + "/examples";
    EXEDIR = CZelDirSpec((examples + "/installation/Programs").c_str());
    RecalcEXEDIRDependencies();
    tools = std::make_unique<zel_cli::ViewTools>(
        [this](CFrameWnd* f) { return frame->FactsOfFrame(f); },
        [](CFrameWnd* f) {
          auto* doc = dynamic_cast<zel_cli::DocFrame*>(f);
          return doc ? doc->Path() : std::string();
        });
    frame = std::make_unique<zel_cli::MainFrame>(tools.get(), picture);
    ASSERT_TRUE(frame->CreateFrame(zel_cli::Placement{40, 40, 900, 620, SW_SHOWNORMAL}));
    for (const char* name : {"genbank_dna.gbk", "nucleotides.fa"}) {
      std::string error;
      ASSERT_TRUE(frame->OpenDocument(examples + "/sequences/" + name, &error)) << error;
    }
    bar = zel_qt::MenuBarOf(frame->m_hWnd);
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(ProcessUntil([&] {
      return bar->window()->windowHandle() && bar->window()->windowHandle()->isExposed();
    }));
  }
  void TearDown() override {
    frame.reset();
    tools.reset();
    zel_qt::UninstallPresenter();
    EXEDIR.ClearSpec();
    TOOLSDIR.ClearSpec();
    TOOLSMENUDIR.ClearSpec();
  }
  QAction* Title(const QString& text) {
    for (QAction* a : bar->actions())
      if (a->text() == text) return a;
    return nullptr;
  }
  // Clicks a title of the bar; its popup once shown.
  QMenu* Open(const QString& text) {
    QAction* title = Title(text);
    if (!title) return nullptr;
    ClickAt(bar->mapToGlobal(bar->actionGeometry(title).center()));
    QMenu* popup = title->menu();
    return ProcessUntil([&] { return popup->isVisible(); }) ? popup : nullptr;
  }

  zel_cli::PictureOptions picture;
  std::unique_ptr<zel_cli::ViewTools> tools;
  std::unique_ptr<zel_cli::MainFrame> frame;
  QMenuBar* bar = nullptr;
};

TEST_F(ViewDesktopTest, TheWindowIsNamedAfterItsDocumentAndItsTitlesAreVisible) {
  // Named as the window manager shows it: found by its name on the display.
  ASSERT_TRUE(ProcessUntil([] {
    return std::system("xdotool search --onlyvisible --name 'nucleotides.fa' >/dev/null") == 0;
  })) << "no window named after the document on the display";
  EXPECT_TRUE(bar->window()->windowTitle().startsWith("nucleotides.fa"))
      << bar->window()->windowTitle().toStdString();
  // Help > About names the toolkit the window is shown with.
  EXPECT_NE(zel_cli::AboutText().find(std::string("\nQt ") + qVersion()), std::string::npos)
      << zel_cli::AboutText();

  auto* extension = bar->findChild<QToolButton*>(QStringLiteral("qt_menubar_ext_button"));
  ASSERT_NE(extension, nullptr);
  EXPECT_FALSE(extension->isVisible()) << "titles went behind the extension button";
  QStringList titles;
  for (QAction* a : bar->actions()) titles << a->text();
  EXPECT_EQ(titles, (QStringList{"&File", "&Edit", "&Window", "&Tools", "&Help"}));
  const QImage grabbed = GrabScreen(QRect(bar->mapToGlobal(QPoint()), bar->size()));
  ASSERT_FALSE(grabbed.isNull());
  const QRgb background = grabbed.pixel(grabbed.width() - 1, grabbed.height() / 2);
  for (QAction* title : bar->actions()) {
    SCOPED_TRACE(title->text().toStdString());
    const QRect cell = bar->actionGeometry(title);
    EXPECT_TRUE(bar->rect().contains(cell)) << "outside the bar";
    EXPECT_GT(DrawnPixels(grabbed, cell, background), 10)
        << "the title's cell shows the background only";
  }
}

TEST_F(ViewDesktopTest, AClickOnFileOpensItUnderItsTitle) {
  QMenu* file = Open("&File");
  ASSERT_NE(file, nullptr) << "no popup opened";
  const QRect cell = bar->actionGeometry(Title("&File"));
  const QPoint below = bar->mapToGlobal(cell.bottomLeft());
  EXPECT_NEAR(file->geometry().top(), below.y() + 1, 2);
  EXPECT_NEAR(file->geometry().left(), below.x(), 2);
  // Owner-drawn: each action stands for its item of the model, whose text it draws.
  auto* popup = dynamic_cast<zel_qt::PopupMenu*>(file);
  ASSERT_NE(popup, nullptr);
  ASSERT_EQ(file->actions().size(), 6);
  QStringList items;
  for (QAction* a : file->actions()) {
    CString text;
    CMenu::FromHandle(popup->Menu())
        ->GetMenuString(static_cast<UINT>(zel_qt::OwnerDrawnPosition(a->text())), text,
                        MF_BYPOSITION);
    items << QString::fromUtf8(text.GetString()).section('\t', 0, 0);
  }
  EXPECT_EQ(items, (QStringList{"&Open...", "&Reload", "Recent &Files", "", "&Close", "E&xit"}));
  file->close();
}

TEST_F(ViewDesktopTest, TheDocumentsLinesAreDrawn) {
  zel_cli::DocFrame* doc = dynamic_cast<zel_cli::DocFrame*>(frame->MDIGetActive());
  ASSERT_NE(doc, nullptr);
  QWidget* view = zel_qt::ClientOf(doc->View().m_hWnd);
  ASSERT_NE(view, nullptr) << "the view has no widget on the display";
  ASSERT_TRUE(ProcessUntil([&] { return view->isVisible() && view->width() > 100; }));
  const int rows = doc->View().Rows();
  // Each of the first rows holds a line of the file: ink in every row band.
  ASSERT_TRUE(ProcessUntil([&] {
    const QImage shot = GrabScreen(QRect(view->mapToGlobal(QPoint()), view->size()));
    const QRgb background = shot.pixel(shot.width() - 1, shot.height() - 1);
    const int band = view->height() / rows;
    for (int row = 0; row < 3; ++row)
      if (DrawnPixels(shot, QRect(0, row * band, shot.width() / 2, band), background) < 20)
        return false;
    return true;
  })) << "the lines of the document are not on the screen";
}

TEST_F(ViewDesktopTest, KeysTypedOnTheDocumentMoveItsView) {
  // The GenBank document, in a window too low for its lines.
  frame->SendMessage(WM_COMMAND, 0xFF00);
  zel_cli::DocFrame* doc = dynamic_cast<zel_cli::DocFrame*>(frame->MDIGetActive());
  ASSERT_NE(doc, nullptr);
  ASSERT_EQ(doc->Name(), "genbank_dna.gbk");
  doc->MoveWindow(0, 0, 420, 160);
  ASSERT_TRUE(ProcessUntil([&] { return !doc->Doc().State().counting; }));
  ASSERT_LT(doc->View().Rows(), doc->Doc().State().lines);
  QWidget* view = zel_qt::ClientOf(doc->View().m_hWnd);
  ASSERT_NE(view, nullptr);
  ASSERT_TRUE(ProcessUntil([&] { return view->isVisible() && view->height() < 160; }));
  ClickAt(view->mapToGlobal(QPoint(view->width() / 3, 5)));
  ASSERT_EQ(std::system("xdotool key ctrl+End"), 0);
  const auto tail = doc->Doc().LinesBefore(doc->Doc().ContentEnd(), doc->View().Rows());
  ASSERT_FALSE(tail.empty());
  EXPECT_TRUE(ProcessUntil([&] { return doc->View().Top() == tail.front().start; }))
      << "Ctrl+End did not reach the view";
  ASSERT_EQ(std::system("xdotool key ctrl+Home"), 0);
  EXPECT_TRUE(ProcessUntil([&] { return doc->View().Top() == 0; }));
}

TEST_F(ViewDesktopTest, TheToolsMenuOverTwoDocuments) {
  // Side by side, both documents show.
  frame->SendMessage(WM_COMMAND, zel_cli::ID_WINDOW_TILE);
  QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  QMenu* menu = Open("&Tools");
  ASSERT_NE(menu, nullptr);
  QStringList items;
  for (QAction* a : menu->actions()) items << a->text();
  EXPECT_GE(items.size(), 3) << items.join(", ").toStdString();
  // The frame with the open menu over it, as a person sees it.
  ASSERT_TRUE(ProcessUntil([&] { return menu->isVisible() && menu->width() > 20; }));
  QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  const QRect area = bar->window()->frameGeometry().united(menu->geometry());
  const QImage shot = GrabScreen(area);
  ASSERT_FALSE(shot.isNull());
  const QRect popup = menu->geometry().translated(-area.topLeft());
  EXPECT_GT(DrawnPixels(shot, popup, shot.pixel(popup.right() - 2, popup.bottom() - 2)), 200)
      << "the open menu is not on the screen";
  const char* keep = std::getenv("ZEL_VIEW_PICTURE");
  const std::string path =
      keep && *keep ? keep
                    : std::filesystem::path(ZEL_BINARY).parent_path().string() + "/zel-view.png";
  EXPECT_TRUE(shot.save(QString::fromStdString(path))) << path;
  menu->close();
}

}  // namespace
