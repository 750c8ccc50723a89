// zel tools: the installation's Tools menu: list the tool tree, create a tool, run one,
// migrate the old tools profile, show and set the persisted menu order; and the tools
// tour of `zel demo` over the sample installation's tool folder.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <random>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "cli/LayoutRoots.h"
#include "cli/Output.h"
#include "files/FileTypeIds.h"
#include "files/ZelTextFile.h"
#include "layout/DirectoryLayout.h"
#include "platform/os/engines/OsEngines.h"
#include "platform/os/fs/FileSystem.h"
#include "platform/os/fs/SharedFolders.h"
#include "platform/os/process/Process.h"
#include "platform/os/state/StateFile.h"
#include "platform/user/ui/UiBackend.h"
#include "serialization/ZelArchive.h"
#include "tools/AppTools.h"
#include "tools/ExecCommandParams.h"
#include "tools/MenuOrder.h"
#include "tools/ToolSafety.h"

namespace zel_cli {
namespace {

namespace fs = std::filesystem;

// Every tool of the tree, depth-first in child order.
void EachTool(const CToolNode* node, const std::function<void(const CToolNode&)>& each) {
  for (POSITION p = node->GetChildren().GetHeadPosition(); p;) {
    auto* child = static_cast<const CToolNode*>(node->GetChildren().GetNext(p));
    if (child->IsCommand()) each(*child);
    EachTool(child, each);
  }
}

// A text field kept on its line: a tab or a line break in a name, target or description
// would otherwise make a column or a row that no tool file holds. Those, other control
// characters and the backslash that starts an escape are escaped.
std::string OneField(const CString& text) {
  std::string out;
  for (unsigned char c : text.str()) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char code[5];
          std::snprintf(code, sizeof code, "\\x%02x", c);
          out += code;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out;
}

int List(bool json) {
  if (!TOOLSMENUDIR.IsSpecSet())
    std::fprintf(stderr, "zel: tools list: the tool folder is not known\n");
  else if (zel_fs::KindOfEntry(TOOLSMENUDIR.GetPath()) != zel_fs::EntryKind::Folder)
    std::fprintf(stderr, "zel: tools list: there is no tool folder at %s\n",
                 TOOLSMENUDIR.GetPath());
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
      std::printf("%s\t%d\t%u\t%d\t%d\t%d\t%s\t%s\n", OneField(node.GetMenuPath()).c_str(),
                  node.GetToolIndex(), GetToolCommandID(node.GetToolIndex()),
                  static_cast<int>(tool.m_producedType), tool.GetRunMode(), tool.m_inputType,
                  OneField(tool.m_target).c_str(), OneField(tool.m_description).c_str());
    }
  });
  if (json) PrintJson(rows);
  return kOk;
}

struct CreateOptions {
  std::string menuPath, target, command, description;
  int inputType = 0;
  bool replace = false;
};

// Whether a and b are the same name to the tool tree, which compares ASCII letters
// without regard to case.
bool SameToolName(const std::string& a, const std::string& b) { return ZelStrCmpNoCase(a, b) == 0; }

// Whether path, links resolved, is the folder root or lies inside it.
bool Inside(const fs::path& path, const fs::path& root) {
  std::error_code ec;
  fs::path real = fs::canonical(path, ec), top = fs::canonical(root, ec);
  if (ec) return false;
  auto [end, at] = std::mismatch(top.begin(), top.end(), real.begin(), real.end());
  return end == top.end();
}

// Why the tool cannot be created where its menu path puts it without harm to what is
// there: a tool of that name (any kind, letter case ignored) that is not to be replaced,
// or a folder on the way that leads out of the tool folder. Empty when it can.
std::string CreateConflict(const CreateOptions& o, const std::vector<CString>& parts) {
  const fs::path root = TOOLSMENUDIR.GetPath();
  fs::path folder = root;
  for (size_t i = 0; i + 1 < parts.size(); ++i) folder /= parts[i].str();
  std::error_code ec;
  if (!fs::exists(folder, ec)) return {};
  // The listing would never show a tool there, and the tool file would land elsewhere.
  if (!Inside(folder, root))
    return folder.string() + " leads out of the tool folder " + root.string();
  const std::string name = parts.back().str(), tq = name + ".tq";
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    const std::string file = entry.path().filename().string();
    for (const char* ext : {".tq", ".url", ".lnk", ".exe"}) {
      if (!SameToolName(file, name + ext)) continue;
      const std::string at = entry.path().string();
      if (!o.replace)
        return at + " holds a tool of that name already (--replace replaces a tool file)";
      if (file != tq)
        return at + " is a tool of that name that --replace does not replace (only " + tq +
               ", a tool file of that exact name)";
      if (entry.symlink_status(ec).type() != fs::file_type::regular)
        return at + " is not a regular file of its own (a link or a special file)";
    }
  }
  return {};
}

int Create(const CreateOptions& o) {
  std::vector<CString> parts;
  if (!zel_tools::SplitMenuPath(o.menuPath.c_str(), parts)) {
    std::fprintf(stderr,
                 "zel: tools create: \"%s\" is no menu path: its parts, separated by '|', "
                 "may not be empty, \".\" or \"..\", nor hold '/' or '\\'\n",
                 o.menuPath.c_str());
    return kUsage;
  }
  // A folder's title is its name without the extension, so such a folder would show the
  // tool under another menu path than the one asked for.
  for (size_t i = 0; i + 1 < parts.size(); ++i) {
    if (parts[i].Find('.') < 0) continue;
    std::fprintf(stderr,
                 "zel: tools create: the folder \"%s\" holds a '.': the menu would show it as "
                 "\"%s\"\n",
                 parts[i].GetString(), parts[i].Left(parts[i].ReverseFind('.')).GetString());
    return kUsage;
  }
  // The library writes both, but the tool tree never lists a tool without a target, and
  // a tool of an input type outside the table never runs.
  if (o.target.empty()) {
    std::fprintf(stderr, "zel: tools create: --target may not be empty\n");
    return kUsage;
  }
  if (o.inputType < 0 || o.inputType > 50) {
    std::fprintf(stderr, "zel: tools create: --input-type %d is not an input type (0 to 50)\n",
                 o.inputType);
    return kUsage;
  }
  if (!TOOLSMENUDIR.IsSpecSet()) {
    std::fprintf(stderr, "zel: tools create: the tool folder is not known\n");
    return kFailed;
  }
  // The library's creation writes over a tool file of that name, as its callers expect;
  // the command never overwrites unless asked, and never through a link.
  if (std::string why = CreateConflict(o, parts); !why.empty()) {
    std::fprintf(stderr, "zel: tools create: %s; nothing was written\n", why.c_str());
    return kFailed;
  }
  CAppTools tools(CAppTools::kNoWatch);
  tools.ReloadTools();
  CToolDataBase definition;
  definition.m_inputType = o.inputType;
  definition.m_target = o.target.c_str();
  definition.m_command = o.command.c_str();
  definition.m_description = o.description.c_str();
  std::string file = TOOLSMENUDIR.GetPath();
  for (const CString& part : parts) file += std::string(ZEL_PATH_SEP_STR) + part.GetString();
  file += ".tq";
  if (!tools.CreateTool(o.menuPath.c_str(), &definition)) {
    std::fprintf(stderr, "zel: tools create: the tool file %s could not be written (%s)\n",
                 file.c_str(), tools.GetCreateError().message().c_str());
    return kFailed;
  }
  // The new leaf is a node of no kind until the folder is read again; read, it is found
  // as the tool file it is, with the index the listing gives it.
  tools.SetReloadNeeded(1);
  tools.ReloadTools();
  CToolNode* node = tools.FindTool(o.menuPath.c_str(), CToolDataUnit::tq);
  std::printf("%s\t%d\t%s\n", o.menuPath.c_str(), node ? node->GetToolIndex() : 0, file.c_str());
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

// Writing the old profile's tree as tool files: every tool, at the top too, and the
// entries that got no index named instead of written.
struct MigrationWriter {
  int written = 0;
  std::vector<std::string> dropped;  // menu paths
  std::string failure;

  bool Write(const CToolNode& node, const fs::path& dir) {
    for (POSITION p = node.GetChildren().GetHeadPosition(); p;) {
      auto* child = static_cast<const CToolNode*>(node.GetChildren().GetNext(p));
      const std::string name = child->GetName().str();
      // A node made for a profile entry has its menu path; a folder made on the way has none.
      if (!child->GetMenuPath().IsEmpty()) {
        if (child->GetToolIndex() < 0) {
          dropped.push_back(child->GetMenuPath().str());
        } else {
          const fs::path file = dir / (name + ".tq");
          if (std::error_code err =
                  CToolDataUnit::FieldsOf(child->GetTool()).WriteToolFile(file.c_str())) {
            failure = file.string() + " could not be written (" + err.message() + ")";
            return false;
          }
          ++written;
        }
      }
      if (child->GetChildren().IsEmpty()) continue;
      std::error_code ec;
      const fs::path sub = dir / name;
      if (!fs::is_directory(sub, ec) && !fs::create_directory(sub, ec)) {
        failure = sub.string() + " could not be made (" + ec.message() + ")";
        return false;
      }
      if (!Write(*child, sub)) return false;
    }
    return true;
  }
};

// A folder beside target, new and empty, for building target's contents in; empty when
// none could be made.
fs::path MakeBesideFolder(const fs::path& target) {
  std::random_device random;
  for (int attempt = 0; attempt < 16; ++attempt) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%08x", random());
    fs::path folder = target.parent_path() / ("." + target.filename().string() + ".new-" + suffix);
    std::error_code ec;
    if (fs::create_directory(folder, ec)) return folder;
    if (ec) return {};
  }
  return {};
}

// The library's migration reports a damaged profile to the user and goes on with what
// it read, and stops at the first tool it cannot write, leaving the folder half made; the
// folder's existence then blocks the next attempt. The command is all or nothing: it
// reads the whole profile before it makes anything, builds the folder beside its place
// and puts it there only when every tool was written.
int Migrate() {
  if (!TOOLSDIR.IsSpecSet() || !TOOLSMENUDIR.IsSpecSet()) {
    std::fprintf(stderr, "zel: tools migrate: the tool folder is not known\n");
    return kFailed;
  }
  const fs::path menu = TOOLSMENUDIR.GetPath();
  std::error_code ec;
  if (fs::symlink_status(menu, ec).type() != fs::file_type::not_found) {
    std::fprintf(stderr, "zel: tools migrate: %s exists already; nothing was written\n",
                 menu.c_str());
    return kFailed;
  }
  CZelFileSpec profile(TOOLSDIR, TOOLPROF_FILE_NAME, kProfile);
  const std::string profilePath = profile.GetPath();
  switch (zel_fs::KindOfEntry(profile.GetPath())) {
    case zel_fs::EntryKind::None:
      std::fprintf(stderr, "zel: tools migrate: there is no old tools profile %s\n",
                   profilePath.c_str());
      return kFailed;
    case zel_fs::EntryKind::File:
      break;
    default:
      std::fprintf(stderr, "zel: tools migrate: %s: not a regular file; nothing was written\n",
                   profilePath.c_str());
      return kFailed;
  }
  CAppTools tools(CAppTools::kNoWatch);
  CZelTextFile file(profile);
  if (!file.OpenInput()) {
    CFileException e = file.GetLastError();
    std::fprintf(stderr, "zel: tools migrate: %s; nothing was written\n",
                 FailureText(profilePath, e, true).c_str());
    return kFailed;
  }
  try {
    CZelArchive ar(&file, CZelArchive::load, nullptr, 75);
    ar.SerializeMember(&tools, &ZelSerializeThunk<CAppTools, &CAppTools::_zel_serialize>,
                       "CToolsSetupDlg");
    ar.Close();
  } catch (CException& e) {
    file.SafeClose(0);
    std::fprintf(stderr, "zel: tools migrate: %s; nothing was written\n",
                 FailureText(profilePath, e, true).c_str());
    return kFailed;
  }
  file.SafeClose(0);
  tools.UpdateMenuArray();
  tools.ClearProfileInMemory();

  const fs::path building = MakeBesideFolder(menu);
  if (building.empty()) {
    std::fprintf(stderr, "zel: tools migrate: no folder could be made beside %s\n", menu.c_str());
    return kFailed;
  }
  MigrationWriter writer;
  bool done = writer.Write(*tools.GetMainNode(), building);
  if (done) {
    fs::rename(building, menu, ec);
    if (ec)
      writer.failure =
          building.string() + " could not become " + menu.string() + " (" + ec.message() + ")";
    done = !ec;
  }
  if (!done) {
    fs::remove_all(building, ec);
    std::fprintf(stderr, "zel: tools migrate: %s; nothing was written\n", writer.failure.c_str());
    return kFailed;
  }
  std::printf("%d tools written in %s\n", writer.written, menu.c_str());
  // Command identifiers end with the 777th tool; the profile's later entries have none.
  for (const std::string& path : writer.dropped)
    std::fprintf(stderr, "zel: tools migrate: %s was not written: it is past the last tool index\n",
                 path.c_str());
  return writer.dropped.empty() ? kOk : kFailed;
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
  // The entries in their new order: the names given, then the folder's other entries in
  // the order the listing shows them now. Every entry gets a key, so that none of the
  // others can land between two named ones.
  std::vector<CString> order;
  auto listed = [&order](const CString& name) {
    for (const CString& n : order)
      if (n.CompareNoCase(name) == 0) return true;
    return false;
  };
  for (const std::string& name : names) {
    if (name.empty() || name.find('\0') != std::string::npos) {
      std::fprintf(stderr, "zel: tools order: an entry name may not be empty\n");
      return kUsage;
    }
    if (!listed(name.c_str())) order.emplace_back(name.c_str());
  }
  CAppTools tools(CAppTools::kNoWatch);
  tools.ReloadTools();
  CToolNode* node = tools.GetMainNode();
  for (size_t i = 0; node && i < parts.size(); ++i) {
    POSITION pos;
    node = node->FindSubnode(parts[i], CToolDataUnit::none, pos);
  }
  for (POSITION p = node ? node->GetChildren().GetHeadPosition() : nullptr; p;) {
    auto* child = static_cast<const CToolNode*>(node->GetChildren().GetNext(p));
    CString entry = child->GetName() + CToolNode::GetExtension(child->GetTool().m_producedType);
    if (!listed(entry)) order.push_back(entry);
  }
  // Locked, read again, changed and written, so that a change another writer made to the
  // file meanwhile (another folder's order) is kept.
  const CString path = OrderFilePath();
  if (zel_fs::EntryKind kind = zel_fs::KindOfEntry(path);
      kind != zel_fs::EntryKind::None && kind != zel_fs::EntryKind::File) {
    std::fprintf(stderr, "zel: tools order: %s: not a regular file; nothing was written\n",
                 path.GetString());
    return kFailed;
  }
  bool tooLarge = false;
  std::error_code err = zel_state::UpdateFile(path, true, [&](std::string& bytes) {
    // A damaged file is no order, and is replaced.
    std::unique_ptr<CMenuOrder> root(bytes.empty() ? nullptr : CMenuOrder::Load(bytes));
    if (!root) root = std::make_unique<CMenuOrder>();
    CMenuOrder* at = root.get();
    for (const CString& part : parts) at = at->GetOrCreateNode(part);
    const CMapStringToOb& children = at->GetChildren();
    for (POSITION p = children.GetStartPosition(); p;) {
      CString key;
      CObject* child;
      children.GetNextAssoc(p, key, child);
      static_cast<CMenuOrder*>(child)->SetOrderName(nullptr);
    }
    for (size_t i = 0; i < order.size(); ++i)
      at->GetOrCreateNode(order[i])->SetOrderName(OrderKey(i, order.size()));
    tooLarge = !root->StoreBelievable(bytes);
    return !tooLarge;
  });
  if (tooLarge) err = std::make_error_code(std::errc::file_too_large);
  if (err) {
    std::fprintf(stderr, "zel: tools order: %s could not be written (%s)\n", path.GetString(),
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
      "TARGET DESCRIPTION, one tool a line (a tab, line break, other control character or "
      "backslash in a text is written \\t, \\n, \\r, \\xHH or \\\\)");
  static bool json = false;
  list->add_flag("--json", json,
                 "An array of {menuPath, index, commandId, kind, runMode, inputType, target, "
                 "description}");
  AddLayoutRootOptions(list, roots);
  list->callback([] {
    ComputeLayout(roots, false, "tools");
    SetStatus(List(json));
  });

  auto* create = cmd->add_subcommand(
      "create",
      "Write a new tool file (.tq) and print where; a tool of that name is left as it is "
      "(exit 1) unless --replace");
  static CreateOptions co;
  create->add_option("MENUPATH", co.menuPath, "Folders and name joined by '|'")->required();
  create->add_option("--target", co.target, "The program, document or web address")->required();
  create->add_option("--command", co.command, "The command-line template, with %1 to %7");
  create->add_option("--input-type", co.inputType, "What the tool takes, 0 to 50");
  create->add_option("--description", co.description, "The status-bar prompt");
  create->add_flag("--replace", co.replace,
                   "Replace a tool file (.tq) of that name; a tool of another kind stays");
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
  run->add_option("--data", ro.data, "The data file, %1 in the tool's command line")
      ->type_name("FILE");
  run->add_option("--second", ro.second, "The text that stands for %2");
  run->add_option("--third", ro.third, "The text that stands for %3");
  run->add_option("--fourth", ro.fourth, "The text that stands for %4");
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
  zel_os::OsEngines engines = zel_os::CurrentOsEngines();
  engines.launcher = &describe;
  const zel_os::OsEngines previous = zel_os::InstallOsEngines(engines);
  EachTool(tools.GetMainNode(), [&](const CToolNode& node) {
    std::printf("  %s\n", node.GetMenuPath().GetString());
    node.GetTool().Execute(nullptr);
  });
  zel_os::InstallOsEngines(previous);

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
