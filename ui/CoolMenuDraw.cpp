// CCoolMenuManager: measuring and drawing the owner-drawn items.
#include <algorithm>

#include "platform/user/gdi/Bitmap.h"
#include "platform/user/gdi/DC.h"
#include "platform/user/system/SystemValues.h"
#include "platform/user/wnd/Window.h"
#include "ui/CoolMenuManager.h"

namespace {

// A one-image list of the pixels, for drawing a bitmap or a mask on a device.
CImageList OneImage(int w, int h, const std::vector<uint32_t>& pixels) {
  CImageList list(w, h);
  list.Add(pixels.data());
  return list;
}

uint32_t Opaque(COLORREF c) {
  return 0xFF000000u | (static_cast<uint32_t>(GetRValue(c)) << 16) |
         (static_cast<uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
}

// Paints the image's shape (see the header) in the highlight colour one pixel right and
// down, then in the shadow colour in place.
void DrawEmbossed(CDC& dc, const CImageList& images, int index, POINT at, bool colour) {
  const std::vector<uint32_t>& px = images.Pixels(index);
  std::vector<bool> shape(px.size());
  for (size_t i = 0; i < px.size(); ++i) {
    const uint32_t p = px[i];
    if ((p >> 24) < 128) continue;
    const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    shape[i] = colour ? (p & 0xFFFFFF) != 0xFFFFFF : (r * 299 + g * 587 + b * 114) / 1000 < 128;
  }
  const int w = images.Width(), h = images.Height();
  for (auto [dx, color] : {std::pair{1, COLOR_3DHIGHLIGHT}, std::pair{0, COLOR_3DSHADOW}}) {
    std::vector<uint32_t> mask(px.size(), 0);
    for (size_t i = 0; i < px.size(); ++i)
      if (shape[i]) mask[i] = Opaque(dc.GetSysColor(color));
    CImageList one = OneImage(w, h, mask);
    dc.DrawImage(one, 0, at.x + dx, at.y + dx, ILD_TRANSPARENT);
  }
}

// Selects a font made from lf for the object's lifetime.
class FontScope {
 public:
  FontScope(CDC& dc, const LOGFONT& lf) : m_dc(dc), m_font(dc.CreateFontIndirect(&lf)) {
    m_old = dc.SelectObject(ToGdiObj(m_font));
  }
  ~FontScope() {
    m_dc.SelectObject(m_old);
    m_dc.DeleteObject(ToGdiObj(m_font));
  }

 private:
  CDC& m_dc;
  HFONT m_font;
  HGDIOBJ m_old;
};

}  // namespace

LOGFONT CCoolMenuManager::GetMenuFont(bool bold) {
  std::optional<LOGFONT>& font = bold ? m_fontMenuBold : m_fontMenu;
  if (!font) {
    NONCLIENTMETRICS metrics;
    SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    LOGFONT lf = metrics.lfMenuFont;
    if (bold) lf.lfWeight = FW_BOLD;
    font = lf;
  }
  return *font;
}

CRect CCoolMenuManager::ButtonRect(const RECT& item) const {
  const int top = item.top + ((item.bottom - item.top) - m_szButton.cy) / 2;
  return CRect(item.left, top, item.left + m_szButton.cx, top + m_szButton.cy);
}

BOOL CCoolMenuManager::OnMeasureItem(MEASUREITEMSTRUCT* item) {
  if (!item || item->CtlType != ODT_MENU || !IsMyItemData(item->itemData)) return FALSE;
  const auto* record = reinterpret_cast<const CMenuItemData*>(item->itemData);
  const int menuBar = GetSystemMetrics(SM_CYMENU);
  if (record->fType & MFT_SEPARATOR) {
    item->itemHeight = static_cast<UINT>(menuBar / 2);
    item->itemWidth = 0;
    return TRUE;
  }
  HWND owner = m_pFrame ? m_pFrame->m_hWnd : HWND();
  CDC* dc = ::GetDC(owner);
  if (!dc) return FALSE;
  RECT text{0, 0, 0, 0};
  {
    FontScope font(*dc, GetMenuFont(record->fState & MFS_DEFAULT));
    dc->DrawText(record->text, record->text.GetLength(), &text, DT_SINGLELINE | DT_CALCRECT);
  }
  ::ReleaseDC(owner, dc);
  item->itemHeight = static_cast<UINT>(std::max<LONG>(menuBar, text.bottom - text.top));
  const LONG width =
      (text.right - text.left) + 6 + 2 * m_szButton.cx - GetSystemMetrics(SM_CXMENUCHECK);
  item->itemWidth = static_cast<UINT>(std::max<LONG>(width, 0));
  return TRUE;
}

BOOL CCoolMenuManager::OnDrawItem(DRAWITEMSTRUCT* item) {
  if (!item || item->CtlType != ODT_MENU || !item->hDC || !IsMyItemData(item->itemData))
    return FALSE;
  const auto* record = reinterpret_cast<const CMenuItemData*>(item->itemData);
  CDC& dc = *item->hDC;
  const CRect rcItem(item->rcItem);
  if (record->fType & MFT_SEPARATOR) {
    CRect line = rcItem;
    line.top += line.Height() / 2;
    dc.DrawEdge(&line, EDGE_ETCHED, BF_TOP);
    return TRUE;
  }
  const bool disabled = item->itemState & ODS_GRAYED;
  const bool selected = item->itemState & ODS_SELECTED;
  const bool checked = item->itemState & ODS_CHECKED;
  bool button = false;
  if (DrawItemIcon(item, record->iButton, nullptr)) {
    button = true;
  } else {
    MENUITEMINFO marks;
    marks.fMask = MIIM_CHECKMARKS;
    ::GetMenuItemInfo(MenuOfDrawItem(*item), item->itemID, FALSE, &marks);
    if (checked || marks.hbmpUnchecked) {
      Draw3DCheckmark(dc, ButtonRect(rcItem), selected,
                      checked ? marks.hbmpChecked : marks.hbmpUnchecked);
      button = true;
    }
  }
  const COLORREF background = dc.GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_MENU);
  if (selected || item->itemAction == ODA_SELECT) {
    CRect fill = rcItem;
    if (button) fill.left += m_szButton.cx + 1;
    dc.FillSolidRect(&fill, background);
  }
  CRect text = rcItem;
  text.left += m_szButton.cx + 3;
  text.right -= m_szButton.cx;
  const COLORREF color = dc.GetSysColor(disabled   ? COLOR_GRAYTEXT
                                        : selected ? COLOR_HIGHLIGHTTEXT
                                                   : COLOR_MENUTEXT);
  FontScope font(dc, GetMenuFont(record->fState & MFS_DEFAULT));
  const int oldMode = dc.SetBkMode(TRANSPARENT);
  if (disabled && (!selected || color == background)) {
    CRect shifted = text;
    shifted.OffsetRect(1, 1);
    DrawMenuText(dc, shifted, record->text, dc.GetSysColor(COLOR_3DHIGHLIGHT));
  }
  DrawMenuText(dc, text, record->text, color);
  dc.SetBkMode(oldMode);
  return TRUE;
}

void CCoolMenuManager::DrawMenuText(CDC& dc, CRect rect, const CString& text, COLORREF color) {
  const int tab = text.Find('\t');
  const CString left = tab >= 0 ? text.Left(tab) : text;
  const COLORREF old = dc.SetTextColor(color);
  dc.DrawText(left, left.GetLength(), &rect, DT_SINGLELINE | DT_LEFT | DT_VCENTER);
  if (tab > 0) {
    const CString right = text.Mid(tab + 1);
    dc.DrawText(right, right.GetLength(), &rect, DT_SINGLELINE | DT_RIGHT | DT_VCENTER);
  }
  dc.SetTextColor(old);
}

int CCoolMenuManager::DrawItemIcon(DRAWITEMSTRUCT* item, int imageIndex, CImageList* images) {
  if (!item || !item->hDC || imageIndex < 0) return 0;
  CImageList& list = images ? *images : m_ilButtons;
  if (imageIndex >= list.GetImageCount()) return 0;
  CDC& dc = *item->hDC;
  const CRect box = ButtonRect(item->rcItem);
  const POINT at{box.left + (box.Width() - list.Width()) / 2,
                 box.top + (box.Height() - list.Height()) / 2};
  const bool selected = item->itemState & ODS_SELECTED;
  const bool checked = item->itemState & ODS_CHECKED;
  if (item->itemState & ODS_GRAYED) {
    if (m_bUseDrawState)
      dc.DrawImage(list, imageIndex, at.x, at.y, ILD_DISABLED);
    else
      DrawEmbossed(dc, list, imageIndex, at, m_bDrawDisabledButtonsInColor);
    return 1;
  }
  dc.FillSolidRect(&box, dc.GetSysColor(checked && !selected ? COLOR_3DLIGHT : COLOR_MENU));
  CRect edge = box;
  if (checked)
    dc.DrawEdge(&edge, BDR_SUNKENOUTER, BF_RECT);
  else if (selected)
    dc.DrawEdge(&edge, BDR_RAISEDINNER, BF_RECT);
  dc.DrawImage(list, imageIndex, at.x, at.y, ILD_TRANSPARENT);
  return 1;
}

BOOL CCoolMenuManager::Draw3DCheckmark(CDC& dc, const CRect& rect, BOOL selected, HBITMAP bitmap) {
  if (!bitmap) bitmap = SystemCheckBitmap();
  SIZE size{0, 0};
  std::vector<uint32_t> px;
  if (!GetBitmapDimension(bitmap, &size) || !GetBitmapPixels(bitmap, px)) return 0;
  const CRect bmp(rect.left + (rect.Width() - size.cx) / 2,
                  rect.top + (rect.Height() - size.cy) / 2,
                  rect.left + (rect.Width() - size.cx) / 2 + size.cx,
                  rect.top + (rect.Height() - size.cy) / 2 + size.cy);
  dc.FillSolidRect(&bmp, dc.GetSysColor(selected ? COLOR_MENU : COLOR_3DLIGHT));
  // A check bitmap is two-coloured, as the platform's are: its white is the background.
  for (uint32_t& p : px)
    if ((p & 0xFFFFFF) == 0xFFFFFF) p = 0;
  CImageList one = OneImage(size.cx, size.cy, px);
  dc.DrawImage(one, 0, bmp.left, bmp.top, ILD_TRANSPARENT);
  CRect edge = bmp.Width() < rect.Width()
                   ? CRect(bmp.left - 1, bmp.top - 1, bmp.right + 1, bmp.bottom + 1)
                   : rect;
  dc.DrawEdge(&edge, BDR_SUNKENOUTER, BF_RECT);
  return 1;
}
