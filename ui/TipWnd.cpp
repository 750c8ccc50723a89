// The tip window: requests, the hover logic, sizing, painting, clicks, flashed tips.
#include "ui/TipWnd.h"

#include "platform/base/string/StringResources.h"
#include "platform/user/app/WinApp.h"
#include "platform/user/input/Input.h"
#include "platform/user/resource/KeyNames.h"
#include "platform/user/system/SystemValues.h"
#include "platform/user/wnd/Message.h"
#include "platform/user/wnd/Window.h"
#include "ui/TipDCInternal.h"

const UINT WM_TIP_REQUEST = RegisterWindowMessage("WM_TIP_REQUEST");

namespace {

using tip_internal::TipDC;

CTipWnd* g_tip = nullptr;

// A hover tip stays at least this long before the pointer is looked at again.
constexpr DWORD kTipHoldMs = 1500;

// What a window's rectangle is, for a size.
CSize WindowSize(const CWnd& wnd) {
  CRect r;
  wnd.GetWindowRect(&r);
  return CSize(r.Width(), r.Height());
}

}  // namespace

IMPLEMENT_DYNAMIC(CTipWnd, CWnd)

BEGIN_MESSAGE_MAP(CTipWnd, CWnd)
ON_MESSAGE(WM_CREATE, OnCreate)
ON_MESSAGE(WM_DESTROY, OnDestroy)
ON_MESSAGE(WM_PAINT, OnPaint)
ON_MESSAGE(WM_SETTEXT, OnSetText)
ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
ON_MESSAGE(WM_RBUTTONDOWN, OnRButtonDown)
ON_MESSAGE(WM_TIMER, OnTimer)
END_MESSAGE_MAP()

CTipWnd::CTipWnd() = default;

CTipWnd::~CTipWnd() {
  if (g_tip == this) g_tip = nullptr;
}

CTipWnd* CTipWnd::GetTipWnd() { return g_tip; }

CWnd* CTipWnd::GetTipOwner() const { return m_owner ? CWnd::FromHandle(m_owner) : nullptr; }

BOOL CTipWnd::Create(unsigned long delay) {
  // The window model has no classes to register: the class name only names the window.
  // Never activated and topmost, the presenter shows it as the desktop's kind of tip.
  CWnd* main = AfxGetMainWnd();
  if (!CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "ZelTipWnd", "",
                WS_POPUP | WS_CLIPSIBLINGS, 10, 10, 100, 100, main ? main->m_hWnd : HWND(),
                HMENU()))
    return FALSE;
  m_delay = delay;
  m_active = m_shown = FALSE;
  m_time = 0;
  g_tip = this;
  return TRUE;
}

LRESULT CTipWnd::OnCreate(WPARAM, LPARAM) {
  // Fonts belong to devices here: the tip keeps the description and makes the font on
  // each device it measures or paints with.
  SystemParametersInfo(SPI_GETICONTITLELOGFONT, sizeof(LOGFONT), &m_font, 0);
  TipDC dc(*this, m_font);
  TEXTMETRIC tm;
  if (dc && dc->GetTextMetrics(&tm)) {
    m_descent = tm.tmDescent;
    m_aveCharWidth = tm.tmAveCharWidth;
  }
  return 0;
}

LRESULT CTipWnd::OnDestroy(WPARAM, LPARAM) {
  KillTimer(1);
  return 0;
}

void CTipWnd::PostNcDestroy() { delete this; }

bool CTipWnd::KeyDown() const {
  for (int key : {int(VK_LBUTTON), int(VK_CONTROL), int(VK_SHIFT), int(VK_MENU)})
    if (GetAsyncKeyState(key) & 0x8000) return true;
  return false;
}

BOOL CTipWnd::GetTipText(CWnd* window, CPoint* point, CString& text, unsigned long& tipId,
                         void*& data) {
  // Every window of the model is one of this process's.
  if (!window || !::IsWindow(window->m_hWnd) || !point) return FALSE;
  m_flash = FALSE;
  TIPREQUEST request;
  request.point = *point;
  window->ScreenToClient(&request.point);
  if (!window->SendMessage(WM_TIP_REQUEST, 0, reinterpret_cast<LPARAM>(&request))) return FALSE;
  text.Empty();
  if (request.stringId)
    AfxLoadString(request.stringId, text);
  else if (!request.text.IsEmpty())
    text = request.text;
  tipId = request.tipId;
  data = request.data;
  m_sizeProc = request.sizeProc;
  m_paintProc = request.paintProc;
  m_callbackData = request.callbackData;
  m_offset = request.offset;
  m_recheck = request.recheck;
  m_background = request.background;
  return !text.IsEmpty();
}

void CTipWnd::TurnOn(CWnd* window, CPoint* point) {
  CString text;
  unsigned long tipId = 0;
  void* data = nullptr;
  if (!GetTipText(window, point, text, tipId, data)) return;
  m_tipId = tipId;
  m_data = data;
  m_active = TRUE;
  m_owner = window->m_hWnd;
  if (m_sizeProc) {
    m_sizeProc(this, window, point);
    ::SetWindowLongPtr(m_hWnd, GWLP_HWNDPARENT, static_cast<LONG_PTR>(window->m_hWnd.value));
    return;
  }
  SetWindowText(text);  // sizes the window
  PlaceAndShow(window, *point);
}

void CTipWnd::PlaceAndShow(CWnd* window, const CPoint& point) {
  const CSize size = WindowSize(*this);
  CPoint at(point.x + m_offset.x, point.y + m_offset.y);
  // Kept on the screen: to the left of and above the pointer where it would pass the edge.
  if (at.x + size.cx > GetSystemMetrics(SM_CXFULLSCREEN)) at.x -= m_offset.x + size.cx;
  if (at.y + size.cy > GetSystemMetrics(SM_CYFULLSCREEN)) at.y -= m_offset.y + size.cy;
  if (at.x < 0) at.x = 0;
  if (at.y < 0) at.y = 0;
  ::SetWindowLongPtr(m_hWnd, GWLP_HWNDPARENT, static_cast<LONG_PTR>(window->m_hWnd.value));
  SetWindowPos(nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void CTipWnd::TurnOff() {
  m_active = FALSE;
  if (!IsWindowVisible()) return;
  ShowWindow(SW_HIDE);
  ::SetWindowLongPtr(m_hWnd, GWLP_HWNDPARENT, 0);
}

void CTipWnd::OnTickCountChange(unsigned long now) {
  const DWORD tick = static_cast<DWORD>(now);
  CPoint p;
  GetCursorPos(&p);
  if (!m_active) {
    if (KeyDown()) return;
    if (!(p == m_point)) {
      m_point = p;
      m_shown = FALSE;
      m_time = tick;
    } else if (!m_shown && tick - m_time >= m_delay) {
      TurnOn(CWnd::WindowFromPoint(p), &p);
      m_shown = TRUE;
    }
    return;
  }
  // The time is not reset while a tip shows: after the hold, every call looks again.
  if (tick - m_time < kTipHoldMs) return;
  if (KeyDown()) {
    TurnOff();
    return;
  }
  if (p == m_point) return;
  if (m_recheck) {
    if (CWnd* under = CWnd::WindowFromPoint(p)) {
      CString text, shown;
      unsigned long tipId = 0;
      void* data = nullptr;
      GetWindowText(shown);
      if (GetTipText(under, &p, text, tipId, data) && text == shown && tipId == m_tipId) {
        m_point = p;
        return;
      }
    }
  }
  TurnOff();
}

LRESULT CTipWnd::OnSetText(WPARAM wParam, LPARAM lParam) {
  const char* text = reinterpret_cast<const char*>(lParam);
  {
    TipDC dc(*this, m_font);
    if (dc) {
      CRect r(0, 0, 0, 0);
      dc->DrawText(text ? text : "", -1, &r,
                   DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS | DT_NOPREFIX);
      SetWindowPos(nullptr, 0, 0, r.Width() + 3 * m_aveCharWidth,
                   r.Height() + m_descent + m_descent / 2 + 3,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  return CWnd::DefWindowProc(WM_SETTEXT, wParam, lParam);
}

LRESULT CTipWnd::OnPaint(WPARAM, LPARAM) {
  PAINTSTRUCT ps;
  CDC* dc = ::BeginPaint(m_hWnd, &ps);
  if (!dc) return 0;
  CRect client;
  GetClientRect(&client);
  HBRUSH black = dc->CreateSolidBrush(RGB(0, 0, 0));
  dc->FrameRect(&client, black);
  dc->DeleteObject(ToGdiObj(black));
  if (m_paintProc) {
    m_paintProc(this, dc, &client);
  } else {
    CRect inside(client.left + 1, client.top + 1, client.right - 1, client.bottom - 1);
    dc->FillRect(&inside, dc->GetSysColorBrush(COLOR_INFOBK));
    TipDC tip(dc, m_font);
    dc->SetTextColor(::GetSysColor(COLOR_INFOTEXT));
    dc->SetBkMode(TRANSPARENT);
    CRect text(client.left + m_aveCharWidth, client.top + m_descent / 2 + 1,
               client.right - m_aveCharWidth, client.bottom - (m_descent / 2 + 1));
    CString s;
    GetWindowText(s);
    // Drawn as it was measured (one line, no mnemonics), so it fits the window.
    dc->DrawText(s, s.GetLength(), &text, DT_SINGLELINE | DT_EXPANDTABS | DT_NOPREFIX);
  }
  ::EndPaint(m_hWnd, &ps);
  return 0;
}

LRESULT CTipWnd::OnLButtonDown(WPARAM wParam, LPARAM lParam) {
  PassClickOn(WM_LBUTTONDOWN, wParam, lParam);
  return 0;
}

LRESULT CTipWnd::OnRButtonDown(WPARAM wParam, LPARAM lParam) {
  PassClickOn(WM_RBUTTONDOWN, wParam, lParam);
  return 0;
}

void CTipWnd::PassClickOn(UINT message, WPARAM wParam, LPARAM lParam) {
  TurnOff();
  if (!::IsWindow(m_owner)) return;
  // The click goes on to the window the tip stood for, at the same place on the screen.
  POINT p = PointOfLParam(lParam);
  ::ClientToScreen(m_hWnd, &p);
  ::ScreenToClient(m_owner, &p);
  ::SendMessage(m_owner, message, wParam, LParamOfPoint(p));
}

LRESULT CTipWnd::OnTimer(WPARAM wParam, LPARAM) {
  TurnOff();
  KillTimer(wParam);
  return 0;
}

void SetTipsTimeout(unsigned long delay) {
  DestroyTipWind();
  auto* tip = new CTipWnd;
  if (!tip->Create(delay)) delete tip;
}

void KeepTipsAlive() {
  if (CTipWnd* tip = CTipWnd::GetTipWnd()) tip->OnTickCountChange(GetTickCount());
}

int HideTipIfVisible(const MSG*) {
  CTipWnd* tip = CTipWnd::GetTipWnd();
  if (tip && !tip->GetFlashMode()) tip->TurnOff();
  return 1;
}

void ShowTipAgain() {
  CTipWnd* tip = CTipWnd::GetTipWnd();
  if (!tip) return;
  CPoint p;
  GetCursorPos(&p);
  tip->TurnOn(CWnd::WindowFromPoint(p), &p);
}

void DestroyTipWind() {
  if (CTipWnd* tip = CTipWnd::GetTipWnd()) tip->DestroyWindow();
}

void FlashTip(const CString& text) {
  CTipWnd* tip = CTipWnd::GetTipWnd();
  if (!tip) return;
  tip->m_paintProc = nullptr;
  tip->SetWindowText(text);
  // The main window's client rectangle from the origin, compared with the pointer's
  // screen position as it is.
  CRect client(0, 0, 0, 0);
  if (CWnd* main = AfxGetMainWnd()) main->GetClientRect(&client);
  CPoint p;
  GetCursorPos(&p);
  const CPoint at = client.PtInRect(p) ? CPoint(p.x + 5, p.y - 15)
                                       : CPoint((client.left + client.right) / 2,
                                                (client.top + client.bottom) / 2);
  tip->SetFlashMode(TRUE);
  const CSize size = WindowSize(*tip);
  tip->SetWindowPos(nullptr, at.x, at.y, size.cx, size.cy, SWP_NOACTIVATE);
  tip->ShowWindow(SW_SHOWNA);
}
