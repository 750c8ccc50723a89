// Measuring rich text lines: GetRTFLineMetrics on the Qt device beside Qt's own rich text
// (QTextDocument laid out on the same lines as HTML), over 100,000 different generated
// lines with bold, italics, sub- and superscripts, colours and tabs, in one run.
// Usage: richtext_bench [ZEL_BINARY] [LINES]
#include <QFont>
#include <QImage>
#include <QTextDocument>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "platform/qt/QtApplication.h"
#include "platform/qt/QtDC.h"
#include "richtext/RichTextLine.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Line {
  std::string markup;
  QString html;
};

// One line as markup and as the equivalent HTML, from the same random pieces.
Line MakeLine(std::mt19937& rng, int serial) {
  static const char* const kWords[] = {"primer", "DNA", "exon",  "intron", "promoter",
                                       "ATG",    "GC",  "loop",  "vector", "insert",
                                       "EcoRI",  "Tm",  "clone", "read",   "strand"};
  static const char* const kColors[] = {"#000000", "#0000ff", "#00ffff",
                                        "#00ff00", "#ff00ff", "#ff0000"};
  Line line;
  const int pieces = 3 + static_cast<int>(rng() % 6);
  for (int i = 0; i < pieces; ++i) {
    std::string word = kWords[rng() % std::size(kWords)];
    if (i == 0) word += std::to_string(serial);
    switch (rng() % 7) {
      case 0:
        line.markup += "{\\b " + word + "}";
        line.html += "<b>" + QString::fromStdString(word) + "</b>";
        break;
      case 1:
        line.markup += "{\\i " + word + "}";
        line.html += "<i>" + QString::fromStdString(word) + "</i>";
        break;
      case 2:
        line.markup += word + "{\\sub 2}";
        line.html += QString::fromStdString(word) + "<sub>2</sub>";
        break;
      case 3:
        line.markup += word + "{\\super 3}";
        line.html += QString::fromStdString(word) + "<sup>3</sup>";
        break;
      case 4: {
        const int c = 1 + static_cast<int>(rng() % 6);
        line.markup += "{\\cf" + std::to_string(c) + " " + word + "}";
        line.html += QString("<span style=\"color:%1\">%2</span>")
                         .arg(kColors[c - 1], QString::fromStdString(word));
        break;
      }
      case 5:
        line.markup += "\\tab " + word;
        line.html += "\t" + QString::fromStdString(word);
        break;
      default:
        line.markup += word;
        line.html += QString::fromStdString(word);
        break;
    }
    line.markup += " ";
    line.html += " ";
  }
  line.html = "<p style=\"white-space:pre\">" + line.html + "</p>";
  return line;
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 2 ? std::atoi(argv[2]) : 100000;
  zel_qt::EnsureApplication();
  std::mt19937 rng(20261206);
  std::vector<Line> lines;
  lines.reserve(count);
  for (int i = 0; i < count; ++i) lines.push_back(MakeLine(rng, i));

  QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
  CQtDC dc(&image);
  dc.SetRecording(false);
  LOGFONT font;
  font.lfHeight = -13;
  font.lfWeight = FW_NORMAL;
  SetFaceName(font, "Arial");
  HFONT caller = dc.CreateFontIndirect(&font);
  dc.SelectObject(ToGdiObj(caller));
  SetRTFLineMode(RTF_MODE_TRUETYPE);

  long long ourWidths = 0;
  const auto t0 = Clock::now();
  for (const Line& line : lines) {
    LOGFONT lf = font;
    CRTFLineMetric metric;
    GetRTFLineMetrics(&dc, line.markup.c_str(), &lf, &metric);
    ourWidths += metric.m_rect.right;
  }
  const double ours = std::chrono::duration<double>(Clock::now() - t0).count();

  // Qt's rich text on the same lines: one document, the same face and size, no margin,
  // laid out to get its size.
  QTextDocument doc;
  QFont qfont("Liberation Sans");
  qfont.setPixelSize(13);
  doc.setDefaultFont(qfont);
  doc.setDocumentMargin(0);
  long long qtWidths = 0;
  const auto t1 = Clock::now();
  for (const Line& line : lines) {
    doc.setHtml(line.html);
    qtWidths += static_cast<long long>(doc.size().width());
  }
  const double theirs = std::chrono::duration<double>(Clock::now() - t1).count();

  std::printf("lines: %d different, markup with bold, italics, sub/superscripts, colours, tabs\n",
              count);
  std::printf("GetRTFLineMetrics on the Qt device: %8.3f s  %10.0f lines/s  (mean width %.1f)\n",
              ours, count / ours, static_cast<double>(ourWidths) / count);
  std::printf("QTextDocument setHtml + size:       %8.3f s  %10.0f lines/s  (mean width %.1f)\n",
              theirs, count / theirs, static_cast<double>(qtWidths) / count);
  std::printf("ratio: %.1fx as fast as QTextDocument (goal: at least 5x)\n", theirs / ours);
  return 0;
}
