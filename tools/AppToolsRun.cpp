// Running tools: the input-type table, the command line, starting the target, and the
// menu-command entry points, links and web entries.
#include <string>
#include <vector>

#include "layout/DirectoryLayout.h"
#include "platform/base/string/FormatStrings.h"
#include "platform/os/fs/FileSystem.h"
#include "platform/os/host/Host.h"
#include "platform/os/process/Process.h"
#include "platform/os/profile/ProfileFile.h"
#include "platform/user/app/WinApp.h"
#include "platform/user/framework/CmdUI.h"
#include "platform/user/framework/FrameWnd.h"
#include "platform/user/ui/UiBackend.h"
#include "tools/AppTools.h"

const char* const CAppTools::kProductPage = "https://www.corvane.com/quillion";
const char* const CAppTools::kMakerHomePage = "https://www.corvane.com/bioinformatics";

namespace {

enum Exec {
  xNone,
  xOneseq,
  xNfasta,
  xOnemol,
  xAnydoc,
  xNgenbank,
  xOneembl,
  xNembl,
  xZav,
  xEkMols,
  xDBList
};
enum Enable { eNone, eOnemol, eNmol, eGenmol, eAnydoc, eZav, eEkMols, eDBList };

constexpr int _ = -9;  // a blank cell: the value is not set
constexpr int P = -1;  // the frame's own kind: 2 for a protein frame, else 1

struct Row {
  Exec exec;
  int a, b, kind, c, d;
  Enable enable;
  int ea, eb, ekind, s;
};

// Input types 0 to 50: the handler called to run and its values, the handler called to
// enable and its values.
constexpr Row kTypes[51] = {
    /* 0 */ {xNone, _, _, _, _, _, eNone, _, _, _, _},
    /* 1 */ {xOneseq, _, _, 1, _, 0, eOnemol, _, _, 1, 1},
    /* 2 */ {xOneseq, _, _, 1, _, 0, eOnemol, _, _, 1, 1},
    /* 3 */ {xNfasta, 1, 0, 1, _, _, eNmol, 1, 0, 1, _},
    /* 4 */ {xOnemol, _, _, 1, 1, _, eOnemol, _, _, 1, 0},
    /* 5 */ {xOnemol, _, _, 1, 0, _, eGenmol, _, _, _, _},
    /* 6 */ {xAnydoc, _, _, _, _, _, eAnydoc, _, _, _, _},
    /* 7 */ {xNone, _, _, _, _, _, eNone, _, _, _, _},
    /* 8 */ {xOneseq, _, _, 1, _, 0, eOnemol, _, _, 1, 1},
    /* 9 */ {xOnemol, _, _, 1, 1, _, eOnemol, _, _, 1, 0},
    /* 10 */ {xNgenbank, 2, 2, 1, _, _, eNmol, 2, 2, 1, _},
    /* 11 */ {xNgenbank, 1, 0, 1, _, _, eNmol, 1, 0, 1, _},
    /* 12 */ {xNgenbank, 2, 0, 1, _, _, eNmol, 2, 0, 1, _},
    /* 13 */ {xOneembl, _, _, 1, _, _, eOnemol, _, _, 1, 0},
    /* 14 */ {xNembl, 2, 2, 1, _, _, eNmol, 2, 2, 1, _},
    /* 15 */ {xNembl, 1, 0, 1, _, _, eNmol, 1, 0, 1, _},
    /* 16 */ {xNembl, 2, 0, 1, _, _, eNmol, 2, 0, 1, _},
    /* 17 */ {xOneseq, _, _, 1, _, 1, eOnemol, _, _, 1, 1},
    /* 18 */ {xNfasta, 2, 2, 1, _, _, eNmol, 2, 2, 1, _},
    /* 19 */ {xNfasta, 1, 0, 1, _, _, eNmol, 1, 0, 1, _},
    /* 20 */ {xNfasta, 2, 0, 1, _, _, eNmol, 2, 0, 1, _},
    /* 21 */ {xOneseq, _, _, 2, _, 0, eOnemol, _, _, 2, 1},
    /* 22 */ {xOnemol, _, _, 2, 1, _, eOnemol, _, _, 2, 0},
    /* 23 */ {xNgenbank, 2, 2, 2, _, _, eNmol, 2, 2, 2, _},
    /* 24 */ {xNgenbank, 1, 0, 2, _, _, eNmol, 1, 0, 2, _},
    /* 25 */ {xNgenbank, 2, 0, 2, _, _, eNmol, 2, 0, 2, _},
    /* 26 */ {xOneembl, _, _, 2, _, _, eOnemol, _, _, 2, 0},
    /* 27 */ {xNembl, 2, 2, 2, _, _, eNmol, 2, 2, 2, _},
    /* 28 */ {xNembl, 1, 0, 2, _, _, eNmol, 1, 0, 2, _},
    /* 29 */ {xNembl, 2, 0, 2, _, _, eNmol, 2, 0, 2, _},
    /* 30 */ {xOneseq, _, _, 2, _, 1, eOnemol, _, _, 2, 1},
    /* 31 */ {xNfasta, 2, 2, 2, _, _, eNmol, 2, 2, 2, _},
    /* 32 */ {xNfasta, 1, 0, 2, _, _, eNmol, 1, 0, 2, _},
    /* 33 */ {xNfasta, 2, 0, 2, _, _, eNmol, 2, 0, 2, _},
    /* 34 */ {xOneseq, _, _, P, _, 0, eOnemol, _, _, P, 1},
    /* 35 */ {xOneseq, _, _, P, _, 1, eOnemol, _, _, P, 1},
    /* 36 */ {xNfasta, 2, 2, P, _, _, eNmol, 2, 2, P, _},
    /* 37 */ {xNfasta, 1, 0, P, _, _, eNmol, 1, 0, P, _},
    /* 38 */ {xNfasta, 2, 0, P, _, _, eNmol, 2, 0, P, _},
    /* 39 */ {xOnemol, _, _, P, 1, _, eOnemol, _, _, P, 0},
    /* 40 */ {xNgenbank, 2, 2, P, _, _, eNmol, 2, 2, P, _},
    /* 41 */ {xNgenbank, 1, 0, P, _, _, eNmol, 1, 0, P, _},
    /* 42 */ {xNgenbank, 2, 0, P, _, _, eNmol, 2, 0, P, _},
    /* 43 */ {xOneembl, _, _, P, _, _, eOnemol, _, _, P, 0},
    /* 44 */ {xNembl, 2, 2, P, _, _, eNmol, 2, 2, P, _},
    /* 45 */ {xNembl, 1, 0, P, _, _, eNmol, 1, 0, P, _},
    /* 46 */ {xNembl, 2, 0, P, _, _, eNmol, 2, 0, P, _},
    /* 47 */ {xZav, _, _, _, _, _, eZav, _, _, _, _},
    /* 48 */ {xEkMols, 1, 0, P, _, _, eEkMols, 1, 0, 1, _},
    /* 49 */ {xEkMols, 1, 0, P, _, _, eEkMols, 1, 0, 2, _},
    /* 50 */ {xDBList, _, _, _, _, _, eDBList, _, _, _, _},
};

void Set(int& field, int value, int ownKind) {
  if (value == _) return;
  field = value == P ? ownKind : value;
}

CString g_linkData;

// The main window's frame: the frame whose document is current (an MDI frame's active
// child), null when the main window is no frame.
CFrameWnd* MainFrame() {
  CWnd* main = AfxGetMainWnd();
  if (!main || !main->IsKindOf(RUNTIME_CLASS(CFrameWnd))) return nullptr;
  return static_cast<CFrameWnd*>(main)->GetActiveFrame();
}

// The folder a relative target is taken from: the tool folder, as an absolute path (the
// working folder is whatever the host was started in, never the tool's).
CString ToolBase() {
  CString base;
  if (TOOLSMENUDIR.IsSpecSet()) zel_fs::FullPathName(TOOLSMENUDIR.GetPath(), base);
  return base;
}

// Starts a program or opens a document or address; the failure in the tool's words.
bool Start(const CString& program, const CString& args, std::error_code& err) {
  err = zel_process::Launch(program, args, ToolBase());
  return !err;
}

// A value that must reach the program as one argument, in quotes that the command-line
// splitter undoes. Plain quotes would let a '"' in the data close them and start options
// of its own, and a trailing '\' swallow the closing quote.
CString Quoted(const CString& value) {
  return CString(zel_process::QuoteWindowsArgument(value.str()));
}

// A data file is quoted when the splitter would cut it or eat its quotes.
CString DataFileArgument(CString path) {
  // A name like "-rf" is the file, never an option of the tool's.
  if (path.GetLength() > 0 && path[0] == '-') zel_fs::FullPathName(CString(path), path);
  return path.FindOneOf(" \t\"") >= 0 ? Quoted(path) : path;
}

CString LaunchFailureText(const std::error_code& err, const CString& program, const CString& args) {
  switch (zel_process::FailureOf(err)) {
    case zel_process::Failure::None:
      return CString();
    case zel_process::Failure::OutOfMemory:
      return "The system is out of memory or resources.";
    case zel_process::Failure::NotFound:
      return "The executable file was not found: " + program;
    case zel_process::Failure::Invalid:
      return "The executable file is invalid: " + program;
    case zel_process::Failure::Refused:
      return CString("Addresses of the scheme \"") + zel_process::UrlScheme(program).c_str() +
             "\" are not opened (only http, https, ftp and mailto are): " + program;
    case zel_process::Failure::Other:
      break;
  }
  return "Command error: " + program + " " + args;
}

}  // namespace

// A target's location prefix resolved: "~..\" the executables' folder, "~" the tools
// folder; the rest of the target (its '\' read as the separator) names a file there.
CString ResolveToolTarget(const char* target) {
  CString t = target ? target : "";
  int kind = 0;
  CString rest = GetScriptTitle(t, &kind);
  if (kind == 0) return t;
  const CZelDirSpec& dir = kind == 1 ? EXEDIR : TOOLSDIR;
  rest.Replace('\\', ZEL_PATH_SEP);
  if (!dir.IsSpecSet()) return rest;
  CString path = CString(dir.GetPath()) + ZEL_PATH_SEP_STR + rest;
  // The folders may have been given relative to the working folder; the file is where
  // they are now.
  zel_fs::FullPathName(CString(path), path);
  return path;
}

const CString& CAppTools::GetLinkData() { return g_linkData; }

int CAppTools::IsProtein(CFrameWnd*) { return 0; }
CString CAppTools::GetLocalCreatorEmail() { return CString(); }
CString CAppTools::GetSourceURL() { return CString(); }
void CAppTools::ExecuteCommand(char*, CString&) {}

int CAppTools::onemol(CDXistool&) { return 0; }
int CAppTools::onemol(CDXexec&) { return 0; }
int CAppTools::oneseq(CDXexec&) { return 0; }
int CAppTools::nfasta(CDXexec&) { return 0; }
int CAppTools::ngenbank(CDXexec&) { return 0; }
int CAppTools::oneembl(CDXexec&) { return 0; }
int CAppTools::nembl(CDXexec&) { return 0; }
int CAppTools::anydoc(CDXistool&) { return 0; }
int CAppTools::anydoc(CDXexec&) { return 0; }
int CAppTools::OnZavUVIZ(CDXexec&) { return 0; }
int CAppTools::OnEkMols(CDXistool&) { return 0; }
int CAppTools::OnEkMols(CDXexec&) { return 0; }
int CAppTools::OnDBList(CDXistool&) { return 0; }
int CAppTools::OnDBList(CDXexec&) { return 0; }
int CAppTools::nmol(CDXistool&) { return 0; }
int CAppTools::genmol(CDXistool&) { return 0; }
int CAppTools::OnUpdateZavUVIZ(CDXistool&) { return 0; }

void CAppTools::ExecuteTool(CFrameWnd* frame, int inputType, const char* target, int runMode,
                            const char* command) {
  if (inputType < 0 || inputType > 50) return;
  CDXexec d;
  d.frame = frame;
  d.inputType = inputType;
  d.target = target;
  d.runMode = runMode;
  d.command = command;
  d.protein = IsProtein(frame);
  d.flag = 1;
  const Row& row = kTypes[inputType];
  const int own = d.protein ? 2 : 1;
  Set(d.selectorA, row.a, own);
  Set(d.selectorB, row.b, own);
  Set(d.moleculeKind, row.kind, own);
  Set(d.optionC, row.c, own);
  Set(d.optionD, row.d, own);
  int ok = 1;
  switch (row.exec) {
    case xNone:
      break;
    case xOneseq:
      ok = oneseq(d);
      break;
    case xNfasta:
      ok = nfasta(d);
      break;
    case xOnemol:
      ok = onemol(d);
      break;
    case xAnydoc:
      ok = anydoc(d);
      break;
    case xNgenbank:
      ok = ngenbank(d);
      break;
    case xOneembl:
      ok = oneembl(d);
      break;
    case xNembl:
      ok = nembl(d);
      break;
    case xZav:
      ok = OnZavUVIZ(d);
      break;
    case xEkMols:
      ok = OnEkMols(d);
      break;
    case xDBList:
      ok = OnDBList(d);
      break;
  }
  if (!ok) return;
  CString values[7];
  // Quoted with escapes, beyond plain wrapping: a file name may hold '"' here, and each
  // value must stay the one argument it was written as.
  values[0] = DataFileArgument(d.dataFile);
  values[1] = Quoted(d.second);
  values[2] = d.third;
  values[3] = d.fourth;
  values[4] = GetLocalCreatorEmail();
  values[5] = d.protein ? "aa" : "na";
  values[6] = GetSourceURL();
  const char* strings[7];
  for (int i = 0; i < 7; ++i) strings[i] = values[i];
  CString args;
  AfxFormatStrings(args, command, strings, 7);
  LaunchToolProgram(target, runMode, args);
}

int CAppTools::IsToolEnabled(CFrameWnd* frame, int inputType) {
  if (inputType < 0 || inputType > 50) return 0;
  CDXistool d;
  d.frame = frame;
  d.inputType = inputType;
  d.protein = IsProtein(frame);
  d.sequenceWanted = 0;
  const Row& row = kTypes[inputType];
  const int own = d.protein ? 2 : 1;
  Set(d.selectorA, row.ea, own);
  Set(d.selectorB, row.eb, own);
  Set(d.moleculeKind, row.ekind, own);
  Set(d.sequenceWanted, row.s, own);
  switch (row.enable) {
    case eNone:
      return 1;
    case eOnemol:
      return onemol(d);
    case eNmol:
      return nmol(d);
    case eGenmol:
      return genmol(d);
    case eAnydoc:
      return anydoc(d);
    case eZav:
      return OnUpdateZavUVIZ(d);
    case eEkMols:
      return OnEkMols(d);
    case eDBList:
      return OnDBList(d);
  }
  return 0;
}

void CAppTools::ReportLaunchFailure(const std::error_code& err, const CString& program,
                                    const CString& args) {
  if (err) AfxMessageBox(LaunchFailureText(err, program, args), MB_ICONSTOP);
}

void CAppTools::LaunchToolProgram(const char* target, int runMode, CString args) {
  m_lastLaunchFailed = false;
  CString resolved = ResolveToolTarget(target);
  CString program;
  switch (runMode) {
    case CToolData::runCommand: {
      std::vector<char> command(args.GetString(), args.GetString() + args.GetLength() + 1);
      CString result;
      ExecuteCommand(command.data(), result);
      return;
    }
    case CToolData::runScript: {
      program = TUVAPPFILE.IsSpecSet() ? CString(TUVAPPFILE.GetPath()) : CString();
      // The engine runs in the host's working folder: give it the script's whole path.
      CString base = ToolBase();
      if (!resolved.IsEmpty() && resolved[0] != ZEL_PATH_SEP && !base.IsEmpty())
        resolved = zel_fs::JoinPath(base, resolved);
      args = (resolved.FindOneOf(" \t\"") >= 0 ? Quoted(resolved) : resolved) + " " + args;
      break;
    }
    case CToolData::runShell:
      program = resolved;
      break;
    default:
      return;
  }
  std::error_code err;
  if (!Start(program, args, err)) {
    m_lastLaunchFailed = true;
    ReportLaunchFailure(err, program, args);
  }
}

void CAppTools::OnZelTool(CFrameWnd* frame, int index) {
  const CToolData* tool = FindZelTool(index);
  if (tool && (IsReady() || tool->m_inputType == 0)) tool->Execute(frame);
}

void CAppTools::OnUpdateZelTool(CCmdUI* ui, CFrameWnd* frame, int index) {
  if (!ui) return;
  const CToolData* tool = FindZelTool(index);
  if (!tool) {
    ui->SetText("-No Tool-");
    ui->Enable(FALSE);
    return;
  }
  ui->Enable(tool->m_inputType == 0 || (IsReady() && tool->IsEnabled(frame)));
}

void CAppTools::OnUpdateZelToolMF(CCmdUI* ui, int index) {
  if (!ui) return;
  if (index == -2 || index == -4) {
    ui->Enable(TRUE);
    return;
  }
  OnUpdateZelTool(ui, MainFrame(), index);
}

void CAppTools::OnZelToolMF(int index) {
  static const char* const kWebKeys[] = {"crvnbiohome", "qlliuc", "ipath", "iprotocol"};
  if (index == -2) {
    std::error_code err;
    if (!Start(kProductPage, "", err)) ReportLaunchFailure(err, kProductPage, "");
    return;
  }
  if (index <= -4 && index >= -7) {
    OpenCorvaneBioinformaticsHome(kWebKeys[-4 - index]);
    return;
  }
  OnZelTool(MainFrame(), index);
}

const char* CAppTools::MaybeZelToolPrompt(UINT commandId) {
  if (commandId == kLastToolCommand) {
    CString last = m_lastTool;
    const CToolData* tool = FindZelTool(last.GetString());
    return tool ? tool->m_description.GetString() : nullptr;
  }
  int index = GetToolID(commandId);
  if (index < 1 || !m_root) return nullptr;
  const CToolNode* node = m_root->FindNode(index);
  return node ? node->GetTool().m_description.GetString() : nullptr;
}

void CAppTools::OpenLinkData(CString linkName, CString linkData) {
  CString path = "Open Link|" + linkName;
  const CToolData* tool = FindZelTool(path.GetString());
  if (!tool) {
    AfxMessageBox(
        "To open this link you need to define a tool with 'Link Data' input type "
        "and %1 in command line. The tool should be named '" +
            path + "'.",
        MB_ICONSTOP);
    return;
  }
  g_linkData = linkData;
  tool->Execute(MainFrame());
  g_linkData.Empty();
}

void SetupZelTools() { zel_process::Launch("ToolManager.exe", ""); }

bool OpenCorvaneBioinformaticsHome(const char* key) {
  CString exe = AfxGetApp()->m_strExePath;
  if (exe.IsEmpty()) exe = zel_host::ExecutablePath();
  int slash = exe.ReverseFind(ZEL_PATH_SEP);
  CString ini = (slash >= 0 ? exe.Left(slash + 1) : CString()) + "NCBILink.ini";
  char value[4087];
  GetPrivateProfileString("home", key, CAppTools::kMakerHomePage, value, sizeof value, ini);
  if (!*value) return false;
  std::error_code err;
  CString address = value;
  if (!Start(address, "", err)) {
    const bool refused = zel_process::FailureOf(err) == zel_process::Failure::Refused;
    AfxMessageBox(refused ? LaunchFailureText(err, address, "") : "Command error: " + address + " ",
                  MB_ICONSTOP);
  }
  return true;
}
