// A rich text line into a picture file, and the rich text section of `zel demo`.
#include "cli/RichTextRender.h"

#include <cstdio>
#include <filesystem>
#include <random>

#include "cli/Command.h"
#include "platform/user/gdi/PictureBackend.h"
#include "richtext/RichTextLine.h"

namespace zel_cli {
namespace {

// Measures into metric (or draws from it) with the caller's font selected on dc.
int WithCallerFont(CDC* dc, const LOGFONT& font, const std::string& text, CRTFLineMetric& metric,
                   bool draw) {
  LOGFONT lf = font;
  HFONT f = dc->CreateFontIndirect(&lf);
  HGDIOBJ old = dc->SelectObject(ToGdiObj(f));
  const int status = draw ? RTFLineOut(dc, text.c_str(), &lf, &metric)
                          : GetRTFLineMetrics(dc, text.c_str(), &lf, &metric);
  dc->SelectObject(old);
  dc->DeleteObject(ToGdiObj(f));
  return status;
}

}  // namespace

RenderedPicture RenderRichTextLine(const std::string& text, const LOGFONT& font, int margin,
                                   const std::string& path) {
  RenderedPicture out;
  PictureBackend* backend = ZelPictureBackend();
  if (!backend) {
    out.error = "no drawing backend is installed";
    return out;
  }
  if (!backend->CanWrite(path)) {
    out.error = "not a .png, .svg or .pdf file name";
    return out;
  }
  // Measured on an image of the same resolution first: it fixes the picture's size.
  CRTFLineMetric metric;
  std::unique_ptr<Picture> scratch = backend->NewPicture("", 1, 1, &out.error);
  if (!scratch) return out;
  out.status = WithCallerFont(scratch->Device(), font, text, metric, false);
  scratch->Finish(nullptr);
  const RECT size = metric.m_rect;
  out.width = size.right + 2 * margin;
  out.height = size.bottom + 2 * margin;
  std::unique_ptr<Picture> picture = backend->NewPicture(path, out.width, out.height, &out.error);
  if (!picture) return out;
  metric.m_rect = RECT{margin, margin, margin + size.right, margin + size.bottom};
  WithCallerFont(picture->Device(), font, text, metric, true);
  out.ok = picture->Finish(&out.error);
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
