// A device with the tip font selected, for the tip window's own measuring and painting.
#pragma once

#include "platform/user/framework/Wnd.h"
#include "platform/user/gdi/DC.h"

namespace tip_internal {

// Selects a font made from the description into a device for as long as it lives: the
// window's measuring device (released with it) or the one handed over.
class TipDC {
 public:
  TipDC(CWnd& wnd, const LOGFONT& font) : TipDC(wnd.GetDC(), font) { m_releaseTo = &wnd; }
  TipDC(CDC* dc, const LOGFONT& font) : m_dc(dc) {
    if (!m_dc) return;
    m_font = m_dc->CreateFontIndirect(&font);
    m_old = m_dc->SelectObject(ToGdiObj(m_font));
  }
  ~TipDC() {
    if (!m_dc) return;
    m_dc->SelectObject(m_old);
    m_dc->DeleteObject(ToGdiObj(m_font));
    if (m_releaseTo) m_releaseTo->ReleaseDC(m_dc);
  }
  TipDC(const TipDC&) = delete;
  TipDC& operator=(const TipDC&) = delete;
  CDC* operator->() const { return m_dc; }
  explicit operator bool() const { return m_dc != nullptr; }

 private:
  CDC* m_dc;
  CWnd* m_releaseTo = nullptr;
  HFONT m_font;
  HGDIOBJ m_old;
};

}  // namespace tip_internal
