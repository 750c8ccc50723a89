// A program outside the tree drawing a rich text line with the installed Qt backend.
#include <QImage>
#include <cstdio>

#include "platform/qt/QtDC.h"
#include "richtext/RichTextLine.h"

int main(int argc, char** argv) {
  QImage image(200, 40, QImage::Format_ARGB32_Premultiplied);
  image.fill(0xFFFFFFFF);
  CQtDC* dc = new CQtDC(&image);
  LOGFONT font;
  font.lfHeight = -16;
  SetFaceName(font, "Arial");
  RECT r{4, 0, 200, 30};
  const int status = DrawRTFLine(dc, "H{\\sub 2}O {\\b ok}", &font, &r, 0);
  delete dc;
  int ink = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) ink += image.pixel(x, y) != 0xFFFFFFFF;
  std::printf("status %d, %s\n", status, ink > 20 ? "drawn" : "blank");
  return argc > 1 && !image.save(argv[1]) ? 1 : 0;
}
