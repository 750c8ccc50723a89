// The tool manager: building and tearing down, loading the tree from the tool folder,
// creating tools, finding them, and migrating the old tools profile.
#include "tools/AppTools.h"

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "files/FileTypeIds.h"
#include "files/ZelTextFile.h"
#include "layout/DirectoryLayout.h"
#include "platform/os/fs/FileSystem.h"
#include "platform/os/fs/SharedFolders.h"
#include "platform/os/state/StateFile.h"
#include "platform/os/sync/Event.h"
#include "serialization/ZelArchive.h"
#include "tools/MenuOrder.h"
#include "tools/ToolSafety.h"

IMPLEMENT_DYNCREATE(CAppTools, CObject)
ZEL_IMPLEMENT_SERIALIZE(CAppTools, "CToolsSetupDlg")

namespace {

// A name's title: without its extension.
CString TitleOf(const char* name) {
  CString n = name;
  return n.Left(n.GetLength() - CToolDataUnit::GetExtension(n).GetLength());
}

}  // namespace

CAppTools::CAppTools() : CAppTools(kWatch) {}

CAppTools::CAppTools(Watching watching) : m_root(new CToolNode("Root")) {
  FillToolCommandIDs();
  // The last step: the watch may migrate the old profile, which needs all of the above.
  if (watching == kWatch) StartToolMenuMonitoring();
}

CAppTools::~CAppTools() {
  // First, so that the watching thread never sees a manager half torn down.
  StopToolMenuMonitoring();
  if (m_root) {
    delete m_root->GetMenuOrder();
    m_root->SetMenuOrder(nullptr);
    delete m_root;
    m_root = nullptr;
  }
  while (!m_menus.IsEmpty()) delete m_menus.RemoveHead();  // the menu holders
  ClearProfileInMemory();
}

int CAppTools::IsReady() { return 0; }

int CAppTools::IsTypeSupported(int inputType) {
  if (inputType == 0) return 1;
  for (INT_PTR i = 0; i < m_typeList.GetSize(); ++i)
    if (m_typeList[i] == inputType) return m_typeListIncludes;
  return !m_typeListIncludes;
}

int CAppTools::ProcessToolFile(CToolNode* node, const char* path) {
  CToolDataUnit unit;
  if (!unit.Read(path)) return 0;
  if (!IsTypeSupported(unit.m_inputType)) return 0;
  node->GetTool().SetData(&unit);
  return 1;
}

void CAppTools::ProcessDirectory(CToolNode* node, CZelDirSpec& dir, CString menuPath) {
  // The entries first, so that no folder stays open while the subfolders are read. Each
  // entry's kind is known before anything is opened: a pipe, socket or device in a shared
  // tool folder is passed over, never opened (a pipe would wait for a writer for ever).
  std::vector<std::pair<std::string, zel_fs::EntryKind>> entries;
  zel_fs::ContainedWalk::List(dir.GetPath(), [&](const char* name, zel_fs::EntryKind kind) {
    if (kind == zel_fs::EntryKind::File || kind == zel_fs::EntryKind::Folder)
      entries.emplace_back(name, kind);
  });
  for (const auto& [name, kind] : entries) {
    // A folder's title, like a file's, is its name without the extension.
    CString title = TitleOf(name.c_str());
    // Names that cannot be a menu path component are no tools.
    if (!zel_tools::IsSafeMenuComponent(title)) continue;
    CString path = menuPath.IsEmpty() ? title : menuPath + "|" + title;
    CZelDirSpec entry = dir + name.c_str();
    CMenuOrder* order = node->GetMenuOrder();
    if (kind == zel_fs::EntryKind::File) {
      CToolNode scratch("Blah");
      if (!ProcessToolFile(&scratch, entry.GetPath())) continue;
      CToolNode* child = node->GetSubnode(title, scratch.GetTool().m_producedType, this);
      if (order) child->SetMenuOrder(order->GetNode(title));
      child->SetData(&scratch.GetTool(), m_nextToolIndex++, path);
      continue;
    }
    CToolNode* sub = node->GetSubnode(title, CToolDataUnit::none, this);
    if (order) sub->SetMenuOrder(order->GetNode(title));
    // A folder reached a second time in one walk (through a link), or a link that leads
    // out of the tool folder, is not entered.
    if (!m_walk || m_walk->Enter(entry.GetPath())) ProcessDirectory(sub, entry, path);
    if (sub->GetChildren().IsEmpty()) node->RemoveSubNode(sub);
  }
}

void CAppTools::ReloadTools() {
  if (!m_root || !m_reloadNeeded) return;
  // Cleared before the scan rather than after it: a change the watcher marks while
  // the folder is read must stay marked, or it is lost until the next one.
  m_reloadNeeded = 0;
  m_nextToolIndex = 1;
  m_root->Clear();
  delete m_root->GetMenuOrder();
  m_root->SetMenuOrder(nullptr);
  if (TOOLSDIR.IsSpecSet()) {
    CZelFileSpec orderFile(TOOLSDIR, TOOLMENU_FILE_NAME, kProfile);
    m_root->SetMenuOrder(CMenuOrder::ReadOrderFile(orderFile.GetPath()));
  }
  if (TOOLSMENUDIR.IsSpecSet()) {
    CZelDirSpec dir = TOOLSMENUDIR;
    zel_fs::ContainedWalk walk(dir.GetPath());
    m_walk = &walk;
    if (walk.Enter(dir.GetPath())) ProcessDirectory(m_root, dir, "");
    m_walk = nullptr;
  }
}

namespace {

// The folders one change made on disk, taken back (deepest first) unless it succeeds.
class FoldersMade {
 public:
  ~FoldersMade() {
    if (m_keep) return;
    for (auto it = m_made.rbegin(); it != m_made.rend(); ++it)
      zel_fs::RemoveEmptyFolder(it->GetString());
  }
  void Add(const CString& path) { m_made.push_back(path); }
  void Keep() { m_keep = true; }

 private:
  std::vector<CString> m_made;
  bool m_keep = false;
};

// Makes dir and its missing parents, noting each made.
std::error_code MakeFolders(const CString& dir, FoldersMade& made) {
  std::vector<CString> missing;
  for (CString p = dir; !p.IsEmpty() && zel_fs::KindOfEntry(p) == zel_fs::EntryKind::None;) {
    missing.push_back(p);
    int sep = p.ReverseFind(ZEL_PATH_SEP);
    if (sep <= 0) break;
    p = p.Left(sep);
  }
  std::error_code err = zel_state::MakeDirs(dir);
  for (auto it = missing.rbegin(); it != missing.rend(); ++it)
    if (zel_fs::KindOfEntry(*it) == zel_fs::EntryKind::Folder) made.Add(*it);
  return err;
}

}  // namespace

int CAppTools::CreateTool(const char* menuPath, const CToolDataBase* definition) {
  m_createError.clear();
  // Checked before anything is touched: every component must be a plain name.
  std::vector<CString> parts;
  if (!m_root || !definition || !zel_tools::SplitMenuPath(menuPath, parts)) {
    m_createError = std::make_error_code(std::errc::invalid_argument);
    return 0;
  }
  if (!TOOLSMENUDIR.IsSpecSet()) {
    m_createError = std::make_error_code(std::errc::no_such_file_or_directory);
    return 0;
  }
  m_reloadNeeded = 1;
  FoldersMade made;
  // The tool folder itself is made when missing, so that a first tool can be created.
  if ((m_createError = MakeFolders(TOOLSMENUDIR.GetPath(), made))) return 0;
  CToolNode* node = m_root;
  CZelDirSpec dir = TOOLSMENUDIR;
  for (size_t i = 0; i + 1 < parts.size(); ++i) {
    node = node->GetSubnode(parts[i], CToolDataUnit::none, this);
    CString sub = zel_fs::JoinPath(dir.GetPath(), parts[i]);
    if ((m_createError = MakeFolders(sub, made))) return 0;
    dir += parts[i];
  }
  const CString& name = parts.back();
  // The definition as a record of kind 0, which the leaf keeps until the tree is loaded
  // again (then the file is read as the tool file it is).
  CToolDataUnit unit;
  unit.m_inputType = definition->m_inputType;
  unit.m_command = definition->m_command;
  unit.m_target = definition->m_target;
  unit.m_description = definition->m_description;
  // Written before the tree is changed, so that a tool that is not on disk never shows.
  CString file = zel_fs::JoinPath(dir.GetPath(), name + ".tq");
  if ((m_createError = unit.WriteToolFile(file))) return 0;
  made.Keep();
  CToolNode* leaf = node->GetSubnode(name, CToolDataUnit::tq, this);
  leaf->GetTool().SetData(&unit);
  leaf->SetMenuPath(menuPath);
  leaf->SetToolIndex(m_nextToolIndex++);
  m_reloadNeeded = 0;
  return 1;
}

CToolNode* CAppTools::FindTool(const char* menuPath, CToolDataUnit::ProducedTypes type) {
  if (!m_root || !menuPath) return nullptr;
  CString path = menuPath;
  CToolNode* node = m_root;
  int start = 0;
  POSITION pos;
  for (;;) {
    int bar = path.Find('|', start);
    if (bar < 0) break;
    node = node->FindSubnode(path.Mid(start, bar - start), CToolDataUnit::none, pos);
    if (!node) return nullptr;
    start = bar + 1;
  }
  node = node->FindSubnode(path.Mid(start), type, pos);
  if (!node || node->GetTool().GetRunMode() < 0) return nullptr;
  return node;
}

const CToolData* CAppTools::FindZelTool(const char* menuPath) {
  CToolNode* node = FindTool(menuPath, CToolDataUnit::tq);
  return node ? &node->GetTool() : nullptr;
}

const CToolDataBase* CAppTools::FindToolData(const char* menuPath) { return FindZelTool(menuPath); }

const CToolData* CAppTools::FindZelTool(int index) {
  if (index >= 0) {
    const CToolNode* node = m_root ? m_root->FindNode(index) : nullptr;
    if (!node) return nullptr;
    m_lastTool = node->GetMenuPath();
    return &node->GetTool();
  }
  switch (index) {
    case -1: {
      CString last = m_lastTool;
      return FindZelTool(last.GetString());
    }
    case -2:
      return FindZelTool("Corvane|About Quillion...");
    case -3:
      return FindZelTool("Send|Email Document...");
    case -4:
      return FindZelTool("Corvane|About...");
    default:
      return nullptr;
  }
}

// ---- the old tools profile ----

void CAppTools::NormalizeName(CString& name) {
  for (int i = 0; i < name.GetLength(); ++i)
    if (std::strchr("\\/:?*\"<>", name[i])) name.SetAt(i, '-');
}

void CAppTools::ClearProfileInMemory() {
  for (POSITION p = m_profileInMemory.GetStartPosition(); p;) {
    CString key;
    CObject* tool;
    m_profileInMemory.GetNextAssoc(p, key, tool);
    delete tool;
  }
  m_profileInMemory.RemoveAll();
}

void CAppTools::Serialize(CZelArchive& ar) {
  ar.OpenArray("CMapStringToOb");
  if (ar.IsStoring()) {
    for (POSITION p = m_profileInMemory.GetStartPosition(); p;) {
      CString key;
      CObject* tool;
      m_profileInMemory.GetNextAssoc(p, key, tool);
      ar(key);
      ar.WriteObject(tool, 0);
    }
  } else {
    while (!ar.AtEnd()) {
      CString key;
      ar(key);
      CObject* tool = ar.ReadObject(RUNTIME_CLASS(CToolData));
      NormalizeName(key);
      CObject* old;
      if (m_profileInMemory.Lookup(key, old)) delete old;
      if (tool)
        m_profileInMemory.SetAt(key, tool);
      else
        m_profileInMemory.RemoveKey(key);
    }
  }
  ar.CloseArray();
  // Six values of the old setup dialog, read and dropped (written empty).
  CString s1, s2, s3, s4;
  int i1 = 0, i2 = 0;
  ar(s1)(i1)(s2)(i2)(s3)(s4);
  if (ar.IsStoring()) {
    ar(m_lastTool);
  } else if (!ar.AtEnd()) {
    CString last;
    ar(last);
    m_lastTool = last;
  }
}

int CAppTools::ReadOldToolsProfile() {
  if (!TOOLSDIR.IsSpecSet()) return 0;
  CZelTextFile file(TOOLSDIR, TOOLPROF_FILE_NAME, kProfile);
  // Only a regular file is opened: a pipe at that name would make the opening wait.
  if (zel_fs::KindOfEntry(file.GetFileSpec().GetPath()) != zel_fs::EntryKind::File) return 0;
  if (!file.OpenInput()) return 0;
  ClearProfileInMemory();
  try {
    CZelArchive ar(&file, CZelArchive::load, nullptr, 75);
    ar.SerializeMember(this, &ZelSerializeThunk<CAppTools, &CAppTools::_zel_serialize>,
                       "CToolsSetupDlg");
    ar.Close();
  } catch (CException& e) {
    file.ReportException(&e);
  }
  file.SafeClose(0);
  UpdateMenuArray();
  ClearProfileInMemory();
  return 1;
}

void CAppTools::UpdateMenuArray() {
  if (!m_root) return;
  m_root->Clear();
  int counter = 0;
  for (POSITION p = m_profileInMemory.GetStartPosition(); p;) {
    CString key;
    CObject* object;
    m_profileInMemory.GetNextAssoc(p, key, object);
    CString treePath = key.Left(5) == "Align" || key.Left(7) == "Analyze" ? key : "Tools|" + key;
    // Every pair counts, so that each keeps the index it always had: indexes 0 to 776
    // in turn, then -1 (no command identifier left).
    int index = counter <= ZEL_MAX_TOOLS ? counter : -1;
    ++counter;
    // Stricter than the platform it came from: an entry whose path has an empty, "." or
    // ".." component is skipped, so that no tool file lands outside the tool folder.
    std::vector<CString> parts;
    if (!zel_tools::SplitMenuPath(treePath, parts)) continue;
    m_root->AddToolData(treePath, static_cast<CToolData*>(object), index, CToolDataUnit::none,
                        this);
  }
}

int CAppTools::makeTQFile(CToolNode* node, CZelDirSpec* dir) {
  CZelFileSpec spec(*dir, node->GetName(), kSuiteText);
  return CToolDataUnit::FieldsOf(node->GetTool()).Write(spec.GetPath()) ? 1 : 0;
}

int CAppTools::CreateSubTool(CToolNode* node, CZelDirSpec* dir) {
  if (node->GetToolIndex() >= 1) return makeTQFile(node, dir);
  for (POSITION p = node->GetChildren().GetHeadPosition(); p;) {
    auto* child = static_cast<CToolNode*>(node->GetChildren().GetNext(p));
    if (child->GetToolIndex() >= 0) {
      if (!makeTQFile(child, dir)) return 0;
      continue;
    }
    if (!dir->MakeSubdir(child->GetName())) return 0;
    CZelDirSpec sub = *dir + child->GetName().GetString();
    if (!CreateSubTool(child, &sub)) return 0;
  }
  return 1;
}

int CAppTools::CreateNewDirectoryTools(const char* path) {
  ReadOldToolsProfile();
  if (!path || zel_state::MakeDirs(path)) return 0;
  CZelDirSpec dir(path);
  for (POSITION p = m_root->GetChildren().GetHeadPosition(); p;) {
    auto* child = static_cast<CToolNode*>(m_root->GetChildren().GetNext(p));
    CZelDirSpec at = dir;
    if (child->GetToolIndex() < 0) {
      if (!dir.MakeSubdir(child->GetName())) return 0;
      at = dir + child->GetName().GetString();
    }
    // A tool at the top is written by CreateSubTool from index 1 on: the profile's first
    // entry, when it stands at the top, is left out here (the command-line migration
    // writes every tool).
    if (!CreateSubTool(child, &at)) return 0;
  }
  return 1;
}
