// One document of zel view: an MDI child titled "NAME - DESCRIPTION" holding the paged
// view. The document's background work posts the child a message; the child redraws
// and tells its host, which keeps the status bar and the notices.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "cli/view/PagedView.h"
#include "cli/view/doc/Document.h"
#include "platform/user/framework/MDIWnd.h"

namespace zel_cli {

class DocFrame;

// What the frame holding the documents does when one moves on or goes.
class DocumentHost {
 public:
  virtual ~DocumentHost() = default;
  virtual void DocumentMoved(DocFrame& doc) = 0;
  virtual void DocumentClosing(DocFrame& doc) = 0;
};

// The description of the file type the name decides (x.gb: "DNA/RNA Documents"); else of
// the type found in the contents (contentType), else "Data Files".
std::string TypeDescription(const std::string& path, int contentType);
// "NAME - DESCRIPTION".
std::string DocumentTitle(const std::string& path, int contentType);

class DocFrame : public CMDIChildWnd {
  DECLARE_MESSAGE_MAP()
 public:
  // Opens the file in a new child of frame; null with the library's reason in *error. The
  // host owns the object; it outlives its window, which Close (or WM_CLOSE) destroys.
  static std::unique_ptr<DocFrame> Open(const std::string& path, DocumentHost& host,
                                        CMDIFrameWnd* frame, std::string* error);

  zel_view::Document& Doc() { return *m_document; }
  PagedView& View() { return *m_view; }
  const std::string& Path() const { return m_path; }
  std::string Name() const;
  std::string Title() const;
  // What the last change notice said of the file on disk.
  zel_view::DocumentState::Disk Disk() const { return m_disk; }

 protected:
  LRESULT OnCreate(WPARAM, LPARAM);
  LRESULT OnSize(WPARAM, LPARAM);
  LRESULT OnDocumentChanged(WPARAM, LPARAM);
  LRESULT OnClose(WPARAM, LPARAM);
  LRESULT OnMdiActivate(WPARAM, LPARAM);
  void PostNcDestroy() override;

 private:
  DocFrame(DocumentHost& host, std::string path) : m_host(host), m_path(std::move(path)) {}
  void PlaceView();

  // Shared with the document's threads, which post through it while the window lives.
  struct Notice {
    std::atomic<uint64_t> hwnd{0};
    std::atomic<bool> pending{false};
  };

  DocumentHost& m_host;
  std::string m_path;
  std::shared_ptr<Notice> m_notice = std::make_shared<Notice>();
  std::unique_ptr<zel_view::Document> m_document;
  std::unique_ptr<PagedView> m_view;
  int m_contentType = 0;
  zel_view::DocumentState::Disk m_disk = zel_view::DocumentState::Disk::Same;
};

}  // namespace zel_cli
