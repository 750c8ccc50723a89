// The frame of zel view: the MDI frame with a child per document, the menus (File, Edit,
// Window, Tools, Help), the status bar, the tools run on the active document, files
// dropped on it, and its settings kept in zel's own store.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/frame/FrameSupport.h"
#include "cli/view/DocFrame.h"
#include "cli/view/StatusBar.h"
#include "cli/view/ViewSettings.h"
#include "cli/view/ViewTools.h"
#include "platform/user/framework/MDIWnd.h"

namespace zel_cli {

// What Help > About says: the versions of zel, the library and the toolkit.
std::string AboutText();
// The frame's title: "NAME - ZelUtil Viewer" for the active document, else the program's.
std::string FrameTitle(const std::string& activeName);

class MainFrame : public CMDIFrameWnd, public DocumentHost, public KeyTarget {
  DECLARE_MESSAGE_MAP()
 public:
  // tools: null when there is no tool folder.
  MainFrame(ViewTools* tools, const PictureOptions& picture);
  ~MainFrame() override;

  // Makes the frame at the placement (the default place when none) and shows it.
  bool CreateFrame(const std::optional<Placement>& placement);
  // Opens a document in a new child and puts it first among the recent files; false with
  // the library's reason in *error.
  bool OpenDocument(const std::string& path, std::string* error);
  // The documents' paths in the order they were opened.
  std::vector<std::string> OpenPaths() const;
  // Writes the placement and the open documents.
  void SaveSettings();
  // What the tools get of the document of frame (an MDI child); null for any other.
  std::optional<DocumentFacts> FactsOfFrame(CFrameWnd* frame) const;
  StatusBar* Bar() const { return m_bar.get(); }
  // The status of the run: kFailed when the picture could not be taken.
  int Status() const { return m_status; }

  // The frame's keys: Ctrl+O, Ctrl+C, Ctrl+F, Ctrl+G; the others go to the active view.
  bool OnKey(UINT key, bool control) override;
  void DocumentMoved(DocFrame& doc) override;
  void DocumentClosing(DocFrame& doc) override;

 protected:
  LRESULT OnCreate(WPARAM, LPARAM);
  LRESULT OnTimer(WPARAM, LPARAM);
  LRESULT OnClose(WPARAM, LPARAM);
  LRESULT OnKeyDown(WPARAM, LPARAM);
  LRESULT OnInput(WPARAM, LPARAM);
  LRESULT OnMenuSelect(WPARAM, LPARAM);
  LRESULT OnMenuChange(WPARAM, LPARAM);
  LRESULT OnReloadMenus(WPARAM, LPARAM);
  LRESULT OnReap(WPARAM, LPARAM);
  void OnDropFiles(HDROP drop);
  void OnOpen();
  void OnReload();
  void OnRecent(UINT id);
  void OnCloseDocument();
  void OnExit();
  void OnCopy();
  void OnFind();
  void OnGoToLine();
  void OnCascade();
  void OnTile();
  void OnWindow(UINT id);
  void OnAbout();
  void OnTool(UINT id);
  void OnUpdateTool(CCmdUI* ui);
  void OnUpdateNeedsDocument(CCmdUI* ui);
  void OnUpdateCopy(CCmdUI* ui);
  void OnUpdateRecent(CCmdUI* ui);
  void OnUpdateWindow(CCmdUI* ui);

 private:
  HMENU MakeMenu();
  DocFrame* Active() const;
  void ShowStatusOf(DocFrame* doc);
  void Notice(const std::string& text);
  void RebuildRecentMenu();
  void RebuildWindowMenu();
  void UpdateTitle();
  void End();

  ViewTools* m_tools;
  FrameTools m_frameTools;
  const PictureOptions& m_picture;
  std::unique_ptr<StatusBar> m_bar;
  std::vector<std::unique_ptr<DocFrame>> m_docs;
  std::vector<std::string> m_recent;
  HMENU m_recentMenu, m_windowMenu;
  std::vector<std::string> m_windowTitles;  // what the Window list shows now
  int m_windowActive = -1;
  std::map<const DocFrame*, std::string> m_failures;  // reported once each
  struct Search {
    DocFrame* doc = nullptr;
    std::string text;
  } m_search;
  int m_status = 0;
};

}  // namespace zel_cli
