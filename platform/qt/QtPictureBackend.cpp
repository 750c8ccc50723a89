// The Qt picture backend: a painter on an image, an SVG generator or a PDF writer.
#include "platform/qt/QtPictureBackend.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cmath>
#include <filesystem>

#include "platform/base/string/String.h"
#include "platform/qt/QtApplication.h"
#include "platform/qt/QtDC.h"

namespace {

constexpr int kDotsPerMeter = 3780;  // 96 dots per inch
constexpr int kMaxSide = 32767;      // what a painter draws on

enum class Format { kMemory, kPng, kSvg, kPdf, kUnknown };

Format FormatOf(const std::string& path) {
  if (path.empty()) return Format::kMemory;
  const std::string ext = ZelAsciiLowered(std::filesystem::path(path).extension().string());
  if (ext == ".png") return Format::kPng;
  if (ext == ".svg") return Format::kSvg;
  if (ext == ".pdf") return Format::kPdf;
  return Format::kUnknown;
}

class QtPicture : public Picture {
 public:
  QtPicture(Format format, const std::string& path, int width, int height)
      : m_format(format), m_file(QString::fromLocal8Bit(path.c_str())) {
    const int dpi = QtPictureBackend::kDotsPerInch;
    switch (format) {
      case Format::kMemory:
      case Format::kPng:
        m_image = std::make_unique<QImage>(width, height, QImage::Format_ARGB32_Premultiplied);
        m_image->setDotsPerMeterX(kDotsPerMeter);
        m_image->setDotsPerMeterY(kDotsPerMeter);
        m_painter.begin(m_image.get());
        break;
      case Format::kSvg:
        m_svg = std::make_unique<QSvgGenerator>();
        m_svg->setFileName(m_file);
        m_svg->setSize(QSize(width, height));
        m_svg->setViewBox(QRect(0, 0, width, height));
        // Its own default is 72; the picture's pixels are 96 to the inch as on screen.
        m_svg->setResolution(dpi);
        m_painter.begin(m_svg.get());
        break;
      case Format::kPdf:
        m_pdf = std::make_unique<QPdfWriter>(m_file);
        m_pdf->setResolution(dpi);
        m_pdf->setPageMargins(QMarginsF(0, 0, 0, 0));
        // Pages are whole points: rounded up, so that every pixel is on the page.
        m_pdf->setPageSize(
            QPageSize(QSizeF(std::ceil(width * 72.0 / dpi), std::ceil(height * 72.0 / dpi)),
                      QPageSize::Point, QString(), QPageSize::ExactMatch));
        m_painter.begin(m_pdf.get());
        break;
      case Format::kUnknown:
        break;
    }
    if (m_painter.isActive()) {
      m_painter.fillRect(0, 0, width, height, Qt::white);
      m_dc = std::make_unique<CQtDC>(&m_painter);
    }
  }

  bool Started() const { return m_dc != nullptr; }
  CDC* Device() override { return m_dc.get(); }

  bool Finish(std::string* error) override {
    m_dc.reset();
    bool ok = !m_painter.isActive() || m_painter.end();
    if (ok && m_format == Format::kPng) ok = m_image->save(m_file, "PNG");
    if (!ok && error) *error = Reason(m_file);
    return ok;
  }

  // Qt's writers do not say why; a missing folder is the usual reason.
  static std::string Reason(const QString& file) {
    return QFileInfo(file).absoluteDir().exists() ? "it could not be written"
                                                  : "the folder does not exist";
  }

 private:
  Format m_format;
  QString m_file;
  std::unique_ptr<QImage> m_image;
  std::unique_ptr<QSvgGenerator> m_svg;
  std::unique_ptr<QPdfWriter> m_pdf;
  QPainter m_painter;
  std::unique_ptr<CQtDC> m_dc;
};

}  // namespace

bool QtPictureBackend::CanWrite(const std::string& path) const {
  const Format f = FormatOf(path);
  return f != Format::kUnknown && f != Format::kMemory;
}

std::unique_ptr<Picture> QtPictureBackend::NewPicture(const std::string& path, int width,
                                                      int height, std::string* error) {
  const Format format = FormatOf(path);
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return nullptr;
  };
  if (format == Format::kUnknown) return fail("not a .png, .svg or .pdf file name");
  if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide)
    return fail("a picture of " + std::to_string(width) + " x " + std::to_string(height) +
                " pixels cannot be made");
  zel_qt::EnsureApplication();
  auto picture = std::make_unique<QtPicture>(format, path, width, height);
  if (!picture->Started()) return fail(QtPicture::Reason(QString::fromLocal8Bit(path.c_str())));
  return picture;
}
