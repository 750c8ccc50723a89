// The markup scanner and line layout over arbitrary bytes: a line mode, a CD selector,
// tab stops and up to eight character strings (which may expand each other) come from
// the input, then the line is measured and drawn every way on the fixed-metrics device.
// Nothing may crash, leak, hang or recurse without bound, and the results must hold
// their shape: at most 40 runs, a metric rectangle at least 1 by 1, run starts rising
// inside the text, a status from 0 to 6.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/user/gdi/FixedDC.h"
#include "richtext/RichTextLine.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

void CheckStatus(int status) { Check(status >= RTF_OK && status <= RTF_TOO_MANY_RUNS); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const int mode = data[0] & 63;
  const int selector = data[1] & 7;
  const int tabCount = data[2] & 3;
  const bool yUp = data[3] & 1;
  int stops[3] = {data[3] >> 1, 40 + (data[2] >> 2), 120};
  // The rest: the line, then character strings for slots 0 to 7, split at zero bytes.
  std::vector<std::string> parts(1);
  for (size_t i = 4; i < size; ++i) {
    if (data[i] == 0 && parts.size() < 9)
      parts.emplace_back();
    else if (data[i] != 0)
      parts.back() += static_cast<char>(data[i]);
  }
  const char* previous[8];
  for (int slot = 0; slot < 8; ++slot)
    previous[slot] = SetRTFLineChString(
        slot, slot + 1 < static_cast<int>(parts.size()) ? parts[slot + 1].c_str() : nullptr);
  const int oldSelector = SetRTFLineCDSelector(selector);
  SetRTFLineTabStops(tabCount, tabCount ? stops : nullptr, nullptr, nullptr);
  SetRTFLineMode(mode);
  const char* text = parts[0].c_str();

  CFixedDC dc(yUp ? MM_LOMETRIC : MM_TEXT);
  LOGFONT lf;
  lf.lfHeight = -13;
  lf.lfWeight = FW_NORMAL;
  RECT rect;
  int value = -1;
  CheckStatus(MeasureRTFLine(&dc, text, &lf, &rect, &value));
  Check(value == 0);
  Check(lf.lfHeight == 16);

  CRTFLineMetric metric;
  int starts[RTF_MAX_RUNS + 2];
  std::fill(std::begin(starts), std::end(starts), -1);
  CheckStatus(GetRTFLineMetricsEx(&dc, text, &lf, &metric, starts));
  Check(metric.m_nCount >= 0 && metric.m_nCount <= RTF_MAX_RUNS);
  Check(metric.m_rect.left == 0 && metric.m_rect.top == 0);
  Check(metric.m_rect.right >= 1 && metric.m_rect.bottom >= 1);
  Check(starts[RTF_MAX_RUNS + 1] == -1);
  for (int i = 0; i <= RTF_MAX_RUNS && starts[i] >= 0; ++i) {
    Check(starts[i] < static_cast<int>(std::strlen(text)));
    Check(i == 0 || starts[i] > starts[i - 1]);
  }

  metric.m_rect = RECT{5, 100 - metric.m_rect.bottom, 5 + metric.m_rect.right, 100};
  CheckStatus(RTFLineOut(&dc, text, &lf, &metric));
  RECT box{0, 0, 300, 50};
  CheckStatus(DrawRTFLine(&dc, text, &lf, &box, 3));
  Check(dc.GetSelectedFontId() == 0);
  Check(dc.GetBkMode() == OPAQUE);

  for (int slot = 0; slot < 8; ++slot) SetRTFLineChString(slot, previous[slot]);
  SetRTFLineCDSelector(oldSelector);
  SetRTFLineTabStops(0, nullptr, nullptr, nullptr);
  return 0;
}
