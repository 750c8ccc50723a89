// Rich text line markup: vocabulary, fonts, colours, character strings and the scanner.
#include "richtext/RichTextMarkup.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <unordered_map>

#include "platform/base/string/String.h"
#include "platform/base/types/GdiTypes.h"
#include "platform/user/gdi/DC.h"
#include "platform/user/gdi/MulDiv.h"
#include "richtext/RichTextScannerInternal.h"

namespace {

using namespace rtf_internal;

enum Kind {
  kDirect,  // hands its character on as it is
  kChar,    // a visible character (hidden and capitals apply)
  kWeight,
  kItalic,
  kUnderline,
  kStrike,
  kCaps,
  kHidden,
  kTextColor,
  kBkColor,
  kFontRow,
  kSize,
  kOffset,
  kSub,
  kSuper,
  kPlain,
  kTab,
  kLine,
  kSelector,
  kDirection,
  kString,
};

struct Word {
  Kind kind;
  int param;
};

// The colours of "cf1" to "cf16" (changeable, starting as the table) and "cb1" to "cb16"
// (the table).
constexpr std::array<COLORREF, 16> kColorTable = {
    RGB(0, 0, 0),     RGB(0, 0, 255),   RGB(0, 255, 255),   RGB(0, 255, 0),
    RGB(255, 0, 255), RGB(255, 0, 0),   RGB(255, 255, 0),   RGB(255, 255, 255),
    RGB(0, 0, 128),   RGB(0, 128, 128), RGB(0, 128, 0),     RGB(128, 0, 128),
    RGB(128, 0, 0),   RGB(128, 128, 0), RGB(128, 128, 128), RGB(192, 192, 192)};
std::array<COLORREF, 16> g_textColors = kColorTable;

struct FontRow {
  const char* face;
  BYTE pitchAndFamily;
  BYTE charSet;
  bool trueType;
  int substitute;
};
constexpr FontRow kFontRows[14] = {{"Tms Rmn", 0x12, 0, false, 4},
                                   {"Symbol", 0x12, 2, true, 1},
                                   {"Helv", 0x22, 0, false, 5},
                                   {"Courier", 0x31, 0, false, 11},
                                   {"Times New Roman", 0x12, 0, true, 4},
                                   {"Arial", 0x22, 0, true, 5},
                                   {"MS Serif", 0x12, 0, false, 4},
                                   {"MS Sans Serif", 0x22, 0, false, 5},
                                   {"", 0x20, 0, false, 5},
                                   {"", 0x20, 0, false, 5},
                                   {"System", 0x22, 0, false, 5},
                                   {"Courier New", 0x31, 0, true, 11},
                                   {"", 0x20, 0, false, 5},
                                   {"Wingdings", 0x07, 2, true, 13}};

int g_selector = 0;

// Slot 8: a bullet in the symbol face; slot 9: the empty box for selector 0 and the
// ticked box for selector 1, in the pictograph face, a little larger and lower.
const char kBulletString[] = "{\\f1 \xB7}";
const char kCheckBoxString[] = "{\\*0\\f13\\fs24\\dn2\\cf4 \xA8}{\\*1\\f13\\fs24\\dn2\\cf4 \xFE}";
const char* g_strings[16] = {
    nullptr,       nullptr,         nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    kBulletString, kCheckBoxString, "",      "",      "",      "",      "",      ""};

const std::unordered_map<std::string_view, Word>& Vocabulary() {
  static const std::unordered_map<std::string_view, Word> words = [] {
    std::unordered_map<std::string_view, Word> w{
        {"\\", {kDirect, '\\'}},
        {"{", {kDirect, '{'}},
        {"}", {kDirect, '}'}},
        {"lquote", {kChar, 0x91}},
        {"rquote", {kChar, 0x92}},
        {"ldblquote", {kChar, 0x93}},
        {"rdblquote", {kChar, 0x94}},
        {"bullet", {kChar, 0x95}},
        {"endash", {kChar, 0x96}},
        {"emdash", {kChar, 0x97}},
        {"b", {kWeight, 1}},
        {"b0", {kWeight, 0}},
        {"i", {kItalic, 1}},
        {"i0", {kItalic, 0}},
        {"ul", {kUnderline, 1}},
        {"ul0", {kUnderline, 0}},
        {"strike", {kStrike, 1}},
        {"strike0", {kStrike, 0}},
        {"caps", {kCaps, 1}},
        {"caps0", {kCaps, 0}},
        {"v", {kHidden, 1}},
        {"v0", {kHidden, 0}},
        {"fs14", {kSize, 7}},
        {"fs16", {kSize, 8}},
        {"fs18", {kSize, 9}},
        {"fs20", {kSize, 10}},
        {"fs22", {kSize, 11}},
        {"fs", {kSize, 12}},
        {"fs24", {kSize, 12}},
        {"fs28", {kSize, 14}},
        {"fs30", {kSize, 15}},
        {"fs32", {kSize, 16}},
        {"up8", {kOffset, 4}},
        {"up", {kOffset, 3}},
        {"up6", {kOffset, 3}},
        {"up4", {kOffset, 2}},
        {"up2", {kOffset, 1}},
        {"up0", {kOffset, 0}},
        {"dn0", {kOffset, 0}},
        {"dn2", {kOffset, -1}},
        {"dn4", {kOffset, -2}},
        {"dn6", {kOffset, -3}},
        {"dn", {kOffset, -3}},
        {"dn8", {kOffset, -4}},
        {"sub", {kSub, 0}},
        {"super", {kSuper, 0}},
        {"plain", {kPlain, 0}},
        {"tab", {kTab, 0}},
        {"\t", {kTab, 0}},
        {"line", {kLine, 0}},
        {"\n", {kLine, 0}},
        {"dir0", {kDirection, 0}},
        {"dir1", {kDirection, 1}},
        {"chbul", {kString, 8}},
        {"chcdbox", {kString, 9}},
    };
    // Numbered families; the names must outlive the map, so they live in static storage.
    static char names[16 + 16 + 14 + 8 + 8][8];
    int next = 0;
    auto add = [&](const char* format, int n, Word word) {
      std::snprintf(names[next], sizeof names[next], format, n);
      w.emplace(names[next++], word);
    };
    for (int n = 1; n <= 16; ++n) add("cf%d", n, {kTextColor, n});
    for (int n = 1; n <= 16; ++n) add("cb%d", n, {kBkColor, n});
    for (int n = 0; n <= 13; ++n) add("f%d", n, {kFontRow, n});
    for (int n = 0; n <= 7; ++n) add("*%d", n, {kSelector, n});
    for (int n = 0; n <= 7; ++n) add("ch%d", n, {kString, n});
    return w;
  }();
  return words;
}

class Scanner {
 public:
  Scanner(MarkupState& state, MarkupSink& sink) : m_s(state), m_sink(sink) {}

  // depth 0 is the line's own text; character strings scan one level deeper.
  void Scan(const char* text, int depth) {
    const char* p = text;
    while (*p) {
      const unsigned char c = static_cast<unsigned char>(*p);
      if (c == '{') {
        OpenGroup();
        ++p;
      } else if (c == '}') {
        CloseGroup();
        ++p;
      } else if (c == '\\') {
        if (!p[1]) {
          m_s.status = RTF_BACKSLASH_AT_END;
          return;
        }
        p = Word(p + 1, depth);
      } else {
        // A tab or newline byte is a character like any other: only the words make tabs
        // and new lines, so a stray control byte in a label cannot reflow it.
        Visible(c, false);
        if (depth == 0) m_sink.AfterLiteral(static_cast<int>(p - text));
        ++p;
      }
    }
  }

 private:
  void Visible(unsigned char c, bool fromWord) {
    if (m_s.now.hidden) return;
    if (m_s.now.caps) c = static_cast<unsigned char>(ZelAsciiToUpper(static_cast<char>(c)));
    m_sink.Visible(c, fromWord);
  }

  void OpenGroup() {
    if (m_s.depth == kMaxGroups) {
      m_s.status = RTF_TOO_MANY_GROUPS;
      return;
    }
    m_s.groups[m_s.depth++] = m_s.now;
  }

  void CloseGroup() {
    if (m_s.depth == 0) {
      m_s.status = RTF_UNMATCHED_CLOSE;
      return;
    }
    const Formatting& saved = m_s.groups[--m_s.depth];
    if (!SameLogFont(saved.font, m_s.now.font)) m_s.pending |= kPendingFont;
    if (saved.textColor != m_s.now.textColor) m_s.pending |= kPendingTextColor;
    if (saved.bkColor != m_s.now.bkColor) m_s.pending |= kPendingBkColor;
    if (saved.offset != m_s.now.offset) m_s.pending |= kPendingOffset;
    m_s.now = saved;
  }

  // Reads the word starting at p (after its backslash), acts on it, answers where the
  // text goes on.
  const char* Word(const char* p, int depth) {
    const char* start = p;
    auto wordChar = [](char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); };
    if (wordChar(*p)) {
      while (wordChar(*p)) ++p;
    } else {
      ++p;
      while (*p >= '0' && *p <= '9') ++p;
    }
    const std::string_view name(start, static_cast<size_t>(p - start));
    if (*p == ' ') ++p;
    const auto& words = Vocabulary();
    auto it = words.find(name);
    if (it == words.end()) {
      m_s.status = RTF_UNKNOWN_WORD;
      return p;
    }
    Act(it->second, depth);
    return p;
  }

  void SetFontField(LONG& field, LONG value) {
    if (field != value) m_s.pending |= kPendingFont;
    field = value;
  }
  void SetFontFlag(BYTE& field, int value) {
    if (field != value) m_s.pending |= kPendingFont;
    field = static_cast<BYTE>(value);
  }
  void SetColor(COLORREF& field, COLORREF value, unsigned bit) {
    if (field != value) m_s.pending |= bit;
    field = value;
  }

  void Size(int points) {
    LOGFONT& f = m_s.now.font;
    const int height = MulDiv(m_s.baseHeight, points, 10);
    if (height == f.lfHeight) return;
    f.lfWidth = MulDiv(f.lfWidth, height, f.lfHeight);
    f.lfHeight = height;
    m_s.pending |= kPendingFont;
  }

  void Offset(int tenths) {
    const int offset = MulDiv(m_s.baseHeight, tenths, 10);
    if (offset != m_s.now.offset) m_s.pending |= kPendingOffset;
    m_s.now.offset = offset;
  }

  void Font(int n) {
    const FontRow& row = kFontRows[m_s.trueTypeFaces ? kFontRows[n].substitute : n];
    LOGFONT& f = m_s.now.font;
    const BYTE precision = row.trueType ? OUT_TT_PRECIS : OUT_DEVICE_PRECIS;
    if (std::strncmp(f.lfFaceName, row.face, LF_FACESIZE) == 0 &&
        f.lfPitchAndFamily == row.pitchAndFamily && f.lfCharSet == row.charSet &&
        f.lfOutPrecision == precision)
      return;
    SetFaceName(f, row.face);
    f.lfPitchAndFamily = row.pitchAndFamily;
    f.lfCharSet = row.charSet;
    f.lfOutPrecision = precision;
    m_s.pending |= kPendingFont;
  }

  void Act(const ::Word& w, int depth) {
    Formatting& now = m_s.now;
    switch (w.kind) {
      case kDirect:
        // An escaped backslash or brace is text the writer meant literally: it is handed
        // on as it stands, neither hidden nor upper-cased.
        m_sink.Visible(static_cast<unsigned char>(w.param), true);
        break;
      case kChar:
        Visible(static_cast<unsigned char>(w.param), true);
        break;
      case kWeight:
        SetFontField(now.font.lfWeight, w.param ? FW_BOLD : FW_NORMAL);
        break;
      case kItalic:
        SetFontFlag(now.font.lfItalic, w.param);
        break;
      case kUnderline:
        SetFontFlag(now.font.lfUnderline, w.param);
        break;
      case kStrike:
        SetFontFlag(now.font.lfStrikeOut, w.param);
        break;
      case kCaps:
        now.caps = w.param != 0;
        break;
      case kHidden:
        now.hidden = w.param != 0;
        break;
      case kTextColor:
        SetColor(now.textColor, g_textColors[w.param - 1], kPendingTextColor);
        break;
      case kBkColor:
        SetColor(now.bkColor, kColorTable[w.param - 1], kPendingBkColor);
        break;
      case kFontRow:
        Font(w.param);
        break;
      case kSize:
        Size(w.param);
        break;
      case kOffset:
        Offset(w.param);
        break;
      case kSub:
        Size(7);
        Offset(-1);
        break;
      case kSuper:
        Size(7);
        Offset(2);
        break;
      case kPlain:
        SetFontField(now.font.lfWeight, FW_NORMAL);
        SetFontFlag(now.font.lfItalic, 0);
        SetFontFlag(now.font.lfUnderline, 0);
        SetFontFlag(now.font.lfStrikeOut, 0);
        now.caps = now.hidden = false;
        // Black on white, stated here rather than taken from the device: a plain run
        // looks the same on every device whatever colours the caller left selected.
        SetColor(now.textColor, RGB(0, 0, 0), kPendingTextColor);
        SetColor(now.bkColor, RGB(255, 255, 255), kPendingBkColor);
        Font(2);
        Size(10);
        Offset(0);
        break;
      case kTab:
        m_sink.Tab();
        break;
      case kLine:
        m_sink.NewLine();
        break;
      case kSelector:
        now.hidden = g_selector != w.param;
        break;
      case kDirection:
        now.vertical = w.param != 0;
        break;
      case kString:
        if (g_strings[w.param] && depth < kMaxStringDepth &&
            m_s.expansions < kMaxStringExpansions) {
          ++m_s.expansions;
          Scan(g_strings[w.param], depth + 1);
        }
        break;
    }
  }

  MarkupState& m_s;
  MarkupSink& m_sink;
};

}  // namespace

namespace rtf_internal {

void ScanMarkup(const char* text, MarkupState& state, MarkupSink& sink) {
  if (text) Scanner(state, sink).Scan(text, 0);
}

}  // namespace rtf_internal

int SetRTFLineCDSelector(int selector) {
  int previous = g_selector;
  g_selector = selector;
  return previous;
}

const char* SetRTFLineChString(int slot, const char* markup) {
  if (slot < 0 || slot >= 16) return nullptr;
  const char* previous = g_strings[slot];
  g_strings[slot] = markup;
  return previous;
}

unsigned long SetRTFForegroundColor(int n, unsigned long color) {
  if (n < 1 || n > static_cast<int>(g_textColors.size())) return 0;  // "cf1" to "cf16"
  COLORREF& slot = g_textColors[static_cast<size_t>(n) - 1];
  const COLORREF previous = slot;
  slot = static_cast<COLORREF>(color);
  return previous;
}

int CheckRTFLineSyntax(const char*, int*, char* message, int size) {
  if (message && size > 0) message[0] = 0;
  return 0;
}
