// What every engine of a family must do, written once and run over every engine of the
// family: the headless and test engines in tests/platform, the Qt engines in tests/qt.
// Include it in one test file of a program and instantiate each family with its engines:
//   INSTANTIATE_TEST_SUITE_P(Headless, SystemValuesContract,
//       testing::Values(zel_test::Engine<zel_system::SystemValues>{"Fixed", ...}),
//       zel_test::EngineName());
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <ostream>
#include <string>
#include <thread>

#include "platform/os/engines/OsEngines.h"
#include "platform/user/fileicons/FileIcons.h"
#include "platform/user/gdi/PictureBackend.h"
#include "platform/user/input/Input.h"
#include "platform/user/resource/KeyNames.h"
#include "platform/user/resource/Png.h"
#include "platform/user/system/SystemValues.h"
#include "platform/user/ui/UiBackend.h"
#include "platform/user/wnd/Desktop.h"
#include "platform/user/wnd/Presenter.h"
#include "platform/user/wnd/Window.h"
#include "tests/support/EngineName.h"
#include "tests/support/IntegrationScope.h"
#include "tests/support/TestSupport.h"
#include "tests/support/Wait.h"

namespace zel_test {

// One engine of a family: made (or found) when the test starts, living past it.
template <typename E>
struct Engine {
  std::string name;
  std::function<E*()> make;
  // Lets the engine's own event loop run while a test waits (Qt's); the model's queue is
  // pumped anyway.
  std::function<void()> pump = [] {};
  // Puts back what using the engine changed beyond the installed set.
  std::function<void()> finish = [] {};
};

template <typename E>
void PrintTo(const Engine<E>& engine, std::ostream* os) {
  *os << engine.name;
}

template <typename E>
class EngineContract : public testing::TestWithParam<Engine<E>> {
 protected:
  void SetUp() override {
    engine = this->GetParam().make();
    ASSERT_NE(engine, nullptr);
  }
  void TearDown() override { this->GetParam().finish(); }
  bool Until(const std::function<bool()>& done) {
    return PumpUntil([&] {
      this->GetParam().pump();
      return done();
    });
  }
  E* engine = nullptr;
  TempDir tmp;
};

inline std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// ---- presenter ----

// A window's paints, as BeginPaint hands them out.
struct Paints {
  static inline std::atomic<int> count{0};
  static inline RECT last{};
  static LRESULT Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProc(hwnd, message, wParam, lParam);
    PAINTSTRUCT ps;
    if (BeginPaint(hwnd, &ps)) {
      last = ps.rcPaint;
      ++count;
    }
    EndPaint(hwnd, &ps);
    return 0;
  }
};

using PresenterContract = EngineContract<zel_wnd::Presenter>;

TEST_P(PresenterContract, AShownWindowInvalidatedAndUpdatedIsPaintedOnADevice) {
  IntegrationScope scope;
  scope.Use(engine);
  Paints::count = 0;
  HWND h = CreateWindowEx(0, "", "contract", WS_POPUP, 30, 40, 120, 60, HWND(), HMENU(),
                          &Paints::Proc, nullptr);
  ASSERT_TRUE(h);
  ShowWindow(h, SW_SHOWNOACTIVATE);
  InvalidateRect(h, nullptr, TRUE);
  UpdateWindow(h);
  EXPECT_TRUE(Until([] { return Paints::count > 0; }));
  // The whole client area was invalid: the part to paint covers it.
  EXPECT_LE(Paints::last.left, 0);
  EXPECT_LE(Paints::last.top, 0);
  EXPECT_GE(Paints::last.right, 120);
  EXPECT_GE(Paints::last.bottom, 60);
  DestroyWindow(h);
}

TEST_P(PresenterContract, ItsDeviceMeasuresText) {
  IntegrationScope scope;
  scope.Use(engine);
  HWND h = CreateWindowEx(0, "", "contract", WS_POPUP, 0, 0, 50, 50, HWND(), HMENU(),
                          &DefWindowProc, nullptr);
  std::unique_ptr<CDC> dc = engine->NewDC(h);
  ASSERT_NE(dc, nullptr);
  SIZE one{}, two{};
  ASSERT_TRUE(dc->GetTextExtentPoint("W", 1, &one));
  ASSERT_TRUE(dc->GetTextExtentPoint("WW", 2, &two));
  EXPECT_GT(one.cx, 0);
  EXPECT_GT(one.cy, 0);
  EXPECT_GT(two.cx, one.cx);
  TEXTMETRIC tm{};
  ASSERT_TRUE(dc->GetTextMetrics(&tm));
  EXPECT_GT(tm.tmHeight, 0);
  DestroyWindow(h);
}

// ---- desktop ----

using DesktopContract = EngineContract<zel_wnd::Desktop>;

TEST_P(DesktopContract, APresentedWindowsPictureIsAPngOfItsSize) {
  IntegrationScope scope;
  engine->Present(true);
  HWND h = CreateWindowEx(0, "", "contract", WS_OVERLAPPEDWINDOW, 10, 10, 200, 120, HWND(), HMENU(),
                          &DefWindowProc, nullptr);
  ShowWindow(h, SW_SHOWNOACTIVATE);
  UpdateWindow(h);
  const std::string path = tmp / "window.png";
  std::string error;
  SIZE size{};
  ASSERT_TRUE(engine->SavePicture(h, path, &error, &size)) << error;
  EXPECT_GT(size.cx, 0);
  EXPECT_GT(size.cy, 0);
  zel_resource::Image image;
  ASSERT_FALSE(zel_resource::DecodePng(ReadAll(path), image));
  EXPECT_EQ(image.width, size.cx);
  EXPECT_EQ(image.height, size.cy);
  DestroyWindow(h);
  // A window that is gone has no picture, and the reason says so.
  error.clear();
  EXPECT_FALSE(engine->SavePicture(h, tmp / "gone.png", &error));
  EXPECT_FALSE(error.empty());
}

// ---- user-interface backend ----

using UiBackendContract = EngineContract<UiBackend>;

TEST_P(UiBackendContract, NobodyAnsweringAMessageBoxGivesItsDefaultButton) {
  const UINT types[] = {MB_OK,          MB_OKCANCEL | MB_DEFBUTTON2,
                        MB_YESNO,       MB_YESNOCANCEL | MB_DEFBUTTON3,
                        MB_RETRYCANCEL, MB_ABORTRETRYIGNORE | MB_DEFBUTTON2 | MB_ICONWARNING};
  for (UINT type : types) {
    SCOPED_TRACE(type);
    testing::internal::CaptureStderr();  // the console's line
    const int answer = engine->MessageBox(MessageBoxRequest{"text", "caption", type, HWND()});
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(answer, DefaultMessageBoxAnswer(type));
  }
}

TEST_P(UiBackendContract, NobodyAnsweringAChooserCancelsIt) {
  CString folder;
  FolderDialogRequest where;
  where.title = "Where";
  where.initialDir = tmp.str().c_str();
  EXPECT_FALSE(engine->BrowseForFolder(where, folder));
  FileDialogRequest open;
  open.filter = "Text (*.txt)|*.txt||";
  FileDialogResult result;
  EXPECT_FALSE(engine->FileDialog(open, result));
}

TEST_P(UiBackendContract, TheClipboardGivesBackWhatWasSet) {
  ASSERT_EQ(engine->SetClipboardText("ATG clip"), ZelClipboard::Ok);
  CString text;
  ASSERT_EQ(engine->GetClipboardText(text), ZelClipboard::Ok);
  EXPECT_EQ(text, "ATG clip");
}

// ---- picture backend ----

using PictureBackendContract = EngineContract<PictureBackend>;

TEST_P(PictureBackendContract, APngReadsBackAtTheSizeAsked) {
  const std::string path = tmp / "picture.png";
  std::string error;
  std::unique_ptr<Picture> picture = engine->NewPicture(path, 37, 23, &error);
  ASSERT_NE(picture, nullptr) << error;
  ASSERT_NE(picture->Device(), nullptr);
  picture->Device()->TextOut(2, 2, "ATG", 3);
  ASSERT_TRUE(picture->Finish(&error)) << error;
  zel_resource::Image image;
  ASSERT_FALSE(zel_resource::DecodePng(ReadAll(path), image));
  EXPECT_EQ(image.width, 37);
  EXPECT_EQ(image.height, 23);
}

TEST_P(PictureBackendContract, ItKnowsItsFormatsAndSaysWhyAFileCannotBeWritten) {
  EXPECT_TRUE(engine->CanWrite("line.PNG"));
  EXPECT_FALSE(engine->CanWrite("line.xyz"));
  std::string error;
  std::unique_ptr<Picture> picture =
      engine->NewPicture(tmp / "missing/folder/line.png", 10, 10, &error);
  const bool written = picture && picture->Finish(&error);
  EXPECT_FALSE(written);
  EXPECT_FALSE(error.empty());
  // An image in memory needs no file.
  picture = engine->NewPicture("", 10, 10, &error);
  ASSERT_NE(picture, nullptr) << error;
  EXPECT_TRUE(picture->Finish(&error)) << error;
}

// ---- system values ----

using SystemValuesContract = EngineContract<zel_system::SystemValues>;

TEST_P(SystemValuesContract, SizesArePositiveAndFitTheScreen) {
  for (int index : {SM_CXSCREEN, SM_CYSCREEN, SM_CXFULLSCREEN, SM_CYFULLSCREEN, SM_CYCAPTION,
                    SM_CXBORDER, SM_CXEDGE, SM_CXICON, SM_CXSMICON, SM_CYMENU, SM_CXMENUSIZE,
                    SM_CXMENUCHECK, SM_CYMENUCHECK}) {
    SCOPED_TRACE(index);
    EXPECT_GT(engine->Metric(index), 0);
  }
  EXPECT_LE(engine->Metric(SM_CXFULLSCREEN), engine->Metric(SM_CXSCREEN));
  EXPECT_LE(engine->Metric(SM_CYFULLSCREEN), engine->Metric(SM_CYSCREEN));
  EXPECT_LT(engine->Metric(SM_CXSMICON), engine->Metric(SM_CXICON));
  EXPECT_EQ(engine->Metric(9999), 0);
  EXPECT_EQ(engine->Color(-1), 0u);
  EXPECT_EQ(engine->Color(1000), 0u);
}

TEST_P(SystemValuesContract, EverySystemFontHasAFaceAndAHeight) {
  using zel_system::Font;
  for (Font font : {Font::Menu, Font::IconTitle, Font::Caption, Font::Status, Font::Message}) {
    SCOPED_TRACE(static_cast<int>(font));
    const LOGFONT lf = engine->SystemFont(font);
    EXPECT_GT(std::strlen(lf.lfFaceName), 0u);
    EXPECT_NE(lf.lfHeight, 0);
  }
}

TEST_P(SystemValuesContract, TheInformationIconIsSquareAndShows) {
  for (int size : {16, 32}) {
    SCOPED_TRACE(size);
    const std::vector<uint32_t> pixels =
        engine->IconPixels(zel_system::StockIcon::Information, size);
    ASSERT_EQ(pixels.size(), static_cast<size_t>(size * size));
    EXPECT_TRUE(std::any_of(pixels.begin(), pixels.end(), [](uint32_t p) { return p >> 24; }));
  }
}

// ---- input ----

using InputContract = EngineContract<zel_input::Input>;

TEST_P(InputContract, APointerMovedIsWhereItWasPut) {
  const POINT before = engine->CursorPos();
  if (!engine->SetCursorPos(POINT{37, 21})) GTEST_SKIP() << "the platform keeps the pointer";
  EXPECT_TRUE(Until([&] {
    const POINT p = engine->CursorPos();
    return p.x == 37 && p.y == 21;
  }));
  engine->SetCursorPos(before);
}

TEST_P(InputContract, UnattendedNothingIsHeldAndTheClockNeverGoesBack) {
  for (int key : {int{VK_LBUTTON}, int{VK_RBUTTON}, int{VK_MBUTTON}, int{VK_SHIFT}, 0x7FFF}) {
    SCOPED_TRACE(key);
    EXPECT_FALSE(engine->IsDown(key));
  }
  const DWORD first = engine->TickCount();
  const DWORD second = engine->TickCount();
  EXPECT_LT(static_cast<DWORD>(second - first), 1000u);  // the wrap taken into account
}

// ---- file icons ----

using FileIconsContract = EngineContract<zel_shell::FileIconProvider>;

TEST_P(FileIconsContract, TheSameNameGivesTheSameIndexAndTheListHoldsIt) {
  struct Case {
    const char* name;
    bool folder;
  } cases[] = {{"notes.txt", false},    {"seq.gb", false},  {"page.html", false},
               {"no-extension", false}, {"odd.zzq", false}, {"Documents", true}};
  for (bool small : {true, false}) {
    CImageList* list = engine->ImageList(small);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Width(), small ? 16 : 32);
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (small ? " small" : " large"));
      const int index = engine->IconIndex(c.name, c.folder, small);
      EXPECT_EQ(engine->IconIndex(c.name, c.folder, small), index);
      EXPECT_GE(index, -1);
      EXPECT_LT(index, engine->ImageList(small)->GetImageCount());
    }
  }
  EXPECT_FALSE(engine->TypeName("notes.txt", false).empty());
  EXPECT_FALSE(engine->TypeName("Documents", true).empty());
  EXPECT_NE(engine->TypeName("notes.txt", false), engine->TypeName("Documents", true));
}

// ---- failure reporter ----

// A reporter and how to read what reached it: the installed one, or stderr for none.
struct Reporter {
  std::string name;
  zel_os::FailureReporter* reporter;  // null: the system's (a line on stderr)
  std::function<std::string()> reported;
};

inline void PrintTo(const Reporter& reporter, std::ostream* os) { *os << reporter.name; }

class FailureReporterContract : public testing::TestWithParam<Reporter> {};

TEST_P(FailureReporterContract, AReportFromAnyThreadArrivesWholeOnce) {
  IntegrationScope scope;
  scope.Use(GetParam().reporter);
  testing::internal::CaptureStderr();
  std::thread other([] { zel_os::ReportFailure("the scan of /data failed: no access"); });
  other.join();
  const std::string stderrText = testing::internal::GetCapturedStderr();
  const std::string got = GetParam().reporter ? GetParam().reported() : stderrText;
  EXPECT_EQ(got, "the scan of /data failed: no access\n");
}

}  // namespace zel_test
