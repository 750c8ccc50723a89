// A fixture for rich text lines on the fixed-metrics device: the process-wide settings
// are put back after each test, and small helpers draw and measure.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/user/gdi/FixedDC.h"
#include "richtext/RichTextLine.h"

namespace zel_test {

class RichTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_mode = SetRTFLineMode(RTF_MODE_TRUETYPE);
    SetRTFLineTabStops(0, nullptr, &m_tabCount, &m_tabs);
    m_selector = SetRTFLineCDSelector(0);
    for (int i = 0; i < 16; ++i) m_strings[i] = SetRTFLineChString(i, nullptr);
    for (int i = 0; i < 16; ++i) SetRTFLineChString(i, m_strings[i]);
  }
  void TearDown() override {
    SetRTFLineMode(m_mode);
    SetRTFLineTabStops(m_tabCount, m_tabs, nullptr, nullptr);
    SetRTFLineCDSelector(m_selector);
    for (int i = 0; i < 16; ++i) SetRTFLineChString(i, m_strings[i]);
  }

  // The caller's font of the command's defaults: Arial, character height 13 (cell 16).
  static LOGFONT Font(LONG height = -13) {
    LOGFONT lf;
    lf.lfHeight = height;
    lf.lfWeight = FW_NORMAL;
    SetFaceName(lf, "Arial");
    return lf;
  }

  // The text calls of a line drawn directly at (0, 100).
  std::vector<DcEvent> Draw(const std::string& text, int* status = nullptr) {
    CFixedDC dc;
    LOGFONT lf = Font();
    RECT r{0, 0, 0, 100};
    const int s = DrawRTFLine(&dc, text.c_str(), &lf, &r, 0);
    if (status) *status = s;
    std::vector<DcEvent> texts;
    for (const DcEvent& e : dc.Events())
      if (e.op == DcEvent::kText) texts.push_back(e);
    return texts;
  }

  // The texts drawn, one string per call.
  std::vector<std::string> Runs(const std::string& text, int* status = nullptr) {
    std::vector<std::string> out;
    for (const DcEvent& e : Draw(text, status)) out.push_back(e.text);
    return out;
  }

  int Status(const std::string& text) {
    int status = -1;
    Draw(text, &status);
    return status;
  }

 private:
  int m_mode = 0;
  int m_tabCount = 0;
  int* m_tabs = nullptr;
  int m_selector = 0;
  const char* m_strings[16] = {};
};

}  // namespace zel_test
