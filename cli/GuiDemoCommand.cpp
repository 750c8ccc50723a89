// zel gui-demo: a frame window with the suite's menus and the installation's tools merged
// in (kept current while the tool folder changes), hover tips over its client area, a
// flashed tip and an information message as a tip, for a person to try on a desktop; or,
// with --screenshot, a picture of itself.
#include <iterator>
#include <string>

#include "cli/Command.h"
#include "cli/LayoutRoots.h"
#include "cli/MenuDescription.h"
#include "cli/Output.h"
#include "cli/frame/FrameSupport.h"
#include "layout/DirectoryLayout.h"
#include "platform/user/app/WinApp.h"
#include "platform/user/framework/CmdUI.h"
#include "platform/user/framework/FrameWnd.h"
#include "platform/user/framework/Menu.h"
#include "platform/user/ui/UiBackend.h"
#include "platform/user/wnd/Message.h"
#include "platform/user/wnd/Window.h"
#include "tools/ToolNode.h"
#include "ui/TipWnd.h"

namespace zel_cli {
namespace {

constexpr UINT ID_FLASH_TIP = 32800, ID_INFORMATION_TIP = 32801, ID_WARNING_BOX = 32802;
constexpr UINT kIdleTimer = 1, kEndTimer = 2;
constexpr UINT kIdleMs = 100;

// The bands of the client area, each with its tip.
struct Band {
  const char* name;
  const char* tip;
  COLORREF color;
};
constexpr Band kBands[] = {
    {"GenBank", "GenBank: a LOCUS line, then FEATURES and ORIGIN", RGB(214, 234, 248)},
    {"EMBL", "EMBL: ID, then FT feature lines and SQ", RGB(213, 245, 227)},
    {"FASTA", "FASTA: a >name line, then the bases", RGB(252, 243, 207)},
};

struct Options {
  LayoutRoots roots;
  PictureOptions picture;
};

class DemoFrame : public CFrameWnd {
  DECLARE_MESSAGE_MAP()
 public:
  DemoFrame(FrameTools& tools, const Options& options) : m_tools(tools), m_options(options) {}
  int status = kOk;

  // The band under a point of the client area; -1 outside.
  int BandAt(POINT p) const {
    CRect client;
    GetClientRect(&client);
    const int height = client.Height() / static_cast<int>(std::size(kBands));
    if (!client.PtInRect(p) || height <= 0) return -1;
    const int band = p.y / height;
    return band < static_cast<int>(std::size(kBands)) ? band : -1;
  }

 protected:
  LRESULT OnCreate(WPARAM, LPARAM) {
    SetTimer(kIdleTimer, kIdleMs);
    if (m_options.picture.quitAfter >= 0)
      SetTimer(kEndTimer, static_cast<UINT>(m_options.picture.quitAfter));
    return 0;
  }
  LRESULT OnPaint(WPARAM, LPARAM) {
    PAINTSTRUCT ps;
    CDC* dc = ::BeginPaint(m_hWnd, &ps);
    if (!dc) return 0;
    CRect client;
    GetClientRect(&client);
    const int height = client.Height() / static_cast<int>(std::size(kBands));
    dc->SetBkMode(TRANSPARENT);
    for (int i = 0; i < static_cast<int>(std::size(kBands)); ++i) {
      CRect band(0, i * height, client.right, (i + 1) * height);
      dc->FillSolidRect(&band, kBands[i].color);
      dc->DrawText(kBands[i].name, -1, &band, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    }
    ::EndPaint(m_hWnd, &ps);
    return 0;
  }
  LRESULT OnTipRequest(WPARAM, LPARAM lParam) {
    auto* request = reinterpret_cast<TIPREQUEST*>(lParam);
    const int band = BandAt(request->point);
    if (band < 0) return 0;
    request->text = kBands[band].tip;
    request->tipId = static_cast<unsigned long>(band) + 1;
    return 1;
  }
  LRESULT OnTimer(WPARAM id, LPARAM) {
    if (id == kIdleTimer) {
      KeepTipsAlive();
    } else if (id == kEndTimer) {
      KillTimer(kEndTimer);
      End();
    }
    return 0;
  }
  LRESULT OnInput(WPARAM, LPARAM) {
    const MSG& msg = zel_wnd::CurrentMessage();
    HideTipIfVisible(&msg);
    return Default();
  }
  LRESULT OnMenuChange(WPARAM, LPARAM) {
    m_tools.OnMenuChange(*this);
    return 0;
  }
  LRESULT OnReloadMenus(WPARAM, LPARAM) {
    m_tools.OnReloadMenus();
    return 0;
  }
  LRESULT OnClose(WPARAM, LPARAM) {
    ::PostQuitMessage(0);
    return 0;
  }
  void OnFlashTip() { FlashTip("Flashed: this stays until a click or another tip"); }
  void OnInformationTip() {
    TipsMessageBox(this, "The sequence was saved.\nThis message goes by itself in 15 s.",
                   "Information as a tip", MB_OK | MB_ICONINFORMATION);
  }
  void OnWarningBox() {
    TipsMessageBox(this, "A warning is never a tip: this is a message box.", "Warning",
                   MB_OK | MB_ICONWARNING);
  }
  void OnTool(UINT id) { m_tools.Tools()->OnZelToolMF(static_cast<int>(id - ZEL_TOOL_ID_BASE)); }
  void OnUpdateTool(CCmdUI* ui) {
    m_tools.Tools()->OnUpdateZelToolMF(ui, static_cast<int>(ui->m_nID - ZEL_TOOL_ID_BASE));
  }

 private:
  // The end of a timed run: the hover tip of the middle band shown, the picture taken.
  void End() {
    if (!m_options.picture.screenshot.empty()) {
      CRect client;
      GetClientRect(&client);
      CPoint at(client.Width() / 3, client.Height() / 2);
      ClientToScreen(&at);
      if (CTipWnd* tip = CTipWnd::GetTipWnd()) tip->TurnOn(this, &at);
      std::string error;
      if (!SaveFramePicture(*this, m_options.picture.screenshot, error)) {
        Message("gui-demo: " + error);
        status = kFailed;
      }
    }
    ::PostQuitMessage(0);
  }

  FrameTools& m_tools;
  const Options& m_options;
};

BEGIN_MESSAGE_MAP(DemoFrame, CFrameWnd)
ON_MESSAGE(WM_CREATE, OnCreate)
ON_MESSAGE(WM_PAINT, OnPaint)
ON_MESSAGE(WM_TIMER, OnTimer)
ON_MESSAGE(WM_LBUTTONDOWN, OnInput)
ON_MESSAGE(WM_RBUTTONDOWN, OnInput)
ON_MESSAGE(WM_KEYDOWN, OnInput)
ON_MESSAGE(WM_CLOSE, OnClose)
ON_REGISTERED_MESSAGE(WM_TIP_REQUEST, OnTipRequest)
ON_REGISTERED_MESSAGE(WM_MENUCHANGE, OnMenuChange)
ON_REGISTERED_MESSAGE(WM_RELOADCOOLMENU, OnReloadMenus)
ON_COMMAND(ID_FLASH_TIP, OnFlashTip)
ON_COMMAND(ID_INFORMATION_TIP, OnInformationTip)
ON_COMMAND(ID_WARNING_BOX, OnWarningBox)
ON_COMMAND_RANGE(ZEL_TOOL_ID_BASE, ZEL_TOOL_ID_BASE + ZEL_MAX_TOOLS, OnTool)
ON_UPDATE_COMMAND_UI_RANGE(ZEL_TOOL_ID_BASE, ZEL_TOOL_ID_BASE + ZEL_MAX_TOOLS, OnUpdateTool)
END_MESSAGE_MAP()

// The suite's menu with a Tips popup before Help, the tools merged in.
HMENU MakeMenu(FrameTools& tools) {
  CMenu bar;
  bar.CreateMenu();
  BuildMenuFrom(kSuiteMenu, "the built-in menu", bar);
  CMenu tips;
  tips.CreatePopupMenu();
  tips.AppendMenu(MF_STRING, ID_FLASH_TIP, "&Flash a Tip");
  tips.AppendMenu(MF_STRING, ID_INFORMATION_TIP, "&Information as a Tip");
  tips.AppendMenu(MF_STRING, ID_WARNING_BOX, "&Warning (a Message Box)");
  const UINT help = bar.GetMenuItemCount() - 1;
  bar.InsertMenu(help, MF_BYPOSITION | MF_POPUP, tips.Detach().value, "T&ips");
  tools.Merge(bar, true);
  return bar.Detach();
}

int GuiDemo(Options& o) {
  if (o.roots.exe.empty() && o.roots.toolsBase.empty())
    o.roots.exe = ExamplesDir() + "/installation/Programs";
  if (!ComputeLayout(o.roots, false, "gui-demo")) return kFailed;
  if (!o.picture.screenshot.empty() && o.picture.quitAfter < 0) o.picture.quitAfter = 1000;
  zel_wnd::Desktop* desktop = StartDesktop();
  if (!desktop) {
    Message("gui-demo: no desktop library to show windows with");
    return kFailed;
  }
  CAppTools manager;
  FrameTools tools(&manager);
  DemoFrame frame(tools, o);
  if (!frame.Create(nullptr, "ZelUtil: tips and tools", WS_OVERLAPPEDWINDOW,
                    CRect(80, 60, 720, 500), nullptr, MakeMenu(tools))) {
    Message("gui-demo: the window could not be made");
    return kFailed;
  }
  tools.Install(frame);
  AfxSetThreadMainWnd(&frame);
  frame.ShowWindow(SW_SHOW);
  SetTipsTimeout(500);
  FlashTip("Rest the pointer on a band for its tip; the Tips menu has more");
  const int code = desktop->Run();
  DestroyTipWind();
  AfxSetThreadMainWnd(nullptr);
  tools.Uninstall();
  frame.DestroyWindow();
  return code == 0 ? frame.status : kFailed;
}

const CommandRegistrar guiDemo(63, [](CLI::App& app) {
  static Options o;
  auto* cmd = app.add_subcommand(
      "gui-demo",
      "A window with the suite's menus and the tools merged in, hover tips over its bands, a "
      "flashed tip and the Tips menu, on the desktop (offscreen without a display)");
  AddPictureOptions(cmd, o.picture);
  AddLayoutRootOptions(cmd, o.roots);
  cmd->callback([] { SetStatus(GuiDemo(o)); });
});

}  // namespace
}  // namespace zel_cli
