/// \class CDC
/// CDC: a drawing device in the platform's terms (mapping mode, colours, modes, alignment,
/// fonts, pens and brushes as handles, text metrics and extents, text, rectangles, lines,
/// edges, formatted text, images), recording every call that changes or draws.
///
/// The state, the objects and the record live here, once for every device; a device
/// supplies the metrics of its selected font and the drawing itself (the Do* operations).
/// Usage:
/// ```
///   CFixedDC dc;                                   // or a CQtDC on a QPainter
///   HFONT f = dc.CreateFontIndirect(&lf);
///   HGDIOBJ old = dc.SelectObject(ToGdiObj(f));
///   dc.TextOut(10, 20, "text", 4);
///   dc.SelectObject(old);
///   dc.DeleteObject(ToGdiObj(f));
/// ```
#pragma once

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "ZelExport.h"
#include "platform/base/types/GdiTypes.h"
#include "platform/base/types/WinTypes.h"
#include "platform/user/gdi/TextBytes.h"

class CImageList;

/// One recorded call. Fields a kind of call does not use keep their defaults.
struct DcEvent {
  enum Op {
    kMapMode,
    kBkMode,
    kTextColor,
    kBkColor,
    kAlign,
    kCreateFont,
    kCreatePen,
    kCreateBrush,
    kSelectFont,
    kSelectPen,
    kSelectBrush,
    kDeleteFont,
    kDeletePen,
    kDeleteBrush,
    kText,
    kFillRect,
    kFrameRect,
    kDrawEdge,
    kMoveTo,
    kLineTo,
    kDrawText,
    kImage,
  };
  Op op = kText;
  int id = 0;          ///< object id: the stock system font is 0, created objects 1, 2, ...
  int value = 0;       ///< mode, alignment, options, edge, format, image style
  UINT flags = 0;      ///< edge flags, image index
  COLORREF color = 0;  ///< colour set or used to fill
  int x = 0, y = 0;    ///< point
  RECT rect;           ///< rectangle
  LOGFONT font;        ///< created font, or the font a text call (text, drawtext) drew with
  int fontId = 0;      ///< id of that font (text calls)
  COLORREF fg = 0;     ///< text colour of a text call
  COLORREF bg = 0;     ///< background colour of a text call
  int bkMode = 0;      ///< background mode of a text call
  std::string text;    ///< the bytes drawn
};

/// The name of an event kind as tests and the command print it ("text", "selectfont", ...).
ZEL_API const char* DcEventName(DcEvent::Op op);

/// The stock system font's description: cell height 16, weight 400, face "System".
ZEL_API LOGFONT StockSystemFont();
/// Whether two font descriptions are the same (face names compared up to their end).
ZEL_API bool SameLogFont(const LOGFONT& a, const LOGFONT& b);
/// Copies a face name, cut to fit with its terminating zero.
ZEL_API void SetFaceName(LOGFONT& lf, const char* face);

class ZEL_API CDC {
 public:
  CDC();
  virtual ~CDC();
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  /// Modes and colours; each Set answers the previous value.
  int GetMapMode() const { return m_mapMode; }
  int SetMapMode(int mode);
  int GetBkMode() const { return m_bkMode; }
  int SetBkMode(int mode);
  COLORREF GetTextColor() const { return m_textColor; }
  COLORREF SetTextColor(COLORREF color);
  COLORREF GetBkColor() const { return m_bkColor; }
  COLORREF SetBkColor(COLORREF color);
  UINT GetTextAlign() const { return m_align; }
  UINT SetTextAlign(UINT align);
  /// How a device that draws Unicode reads the bytes of text calls; answers the previous
  /// way. A device that draws the bytes as they are has nothing to decide.
  TextBytes GetTextBytes() const { return m_textBytes; }
  TextBytes SetTextBytes(TextBytes how) { return std::exchange(m_textBytes, how); }

  /// Objects. Created objects belong to this device and live until deleted or the device
  /// goes; deleting a selected object fails, deleting a stock object does nothing.
  HFONT CreateFontIndirect(const LOGFONT* lf);
  HPEN CreatePen(int style, int width, COLORREF color);
  HBRUSH CreateSolidBrush(COLORREF color);
  HGDIOBJ GetStockObject(int index);
  HBRUSH GetSysColorBrush(int index);
  /// Selects the object; answers the object of its kind selected before, null for a handle
  /// this device does not know.
  HGDIOBJ SelectObject(HGDIOBJ object);
  BOOL DeleteObject(HGDIOBJ object);
  /// The selected font's description and its id (0 for the stock system font).
  const LOGFONT& GetSelectedFont() const;
  int GetSelectedFontId() const;

  /// Metrics of the selected font, in logical units.
  BOOL GetTextMetrics(TEXTMETRIC* tm);
  BOOL GetTextExtentPoint(const char* text, int count, SIZE* size);
  BOOL GetTextExtentPoint32(const char* text, int count, SIZE* size) {
    return GetTextExtentPoint(text, count, size);
  }
  BOOL GetCharABCWidths(UINT first, UINT last, ABC* abc);
  int GetDeviceCaps(int index) const;
  COLORREF GetSysColor(int index) const;

  /// Drawing.
  BOOL TextOut(int x, int y, const char* text, int count);
  BOOL ExtTextOut(int x, int y, UINT options, const RECT* rect, const char* text, UINT count,
                  const int* dx);
  BOOL FillRect(const RECT* rect, HBRUSH brush);
  void FillSolidRect(const RECT* rect, COLORREF color);
  BOOL FrameRect(const RECT* rect, HBRUSH brush);
  /// Draws the edges flags names around rect (EDGE_ETCHED, ...); BF_ADJUST shrinks rect to
  /// what lies inside them.
  BOOL DrawEdge(RECT* rect, UINT edge, UINT flags);
  POINT MoveTo(int x, int y);
  BOOL LineTo(int x, int y);
  /// Formatted text in rect: lines at newlines (unless DT_SINGLELINE), words wrapped with
  /// DT_WORDBREAK, tabs expanded to eight average widths with DT_EXPANDTABS, "&x" drawn as x
  /// underlined and "&&" as "&" unless DT_NOPREFIX (DT_HIDEPREFIX: no underline), aligned
  /// by DT_CENTER, DT_RIGHT, DT_VCENTER, DT_BOTTOM. With DT_CALCRECT nothing is drawn and
  /// rect's right and bottom receive the text's extent. Answers the text's height.
  int DrawText(const char* text, int count, RECT* rect, UINT format);
  /// Image index of the list at (x, y) in the given style (ILD_NORMAL, ILD_TRANSPARENT,
  /// ILD_DISABLED); false for an index outside the list.
  BOOL DrawImage(const CImageList& list, int index, int x, int y, UINT style);

  /// The record of calls, in order, since the device was made (or last cleared).
  const std::vector<DcEvent>& Events() const { return m_events; }
  void ClearEvents() { m_events.clear(); }
  /// Recording can be turned off where no one reads it (long measuring runs).
  void SetRecording(bool on) { m_recording = on; }
  bool IsRecording() const { return m_recording; }

 protected:
  /// What a device supplies: metrics of the selected font (GetSelectedFont) in logical
  /// units, capabilities, system colours, and drawing in logical coordinates.
  virtual void OnSelectFont(const LOGFONT& lf) = 0;
  virtual void DoTextMetrics(TEXTMETRIC& tm) = 0;
  virtual SIZE DoTextExtent(const char* text, int count) = 0;
  virtual bool DoCharABC(unsigned char ch, ABC& abc) = 0;
  virtual int DoDeviceCaps(int index) const = 0;
  virtual COLORREF DoSysColor(int index) const;
  /// Text at its reference point as the alignment says (no current-position update here).
  virtual void DoTextOut(int x, int y, UINT align, UINT options, const RECT* rect, const char* text,
                         int count, const int* dx) = 0;
  virtual void DoFillRect(const RECT& rect, COLORREF color) = 0;
  virtual void DoLine(POINT from, POINT to, int penStyle, int penWidth, COLORREF color) = 0;
  virtual void DoDrawImage(const CImageList& list, int index, int x, int y, UINT style) = 0;
  /// Lets a device select its stock font once it can realise fonts (its constructor).
  void SelectStockFont();

 private:
  struct Object {
    int kind = 0;  ///< 1 font, 2 pen, 3 brush
    int id = 0;
    bool stock = false;
    LOGFONT font;
    int penStyle = PS_SOLID;
    int penWidth = 1;
    COLORREF color = 0;
  };
  Object* Find(HGDIOBJ h);
  HGDIOBJ Make(Object object);
  HGDIOBJ Stock(int index);
  DcEvent& Record(DcEvent::Op op);
  /// The font and colours a text call draws with, into its event.
  void NoteTextState(DcEvent& e) const;
  void EdgeLine(const RECT& r, UINT side, COLORREF color);
  int DrawTextLine(const std::string& line, int x, int y, int width, UINT format, bool draw);

  int m_mapMode = MM_TEXT;
  int m_bkMode = OPAQUE;
  COLORREF m_textColor = 0x000000;
  COLORREF m_bkColor = 0xFFFFFF;
  UINT m_align = TA_LEFT | TA_TOP;
  TextBytes m_textBytes = TextBytes::kEachCall;
  POINT m_current;
  std::unordered_map<uintptr_t, Object> m_objects;
  uintptr_t m_serial = 0;
  int m_nextId[4] = {0, 1, 1, 1};
  HGDIOBJ m_font, m_pen, m_brush;
  bool m_recording = true;
  std::vector<DcEvent> m_events;
  DcEvent m_scratch;  ///< filled and dropped while not recording
};

// A device as the platform's drawing functions take it.
