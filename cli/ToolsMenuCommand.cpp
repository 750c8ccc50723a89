// zel tools menu and zel tools watch: the installation's tools merged into an application
// menu, once or on every change of the tool folder.
//
// A menu description (read from a file, and printed by --json) is a JSON array of items
// {"text", "id", "state", "separator", "popup"}: state holds 1 (grayed), 2 (disabled) and
// 8 (checked); popup, an array of items, only on popups, whose id is 0; a separator has
// empty text. Texts are the menu's bytes, each as the code point of the same number.
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "cli/Command.h"
#include "cli/LayoutRoots.h"
#include "cli/MenuDescription.h"
#include "cli/Output.h"
#include "layout/DirectoryLayout.h"
#include "platform/os/console/Console.h"
#include "platform/user/framework/FrameWnd.h"
#include "platform/user/framework/Menu.h"
#include "platform/user/wnd/Message.h"
#include "tools/AppTools.h"

namespace zel_cli {
namespace {

constexpr const char* kMenuName = "main";

Json Describe(CMenu& menu) {
  Json items = Json::array();
  const int count = static_cast<int>(menu.GetMenuItemCount());
  for (int i = 0; i < count; ++i) {
    const UINT state = menu.GetMenuState(static_cast<UINT>(i), MF_BYPOSITION);
    CString text;
    menu.GetMenuString(static_cast<UINT>(i), text, MF_BYPOSITION);
    CMenu* sub = menu.GetSubMenu(i);
    Json item;
    item["text"] = BytesAsCodePoints(text.str());
    item["id"] = sub ? 0u : menu.GetMenuItemID(i);
    item["state"] = state & kMenuStateBits;
    // A popup's state carries its item count in the high byte, over the separator bit.
    item["separator"] = !sub && (state & MF_SEPARATOR) != 0;
    if (sub) item["popup"] = Describe(*sub);
    items.push_back(item);
  }
  return items;
}

// One line per item, two blanks deeper per popup: the text, then for a command its
// identifier, then the state's words; a separator is "-".
void PrintTree(const Json& items, int depth) {
  for (const Json& item : items) {
    std::string line(static_cast<size_t>(2 * depth), ' ');
    if (item["separator"].get<bool>()) {
      std::printf("%s-\n", line.c_str());
      continue;
    }
    std::string text;
    ToMenuBytes(item["text"].get<std::string>(), text);
    line += text;
    if (!item.contains("popup")) line += "\t" + std::to_string(item["id"].get<UINT>());
    const UINT state = item["state"].get<UINT>();
    if (state & MF_GRAYED) line += "\tgrayed";
    if (state & MF_DISABLED) line += "\tdisabled";
    if (state & MF_CHECKED) line += "\tchecked";
    std::printf("%s\n", line.c_str());
    if (item.contains("popup")) PrintTree(item["popup"], depth + 1);
  }
}

// The description in text into menu; false with the message printed when it does not
// parse or fit.
int CountToolItems(CMenu& menu) {
  int n = 0;
  const int count = static_cast<int>(menu.GetMenuItemCount());
  for (int i = 0; i < count; ++i) {
    if (CMenu* sub = menu.GetSubMenu(i)) {
      n += CountToolItems(*sub);
      continue;
    }
    const UINT id = menu.GetMenuItemID(i);
    if (id >= ZEL_TOOL_ID_BASE && id <= ZEL_TOOL_ID_BASE + 1000) ++n;
  }
  return n;
}

struct MenuOptions {
  bool json = false;
  std::string file;
  int position = -1;
  int offset = 0;
};

int MergeMenu(const MenuOptions& o) {
  std::string text = kSuiteMenu, name = "the built-in menu";
  if (!o.file.empty()) {
    std::string error;
    if (!IsRegularFile(o.file, error)) {
      Message("tools menu: " + error);
      return kFailed;
    }
    std::ifstream in(o.file, std::ios::binary);
    if (!in) {
      Message("tools menu: " + o.file + ": the file cannot be read (" +
              std::generic_category().message(errno) + ")");
      return kFailed;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    text = bytes.str();
    name = o.file;
  }
  CMenu menu;
  menu.CreateMenu();
  if (!BuildMenuFrom(text, name, menu)) return kUsage;
  CAppTools tools(CAppTools::kNoWatch);
  tools.RegisterMenu(kMenuName, &menu, nullptr, 0, o.offset);
  tools.UpdateMenu(kMenuName, &menu, o.position, o.offset);
  Json tree = Describe(menu);
  if (o.json)
    PrintJson(tree);
  else
    PrintTree(tree, 0);
  return kOk;
}

// The window that `tools watch` keeps the merged menu in: each change message rebuilds
// the menu and says how many tool items it holds.
class WatchFrame : public CFrameWnd {
  DECLARE_MESSAGE_MAP()
 public:
  void SetTools(CAppTools* tools) { m_tools = tools; }

 protected:
  LRESULT OnMenuChange(WPARAM, LPARAM) {
    if (!m_tools) return 0;
    CAppTools::CChangeInfo info;
    info.window = this;
    info.name = kMenuName;
    m_tools->DoMenuChange(&info);
    CMenu* menu = GetMenu();
    std::printf("change\t%d\n", menu ? CountToolItems(*menu) : 0);
    std::fflush(stdout);
    return 0;
  }

 private:
  CAppTools* m_tools = nullptr;
};

BEGIN_MESSAGE_MAP(WatchFrame, CFrameWnd)
ON_REGISTERED_MESSAGE(WM_MENUCHANGE, OnMenuChange)
END_MESSAGE_MAP()

int Watch() {
  if (!TOOLSMENUDIR.IsSpecSet()) {
    Message("tools watch: the tool folder is not known");
    return kFailed;
  }
  // Before the watching thread starts, so that it never takes the interrupt itself.
  zel_console::InterruptSignal interrupt;
  if (interrupt.Error()) {
    Message("tools watch: interrupts cannot be waited for (" + interrupt.Error().message() + ")");
    return kFailed;
  }
  CMenu menu;
  menu.CreateMenu();
  BuildMenuFrom(kSuiteMenu, "the built-in menu", menu);
  // The window is made first and so destroyed last: the watcher, which sends to it, is
  // stopped (with the manager) before the window goes.
  WatchFrame frame;
  CAppTools tools;
  frame.SetTools(&tools);
  if (!frame.Create(nullptr, "zel tools watch", WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault,
                    nullptr, menu.Detach())) {
    Message("tools watch: the window could not be made");
    return kFailed;
  }
  tools.SetMainWindow(&frame);
  const HANDLE handles[] = {interrupt.Handle()};
  for (;;) {
    const DWORD woke = MsgWaitForMultipleObjects(1, handles, FALSE, INFINITE, QS_ALLINPUT);
    if (woke == WAIT_OBJECT_0 || woke == WAIT_FAILED) break;
    MSG msg;
    while (PeekMessage(&msg, HWND(), 0, 0, PM_REMOVE)) DispatchMessage(&msg);
  }
  return kOk;
}

const CommandRegistrar registrar(71, [](CLI::App& app) {
  CLI::App* cmd = app.get_subcommand("tools");
  static LayoutRoots roots;

  auto* merge = cmd->add_subcommand(
      "menu",
      "Merge the tools into an application menu (--menu FILE, else the suite's) and print "
      "the menu: an indented line per item (text, id, state)");
  static MenuOptions mo;
  merge->add_flag("--json", mo.json,
                  "The menu as a JSON array of {text, id, state, separator, popup}");
  merge->add_option("--menu", mo.file,
                    "A JSON array of items {text, id, state, separator, popup}: state 1 grayed, "
                    "2 disabled (marks the tools popup), 8 checked (marks a tools position)");
  merge
      ->add_option("--position", mo.position,
                   "Where top-level tools go (-1: after the tools popup)")
      ->check(CLI::Range(-1, 65535));
  merge->add_option("--offset", mo.offset, "The items before the registered part of the menu")
      ->check(CLI::Range(0, 65535));
  AddLayoutRootOptions(merge, roots);
  merge->callback([] {
    ComputeLayout(roots, false, "tools");
    SetStatus(MergeMenu(mo));
  });

  auto* watch = cmd->add_subcommand(
      "watch",
      "Watch the tool folder and print \"change<TAB>N\" (N: the tool items of the merged "
      "menu) for each change, until interrupted");
  AddLayoutRootOptions(watch, roots);
  watch->callback([] {
    ComputeLayout(roots, false, "tools");
    SetStatus(Watch());
  });
});

}  // namespace
}  // namespace zel_cli
