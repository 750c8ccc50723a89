/// Tips: the small yellow notes beside the pointer. One process-wide tip window serves
/// hover tips that windows supply on request, flashed messages, and information messages
/// shown instead of a message box.
///
/// A window that wants hover tips answers WM_TIP_REQUEST (wParam 0, lParam a TIPREQUEST*)
/// with non-zero after filling in the text; the host makes the tip window once and then
/// drives the timing by calling KeepTipsAlive regularly (from its idle time):
///   SetTipsTimeout(500);                       // hover delay in ms
///   ... on idle: KeepTipsAlive();
///   ... before handling input: HideTipIfVisible(&msg);
///   LRESULT CMyView::OnTipRequest(WPARAM, LPARAM lParam) {
///     auto* request = reinterpret_cast<TIPREQUEST*>(lParam);
///     request->text = ItemAt(request->point).name;   // client coordinates
///     return 1;
///   }
/// All of it runs on the user-interface thread; pointer, keys and time come from the input
/// service (platform/input), so tests run the hover logic on exact times.
#pragma once

#include <string>

#include "ZelExport.h"
#include "platform/base/string/String.h"
#include "platform/user/framework/Wnd.h"
#include "platform/user/gdi/DC.h"

class CTipWnd;

/// Sizes and places the tip instead of the text measurement: (tip, window the tip is for,
/// pointer in screen coordinates).
using TIPSIZEPROC = void (*)(CTipWnd* tip, CWnd* window, CPoint* point);
/// Paints the tip's inside: (tip, device, client rectangle).
using TIPPAINTPROC = void (*)(CTipWnd* tip, CDC* dc, CRect* rect);

/// The request sent with WM_TIP_REQUEST, filled in with the defaults below.
struct TIPREQUEST {
  CPoint point;             ///< the pointer in the window's client coordinates
  CString text;             ///< the tip's text, when stringId is 0
  UINT stringId = 0;        ///< non-zero: the text is this string resource
  unsigned long tipId = 0;  ///< the item under the pointer: the tip stays while it does
  CPoint offset{0, 19};     ///< where the tip goes from the pointer
  COLORREF background = RGB(255, 255, 128);  // kept with the tip, for a paint callback
  BOOL recheck = TRUE;                       ///< ask again when the pointer moves over a shown tip
  void* data = nullptr;                      ///< handed back to whoever asked for the tip
  TIPSIZEPROC sizeProc = nullptr;
  TIPPAINTPROC paintProc = nullptr;
  DWORD_PTR callbackData = 0;  ///< kept for the callbacks
};

/// The number of the registered message "WM_TIP_REQUEST", registered when the library loads.
extern ZEL_API const UINT WM_TIP_REQUEST;

/// The tip window: a topmost popup that never takes the focus. It deletes itself when its
/// window is destroyed.
class ZEL_API CTipWnd : public CWnd {
  DECLARE_DYNAMIC(CTipWnd)
 public:
  CTipWnd();
  ~CTipWnd() override;

  /// The process-wide tip window, null when there is none.
  static CTipWnd* GetTipWnd();

  /// Makes the window (hidden, owned by the thread's main window) with this hover delay;
  /// FALSE when it could not be made.
  BOOL Create(unsigned long delay);
  /// Asks the window for its tip at the screen point and shows it; nothing when it has none.
  void TurnOn(CWnd* window, CPoint* point);
  void TurnOff();
  /// Sends the request to the window (of this process) for the screen point; TRUE when a
  /// text came back, which goes to text with the tip id and data. The callbacks, callback
  /// data, offset, re-check flag and colour of the answer are kept.
  BOOL GetTipText(CWnd* window, CPoint* point, CString& text, unsigned long& tipId, void*& data);
  /// The hover logic at time now (ms of the tick count).
  void OnTickCountChange(unsigned long now);
  void SetFlashMode(BOOL on) { m_flash = on; }
  BOOL GetFlashMode() const { return m_flash; }

  /// What the last request and the window's own making left.
  BOOL IsActive() const { return m_active; }
  BOOL IsMessageBox() const { return m_messageBox; }
  unsigned long GetDelay() const { return m_delay; }
  COLORREF GetBackground() const { return m_background; }
  DWORD_PTR GetCallbackData() const { return m_callbackData; }
  const LOGFONT& GetTipFont() const { return m_font; }
  int GetDescent() const { return m_descent; }
  int GetAveCharWidth() const { return m_aveCharWidth; }

  /// The tip's owner: the window the tip is shown for (null when none).
  CWnd* GetTipOwner() const;

 protected:
  /// The base's way of making a window does not make this kind: out of a caller's reach.
  using CWnd::Create;
  DECLARE_MESSAGE_MAP()
  LRESULT OnCreate(WPARAM, LPARAM);
  LRESULT OnDestroy(WPARAM, LPARAM);
  LRESULT OnPaint(WPARAM, LPARAM);
  LRESULT OnSetText(WPARAM, LPARAM);
  LRESULT OnLButtonDown(WPARAM, LPARAM);
  LRESULT OnRButtonDown(WPARAM, LPARAM);
  LRESULT OnTimer(WPARAM, LPARAM);
  void PostNcDestroy() override;

 private:
  friend ZEL_API void FlashTip(const CString& text);
  friend ZEL_API int TipsMessageBox(CWnd* parent, const char* text, const char* caption,
                                    unsigned int style);
  bool KeyDown() const;
  void PassClickOn(UINT message, WPARAM wParam, LPARAM lParam);
  void PlaceAndShow(CWnd* window, const CPoint& point);

  BOOL m_active = FALSE;
  LOGFONT m_font;  ///< the icon-title font; each device makes it as it draws
  int m_descent = 0;
  int m_aveCharWidth = 0;
  DWORD m_time = 0;  ///< of the last pointer movement
  CPoint m_point;    ///< where the pointer was last seen, screen coordinates
  BOOL m_shown = FALSE;
  unsigned long m_delay = 0;
  COLORREF m_background = RGB(255, 255, 128);
  BOOL m_recheck = TRUE;
  CPoint m_offset{0, 19};
  unsigned long m_tipId = 0;
  void* m_data = nullptr;
  TIPSIZEPROC m_sizeProc = nullptr;
  TIPPAINTPROC m_paintProc = nullptr;
  DWORD_PTR m_callbackData = 0;
  HWND m_owner;  ///< the window the tip is shown for
  BOOL m_messageBox = FALSE;
  BOOL m_flash = FALSE;
};

/// Makes the tip window anew with this hover delay.
ZEL_API void SetTipsTimeout(unsigned long delay);
/// Runs the hover logic at the current tick count, when there is a tip window.
ZEL_API void KeepTipsAlive();
/// Hides the tip unless it was flashed; the message is not looked at. Answers 1.
ZEL_API int HideTipIfVisible(const MSG* msg);
/// Asks the window under the pointer for its tip and shows it at once.
ZEL_API void ShowTipAgain();
/// Takes the tip window away.
ZEL_API void DestroyTipWind();
/// Shows the text as a tip beside the pointer (at the main window's centre when the pointer
/// is elsewhere) until a click or another tip; HideTipIfVisible leaves it.
ZEL_API void FlashTip(const CString& text);
/// An information message (OK button and information icon: style 0x40) as a tip in the
/// middle of parent (or the main window) for 15 s; any other style, or no tip window,
/// shows an ordinary message box instead and answers its button. The caption (null: the
/// application's name) is shown bold above the text. Text and caption are plain text
/// unless style has TIPS_MARKUP, when they are rich-text markup.
///@{
ZEL_API int TipsMessageBox(CWnd* parent, const char* text, const char* caption, unsigned int style);
ZEL_API int TipsMessageBox(const char* text, unsigned int style);
///@}
/// Whether TipsMessageBox shows a message of that style as a tip: OK alone with the
/// information icon (the style's low eight bits 0x40).
ZEL_API bool ShowsAsTip(unsigned int style);

/// The style bit that makes a message-box tip read its text as markup.
constexpr unsigned int TIPS_MARKUP = 0x10000000;
/// Plain text as markup: tabs and line breaks as their control words, backslashes doubled
/// (kept as they are with TIPS_MARKUP in style); braces are not escaped.
ZEL_API std::string TipTextToMarkup(const char* text, unsigned int style);
