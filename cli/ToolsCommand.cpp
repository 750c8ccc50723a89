// zel tools: the installation's Tools menu: list the tool tree, create a tool, run one,
// migrate the old tools profile, show and set the persisted menu order; and the tools
// tour of `zel demo` over the sample installation's tool folder.
#include <cstdio>
#include <cstring>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "cli/LayoutRoots.h"
#include "cli/Output.h"
#include "files/FileTypeIds.h"
#include "layout/DirectoryLayout.h"
#include "platform/fs/FileSystem.h"
#include "platform/process/Process.h"
#include "platform/state/StateFile.h"
#include "platform/ui/UiBackend.h"
#include "tools/AppTools.h"
#include "tools/ExecCommandParams.h"
#include "tools/MenuOrder.h"
#include "tools/ToolSafety.h"

namespace zel_cli {
namespace {

// Every tool of the tree, depth-first in child order.
void EachTool(const CToolNode* node, const std::function<void(const CToolNode&)>& each) {
  for (POSITION p = node->GetChildren().GetHeadPosition(); p;) {
    auto* child = static_cast<const CToolNode*>(node->GetChildren().GetNext(p));
    if (child->IsCommand()) each(*child);
    EachTool(child, each);
  }
}

int List(bool json) {
  CAppTools tools(CAppTools::kNoWatch);
  tools.ReloadTools();
  auto rows = nlohmann::ordered_json::array();
  EachTool(tools.GetMainNode(), [&](const CToolNode& node) {
    const CToolData& tool = node.GetTool();
    if (json) {
      nlohmann::ordered_json row;
      row["menuPath"] = BytesAsCodePoints(node.GetMenuPath().str());
      row["index"] = node.GetToolIndex();
      row["commandId"] = GetToolCommandID(node.GetToolIndex());
      row["kind"] = static_cast<int>(tool.m_producedType);
      row["runMode"] = tool.GetRunMode();
      row["inputType"] = tool.m_inputType;
      row["target"] = BytesAsCodePoints(tool.m_target.str());
      row["description"] = BytesAsCodePoints(tool.m_description.str());
      rows.push_back(row);
    } else {
      std::printf("%s\t%d\t%u\t%d\t%d\t%d\t%s\t%s\n", node.GetMenuPath().GetString(),
                  node.GetToolIndex(), GetToolCommandID(node.GetToolIndex()),
                  static_cast<int>(tool.m_producedType), tool.GetRunMode(), tool.m_inputType,
                  tool.m_target.GetString(), tool.m_description.GetString());
    }
  });
  if (json) PrintJson(rows);
  return kOk;
}

struct CreateOptions {
  std::string menuPath, target, command, description;
  int inputType = 0;
};

int Create(const CreateOptions& o) {
  std::vector<CString> parts;
  if (!zel_tools::SplitMenuPath(o.menuPath.c_str(), parts)) {
    std::fprintf(stderr,
                 "zel: tools create: \"%s\" is no menu path: its parts, separated by '|', "
                 "may not be empty, \".\" or \"..\", nor hold '/' or '\\'\n",
                 o.menuPath.c_str());
    return kUsage;
  }
  if (!TOOLSMENUDIR.IsSpecSet()) {
    std::fprintf(stderr, "zel: tools create: the tool folder is not known\n");
    return kFailed;
  }
  CAppTools tools(CAppTools::kNoWatch);
  tools.ReloadTools();
  CToolDataBase definition;
  definition.m_inputType = o.inputType;
  definition.m_target = o.target.c_str();
  definition.m_command = o.command.c_str();
  definition.m_description = o.description.c_str();
  if (!tools.CreateTool(o.menuPath.c_str(), &definition)) {
    std::fprintf(stderr, "zel: tools create: the tool file for \"%s\" could not be written in %s\n",
                 o.menuPath.c_str(), TOOLSMENUDIR.GetPath());
    return kFailed;
  }
  CToolNode* node = tools.FindTool(o.menuPath.c_str(), CToolDataUnit::tq);
  std::string file = TOOLSMENUDIR.GetPath();
  for (const CString& part : parts) file += std::string(ZEL_PATH_SEP_STR) + part.GetString();
  std::printf("%s\t%d\t%s.tq\n", o.menuPath.c_str(), node ? node->GetToolIndex() : 0, file.c_str());
  return kOk;
}

// A host application as the command line stands for one: always ready, and every handler
// supplies the data given on the command line.
class CommandLineTools : public CAppTools {
 public:
  CommandLineTools() : CAppTools(kNoWatch) {}
  std::string data, second, third, fourth;
  bool launched = false;  // whether the tool got as far as its launch
  int IsReady() override { return 1; }
  void LaunchToolProgram(const char* target, int runMode, CString args) override {
    launched = true;
    CAppTools::LaunchToolProgram(target, runMode, args);
  }

 protected:
  // The library's message, and why: a desktop without its opener is a common cause.
  void ReportLaunchFailure(const std::error_code& err, const CString& program,
                           const CString& args) override {
    if (err != zel_process::LaunchError::OpenerMissing)
      return CAppTools::ReportLaunchFailure(err, program, args);
    AfxMessageBox(
        "The executable file was not found: " + program + " (" + err.message().c_str() + ")",
        MB_ICONSTOP);
  }
  int Fill(CDXexec& d) {
    d.dataFile = data.c_str();
    d.second = second.c_str();
    d.third = third.c_str();
    d.fourth = fourth.c_str();
    return 1;
  }
  int onemol(CDXistool&) override { return 1; }
  int onemol(CDXexec& d) override { return Fill(d); }
  int oneseq(CDXexec& d) override { return Fill(d); }
  int nfasta(CDXexec& d) override { return Fill(d); }
  int ngenbank(CDXexec& d) override { return Fill(d); }
  int oneembl(CDXexec& d) override { return Fill(d); }
  int nembl(CDXexec& d) override { return Fill(d); }
  int anydoc(CDXistool&) override { return 1; }
  int anydoc(CDXexec& d) override { return Fill(d); }
  int OnZavUVIZ(CDXexec& d) override { return Fill(d); }
  int OnEkMols(CDXistool&) override { return 1; }
  int OnEkMols(CDXexec& d) override { return Fill(d); }
  int OnDBList(CDXistool&) override { return 1; }
  int OnDBList(CDXexec& d) override { return Fill(d); }
  int nmol(CDXistool&) override { return 1; }
  int genmol(CDXistool&) override { return 1; }
  int OnUpdateZavUVIZ(CDXistool&) override { return 1; }
};

// The tool at menuPath, looked up as each kind in turn, tool file first.
CToolNode* FindAnyKind(CAppTools& tools, const char* menuPath) {
  for (auto type : {CToolDataUnit::tq, CToolDataUnit::url, CToolDataUnit::lnk, CToolDataUnit::exe})
    if (CToolNode* node = tools.FindTool(menuPath, type)) return node;
  return nullptr;
}

struct RunOptions {
  std::string menuPath, data, second, third, fourth;
};

int Run(const RunOptions& o) {
  CommandLineTools tools;
  tools.data = o.data;
  tools.second = o.second;
  tools.third = o.third;
  tools.fourth = o.fourth;
  tools.ReloadTools();
  CToolNode* node = FindAnyKind(tools, o.menuPath.c_str());
  if (!node) {
    std::fprintf(stderr, "zel: tools run: no tool \"%s\" in %s\n", o.menuPath.c_str(),
                 TOOLSMENUDIR.IsSpecSet() ? TOOLSMENUDIR.GetPath() : "(no tool folder)");
    return kFailed;
  }
  // Input types 0 and 7 run with empty data, and any outside 0 to 50 runs nothing; the
  // data given would silently go nowhere.
  const CToolData& tool = node->GetTool();
  const int type = tool.m_inputType;
  const bool takesData = type >= 1 && type <= 50 && type != 7;
  std::string given;
  for (auto [option, value] : {std::pair{"--data", &o.data}, std::pair{"--second", &o.second},
                               std::pair{"--third", &o.third}, std::pair{"--fourth", &o.fourth}})
    if (!value->empty()) given += std::string(given.empty() ? "" : ", ") + option;
  if (!takesData && !given.empty())
    std::fprintf(stderr, "zel: tools run: %s: input type %d takes no data; %s ignored\n",
                 o.menuPath.c_str(), type, given.c_str());
  tool.Execute(nullptr);
  if (!tools.launched) {
    if (type < 0 || type > 50)
      std::fprintf(stderr, "zel: tools run: %s: input type %d starts nothing\n", o.menuPath.c_str(),
                   type);
    else
      std::fprintf(stderr, "zel: tools run: %s: zel has no handler for input type %d\n",
                   o.menuPath.c_str(), type);
    return kFailed;
  }
  return tools.LastLaunchFailed() ? kFailed : kOk;
}

int Migrate() {
  if (!TOOLSDIR.IsSpecSet() || !TOOLSMENUDIR.IsSpecSet()) {
    std::fprintf(stderr, "zel: tools migrate: the tool folder is not known\n");
    return kFailed;
  }
  if (zel_fs::KindOf(TOOLSMENUDIR.GetPath()) != ZelPathKind::None) {
    std::fprintf(stderr, "zel: tools migrate: %s exists already; nothing was written\n",
                 TOOLSMENUDIR.GetPath());
    return kFailed;
  }
  CZelFileSpec profile(TOOLSDIR, TOOLPROF_FILE_NAME, kProfile);
  if (!profile.FileExists()) {
    std::fprintf(stderr, "zel: tools migrate: there is no old tools profile %s\n",
                 profile.GetPath());
    return kFailed;
  }
  CAppTools tools(CAppTools::kNoWatch);
  if (!tools.CreateNewDirectoryTools(TOOLSMENUDIR.GetPath())) {
    std::fprintf(stderr, "zel: tools migrate: the tools could not all be written in %s\n",
                 TOOLSMENUDIR.GetPath());
    return kFailed;
  }
  tools.SetReloadNeeded(1);
  tools.ReloadTools();
  int count = 0;
  EachTool(tools.GetMainNode(), [&](const CToolNode&) { ++count; });
  std::printf("%d tools written in %s\n", count, TOOLSMENUDIR.GetPath());
  return kOk;
}

CString OrderFilePath() { return CZelFileSpec(TOOLSDIR, TOOLMENU_FILE_NAME, kProfile).GetPath(); }

// A key for people: the tab that order names may hold shown as "\t".
std::string Shown(const CString& s) {
  std::string out;
  for (char c : s.str()) out += c == '\t' ? std::string("\\t") : std::string(1, c);
  return out;
}

void PrintOrder(const CMenuOrder& node, const std::string& folder) {
  const CMapStringToOb& children = node.GetChildren();
  for (POSITION p = children.GetStartPosition(); p;) {
    CString name;
    CObject* child;
    children.GetNextAssoc(p, name, child);
    auto* order = static_cast<CMenuOrder*>(child);
    std::printf("%s\t%s\t%s\n", folder.c_str(), Shown(name).c_str(),
                Shown(order->GetOrderName()).c_str());
    PrintOrder(*order, folder.empty() ? name.str() : folder + "|" + name.str());
  }
}

int ShowOrder() {
  if (!TOOLSDIR.IsSpecSet()) return kOk;
  CString path = OrderFilePath();
  CMenuOrder* order = CMenuOrder::ReadOrderFile(path);
  if (!order) {
    if (zel_fs::KindOf(path) != ZelPathKind::None)
      std::fprintf(stderr, "zel: tools order: %s is not a menu-order file; it reads as no order\n",
                   path.GetString());
    return kOk;
  }
  PrintOrder(*order, "");
  delete order;
  return kOk;
}

// The key of the i-th of n entries: letters of one width, so that keys sort as numbers.
CString OrderKey(size_t i, size_t n) {
  int width = 1;
  for (size_t span = 26; span < n; span *= 26) ++width;
  std::string key(static_cast<size_t>(width), 'a');
  for (int k = width - 1; k >= 0; --k, i /= 26)
    key[static_cast<size_t>(k)] = static_cast<char>('a' + i % 26);
  return CString(key);
}

int SetOrder(const std::string& folder, const std::vector<std::string>& names) {
  if (!TOOLSDIR.IsSpecSet()) {
    std::fprintf(stderr, "zel: tools order: the tool folder is not known\n");
    return kFailed;
  }
  std::vector<CString> parts;
  if (!folder.empty() && !zel_tools::SplitMenuPath(folder.c_str(), parts)) {
    std::fprintf(stderr, "zel: tools order: \"%s\" is no folder's menu path\n", folder.c_str());
    return kUsage;
  }
  for (const std::string& name : names) {
    if (name.empty() || name.find('\0') != std::string::npos) {
      std::fprintf(stderr, "zel: tools order: an entry name may not be empty\n");
      return kUsage;
    }
  }
  CString path = OrderFilePath();
  CMenuOrder* root = CMenuOrder::ReadOrderFile(path);
  if (!root) root = new CMenuOrder;
  CMenuOrder* node = root;
  for (const CString& part : parts) node = node->GetOrCreateNode(part);
  // The entries named take keys in the order given; the others of the folder lose theirs.
  const CMapStringToOb& children = node->GetChildren();
  for (POSITION p = children.GetStartPosition(); p;) {
    CString key;
    CObject* child;
    children.GetNextAssoc(p, key, child);
    static_cast<CMenuOrder*>(child)->SetOrderName(nullptr);
  }
  for (size_t i = 0; i < names.size(); ++i)
    node->GetOrCreateNode(names[i].c_str())->SetOrderName(OrderKey(i, names.size()));
  std::error_code err = zel_state::MakeDirs(TOOLSDIR.GetPath());
  if (!err) err = root->WriteOrderFile(path);
  delete root;
  if (err) {
    std::fprintf(stderr, "zel: tools order: %s could not be written: %s\n", path.GetString(),
                 err.message().c_str());
    return kFailed;
  }
  return kOk;
}

const CommandRegistrar tools(70, [](CLI::App& app) {
  auto* cmd = app.add_subcommand("tools", "The Tools menu: tool files in the tool folder");
  cmd->require_subcommand(1);
  static LayoutRoots roots;

  auto* list = cmd->add_subcommand(
      "list",
      "The tool tree, depth-first: MENUPATH INDEX COMMANDID KIND RUNMODE INPUTTYPE "
      "TARGET DESCRIPTION");
  static bool json = false;
  list->add_flag("--json", json,
                 "An array of {menuPath, index, commandId, kind, runMode, inputType, target, "
                 "description}");
  AddLayoutRootOptions(list, roots);
  list->callback([] {
    ComputeLayout(roots, false, "tools");
    SetStatus(List(json));
  });

  auto* create = cmd->add_subcommand("create", "Write a new tool file (.tq) and print where");
  static CreateOptions co;
  create->add_option("MENUPATH", co.menuPath, "Folders and name joined by '|'")->required();
  create->add_option("--target", co.target, "The program, document or web address")->required();
  create->add_option("--command", co.command, "The command-line template, with %1 to %7");
  create->add_option("--input-type", co.inputType, "What the tool takes, 0 to 50");
  create->add_option("--description", co.description, "The status-bar prompt");
  AddLayoutRootOptions(create, roots);
  create->callback([] {
    ComputeLayout(roots, false, "tools");
    SetStatus(Create(co));
  });

  auto* run = cmd->add_subcommand(
      "run",
      "Run a tool with the data given (does not wait for it); exit 1 when it could not "
      "be started");
  static RunOptions ro;
  run->add_option("MENUPATH", ro.menuPath, "The tool's menu path")->required();
  run->add_option("--data", ro.data, "The data file: %1");
  run->add_option("--second", ro.second, "%2");
  run->add_option("--third", ro.third, "%3");
  run->add_option("--fourth", ro.fourth, "%4");
  AddLayoutRootOptions(run, roots);
  run->callback([] {
    ComputeLayout(roots, false, "tools");
    SetStatus(Run(ro));
  });

  auto* migrate = cmd->add_subcommand(
      "migrate",
      "Write the old tools profile (Tools/ToolProf.ini) as tool files in Tools/Menu; "
      "refused when Tools/Menu exists");
  AddLayoutRootOptions(migrate, roots);
  migrate->callback([] {
    ComputeLayout(roots, false, "tools");
    SetStatus(Migrate());
  });

  auto* order = cmd->add_subcommand(
      "order", "The persisted menu order (FOLDER NAME KEY per entry), or --set one folder's");
  static std::string folder;
  static std::vector<std::string> names;
  auto* set = order->add_option("--set", folder,
                                "The folder's menu path (\"\" for the top) whose entries NAME... "
                                "(file names: Blast.tq, Viewer.lnk, Align) take this order");
  order->add_option("NAME", names, "The folder's entries, first to last")->needs(set);
  AddLayoutRootOptions(order, roots);
  order->callback([set] {
    ComputeLayout(roots, false, "tools");
    SetStatus(set->count() ? SetOrder(folder, names) : ShowOrder());
  });
});

// The tour starts nothing: a launcher that says what would be started.
class DescribingLauncher : public zel_process::Launcher {
 public:
  std::error_code Spawn(const std::string& path, const std::vector<std::string>& argv,
                        int*) override {
    std::printf("    would start %s with", path.c_str());
    for (size_t i = 1; i < argv.size(); ++i) std::printf(" [%s]", argv[i].c_str());
    std::printf("\n");
    return {};
  }
  std::error_code Open(const std::string& target) override {
    std::printf("    would open %s\n", target.c_str());
    return {};
  }
};

const DemoRegistrar demo(70, "The Tools menu", [] {
  std::string base = ExamplesDir() + "/installation";
  LayoutRoots r{base + "/Data", base + "/Programs", "", ""};
  ComputeLayout(r, false, "tools");
  std::printf("zel tools list --exe %s/Programs   (tool folder %s)\n", base.c_str(),
              TOOLSMENUDIR.GetPath());
  CommandLineTools tools;
  tools.data = "/data/My Sequences/pBR322.gb";
  tools.second = "pBR322";
  tools.ReloadTools();
  int count = 0;
  static const char* const kinds[] = {"none", "tool file", "web link", "shell link", "program"};
  EachTool(tools.GetMainNode(), [&](const CToolNode& node) {
    const CToolData& tool = node.GetTool();
    std::printf("  %-28s #%d id %u  %-10s %s\n", node.GetMenuPath().GetString(),
                node.GetToolIndex(), GetToolCommandID(node.GetToolIndex()),
                kinds[tool.m_producedType], tool.m_target.GetString());
    ++count;
  });
  CMenuOrder* order = CMenuOrder::ReadOrderFile(OrderFilePath());
  std::printf("%d tools; the menu-order file %s.\n", count,
              order ? "puts its entries in a chosen order" : "is missing");
  delete order;

  std::printf("Running each (with the data file \"%s\"), nothing started:\n", tools.data.c_str());
  DescribingLauncher describe;
  zel_process::Launcher* previous = zel_process::SetLauncher(&describe);
  EachTool(tools.GetMainNode(), [&](const CToolNode& node) {
    std::printf("  %s\n", node.GetMenuPath().GetString());
    node.GetTool().Execute(nullptr);
  });
  zel_process::SetLauncher(previous == &describe ? nullptr : previous);

  const char* text = "[openas(\"/data/My Sequences/pBR322.gb\", 3)]";
  CExecCommandParams params(text);
  std::printf("zel cmd '%s': command %d (%s), %s, %d parameters\n", text,
              static_cast<int>(params.GetCommand()),
              CExecCommandParams::GetCommandString(params.GetCommand()).GetString(),
              params.IsCorrect() ? "correct" : "not correct", params.GetCount());
  return static_cast<int>(kOk);
});

}  // namespace
}  // namespace zel_cli
