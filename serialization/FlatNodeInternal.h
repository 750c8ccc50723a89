// An atom stored while its tree is printed as it is filled, kept as the text it prints
// (CSyntaxTree's capture of an object, SyntaxTreeCapture.cpp, when the object's list
// needs nodes after all). What is stored then is only ever printed, so the text serves
// for the number, string, tag or reference it was printed from.
#pragma once

#include <cstdint>
#include <string_view>

#include "serialization/SynNode.h"
#include "serialization/SynText.h"

class CSynFlat : public CSynNode {
  DECLARE_DYNAMIC(CSynFlat)
 public:
  /// measure: the print length the atom counts (its text, and 2 more for each tab, line
  /// feed or return its string escaped).
  CSynFlat(std::string_view text, int measure) : m_measure(measure), m_text(text) {}

  std::string_view Text() const { return m_text.view(); }
  int Measure() const { return m_measure; }

  int SubtractPrintLen(int n) const override { return n - m_measure; }
  void Output(CSyntaxTree& tree, int fitsOnLine) const override;
  void OutputToString(CString& s) const override;

 private:
  int32_t m_measure;
  zel_sxf::SynText<20> m_text;  // a short text inline, a longer one in a pooled block
};
