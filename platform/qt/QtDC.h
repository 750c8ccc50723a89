/// \class CQtDC
/// CQtDC: the device on Qt, drawing with a QPainter on any paint device: a widget in its
/// paint event, a QImage (saved as PNG), a QSvgGenerator, a QPdfWriter.
///
/// Logical units are device pixels. In the text mapping mode y grows downwards; every other
/// mode turns the y axis upwards around the device's origin, one unit a pixel.
/// Usage:
/// ```
///   QImage image(200, 40, QImage::Format_ARGB32_Premultiplied);
///   image.fill(Qt::white);
///   { CQtDC dc(&image); dc.TextOut(4, 4, "Label", 5); }
///   image.save("label.png");
/// ```
#pragma once

#include <memory>

#include "ZelQtExport.h"
#include "platform/user/gdi/DC.h"

class QPainter;
class QPaintDevice;
class QImage;
namespace zel_qt {
struct RealizedFont;
}

class ZEL_QT_API CQtDC : public CDC {
 public:
  /// Draws with the caller's painter (active on its device), which it leaves as it found.
  explicit CQtDC(QPainter* painter);
  /// Opens a painter of its own on device and ends it when destroyed.
  explicit CQtDC(QPaintDevice* device);
  ~CQtDC() override;

  QPainter* Painter() const { return m_painter; }

 protected:
  void OnSelectFont(const LOGFONT& lf) override;
  void DoTextMetrics(TEXTMETRIC& tm) override;
  SIZE DoTextExtent(const char* text, int count) override;
  bool DoCharABC(unsigned char ch, ABC& abc) override;
  int DoDeviceCaps(int index) const override;
  COLORREF DoSysColor(int index) const override;
  void DoTextOut(int x, int y, UINT align, UINT options, const RECT* rect, const char* text,
                 int count, const int* dx) override;
  void DoFillRect(const RECT& rect, COLORREF color) override;
  void DoLine(POINT from, POINT to, int penStyle, int penWidth, COLORREF color) override;
  void DoDrawImage(const CImageList& list, int index, int x, int y, UINT style) override;

 private:
  void Init();
  int DeviceY(int y) const;

  QPainter* m_painter = nullptr;
  std::unique_ptr<QPainter> m_own;
  std::shared_ptr<zel_qt::RealizedFont> m_font;
};
