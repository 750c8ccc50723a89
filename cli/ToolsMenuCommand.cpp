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
#include "cli/Output.h"
#include "layout/DirectoryLayout.h"
#include "platform/afx/FrameWnd.h"
#include "platform/console/Console.h"
#include "platform/menu/Menu.h"
#include "platform/wnd/Message.h"
#include "tools/AppTools.h"

namespace zel_cli {
namespace {

// The suite's menu: File, Edit, a Tools popup marked (disabled) as the tools popup, an
// Analyze popup holding a separator, Help.
constexpr const char* kBuiltInMenu = R"([
  {"text": "&File", "popup": [{"text": "&Open...", "id": 57601}]},
  {"text": "&Edit", "popup": [{"text": "&Copy", "id": 57634}]},
  {"text": "&Tools", "state": 3, "popup": [{"text": "&Options...", "id": 32771}]},
  {"text": "&Analyze", "popup": [{"separator": true}]},
  {"text": "&Help", "popup": [{"text": "&About...", "id": 57664}]}
])";

constexpr const char* kMenuName = "main";
constexpr UINT kStateBits = MF_GRAYED | MF_DISABLED | MF_CHECKED;

// A description that does not fit: where (as "[2].popup[0].id") and what was expected.
struct DescriptionError {
  std::string where;
  std::string what;
};

// JSON text (UTF-8) as the menu's bytes: code points up to U+00FF only.
bool ToMenuBytes(const std::string& utf8, std::string& bytes) {
  bytes.clear();
  for (size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      bytes += static_cast<char>(c);
    } else if ((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size()) {
      bytes +=
          static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F));
    } else {
      return false;
    }
  }
  return true;
}

void Build(const Json& items, CMenu& menu, const std::string& path) {
  if (!items.is_array()) throw DescriptionError{path, "expected an array of items"};
  for (size_t i = 0; i < items.size(); ++i) {
    const Json& item = items[i];
    const std::string at = path + "[" + std::to_string(i) + "]";
    if (!item.is_object()) throw DescriptionError{at, "expected an object"};
    for (const auto& [key, value] : item.items())
      if (key != "text" && key != "id" && key != "state" && key != "separator" && key != "popup")
        throw DescriptionError{at + "." + key, "unknown field"};
    std::string text;
    if (item.contains("text")) {
      if (!item["text"].is_string()) throw DescriptionError{at + ".text", "expected a string"};
      if (!ToMenuBytes(item["text"].get<std::string>(), text))
        throw DescriptionError{at + ".text", "expected characters up to U+00FF"};
    }
    UINT id = 0;
    if (item.contains("id")) {
      const Json& v = item["id"];
      if (!v.is_number()) throw DescriptionError{at + ".id", "expected a number"};
      if (!v.is_number_integer() || v.get<long long>() < 0 || v.get<long long>() > 0xFFFF)
        throw DescriptionError{at + ".id", "expected a number from 0 to 65535"};
      id = v.get<UINT>();
    }
    UINT state = 0;
    if (item.contains("state")) {
      const Json& v = item["state"];
      if (!v.is_number()) throw DescriptionError{at + ".state", "expected a number"};
      if (!v.is_number_integer() || v.get<long long>() < 0 ||
          (v.get<long long>() & ~static_cast<long long>(kStateBits)))
        throw DescriptionError{at + ".state",
                               "expected a sum of 1 (grayed), 2 (disabled) and 8 (checked)"};
      state = v.get<UINT>();
    }
    bool separator = false;
    if (item.contains("separator")) {
      if (!item["separator"].is_boolean())
        throw DescriptionError{at + ".separator", "expected true or false"};
      separator = item["separator"].get<bool>();
    }
    const bool popup = item.contains("popup");
    if (separator && (popup || !text.empty() || id || state))
      throw DescriptionError{at, "a separator has no text, id, state or popup"};
    if (popup && item.contains("id")) throw DescriptionError{at + ".id", "a popup has no id"};
    if (separator) {
      menu.AppendMenu(MF_SEPARATOR);
    } else if (popup) {
      CMenu sub;
      sub.CreatePopupMenu();
      Build(item["popup"], sub, at + ".popup");
      menu.AppendMenu(MF_POPUP | state, sub.GetSafeHmenu().value, text.c_str());
      sub.Detach();  // the menu owns it now
    } else {
      menu.AppendMenu(MF_STRING | state, id, text.c_str());
    }
  }
}

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
    item["state"] = state & kStateBits;
    item["separator"] = (state & MF_SEPARATOR) != 0;
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
bool BuildFrom(const std::string& text, const std::string& name, CMenu& menu) {
  Json document;
  try {
    document = Json::parse(text);
  } catch (const nlohmann::json::parse_error& e) {
    // nlohmann says "[json.exception.parse_error.101] parse error at line 1, column 2: ...".
    std::string reason = e.what();
    const size_t at = reason.find(" at line ");
    reason = at == std::string::npos ? reason : reason.substr(at + 4);
    Message("tools menu: " + name + ": " + reason);
    return false;
  }
  try {
    Build(document, menu, "");
  } catch (const DescriptionError& e) {
    Message("tools menu: " + name + ": " + (e.where.empty() ? "" : e.where + ": ") + e.what);
    return false;
  }
  return true;
}

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
  std::string text = kBuiltInMenu, name = "the built-in menu";
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
  if (!BuildFrom(text, name, menu)) return kUsage;
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
  explicit WatchFrame(CAppTools& tools) : m_tools(tools) {}

 protected:
  LRESULT OnMenuChange(WPARAM, LPARAM) {
    CAppTools::CChangeInfo info;
    info.window = this;
    info.name = kMenuName;
    m_tools.DoMenuChange(&info);
    CMenu* menu = GetMenu();
    std::printf("change\t%d\n", menu ? CountToolItems(*menu) : 0);
    std::fflush(stdout);
    return 0;
  }

 private:
  CAppTools& m_tools;
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
  BuildFrom(kBuiltInMenu, "the built-in menu", menu);
  CAppTools tools;
  WatchFrame frame(tools);
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
