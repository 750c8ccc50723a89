// CAppTools: the tool manager. One lives in each application, which derives from it to
// supply the document data that tools take (the input-type handlers). It loads the tool
// tree from the tool folder, creates tools, finds them, migrates the old tools profile,
// and runs tools: the command line is built from the tool's template and the handlers'
// data, and the target is started by the platform's launch rule (platform/process).
//
// Not here yet: the menus (appending to a menu, enabling menu items, the frame's kind)
// and the folder watch; the constructor and destructor mark where the watch goes.
#pragma once

#include <system_error>

#include "platform/afx/Collections.h"
#include "tools/ToolNode.h"

class CFrameWnd;
class CMenuOrder;
class CZelArchive;
class CZelDirSpec;
struct ZEL_RTTI_LINK;
namespace zel_fs {
class FolderWalkGuard;
}

class CAppTools : public CObject {
  DECLARE_DYNCREATE(CAppTools)
 public:
  // What a handler gets for running a tool; it fills the four strings.
  struct CDXexec {
    CFrameWnd* frame = nullptr;
    int inputType = 0;
    const char* target = nullptr;
    int runMode = -1;
    const char* command = nullptr;
    CString dataFile;  // %1
    CString second;    // %2
    CString third;     // %3
    CString fourth;    // %4
    int selectorA = 0;
    int selectorB = 0;
    int moleculeKind = 0;  // 1 nucleic acid, 2 protein
    int optionC = 0;
    int optionD = 0;
    int protein = 0;
    BYTE flag = 0;
  };
  // What a handler gets for deciding whether a tool is enabled.
  struct CDXistool {
    CFrameWnd* frame = nullptr;
    int inputType = 0;
    int selectorA = 0;
    int selectorB = 0;
    int moleculeKind = 0;
    int protein = 0;
    int sequenceWanted = 0;
  };

  CAppTools();
  ~CAppTools() override;
  CAppTools(const CAppTools&) = delete;
  CAppTools& operator=(const CAppTools&) = delete;

  CToolNode* GetMainNode() const { return m_root; }
  void SetMainNode(CToolNode* root) { m_root = root; }
  void SetLastTool(const char* menuPath) { m_lastTool = menuPath; }
  CString GetLastTool() const { return m_lastTool; }
  int GetReloadNeeded() const { return m_reloadNeeded; }
  void SetReloadNeeded(int needed) { m_reloadNeeded = needed; }
  int GetNextToolIndex() const { return m_nextToolIndex; }
  // The input types the application lists, and whether they are the only supported ones
  // (includes non-zero) or the unsupported ones (0).
  CWordArray& GetTypeList() { return m_typeList; }
  void SetTypeListIncludes(int includes) { m_typeListIncludes = includes; }

  // Whether the application can supply document data now; the base answers 0.
  virtual int IsReady();
  // Rebuilds the tree from the tool folder, when a reload is needed.
  virtual void ReloadTools();

  // Writes a new tool file and adds it to the tree; 1 on success, 0 on failure. A menu
  // path with an empty component, ".", "..", or one holding '/' or '\' is refused before
  // anything is touched (stricter than the platform it came from, on purpose: no tool
  // file may land outside the tool folder).
  int CreateTool(const char* menuPath, const CToolDataBase* definition);

  CToolNode* FindTool(const char* menuPath, CToolDataUnit::ProducedTypes type);
  const CToolData* FindZelTool(const char* menuPath);
  const CToolDataBase* FindToolData(const char* menuPath);
  // A tool by index (it becomes the last tool), or a fixed entry: -1 the last tool, -2
  // "Corvane|About Quillion...", -3 "Send|Email Document...", -4 "Corvane|About...".
  const CToolData* FindZelTool(int index);

  // The old tools profile (ToolProf.ini in the tools folder) into the tree.
  int ReadOldToolsProfile();
  using CObject::Serialize;
  void Serialize(CZelArchive& ar);
  static void _zel_serialize(CAppTools* object, CZelArchive& ar);
  static ZEL_RTTI_LINK _zel_rtti_link;
  void UpdateMenuArray();
  void ClearProfileInMemory();
  CMapStringToOb& GetProfileInMemory() { return m_profileInMemory; }
  // Every character of \/:?*"<> becomes '-'.
  static void NormalizeName(CString& name);
  // The old profile's tools written as tool files under path; 1 on success.
  int CreateNewDirectoryTools(const char* path);

  // ---- running (tool execution) ----
  virtual void ExecuteTool(CFrameWnd* frame, int inputType, const char* target, int runMode,
                           const char* command);
  virtual int IsToolEnabled(CFrameWnd* frame, int inputType);
  virtual void LaunchToolProgram(const char* target, int runMode, CString args);
  // Run mode 2's hook; the base does nothing.
  virtual void ExecuteCommand(char* command, CString& result);
  virtual int IsProtein(CFrameWnd* frame);
  virtual CString GetLocalCreatorEmail();
  virtual CString GetSourceURL();

  void OnZelTool(CFrameWnd* frame, int index);
  // Index -2 opens the product's page, -4 to -7 the maker's web entries, any other
  // runs the tool with the main window's frame.
  void OnZelToolMF(int index);
  // The status prompt of a tool command: the description, or null.
  const char* MaybeZelToolPrompt(UINT commandId);
  void OpenLinkData(CString linkName, CString linkData);
  // The link data while a link tool runs (empty otherwise), for the handler of the
  // application's 'Link Data' input type.
  static const CString& GetLinkData();

  // Whether the last start of a program failed (its message was shown).
  bool LastLaunchFailed() const { return m_lastLaunchFailed; }

  // The identifier of the last-tool command, and the product's web page.
  static constexpr UINT kLastToolCommand = 30220;
  static const char* const kProductPage;
  static const char* const kMakerHomePage;

 protected:
  int ProcessToolFile(CToolNode* node, const char* path);
  void ProcessDirectory(CToolNode* node, CZelDirSpec& dir, CString menuPath);
  virtual int IsTypeSupported(int inputType);
  int CreateSubTool(CToolNode* node, CZelDirSpec* dir);
  int makeTQFile(CToolNode* node, CZelDirSpec* dir);

  // The input-type handlers; each base one answers 0.
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

  // Shows a launch failure in the platform's words.
  void ReportLaunchFailure(const std::error_code& err, const CString& program, const CString& args);

  // Members, in the order of the platform's manager.
  int m_monitorThread = 0;  // the folder watch's thread, when there is one
  int m_loopActive = 0;
  int m_nextToolIndex = 1;
  int m_stopEvent = 0;
  CToolNode* m_root = nullptr;
  CString m_lastTool;
  CObList m_menus;
  CPtrArray m_windows;
  CWordArray m_typeList;
  int m_typeListIncludes = 0;
  CMapStringToOb m_profileInMemory;
  const char* m_watchedPath = nullptr;
  int m_reloadNeeded = 1;

 private:
  zel_fs::FolderWalkGuard* m_walkGuard = nullptr;  // while ReloadTools walks
  bool m_lastLaunchFailed = false;
};

// Starts the tool-setup program "ToolManager.exe", looked up on PATH.
void SetupZelTools();
// Opens the web entry key of "NCBILink.ini" beside the program (section "home"); the
// answer tells whether a value was found.
bool OpenCorvaneBioinformaticsHome(const char* key);
