// zel richtext: measures or draws one line of rich text markup on the fixed-metrics
// device (or the Qt device) and prints what happened as JSON; `render` draws it into a
// picture file.
#include <climits>
#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "cli/Output.h"
#include "cli/RichTextRender.h"
#include "platform/user/gdi/FixedDC.h"
#include "platform/user/gdi/PictureBackend.h"
#include "richtext/RichTextLine.h"

namespace zel_cli {
namespace {

struct Options {
  std::string op;
  std::string text;
  std::string height = "-13", width = "0", weight = "400", mode_ = "2", selector, shift = "0";
  bool italic = false;
  std::string face = "Arial";
  std::string tabs, mapMode = "text", rect, place, device = "fixed";
  std::vector<std::string> fgColors, chStrings;
  bool hexEscapes = false, allEvents = false;
};

[[noreturn]] void Usage(const std::string& option, const std::string& why) {
  throw CLI::ValidationError(option, why);
}

// A whole number, decimal or 0x hex, with an optional sign; usage error otherwise.
long long Number(const std::string& text, const std::string& option) {
  size_t used = 0;
  long long value = 0;
  try {
    value = std::stoll(text, &used, 0);
  } catch (const std::exception&) {
    Usage(option, "not a number: " + text);
  }
  if (used != text.size()) Usage(option, "not a number: " + text);
  return value;
}

int Int(const std::string& text, const std::string& option) {
  const long long v = Number(text, option);
  if (v < INT_MIN || v > INT_MAX) Usage(option, "out of range: " + text);
  return static_cast<int>(v);
}

std::vector<int> IntList(const std::string& text, const std::string& option, size_t count) {
  std::vector<int> out;
  size_t start = 0;
  while (true) {
    size_t comma = text.find(',', start);
    out.push_back(
        Int(text.substr(start, comma == std::string::npos ? comma : comma - start), option));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  if (count && out.size() != count)
    Usage(option, "wants " + std::to_string(count) + " numbers separated by commas");
  return out;
}

// "\xNN" becomes byte NN.
std::string Unescape(const std::string& text) {
  std::string out;
  auto hex = [](char c) {
    return (c >= '0' && c <= '9')   ? c - '0'
           : (c >= 'a' && c <= 'f') ? c - 'a' + 10
           : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                    : -1;
  };
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x' && hex(text[i + 2]) >= 0 &&
        hex(text[i + 3]) >= 0) {
      out += static_cast<char>(hex(text[i + 2]) * 16 + hex(text[i + 3]));
      i += 3;
    } else {
      out += text[i];
    }
  }
  return out;
}

Json FontJson(const LOGFONT& lf) {
  return Json{
      {"height", lf.lfHeight},
      {"width", lf.lfWidth},
      {"weight", lf.lfWeight},
      {"italic", lf.lfItalic ? 1 : 0},
      {"underline", lf.lfUnderline ? 1 : 0},
      {"strike", lf.lfStrikeOut ? 1 : 0},
      {"face", BytesAsCodePoints(std::string(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE)))},
      {"charset", lf.lfCharSet},
      {"pitch", lf.lfPitchAndFamily},
      {"precision", lf.lfOutPrecision}};
}

Json EventsJson(const std::vector<DcEvent>& events, bool all) {
  Json out = Json::array();
  for (const DcEvent& e : events) {
    Json j{{"op", DcEventName(e.op)}};
    switch (e.op) {
      case DcEvent::kBkMode:
        j["mode"] = e.value;
        break;
      case DcEvent::kCreateFont:
        j["id"] = e.id;
        j["font"] = FontJson(e.font);
        break;
      case DcEvent::kSelectFont:
      case DcEvent::kDeleteFont:
        j["id"] = e.id;
        break;
      case DcEvent::kText:
        j["x"] = e.x;
        j["y"] = e.y;
        j["text"] = BytesAsCodePoints(e.text);
        j["font"] = FontJson(e.font);
        j["fg"] = e.fg;
        j["bg"] = e.bg;
        break;
      case DcEvent::kTextColor:
      case DcEvent::kBkColor:
        if (!all) continue;
        j["color"] = e.color;
        break;
      case DcEvent::kAlign:
        if (!all) continue;
        j["align"] = e.value;
        break;
      default:
        // The line functions make no other calls; anything else is shown by name alone.
        if (!all) continue;
        break;
    }
    out.push_back(std::move(j));
  }
  return out;
}

Json RectJson(const RECT& r) { return Json::array({r.left, r.top, r.right, r.bottom}); }

Json PointsJson(const POINT* points, int count) {
  Json out = Json::array();
  for (int i = 0; i < count && points; ++i) out.push_back(Json::array({points[i].x, points[i].y}));
  return out;
}

// The process-wide line settings the options give (mode, tab stops, selector, colours of
// the colour words, character strings): all checked first, then set.
void ApplyLineSettings(const Options& o) {
  const int mode = Int(o.mode_, "--mode");
  // The line functions keep the stops' and the strings' pointers: they live as long as
  // the process.
  static std::vector<int> tabs;
  tabs = o.tabs.empty() ? std::vector<int>() : IntList(o.tabs, "--tabs", 0);
  const int selector = o.selector.empty() ? 0 : Int(o.selector, "--selector");
  std::vector<std::pair<int, unsigned long>> colors;
  for (const std::string& c : o.fgColors) {
    const size_t eq = c.find('=');
    if (eq == std::string::npos) Usage("--fgcolor", "N=V wanted, got " + c);
    colors.emplace_back(Int(c.substr(0, eq), "--fgcolor"),
                        static_cast<unsigned long>(Number(c.substr(eq + 1), "--fgcolor")));
  }
  static std::vector<std::unique_ptr<std::string>> strings;
  std::vector<std::pair<int, const char*>> chSlots;
  for (const std::string& c : o.chStrings) {
    const size_t eq = c.find('=');
    if (eq == std::string::npos) Usage("--chstring", "N=TEXT wanted, got " + c);
    const int slot = Int(c.substr(0, eq), "--chstring");
    if (slot < 0 || slot > 15) Usage("--chstring", "slot outside 0 to 15: " + c.substr(0, eq));
    std::string text = c.substr(eq + 1);
    strings.push_back(std::make_unique<std::string>(o.hexEscapes ? Unescape(text) : text));
    chSlots.emplace_back(slot, strings.back()->c_str());
  }

  SetRTFLineMode(mode);
  SetRTFLineTabStops(static_cast<int>(tabs.size()), tabs.empty() ? nullptr : tabs.data(), nullptr,
                     nullptr);
  if (!o.selector.empty()) SetRTFLineCDSelector(selector);
  for (auto [n, v] : colors) SetRTFForegroundColor(n, v);
  for (auto [slot, markup] : chSlots) SetRTFLineChString(slot, markup);
}

// The font the options describe, selected into the device before each line call as a
// host selects it (the lines take the selected font for what their description says).
// It is the device's first font; making, selecting and deleting it stay out of the
// events, which hold the line calls' own.
class CallerFont {
 public:
  CallerFont(CDC* dc, const LOGFONT& font) : m_dc(dc), m_font(dc->CreateFontIndirect(&font)) {}
  ~CallerFont() {
    m_dc->SelectObject(m_dc->GetStockObject(SYSTEM_FONT));
    m_dc->DeleteObject(ToGdiObj(m_font));
  }
  CallerFont(const CallerFont&) = delete;
  CallerFont& operator=(const CallerFont&) = delete;

  template <typename LineCall>
  int Call(LineCall call) {
    m_dc->SelectObject(ToGdiObj(m_font));
    m_dc->ClearEvents();
    const int status = call();
    m_events.insert(m_events.end(), m_dc->Events().begin(), m_dc->Events().end());
    m_dc->ClearEvents();
    return status;
  }
  const std::vector<DcEvent>& Events() const { return m_events; }

 private:
  CDC* m_dc;
  HFONT m_font;
  std::vector<DcEvent> m_events;
};

void RunLine(const Options& o) {
  // Everything checked before anything changes.
  LOGFONT font;
  font.lfHeight = Int(o.height, "--height");
  font.lfWidth = Int(o.width, "--width");
  font.lfWeight = Int(o.weight, "--weight");
  font.lfItalic = o.italic ? 1 : 0;
  SetFaceName(font, o.face.c_str());
  const std::vector<int> rect =
      o.rect.empty() ? std::vector<int>{0, 0, 0, 0} : IntList(o.rect, "--rect", 4);
  const std::vector<int> place =
      o.place.empty() ? std::vector<int>{0, 0} : IntList(o.place, "--place", 2);
  const int shift = Int(o.shift, "--shift");
  if (o.mapMode != "text" && o.mapMode != "other") Usage("--mapmode", "text or other");
  if (o.device != "fixed" && o.device != "qt") Usage("--device", "fixed or qt");
  const std::string text = o.hexEscapes ? Unescape(o.text) : o.text;
  ApplyLineSettings(o);

  const int mapMode = o.mapMode == "text" ? MM_TEXT : MM_LOMETRIC;
  std::unique_ptr<Picture> picture;
  std::unique_ptr<CFixedDC> fixed;
  CDC* dc = nullptr;
  if (o.device == "qt") {
    // The real device, drawing on an image in memory.
    std::string error;
    PictureBackend* backend = ZelPictureBackend();
    picture = backend ? backend->NewPicture("", 1024, 256, &error) : nullptr;
    if (!picture) {
      std::fprintf(stderr, "zel: no Qt device: %s\n",
                   backend ? error.c_str() : "no drawing backend is installed");
      SetStatus(kFailed);
      return;
    }
    dc = picture->Device();
    dc->SetMapMode(mapMode);
  } else {
    fixed = std::make_unique<CFixedDC>(mapMode);
    dc = fixed.get();
  }
  CallerFont selected(dc, font);

  Json out;
  if (o.op == "measure") {
    RECT r;
    int value = 0;
    out["status"] =
        selected.Call([&] { return MeasureRTFLine(dc, text.c_str(), &font, &r, &value); });
    out["rect"] = RectJson(r);
  } else if (o.op == "metrics" || o.op == "metricsex") {
    CRTFLineMetric m;
    int starts[RTF_MAX_RUNS + 1];
    std::fill(std::begin(starts), std::end(starts), -1);
    out["status"] = selected.Call([&] {
      return o.op == "metrics" ? GetRTFLineMetrics(dc, text.c_str(), &font, &m)
                               : GetRTFLineMetricsEx(dc, text.c_str(), &font, &m, starts);
    });
    out["rect"] = RectJson(m.m_rect);
    out["count"] = m.m_nCount;
    out["positions"] = PointsJson(m.m_pPositions, m.m_nCount);
    out["extents"] = PointsJson(m.m_pExtents, m.m_nCount);
    if (o.op == "metricsex") {
      Json written = Json::array();
      for (int s : starts)
        if (s >= 0)
          written.push_back(s);
        else
          break;
      out["runStarts"] = written;
    }
  } else if (o.op == "draw") {
    RECT r{rect[0], rect[1], rect[2], rect[3]};
    out["status"] = selected.Call([&] { return DrawRTFLine(dc, text.c_str(), &font, &r, shift); });
    out["events"] = EventsJson(selected.Events(), o.allEvents);
  } else {  // lineout
    CRTFLineMetric m;
    selected.Call([&] { return GetRTFLineMetrics(dc, text.c_str(), &font, &m); });
    const int w = m.m_rect.right - m.m_rect.left, h = m.m_rect.bottom - m.m_rect.top;
    m.m_rect = RECT{place[0], place[1] - h, place[0] + w, place[1]};
    out["status"] = selected.Call([&] { return RTFLineOut(dc, text.c_str(), &font, &m); });
    out["rect"] = RectJson(m.m_rect);
    out["count"] = m.m_nCount;
    out["positions"] = PointsJson(m.m_pPositions, m.m_nCount);
    out["extents"] = PointsJson(m.m_pExtents, m.m_nCount);
    out["events"] = EventsJson(selected.Events(), o.allEvents);
  }
  out["font"] = Json{{"height", font.lfHeight},
                     {"width", font.lfWidth},
                     {"weight", font.lfWeight},
                     {"italic", font.lfItalic ? 1 : 0}};
  const int lineMode = SetRTFLineMode(0);
  SetRTFLineMode(lineMode);
  out["lineMode"] = lineMode;
  std::printf("%s\n", out.dump().c_str());
  SetStatus(kOk);
}

void AddLineOptions(CLI::App* sub, Options& o) {
  sub->add_option("--mode", o.mode_, "Line mode bits (default 2)");
  sub->add_option("--height", o.height, "Font height (default -13)");
  sub->add_option("--width", o.width, "Font width (default 0)");
  sub->add_option("--weight", o.weight, "Font weight (default 400)");
  sub->add_flag("--italic", o.italic, "Italic font");
  sub->add_option("--face", o.face, "Face name (default Arial)");
  sub->add_option("--tabs", o.tabs, "Tab stops, e.g. 50,100");
  sub->add_option("--selector", o.selector, "CD selector");
  sub->add_option("--fgcolor", o.fgColors, "Colour of word cfN: N=V (red in the low byte)");
  sub->add_option("--chstring", o.chStrings, "Character string of slot N (0-15): N=TEXT");
  sub->add_option("--mapmode", o.mapMode, "text (y down, default) or other (y up)");
  sub->add_option("--rect", o.rect, "Rectangle L,T,R,B for draw");
  sub->add_option("--shift", o.shift, "Shift for draw");
  sub->add_option("--place", o.place, "Left and bottom L,B where lineout places the line");
  sub->add_flag("--hex-escapes", o.hexEscapes, "\\xNN in TEXT and --chstring is byte NN");
  sub->add_flag("--all-events", o.allEvents, "Also colour and alignment calls");
  sub->add_option("--device", o.device, "fixed (default) or qt");
  sub->add_option("text", o.text, "The markup")->required();
}

const CommandRegistrar kRegistrar(60, [](CLI::App& app) {
  CLI::App* cmd = app.add_subcommand("richtext", "Measure or draw one line of rich text markup");
  cmd->require_subcommand(1);
  static Options options;
  struct Op {
    const char* name;
    const char* help;
  };
  static const Op kOps[] = {
      {"measure", "MeasureRTFLine: status, rect, font, lineMode"},
      {"metrics", "GetRTFLineMetrics: status, rect, count, positions, extents, font, lineMode"},
      {"metricsex", "GetRTFLineMetricsEx: as metrics, plus runStarts"},
      {"draw", "DrawRTFLine at --rect with --shift: status, events, font, lineMode"},
      {"lineout",
       "Measure, place at --place L,B, RTFLineOut: status, rect, count, positions, "
       "extents, events, font, lineMode"}};
  for (const Op& op : kOps) {
    CLI::App* sub = cmd->add_subcommand(op.name, op.help);
    AddLineOptions(sub, options);
    sub->callback([name = std::string(op.name)] {
      options.op = name;
      RunLine(options);
    });
  }

  static Options drawing;
  static std::string output, margin = "4";
  CLI::App* render = cmd->add_subcommand("render", "Draw the line into a PNG, SVG or PDF file");
  render->add_option("text", drawing.text, "The markup")->required();
  render->add_option("-o,--output", output, "FILE.png, FILE.svg or FILE.pdf")->required();
  render->add_option("--face", drawing.face, "Face name (default Arial)");
  render->add_option("--height", drawing.height, "Font height (default -13)");
  render->add_option("--mode", drawing.mode_, "Line mode bits (default 2)");
  render->add_option("--tabs", drawing.tabs, "Tab stops, e.g. 50,100");
  render->add_option("--selector", drawing.selector, "CD selector");
  render->add_option("--fgcolor", drawing.fgColors,
                     "Colour of word cfN: N=V (red in the low byte)");
  render->add_option("--chstring", drawing.chStrings, "Character string of slot N (0-15): N=TEXT");
  render->add_option("--margin", margin, "Margin in pixels (default 4)");
  render->callback([] {
    LOGFONT font;
    font.lfHeight = Int(drawing.height, "--height");
    font.lfWeight = FW_NORMAL;
    SetFaceName(font, drawing.face.c_str());
    const int pixels = Int(margin, "--margin");
    if (pixels < 0 || pixels > 10000) Usage("--margin", "0 to 10000 pixels");
    PictureBackend* backend = ZelPictureBackend();
    if (backend && !backend->CanWrite(output)) Usage("--output", "a .png, .svg or .pdf file name");
    ApplyLineSettings(drawing);
    RenderedPicture picture = RenderRichTextLine(drawing.text, font, pixels, output);
    if (!picture.ok) {
      std::fprintf(stderr, "zel: cannot write %s: %s\n", output.c_str(), picture.error.c_str());
      SetStatus(kFailed);
      return;
    }
    std::printf("%s: %d x %d pixels, line status %d\n", output.c_str(), picture.width,
                picture.height, picture.status);
    SetStatus(kOk);
  });
});

}  // namespace
}  // namespace zel_cli
