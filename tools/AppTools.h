/// \class CAppTools
/// CAppTools: the tool manager. One lives in each application, which derives from it to
/// supply the document data that tools take (the input-type handlers). It loads the tool
/// tree from the tool folder, creates tools, finds them, migrates the old tools profile,
/// runs tools (the command line is built from the tool's template and the handlers' data,
/// and the target is started by the platform's launch rule, platform/process), merges the
/// tools into the application's menus, and watches the tool folder.
///
/// Threads: the manager watches the tool folder on a thread of its own (started by the
/// constructor, stopped by the destructor, which waits a few seconds for it and leaves a
/// thread stalled in a folder behind, holding nothing of the manager). Once its watch is
/// set up, and on each change, that thread marks the tree stale and sends "WM_MENUCHANGE"
/// to the windows set with SetMainWindow (else the main window) and waits until they have
/// handled it; everything else, menus and the tree included, happens on the
/// user-interface thread.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "ZelExport.h"
#include "platform/base/collections/Collections.h"
#include "tools/ToolNode.h"

class CCmdUI;
class CFrameWnd;
class CMenu;
class CMenuHolder;
class CMenuOrder;
class CWnd;
class CZelArchive;
class CZelDirSpec;
struct ZEL_RTTI_LINK;
namespace zel_fs {
class ContainedWalk;
}
namespace zel_sync {
class Event;
}

/// The registered message "WM_MENUCHANGE" (numbered when the library is loaded): the tool
/// folder changed. WPARAM: the menu to rebuild (a menu handle's value, or 0); LPARAM: 0.
extern ZEL_API const UINT WM_MENUCHANGE;

class ZEL_API CAppTools : public CObject {
  DECLARE_DYNCREATE(CAppTools)
 public:
  /// What a handler gets for running a tool; it fills the four strings.
  struct CDXexec {
    CFrameWnd* frame = nullptr;
    int inputType = 0;
    const char* target = nullptr;
    int runMode = -1;
    const char* command = nullptr;
    CString dataFile;  ///< %1
    CString second;    ///< %2
    CString third;     ///< %3
    CString fourth;    ///< %4
    int selectorA = 0;
    int selectorB = 0;
    int moleculeKind = 0;  ///< 1 nucleic acid, 2 protein
    int optionC = 0;
    int optionD = 0;
    int protein = 0;
    BYTE flag = 0;
  };
  /// What a handler gets for deciding whether a tool is enabled.
  struct CDXistool {
    CFrameWnd* frame = nullptr;
    int inputType = 0;
    int selectorA = 0;
    int selectorB = 0;
    int moleculeKind = 0;
    int protein = 0;
    int sequenceWanted = 0;
  };

  /// What a window's handler of "WM_MENUCHANGE" asks DoMenuChange to rebuild.
  struct CChangeInfo {
    CMenu* menu = nullptr;    ///< null: the window's own menu bar
    CString name;             ///< the name the menu is registered under
    int unregisterAfter = 0;  ///< remove the registration after the rebuild
    int offset = 0;
    CWnd* window = nullptr;  ///< the window that owns the menu
    int position = -1;       ///< -1: after the registered tools position
  };

  /// Whether the manager watches the tool folder: the default, as an application's does;
  /// or not (no thread, the old tools profile is not migrated), for a manager that only
  /// reads the folder, such as a command-line tool's.
  enum Watching { kWatch, kNoWatch };
  CAppTools();
  explicit CAppTools(Watching watching);
  ~CAppTools() override;
  CAppTools(const CAppTools&) = delete;
  CAppTools& operator=(const CAppTools&) = delete;

  CToolNode* GetMainNode() const { return m_root; }
  void SetMainNode(CToolNode* root) { m_root = root; }
  void SetLastTool(const char* menuPath) { m_lastTool = menuPath; }
  CString GetLastTool() const { return m_lastTool; }
  int GetReloadNeeded() const { return m_reloadNeeded.load(); }
  void SetReloadNeeded(int needed) { m_reloadNeeded.store(needed); }
  int GetNextToolIndex() const { return m_nextToolIndex; }
  /// The input types the application lists, and whether they are the only supported ones
  /// (includes non-zero) or the unsupported ones (0).
  CWordArray& GetTypeList() { return m_typeList; }
  void SetTypeListIncludes(int includes) { m_typeListIncludes = includes; }

  /// Whether the application can supply document data now; the base answers 0.
  virtual int IsReady();
  /// Rebuilds the tree from the tool folder, when a reload is needed.
  virtual void ReloadTools();

  /// Writes a new tool file and adds it to the tree; 1 on success, 0 on failure. A menu
  /// path with an empty component, ".", "..", or one holding '/' or '\' is refused before
  /// anything is touched (stricter than the platform it came from, on purpose: no tool
  /// file may land outside the tool folder). The new leaf is a node of kind 0 until the
  /// tree is loaded again. A failure takes back the folders this call made on disk.
  int CreateTool(const char* menuPath, const CToolDataBase* definition);
  /// Why the last CreateTool answered 0 (no error after a success).
  std::error_code GetCreateError() const { return m_createError; }

  CToolNode* FindTool(const char* menuPath, CToolDataUnit::ProducedTypes type);
  const CToolData* FindZelTool(const char* menuPath);
  const CToolDataBase* FindToolData(const char* menuPath);
  /// A tool by index (it becomes the last tool), or a fixed entry: -1 the last tool, -2
  /// "Corvane|About Quillion...", -3 "Send|Email Document...", -4 "Corvane|About...".
  const CToolData* FindZelTool(int index);

  /// The old tools profile (ToolProf.ini in the tools folder) into the tree.
  int ReadOldToolsProfile();
  using CObject::Serialize;
  void Serialize(CZelArchive& ar);
  static void _zel_serialize(CAppTools* object, CZelArchive& ar);
  static ZEL_RTTI_LINK _zel_rtti_link;
  void UpdateMenuArray();
  void ClearProfileInMemory();
  CMapStringToOb& GetProfileInMemory() { return m_profileInMemory; }
  /// Every character of \/:?*"<> becomes '-'.
  static void NormalizeName(CString& name);
  /// The old profile's tools written as tool files under path; 1 on success.
  int CreateNewDirectoryTools(const char* path);

  // ---- running (tool execution) ----
  virtual void ExecuteTool(CFrameWnd* frame, int inputType, const char* target, int runMode,
                           const char* command);
  virtual int IsToolEnabled(CFrameWnd* frame, int inputType);
  virtual void LaunchToolProgram(const char* target, int runMode, CString args);
  /// Run mode 2's hook; the base does nothing.
  virtual void ExecuteCommand(char* command, CString& result);
  virtual int IsProtein(CFrameWnd* frame);
  virtual CString GetLocalCreatorEmail();
  virtual CString GetSourceURL();

  void OnZelTool(CFrameWnd* frame, int index);
  /// Enables the item of a tool of input type 0, or of one the application is ready for
  /// and the tool's enable test allows; an index without a tool reads "-No Tool-",
  /// disabled.
  void OnUpdateZelTool(CCmdUI* ui, CFrameWnd* frame, int index);
  /// Index -2 opens the product's page, -4 to -7 the maker's web entries, any other
  /// runs the tool with the main window's frame (its active frame: an MDI frame's active
  /// child).
  void OnZelToolMF(int index);
  /// Indexes -2 and -4 are always enabled; any other as OnUpdateZelTool with the main
  /// window's frame.
  void OnUpdateZelToolMF(CCmdUI* ui, int index);
  /// The status prompt of a tool command: the description, or null.
  const char* MaybeZelToolPrompt(UINT commandId);
  void OpenLinkData(CString linkName, CString linkData);
  /// The link data while a link tool runs (empty otherwise), for the handler of the
  /// application's 'Link Data' input type.
  static const CString& GetLinkData();

  /// Whether the last start of a program failed (its message was shown).
  bool LastLaunchFailed() const { return m_lastLaunchFailed; }

  // ---- menus (tool menu merging) ----
  /// Registers menu under name (case-sensitive). Without positions the marks are read
  /// from the menu's top-level items from offset on: a checked item marks a tool position
  /// (its check is removed), a disabled popup is the tools popup (it is enabled).
  void RegisterMenu(const char* name, CMenu* menu, int* positions, int count, int offset);
  /// Removes every registration of that name.
  void UnRegisterMenu(const char* name);
  int CheckMenu(const char* name);
  /// Removes the tool items (identifiers 44444 to 45444) the menu holds, reloads the tree
  /// when needed, and merges the tools in: folders into the application's popups of the
  /// same name (mnemonics ignored), the rest inserted from position + offset (-1: after
  /// the tools popup).
  void UpdateMenu(const char* name, CMenu* menu, int position, int offset);

  // ---- watching the tool folder (tool change monitoring) ----
  int IsLoopActive() const { return m_loopActive.load(); }
  /// Whether the folder is being watched now (it exists and its watch is set up).
  int IsWatching() const { return m_watching.load(); }
  /// Appends first and each other window given to the windows told of changes.
  void SetMainWindow(CWnd* first, CWnd* second = nullptr, CWnd* third = nullptr,
                     CWnd* fourth = nullptr);
  /// Sends "WM_MENUCHANGE" (WPARAM menu) to window, or, when null, to the first window set
  /// (else the main window) and then to the others in order; waits for each to handle it.
  void ExecuteChangeHandler(HMENU menu, CWnd* window);
  /// Rebuilds one menu on the user-interface thread: registers it when needed, updates it,
  /// lets the window lay out its frame again and redraws its menu bar.
  void DoMenuChange(CChangeInfo* info);
  /// The folder the watch covers (while none is watched, the tool-menu folder's path).
  CString GetWatchedPath() const;

  /// The identifier of the last-tool command, and the product's web page.
  static constexpr UINT kLastToolCommand = 30220;
  static const char* const kProductPage;
  static const char* const kMakerHomePage;

 protected:
  int ProcessToolFile(CToolNode* node, const char* path);
  void ProcessDirectory(CToolNode* node, CZelDirSpec& dir, CString menuPath);
  virtual int IsTypeSupported(int inputType);
  int CreateSubTool(CToolNode* node, CZelDirSpec* dir);
  int makeTQFile(CToolNode* node, CZelDirSpec* dir);

  CMenuHolder* FindMenu(const char* name);
  /// The popup of that name in menu, appended (identifier and item data 0) when missing.
  CMenu* GetSubMenu(CMenu* menu, CString& name);
  /// Appends node's tools to menu (folders into popups of their names).
  void InsertSubMenu(CToolNode* node, CMenu* menu);
  /// The first popup of menu whose non-empty text equals name by CompareMenuString, and
  /// its position in *position; null when none.
  CMenu* FindSubMenuByName(CMenu* menu, CString& name, int* position);
  /// 1 when the texts are equal with every '&' skipped (case counts), else 0.
  int CompareMenuString(CString& a, CString& b);

  int StartToolMenuMonitoring();
  void StopToolMenuMonitoring();

  /// The input-type handlers; each base one answers 0.
  virtual int onemol(CDXistool& data);
  virtual int onemol(CDXexec& data);
  virtual int oneseq(CDXexec& data);
  virtual int nfasta(CDXexec& data);
  virtual int ngenbank(CDXexec& data);
  virtual int oneembl(CDXexec& data);
  virtual int nembl(CDXexec& data);
  virtual int anydoc(CDXistool& data);
  virtual int anydoc(CDXexec& data);
  virtual int OnZavUVIZ(CDXexec& data);
  virtual int OnEkMols(CDXistool& data);
  virtual int OnEkMols(CDXexec& data);
  virtual int OnDBList(CDXistool& data);
  virtual int OnDBList(CDXexec& data);
  virtual int nmol(CDXistool& data);
  virtual int genmol(CDXistool& data);
  virtual int OnUpdateZavUVIZ(CDXistool& data);

  /// Shows a launch failure in the platform's words (a host may add what it knows).
  virtual void ReportLaunchFailure(const std::error_code& err, const CString& program,
                                   const CString& args);

  /// Members, in the order of the platform's manager. The two flags the watching thread
  /// shares with the user-interface thread are atomic; the window list has a lock, since
  /// the watching thread reads it.
  std::thread m_monitorThread;
  std::atomic<int> m_loopActive{0};
  int m_nextToolIndex = 1;
  /// What the watching thread shares with the manager: its stop event among them. Shared,
  /// so that a thread left behind in a stalled folder never reaches the manager again.
  struct MonitorLink;
  std::shared_ptr<MonitorLink> m_monitor;
  CToolNode* m_root = nullptr;
  CString m_lastTool;
  CObList m_menus;
  CPtrArray m_windows;
  CWordArray m_typeList;
  int m_typeListIncludes = 0;
  CMapStringToOb m_profileInMemory;
  CString m_watchedPath;
  std::atomic<int> m_reloadNeeded{1};

 private:
  /// The thread's body; link is its MonitorLink.
  static void ToolMonitor(void* link);
  /// A send of "WM_MENUCHANGE" that a stop of the watch ends.
  void SendChange(CWnd* window, HMENU menu);

  zel_fs::ContainedWalk* m_walk = nullptr;  ///< while ReloadTools walks
  std::error_code m_createError;
  bool m_lastLaunchFailed = false;
  std::atomic<int> m_watching{0};
  mutable std::mutex m_windowsMutex;
};

/// A tool target's location prefix resolved: "~..\" names a file in the executables'
/// folder, "~" one in the tools folder (the rest's '\' read as the separator); any other
/// target as it is.
ZEL_API CString ResolveToolTarget(const char* target);

/// Starts the tool-setup program "ToolManager.exe", looked up on PATH.
ZEL_API void SetupZelTools();
/// Opens the web entry key of "NCBILink.ini" beside the program (section "home"); the
/// answer tells whether a value was found.
ZEL_API bool OpenCorvaneBioinformaticsHome(const char* key);
