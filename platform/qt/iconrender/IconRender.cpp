// zel-iconrender: an SVG icon drawn at the icon theme's sizes, at build time.
// Usage: zel-iconrender ICON.svg THEME_DIR NAME SIZE...
// writes THEME_DIR/<SIZE>x<SIZE>/apps/NAME.png for each size, square, with an alpha channel.
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: %s ICON.svg THEME_DIR NAME SIZE...\n", argv[0]);
    return 2;
  }
  // Painting on images needs neither a display nor an application object (the picture
  // holds no text, which would need fonts).
  const QString svg = QString::fromLocal8Bit(argv[1]);
  QSvgRenderer renderer(svg);
  if (!renderer.isValid()) {
    std::fprintf(stderr, "zel-iconrender: %s is not a readable SVG picture\n", argv[1]);
    return 1;
  }
  const QString theme = QString::fromLocal8Bit(argv[2]);
  const QString name = QString::fromLocal8Bit(argv[3]);
  for (int i = 4; i < argc; ++i) {
    bool ok = false;
    const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
    if (!ok || size <= 0 || size > 4096) {
      std::fprintf(stderr, "zel-iconrender: %s is not a size in pixels\n", argv[i]);
      return 2;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, size, size));
    painter.end();
    const QString dir = theme + QStringLiteral("/%1x%1/apps").arg(size);
    const QString png = dir + "/" + name + ".png";
    if (!QDir().mkpath(dir) || !image.save(png, "PNG")) {
      std::fprintf(stderr, "zel-iconrender: cannot write %s\n", qPrintable(png));
      return 1;
    }
  }
  return 0;
}
