// A document's MDI child: opening, the title, and the document's notices turned into
// window messages.
#include "cli/view/DocFrame.h"

#include "files/FileTypesTable.h"
#include "files/SequenceDetection.h"
#include "layout/HostServices.h"
#include "platform/user/wnd/Message.h"
#include "platform/user/wnd/Window.h"

namespace zel_cli {
namespace {

// Posted by the document's threads: its state moved on.
constexpr UINT kDocumentChanged = WM_APP + 1;

}  // namespace

std::string TypeDescription(const std::string& path, int contentType) {
  int type = ZelFtypeFromName(path.c_str());
  if (type <= 0) type = contentType;
  const FTTENTRY* row = type > 0 ? _FileTypesTable.FindFileTypeEntry(type) : nullptr;
  return row && row->id == type && row->description ? row->description : "Data Files";
}

std::string DocumentTitle(const std::string& path, int contentType) {
  return std::string(ExtractFileName(path.c_str()).GetString()) + " - " +
         TypeDescription(path, contentType);
}

BEGIN_MESSAGE_MAP(DocFrame, CMDIChildWnd)
ON_MESSAGE(WM_CREATE, OnCreate)
ON_MESSAGE(WM_SIZE, OnSize)
ON_MESSAGE(WM_CLOSE, OnClose)
ON_MESSAGE(WM_MDIACTIVATE, OnMdiActivate)
ON_MESSAGE(kDocumentChanged, OnDocumentChanged)
END_MESSAGE_MAP()

std::unique_ptr<DocFrame> DocFrame::Open(const std::string& path, DocumentHost& host,
                                         CMDIFrameWnd* frame, std::string* error) {
  auto doc = std::unique_ptr<DocFrame>(new DocFrame(host, path));
  std::weak_ptr<Notice> notice = doc->m_notice;
  doc->m_document = zel_view::Document::Open(
      path,
      [notice] {
        auto n = notice.lock();
        if (!n || n->pending.exchange(true)) return;
        ::PostMessage(HWND(n->hwnd.load()), kDocumentChanged, 0, 0);
      },
      error);
  if (!doc->m_document) return nullptr;
  if (!doc->Create(nullptr, doc->Title().c_str(), WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                   rectDefault, frame)) {
    if (error) *error = "the window could not be made";
    return nullptr;
  }
  return doc;
}

std::string DocFrame::Name() const { return ExtractFileName(m_path.c_str()).GetString(); }

std::string DocFrame::Title() const { return DocumentTitle(m_path, m_contentType); }

LRESULT DocFrame::OnCreate(WPARAM, LPARAM) {
  m_notice->hwnd = m_hWnd.value;
  m_view = std::make_unique<PagedView>(*m_document);
  CRect client;
  GetClientRect(&client);
  if (!m_view->Create(this, client, 0xE900)) return -1;
  SetActiveView(nullptr);
  // What the document found before the window was there.
  PostMessage(kDocumentChanged);
  return 0;
}

void DocFrame::PlaceView() {
  if (!m_view || !m_view->m_hWnd) return;
  CRect client;
  GetClientRect(&client);
  m_view->MoveWindow(0, 0, client.Width(), client.Height());
}

LRESULT DocFrame::OnSize(WPARAM, LPARAM) {
  PlaceView();
  return Default();
}

LRESULT DocFrame::OnDocumentChanged(WPARAM, LPARAM) {
  m_notice->pending = false;
  const zel_view::DocumentState state = m_document->State();
  if (state.fileType != m_contentType) {
    m_contentType = state.fileType;
    SetWindowText(Title().c_str());
  }
  m_view->Refresh();
  m_host.DocumentMoved(*this);
  m_disk = state.disk;
  return 0;
}

LRESULT DocFrame::OnClose(WPARAM, LPARAM) {
  m_host.DocumentClosing(*this);
  DestroyWindow();
  return 0;
}

LRESULT DocFrame::OnMdiActivate(WPARAM, LPARAM activated) {
  // The keys go to the document that became active.
  if (HWND(static_cast<uintptr_t>(activated)) == m_hWnd && m_view && m_view->m_hWnd)
    m_view->SetFocus();
  m_host.DocumentMoved(*this);
  return Default();
}

void DocFrame::PostNcDestroy() {
  m_notice->hwnd = 0;
  CMDIChildWnd::PostNcDestroy();
}

}  // namespace zel_cli
