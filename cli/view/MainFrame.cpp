// The frame of zel view: menus and commands, the status bar and notices, settings.
#include "cli/view/MainFrame.h"

#include <algorithm>

#include "cli/Command.h"
#include "cli/Output.h"
#include "cli/frame/MenuImages.h"
#include "cli/view/NumberedMenu.h"
#include "files/FileTypeIds.h"
#include "files/ZelDirSpec.h"
#include "files/ZelFileSpec.h"
#include "layout/HostServices.h"
#include "platform/os/module/Toolkit.h"
#include "platform/user/app/WinApp.h"
#include "platform/user/framework/CmdUI.h"
#include "platform/user/input/Input.h"
#include "platform/user/resource/KeyNames.h"
#include "platform/user/ui/UiBackend.h"
#include "platform/user/wnd/DragDrop.h"
#include "platform/user/wnd/Message.h"
#include "platform/user/wnd/Window.h"
#include "tools/ToolNode.h"
#include "ui/EditNameDlg.h"
#include "ui/TipWnd.h"

namespace zel_cli {
namespace {

enum : UINT {
  ID_NO_TOOLS = 32902,
  ID_FIRST_DOCUMENT = 0xFF00,
};
constexpr UINT kMaxListedDocuments = 200;
constexpr UINT kIdleTimer = 1, kEndTimer = 2;
constexpr UINT kIdleMs = 100;
// Posted to itself: delete the documents whose windows went.
constexpr UINT kReap = WM_APP + 2;
constexpr const char* kProgram = "ZelUtil Viewer";
// What Copy puts on the clipboard at most.
constexpr size_t kCopyLimit = 64u << 20;

// The documents the chooser offers: the suite's sequence documents and the formats it
// reads.
constexpr int kOpenTypes[] = {
    kDnaDocument,  kProteinDocument,    kGenBank,           kGenPept,  kEmbl, kSwissProt, kFasta,
    kProteinFasta, kNucleotideSequence, kAminoAcidSequence, kPlainText};

struct Prompt {
  UINT id;
  const char* text;
};
constexpr Prompt kPrompts[] = {
    {ID_FILE_OPEN, "Opens a document"},
    {ID_FILE_RELOAD, "Reads the active document again from its file"},
    {ID_FILE_CLOSE, "Closes the active document"},
    {ID_APP_EXIT, "Quits zel view; the open documents come back next time"},
    {ID_EDIT_COPY, "Copies the selected lines to the clipboard"},
    {ID_EDIT_FIND, "Finds text below the selected line"},
    {ID_EDIT_GOTO, "Shows a line by its number"},
    {ID_WINDOW_CASCADE, "Arranges the documents' windows so that they overlap"},
    {ID_WINDOW_TILE, "Arranges the documents' windows side by side"},
    {ID_APP_ABOUT, "Shows the versions of zel, the library and Qt"},
    {ID_NO_TOOLS, "zel layout shows where the tool folder is looked for"},
};

}  // namespace

std::string FrameTitle(const std::string& activeName) {
  return activeName.empty() ? kProgram : activeName + " - " + kProgram;
}

BEGIN_MESSAGE_MAP(MainFrame, CMDIFrameWnd)
ON_MESSAGE(WM_CREATE, OnCreate)
ON_MESSAGE(WM_TIMER, OnTimer)
ON_MESSAGE(WM_CLOSE, OnClose)
ON_MESSAGE(WM_KEYDOWN, OnKeyDown)
ON_MESSAGE(WM_LBUTTONDOWN, OnInput)
ON_MESSAGE(WM_RBUTTONDOWN, OnInput)
ON_MESSAGE(WM_MENUSELECT, OnMenuSelect)
ON_MESSAGE(kReap, OnReap)
ON_WM_DROPFILES()
ON_REGISTERED_MESSAGE(WM_MENUCHANGE, OnMenuChange)
ON_REGISTERED_MESSAGE(WM_RELOADCOOLMENU, OnReloadMenus)
ON_COMMAND(ID_FILE_OPEN, OnOpen)
ON_COMMAND(ID_FILE_RELOAD, OnReload)
ON_COMMAND_RANGE(ID_FILE_MRU_FIRST, ID_FILE_MRU_FIRST + kMaxRecentFiles - 1, OnRecent)
ON_COMMAND(ID_FILE_CLOSE, OnCloseDocument)
ON_COMMAND(ID_APP_EXIT, OnExit)
ON_COMMAND(ID_EDIT_COPY, OnCopy)
ON_COMMAND(ID_EDIT_FIND, OnFind)
ON_COMMAND(ID_EDIT_GOTO, OnGoToLine)
ON_COMMAND(ID_WINDOW_CASCADE, OnCascade)
ON_COMMAND(ID_WINDOW_TILE, OnTile)
ON_COMMAND_RANGE(ID_FIRST_DOCUMENT, ID_FIRST_DOCUMENT + kMaxListedDocuments - 1, OnWindow)
ON_COMMAND(ID_APP_ABOUT, OnAbout)
ON_COMMAND_RANGE(ZEL_TOOL_ID_BASE, ZEL_TOOL_ID_BASE + ZEL_MAX_TOOLS, OnTool)
ON_UPDATE_COMMAND_UI_RANGE(ZEL_TOOL_ID_BASE, ZEL_TOOL_ID_BASE + ZEL_MAX_TOOLS, OnUpdateTool)
ON_UPDATE_COMMAND_UI(ID_FILE_RELOAD, OnUpdateNeedsDocument)
ON_UPDATE_COMMAND_UI(ID_FILE_CLOSE, OnUpdateNeedsDocument)
ON_UPDATE_COMMAND_UI(ID_EDIT_FIND, OnUpdateNeedsDocument)
ON_UPDATE_COMMAND_UI(ID_EDIT_GOTO, OnUpdateNeedsDocument)
ON_UPDATE_COMMAND_UI(ID_WINDOW_CASCADE, OnUpdateNeedsDocument)
ON_UPDATE_COMMAND_UI(ID_WINDOW_TILE, OnUpdateNeedsDocument)
ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateCopy)
ON_UPDATE_COMMAND_UI_RANGE(ID_FILE_MRU_FIRST, ID_FILE_MRU_FIRST + kMaxRecentFiles - 1,
                           OnUpdateRecent)
ON_UPDATE_COMMAND_UI_RANGE(ID_FIRST_DOCUMENT, ID_FIRST_DOCUMENT + kMaxListedDocuments - 1,
                           OnUpdateWindow)
END_MESSAGE_MAP()

MainFrame::MainFrame(ViewTools* tools, const PictureOptions& picture)
    : m_tools(tools), m_frameTools(tools), m_picture(picture) {}

MainFrame::~MainFrame() {
  if (AfxGetMainWnd() == this) {
    DestroyTipWind();
    AfxSetThreadMainWnd(nullptr);
  }
  m_frameTools.Uninstall();
  // The children go before the frame's window does.
  for (auto& doc : m_docs)
    if (doc->m_hWnd) doc->DestroyWindow();
  m_docs.clear();
  if (m_hWnd) DestroyWindow();
}

HMENU MainFrame::MakeMenu() {
  CMenu bar, file, recent, edit, window, tools, help;
  bar.CreateMenu();
  file.CreatePopupMenu();
  recent.CreatePopupMenu();
  m_recentMenu = recent.m_hMenu;
  file.AppendMenu(MF_STRING, ID_FILE_OPEN, "&Open...\tCtrl+O");
  file.AppendMenu(MF_STRING, ID_FILE_RELOAD, "&Reload");
  file.AppendMenu(MF_POPUP, recent.Detach().value, "Recent &Files");
  file.AppendMenu(MF_SEPARATOR);
  file.AppendMenu(MF_STRING, ID_FILE_CLOSE, "&Close");
  file.AppendMenu(MF_STRING, ID_APP_EXIT, "E&xit");
  edit.CreatePopupMenu();
  edit.AppendMenu(MF_STRING, ID_EDIT_COPY, "&Copy\tCtrl+C");
  edit.AppendMenu(MF_STRING, ID_EDIT_FIND, "&Find...\tCtrl+F");
  edit.AppendMenu(MF_STRING, ID_EDIT_GOTO, "&Go to Line...\tCtrl+G");
  window.CreatePopupMenu();
  m_windowMenu = window.m_hMenu;
  window.AppendMenu(MF_STRING, ID_WINDOW_CASCADE, "&Cascade");
  window.AppendMenu(MF_STRING, ID_WINDOW_TILE, "&Tile");
  tools.CreatePopupMenu();
  if (m_tools)
    m_frameTools.Merge(tools, false);
  else
    tools.AppendMenu(MF_STRING | MF_GRAYED, ID_NO_TOOLS, "No tool folder (zel layout)");
  help.CreatePopupMenu();
  help.AppendMenu(MF_STRING, ID_APP_ABOUT, "&About zel view...");
  bar.AppendMenu(MF_POPUP, file.Detach().value, "&File");
  bar.AppendMenu(MF_POPUP, edit.Detach().value, "&Edit");
  bar.AppendMenu(MF_POPUP, window.Detach().value, "&Window");
  bar.AppendMenu(MF_POPUP, tools.Detach().value, "&Tools");
  bar.AppendMenu(MF_POPUP, help.Detach().value, "&Help");
  return bar.Detach();
}

bool MainFrame::CreateFrame(const std::optional<Placement>& placement) {
  m_recent = LoadRecentFiles();
  const Placement p = placement.value_or(Placement{80, 60, 960, 720, SW_SHOWNORMAL});
  if (!Create(nullptr, kProgram, WS_OVERLAPPEDWINDOW,
              CRect(p.x, p.y, p.x + p.width, p.y + p.height), nullptr, MakeMenu()))
    return false;
  RecalcLayout();
  DragAcceptFiles();
  m_frameTools.Install(*this);
  // The main window of the thread: tools run on its documents, tips belong to it.
  AfxSetThreadMainWnd(this);
  SetTipsTimeout(500);
  RebuildRecentMenu();
  RebuildWindowMenu();
  // A frame minimised at exit comes back where a person sees it.
  ShowWindow(p.state == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
  return true;
}

LRESULT MainFrame::OnCreate(WPARAM, LPARAM) {
  m_bar = std::make_unique<StatusBar>();
  if (!m_bar->Create(this)) return -1;
  m_bar->SetField(kMessageField, "Ready");
  SetTimer(kIdleTimer, kIdleMs);
  if (m_picture.quitAfter >= 0) SetTimer(kEndTimer, static_cast<UINT>(m_picture.quitAfter));
  return 0;
}

bool MainFrame::OpenDocument(const std::string& path, std::string* error) {
  std::unique_ptr<DocFrame> doc = DocFrame::Open(path, *this, this, error);
  if (!doc) return false;
  doc->MDIActivate();
  m_docs.push_back(std::move(doc));
  m_recent = WithRecent(m_recent, path);
  SaveRecentFiles(m_recent);
  RebuildRecentMenu();
  RebuildWindowMenu();
  UpdateTitle();
  ShowStatusOf(Active());
  return true;
}

std::vector<std::string> MainFrame::OpenPaths() const {
  std::vector<std::string> paths;
  for (const auto& doc : m_docs)
    if (doc->m_hWnd) paths.push_back(doc->Path());
  return paths;
}

void MainFrame::SaveSettings() {
  WINDOWPLACEMENT wp;
  if (GetWindowPlacement(&wp)) {
    const CRect r(wp.rcNormalPosition);
    SavePlacement(Placement{r.left, r.top, r.Width(), r.Height(), static_cast<int>(wp.showCmd)});
  }
  SaveOpenDocuments(OpenPaths());
}

void MainFrame::OnDropFiles(HDROP drop) {
  const UINT count = DragQueryFile(drop, 0xFFFFFFFF, nullptr, 0);
  std::string failures;
  for (UINT i = 0; i < count; ++i) {
    std::string path(DragQueryFile(drop, i, nullptr, 0), '\0');
    DragQueryFile(drop, i, path.data(), static_cast<UINT>(path.size()) + 1);
    std::string error;
    if (!OpenDocument(path, &error)) failures += (failures.empty() ? "" : "\n") + error;
  }
  DragFinish(drop);
  if (!failures.empty()) AfxMessageBox(failures.c_str(), MB_OK | MB_ICONSTOP);
}

DocFrame* MainFrame::Active() const { return dynamic_cast<DocFrame*>(MDIGetActive()); }

std::optional<DocumentFacts> MainFrame::FactsOfFrame(CFrameWnd* frame) const {
  auto* doc = dynamic_cast<DocFrame*>(frame);
  if (!doc || !doc->m_hWnd) return std::nullopt;
  const zel_view::DocumentState state = doc->Doc().State();
  return DocumentFacts{doc->Name(), state.fileType, state.protein};
}

void MainFrame::ShowStatusOf(DocFrame* doc) {
  if (!m_bar) return;
  if (!doc) {
    for (StatusField f : {kFormatField, kLinesField, kSizeField}) m_bar->SetField(f, "");
    return;
  }
  const zel_view::DocumentState state = doc->Doc().State();
  m_bar->SetField(kFormatField, FormatText(state));
  m_bar->SetField(kLinesField, LinesText(state));
  m_bar->SetField(kSizeField, SizeText(state));
}

void MainFrame::Notice(const std::string& text) {
  if (m_bar) m_bar->SetField(kMessageField, text);
  // Shown as a tip that goes by itself: nothing is asked of the reader.
  TipsMessageBox(this, text.c_str(), kProgram, MB_OK | MB_ICONINFORMATION);
}

void MainFrame::DocumentMoved(DocFrame& doc) {
  const zel_view::DocumentState state = doc.Doc().State();
  if (&doc == Active()) ShowStatusOf(&doc);
  if (state.disk != doc.Disk()) {
    if (state.disk == zel_view::DocumentState::Disk::Changed)
      Notice(doc.Name() + " changed on disk: File > Reload reads it again");
    else if (state.disk == zel_view::DocumentState::Disk::Deleted)
      Notice(doc.Name() + " was deleted");
  }
  if (!state.failure.empty() && m_failures[&doc] != state.failure) {
    m_failures[&doc] = state.failure;
    if (m_bar) m_bar->SetField(kMessageField, doc.Name() + ": " + state.failure);
  }
  if (m_search.doc == &doc) {
    const zel_view::FindState find = doc.Doc().FindProgress();
    if (find.running) {
      m_bar->SetField(kMessageField,
                      "Finding \"" + m_search.text + "\"... " + std::to_string(find.percent) + "%");
    } else {
      m_search.doc = nullptr;
      if (find.found) {
        doc.View().ShowLine(*find.found);
        const auto number = doc.Doc().LineNumber(*find.found);
        m_bar->SetField(kMessageField, "Found \"" + m_search.text + "\"" +
                                           (number ? " on line " + Grouped(*number + 1) : ""));
      } else {
        m_bar->SetField(kMessageField, "\"" + m_search.text + "\" is not found below");
      }
    }
  }
  UpdateTitle();
  RebuildWindowMenu();
}

void MainFrame::DocumentClosing(DocFrame& doc) {
  if (m_search.doc == &doc) {
    doc.Doc().CancelFind();
    m_search.doc = nullptr;
  }
  m_failures.erase(&doc);
  PostMessage(kReap);
}

LRESULT MainFrame::OnReap(WPARAM, LPARAM) {
  std::erase_if(m_docs, [](const std::unique_ptr<DocFrame>& doc) { return !doc->m_hWnd; });
  if (!Active() && !m_docs.empty()) m_docs.back()->MDIActivate();
  RebuildWindowMenu();
  UpdateTitle();
  ShowStatusOf(Active());
  return 0;
}

void MainFrame::UpdateTitle() {
  DocFrame* doc = Active();
  const std::string title = FrameTitle(doc ? doc->Name() : "");
  CString now;
  GetWindowText(now);
  if (title != now.GetString()) SetWindowText(title.c_str());
}

void MainFrame::RebuildRecentMenu() {
  CMenu* menu = CMenu::FromHandle(m_recentMenu);
  if (!menu) return;
  while (menu->GetMenuItemCount() > 0) menu->DeleteMenu(0, MF_BYPOSITION);
  if (m_recent.empty()) {
    menu->AppendMenu(MF_STRING | MF_GRAYED, ID_FILE_MRU_FIRST, "(none)");
    return;
  }
  for (const NumberedItem& item : NumberedItems(m_recent, ID_FILE_MRU_FIRST, -1))
    menu->AppendMenu(MF_STRING, item.id, item.text.c_str());
}

void MainFrame::RebuildWindowMenu() {
  CMenu* menu = CMenu::FromHandle(m_windowMenu);
  if (!menu) return;
  std::vector<std::string> titles;
  int active = -1;
  DocFrame* current = Active();
  for (const auto& doc : m_docs) {
    if (!doc->m_hWnd || titles.size() >= kMaxListedDocuments) continue;
    if (doc.get() == current) active = static_cast<int>(titles.size());
    titles.push_back(doc->Title());
  }
  // Documents tell of their progress often; the list changes seldom.
  if (titles == m_windowTitles && active == m_windowActive) return;
  m_windowTitles = titles;
  m_windowActive = active;
  // Cascade and Tile stay; the list after them is made anew.
  while (menu->GetMenuItemCount() > 2) menu->DeleteMenu(2, MF_BYPOSITION);
  if (titles.empty()) return;
  menu->AppendMenu(MF_SEPARATOR);
  for (const NumberedItem& item : NumberedItems(titles, ID_FIRST_DOCUMENT, active))
    menu->AppendMenu(MF_STRING | (item.checked ? UINT{MF_CHECKED} : 0u), item.id,
                     item.text.c_str());
}

LRESULT MainFrame::OnTimer(WPARAM id, LPARAM) {
  if (id == kIdleTimer) {
    KeepTipsAlive();
  } else if (id == kEndTimer) {
    KillTimer(kEndTimer);
    End();
  }
  return 0;
}

void MainFrame::End() {
  std::string error;
  if (!m_picture.screenshot.empty() && !SaveFramePicture(*this, m_picture.screenshot, error)) {
    Message("view: " + error);
    m_status = kFailed;
  }
  SaveSettings();
  ::PostQuitMessage(0);
}

LRESULT MainFrame::OnClose(WPARAM, LPARAM) {
  SaveSettings();
  ::PostQuitMessage(0);
  return 0;
}

LRESULT MainFrame::OnInput(WPARAM, LPARAM) {
  const MSG& msg = zel_wnd::CurrentMessage();
  HideTipIfVisible(&msg);
  return Default();
}

LRESULT MainFrame::OnKeyDown(WPARAM key, LPARAM) {
  const MSG& msg = zel_wnd::CurrentMessage();
  HideTipIfVisible(&msg);
  return OnKey(static_cast<UINT>(key), (GetKeyState(VK_CONTROL) & 0x8000) != 0) ? 0 : Default();
}

bool MainFrame::OnKey(UINT key, bool control) {
  HideTipIfVisible(&zel_wnd::CurrentMessage());
  if (control) {
    switch (key) {
      case 'O':
        OnOpen();
        return true;
      case 'C':
        OnCopy();
        return true;
      case 'F':
        OnFind();
        return true;
      case 'G':
        OnGoToLine();
        return true;
      default:
        break;
    }
  }
  DocFrame* doc = Active();
  return doc && doc->View().HandleKey(key, control);
}

LRESULT MainFrame::OnMenuSelect(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam), flags = HIWORD(wParam);
  if (!m_bar) return Default();
  if (flags == 0xFFFF && lParam == 0) {
    m_bar->SetField(kMessageField, "Ready");
  } else if (!(flags & MF_POPUP)) {
    std::string prompt;
    if (m_tools && id >= ZEL_TOOL_ID_BASE && id <= ZEL_TOOL_ID_BASE + ZEL_MAX_TOOLS)
      prompt = m_tools->Prompt(id);
    else if (id >= ID_FILE_MRU_FIRST && id - ID_FILE_MRU_FIRST < m_recent.size())
      prompt = "Opens " + m_recent[id - ID_FILE_MRU_FIRST];
    for (const Prompt& p : kPrompts)
      if (p.id == id) prompt = p.text;
    m_bar->SetField(kMessageField, prompt);
  }
  return Default();
}

LRESULT MainFrame::OnReloadMenus(WPARAM, LPARAM) {
  m_frameTools.OnReloadMenus();
  return 0;
}

LRESULT MainFrame::OnMenuChange(WPARAM, LPARAM) {
  m_frameTools.OnMenuChange(*this);
  return 0;
}

void MainFrame::OnOpen() {
  CZelFileSpec spec;
  if (!spec.ChooseSpecEx(CTYPE_INPUT, kOpenTypes, static_cast<int>(std::size(kOpenTypes)), "Open",
                         "All Documents", "View"))
    return;
  std::string error;
  if (!OpenDocument(spec.GetPath(), &error)) AfxMessageBox(error.c_str(), MB_OK | MB_ICONSTOP);
}

void MainFrame::OnReload() {
  DocFrame* doc = Active();
  if (!doc) return;
  std::string error;
  if (!doc->Doc().Reload(&error)) {
    AfxMessageBox(error.c_str(), MB_OK | MB_ICONSTOP);
    return;
  }
  m_failures.erase(doc);
  doc->View().Refresh();
  m_bar->SetField(kMessageField, doc->Name() + " was read again");
}

void MainFrame::OnRecent(UINT id) {
  const size_t index = id - ID_FILE_MRU_FIRST;
  if (index >= m_recent.size()) return;
  const std::string path = m_recent[index];
  std::string error;
  if (OpenDocument(path, &error)) return;
  // A file that is gone leaves the list, as it can be opened no more.
  m_recent.erase(m_recent.begin() + static_cast<std::ptrdiff_t>(index));
  SaveRecentFiles(m_recent);
  RebuildRecentMenu();
  AfxMessageBox(error.c_str(), MB_OK | MB_ICONSTOP);
}

void MainFrame::OnCloseDocument() {
  if (DocFrame* doc = Active()) doc->SendMessage(WM_CLOSE);
}

void MainFrame::OnExit() { SendMessage(WM_CLOSE); }

void MainFrame::OnCopy() {
  DocFrame* doc = Active();
  if (!doc || !doc->View().HasSelection()) return;
  const std::string text = doc->View().SelectedText(kCopyLimit);
  if (ZelCopyTextToClipboard(this, text.c_str())) {
    const auto lines = std::count(text.begin(), text.end(), '\n');
    m_bar->SetField(kMessageField, "Copied " + Grouped(static_cast<uint64_t>(lines)) +
                                       (lines == 1 ? " line" : " lines"));
  }
}

void MainFrame::OnFind() {
  DocFrame* doc = Active();
  if (!doc) return;
  CEditNameDlg dialog("Find", "Find what:", CEditNameDlg::kNotBlank | CEditNameDlg::kInitData,
                      this);
  dialog.SetName(m_search.text.c_str());
  if (dialog.DoModal() != IDOK) return;
  m_search.text = dialog.GetName().GetString();
  m_search.doc = doc;
  // Below the selected line, so that finding again moves on.
  zel_view::Offset from = doc->View().SearchStart();
  if (doc->View().HasSelection()) {
    const auto line = doc->Doc().LinesFrom(from, 1);
    if (!line.empty()) from = line.front().next;
  }
  doc->Doc().Find(m_search.text, from);
  m_bar->SetField(kMessageField, "Finding \"" + m_search.text + "\"...");
}

void MainFrame::OnGoToLine() {
  DocFrame* doc = Active();
  if (!doc) return;
  CEditNameDlg dialog("Go to Line", "Line number:", CEditNameDlg::kLong | CEditNameDlg::kInitData,
                      this);
  dialog.SetLong(1);
  if (dialog.DoModal() != IDOK) return;
  const long number = dialog.GetLong();
  const zel_view::DocumentState state = doc->Doc().State();
  if (number < 1 || (!state.counting && number > state.lines)) {
    m_bar->SetField(kMessageField,
                    doc->Name() + " has lines 1 to " + Grouped(static_cast<uint64_t>(state.lines)));
    return;
  }
  const auto start = doc->Doc().LineStart(number - 1);
  if (!start) {
    m_bar->SetField(kMessageField, "Line " + Grouped(static_cast<uint64_t>(number)) +
                                       " is not counted yet; try again in a moment");
    return;
  }
  doc->View().ShowLine(*start);
  m_bar->SetField(kMessageField, "Line " + Grouped(static_cast<uint64_t>(number)));
}

void MainFrame::OnCascade() { MDICascade(); }

// Side by side, each as high as the frame.
void MainFrame::OnTile() { MDITile(MDITILE_VERTICAL); }

void MainFrame::OnWindow(UINT id) {
  size_t index = id - ID_FIRST_DOCUMENT;
  for (const auto& doc : m_docs) {
    if (!doc->m_hWnd) continue;
    if (index-- == 0) {
      doc->MDIActivate();
      RebuildWindowMenu();
      UpdateTitle();
      ShowStatusOf(doc.get());
      return;
    }
  }
}

std::string AboutText() {
  const std::string toolkit = zel_module::ToolkitVersion();
  return std::string("ZelUtil Viewer, the suite's document window\n\nzel ") + ZEL_VERSION +
         "\nZelUtil library " + zel_module::LibraryVersion() + "\n" +
         (toolkit.empty() ? "No desktop toolkit" : toolkit);
}

void MainFrame::OnAbout() { AfxMessageBox(AboutText().c_str(), MB_OK | MB_ICONINFORMATION); }

void MainFrame::OnTool(UINT id) {
  if (!m_tools) return;
  const int index = GetToolID(id);
  m_tools->ForgetLaunch();
  m_tools->OnZelToolMF(index);
  if (m_tools->Launched() && !m_tools->LastLaunchFailed()) {
    CString path = m_tools->GetLastTool();
    const int bar = path.ReverseFind('|');
    FlashTip(CString("Started ") + (bar >= 0 ? path.Mid(bar + 1) : path));
  }
}

void MainFrame::OnUpdateTool(CCmdUI* ui) {
  if (m_tools) m_tools->OnUpdateZelToolMF(ui, GetToolID(ui->m_nID));
}

void MainFrame::OnUpdateNeedsDocument(CCmdUI* ui) { ui->Enable(Active() != nullptr); }

void MainFrame::OnUpdateCopy(CCmdUI* ui) {
  DocFrame* doc = Active();
  ui->Enable(doc && doc->View().HasSelection());
}

void MainFrame::OnUpdateRecent(CCmdUI* ui) { ui->Enable(!m_recent.empty()); }

void MainFrame::OnUpdateWindow(CCmdUI* ui) {
  size_t index = ui->m_nID - ID_FIRST_DOCUMENT;
  DocFrame* active = Active();
  for (const auto& doc : m_docs) {
    if (!doc->m_hWnd) continue;
    if (index-- == 0) {
      ui->SetCheck(doc.get() == active);
      return;
    }
  }
}

}  // namespace zel_cli
