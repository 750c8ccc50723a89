// Files dropped on a frame on a real X display (make desktop): a helper window of the test
// starts a real QDrag carrying a file's URL when the pointer presses on it, the pointer is
// carried by XTEST (xdotool) onto the frame, and the frame gets WM_DROPFILES with the path.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDrag>
#include <QGuiApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWidget>
#include <QWindow>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "platform/qt/QtPresenter.h"
#include "platform/user/framework/MDIWnd.h"
#include "platform/user/wnd/DragDrop.h"
#include "tests/desktop/RealDisplay.h"
#include "tests/support/DroppedFiles.h"
#include "tests/support/TestSupport.h"
#include "tests/support/Wait.h"

namespace {

using namespace desktop_test;

bool Exposed(QWidget* w) { return w->windowHandle() && w->windowHandle()->isExposed(); }

// Where files come from: a press on it starts a drag of the file, as a file manager's would.
class DragSource : public QWidget {
 public:
  explicit DragSource(QString path) : m_path(std::move(path)) {
    setWindowTitle(QStringLiteral("Drag source"));
  }
  bool started = false;

 protected:
  void mousePressEvent(QMouseEvent*) override {
    started = true;
    auto* drag = new QDrag(this);
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(m_path)});
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction);
  }

 private:
  QString m_path;
};

class DropFrame : public CMDIFrameWnd {
  DECLARE_MESSAGE_MAP()
 public:
  std::vector<std::string> dropped;

 protected:
  void OnDropFiles(HDROP drop) {
    for (std::string& path : zel_test::TakeDroppedFiles(drop)) dropped.push_back(std::move(path));
  }
};
BEGIN_MESSAGE_MAP(DropFrame, CMDIFrameWnd)
ON_WM_DROPFILES()
END_MESSAGE_MAP()

class DropDesktopTest : public zel_test::ZelTest {
 protected:
  void SetUp() override {
    zel_qt::InstallPresenter();
    RequireRealDisplay();
  }
  void TearDown() override {
    frame.DestroyWindow();
    zel_qt::UninstallPresenter();
  }
  DropFrame frame;
};

TEST_F(DropDesktopTest, AFileDraggedOntoTheFrameArrivesAsWmDropFiles) {
  const std::string file = tmp / "x.gb";
  zel_test::WriteFile(file, "LOCUS       X 10 bp    DNA\n//\n");
  ASSERT_TRUE(frame.Create(nullptr, "Drop here", WS_OVERLAPPEDWINDOW, CRect(420, 120, 900, 500)));
  frame.DragAcceptFiles();
  frame.ShowWindow(SW_SHOW);
  DragSource source(QString::fromStdString(file));
  source.setGeometry(80, 140, 160, 120);
  source.show();
  QWidget* target = zel_qt::ClientOf(frame.m_hWndMDIClient);
  ASSERT_NE(target, nullptr);
  ASSERT_TRUE(ProcessUntil([&] { return Exposed(&source) && Exposed(target->window()); }));

  const QPoint from = source.mapToGlobal(source.rect().center());
  const QPoint to = target->mapToGlobal(target->rect().center());
  // The drag runs a loop of its own inside the press: the pointer is driven from beside it.
  std::string command = "xdotool mousemove --sync " + std::to_string(from.x()) + " " +
                        std::to_string(from.y()) + " mousedown 1";
  for (int step = 1; step <= 12; ++step) {
    const QPoint p = from + (to - from) * step / 12;
    command += " mousemove --sync " + std::to_string(p.x()) + " " + std::to_string(p.y());
  }
  command += " mouseup 1";
  int status = -1;
  std::thread pointer([&] { status = std::system(command.c_str()); });
  const bool dropped = ProcessUntil([&] { return !frame.dropped.empty(); }, 15000);
  pointer.join();
  EXPECT_EQ(status, 0) << command;
  EXPECT_TRUE(source.started) << "the press did not reach the helper window";
  ASSERT_TRUE(dropped) << "no WM_DROPFILES";
  EXPECT_EQ(frame.dropped, std::vector<std::string>{file});
}

}  // namespace
