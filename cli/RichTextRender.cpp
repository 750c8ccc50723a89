// A rich text line into a picture file, and the rich text section of `zel demo`.
#include "cli/RichTextRender.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>

#include "cli/Command.h"
#include "platform/qt/QtApplication.h"
#include "platform/qt/QtDC.h"
#include "richtext/RichTextLine.h"

namespace zel_cli {
namespace {

constexpr int kDotsPerInch = 96;
constexpr int kDotsPerMeter = 3780;  // 96 dots per inch

std::string Extension(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  return ext;
}

// Draws the measured line at the margin, with the caller's font selected as a caller of
// the line functions does.
int DrawLine(QPainter& painter, const std::string& text, const LOGFONT& font,
             CRTFLineMetric& measured, int margin, int width, int height) {
  painter.fillRect(0, 0, width, height, Qt::white);
  CQtDC dc(&painter);
  LOGFONT lf = font;
  HFONT f = dc.CreateFontIndirect(&lf);
  HGDIOBJ old = dc.SelectObject(ToGdiObj(f));
  // Measured on an image at the same resolution: the same fonts give the same numbers.
  const RECT size = measured.m_rect;
  measured.m_rect = RECT{margin, margin, margin + size.right, margin + size.bottom};
  const int status = RTFLineOut(&dc, text.c_str(), &lf, &measured);
  measured.m_rect = size;
  dc.SelectObject(old);
  dc.DeleteObject(ToGdiObj(f));
  return status;
}

}  // namespace

bool IsPictureName(const std::string& path) {
  const std::string ext = Extension(path);
  return ext == ".png" || ext == ".svg" || ext == ".pdf";
}

RenderedPicture RenderRichTextLine(const std::string& text, const LOGFONT& font, int margin,
                                   const std::string& path) {
  RenderedPicture out;
  zel_qt::EnsureApplication();
  CRTFLineMetric measured;
  {
    QImage scratch(1, 1, QImage::Format_ARGB32_Premultiplied);
    scratch.setDotsPerMeterX(kDotsPerMeter);
    scratch.setDotsPerMeterY(kDotsPerMeter);
    CQtDC dc(&scratch);
    LOGFONT lf = font;
    HFONT f = dc.CreateFontIndirect(&lf);
    HGDIOBJ old = dc.SelectObject(ToGdiObj(f));
    out.status = GetRTFLineMetrics(&dc, text.c_str(), &lf, &measured);
    dc.SelectObject(old);
    dc.DeleteObject(ToGdiObj(f));
  }
  out.width = measured.m_rect.right + 2 * margin;
  out.height = measured.m_rect.bottom + 2 * margin;
  const std::string ext = Extension(path);
  const QString file = QString::fromLocal8Bit(path.c_str());
  if (ext == ".png") {
    QImage image(out.width, out.height, QImage::Format_ARGB32_Premultiplied);
    image.setDotsPerMeterX(kDotsPerMeter);
    image.setDotsPerMeterY(kDotsPerMeter);
    {
      QPainter painter(&image);
      DrawLine(painter, text, font, measured, margin, out.width, out.height);
    }
    out.ok = image.save(file, "PNG");
  } else if (ext == ".svg") {
    QSvgGenerator svg;
    svg.setFileName(file);
    svg.setSize(QSize(out.width, out.height));
    svg.setViewBox(QRect(0, 0, out.width, out.height));
    svg.setResolution(kDotsPerInch);
    QPainter painter;
    if (painter.begin(&svg)) {
      DrawLine(painter, text, font, measured, margin, out.width, out.height);
      out.ok = painter.end();
    }
  } else if (ext == ".pdf") {
    QPdfWriter pdf(file);
    pdf.setResolution(kDotsPerInch);
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setPageSize(
        QPageSize(QSizeF(out.width * 72.0 / kDotsPerInch, out.height * 72.0 / kDotsPerInch),
                  QPageSize::Point, QString(), QPageSize::ExactMatch));
    QPainter painter;
    if (painter.begin(&pdf)) {
      DrawLine(painter, text, font, measured, margin, out.width, out.height);
      out.ok = painter.end();
    }
  } else {
    out.error = "not a .png, .svg or .pdf file name";
    return out;
  }
  // Qt's writers do not say why; the folder is the usual reason.
  if (!out.ok) {
    const QFileInfo info(file);
    out.error =
        !info.absoluteDir().exists() ? "the folder does not exist" : "it could not be written";
  }
  return out;
}

namespace {

int RunRichTextDemo() {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path dir =
      fs::temp_directory_path(ec) / ("zel-demo-richtext-" + std::to_string(std::random_device{}()));
  fs::create_directories(dir, ec);
  const std::string path = (dir / "label.png").string();
  // Water, a square, a coloured word and the ticked box of the check-box string.
  const std::string label = "H{\\sub 2}O, r{\\super 2}, {\\cf6 red} and {\\b bold} \\chcdbox  done";
  LOGFONT font;
  font.lfHeight = -16;
  font.lfWeight = FW_NORMAL;
  SetFaceName(font, "Arial");
  const int selector = SetRTFLineCDSelector(1);
  RenderedPicture picture = RenderRichTextLine(label, font, 4, path);
  SetRTFLineCDSelector(selector);
  std::printf("markup: %s\n", label.c_str());
  if (!picture.ok) {
    std::fprintf(stderr, "zel: cannot write %s: %s\n", path.c_str(), picture.error.c_str());
    return kFailed;
  }
  std::printf("drawn on the Qt device into %s (%d x %d pixels, line status %d)\n", path.c_str(),
              picture.width, picture.height, picture.status);
  return kOk;
}

const DemoRegistrar kDemo(60, "Rich text lines", RunRichTextDemo);

}  // namespace
}  // namespace zel_cli
