// Reformatting: every whole number keeps its three values, doubles keep the writer's six
// digits and are counted when that changes them, comments before the root are kept.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>

#include "serialization/NumberText.h"
#include "serialization/SxfReformat.h"
#include "tests/serialization/SxfTestUtil.h"

using namespace sxf_test;

namespace {

class SxfReformatTest : public zel_test::ZelTest {
 protected:
  std::string path = tmp / "in.sxf";

  std::string Reformat(const std::string& text, SxfReformatLosses* losses = nullptr,
                       int width = 1000) {
    CZelTextFile in;
    OpenInputOn(in, path, text);
    std::string out;
    SxfReformat(in, nullptr, width, "\n", out, nullptr, losses);
    return out;
  }

  // The numbers of a root list read from text: (integer flag, long, unsigned, double bits).
  struct Values {
    int isInteger;
    int32_t l;
    uint32_t u;
    uint64_t d;
    bool operator==(const Values&) const = default;
  };
  std::vector<Values> NumbersOf(const std::string& text) {
    CSyntaxTree tree;
    EXPECT_EQ(ReadCause(path, text, tree), 0) << text;
    std::vector<Values> values;
    if (!tree.GetRoot()) return values;
    for (uint32_t i = 1; i < static_cast<uint32_t>(tree.GetRoot()->GetCount()); ++i) {
      auto* n = dynamic_cast<CSynNum*>(tree.GetRoot()->ElementAt(i));
      EXPECT_NE(n, nullptr) << text;
      if (n)
        values.push_back({n->IsInteger(), n->GetLong(), n->GetUnsigned(),
                          std::bit_cast<uint64_t>(n->GetDouble())});
    }
    return values;
  }

  // Reformats "(SXF token)"; a whole number must read back to its three values in a form
  // no longer than the token (the token itself is such a form).
  std::string CheckKept(const std::string& token) {
    SCOPED_TRACE(token);
    const std::vector<Values> before = NumbersOf("(SXF " + token + ")");
    const std::string out = Reformat("(SXF " + token + ")");
    EXPECT_EQ(out.substr(0, 5), "(SXF ");
    const std::string kept = out.substr(5, out.size() - 7);
    const std::vector<Values> after = NumbersOf(out);
    if (before.size() == 1 && before[0].isInteger) {
      EXPECT_EQ(after.size(), 1u);
      if (after.size() == 1) {
        EXPECT_EQ(after[0].l, before[0].l);
        EXPECT_EQ(after[0].u, before[0].u);
        EXPECT_EQ(after[0].d, before[0].d);
      }
      EXPECT_LE(kept.size(), token.size());
    }
    return kept;
  }
};

TEST_F(SxfReformatTest, WholeNumbersKeepAllThreeValues) {
  const struct {
    const char* token;
    const char* printed;
  } cases[] = {
      // The writer's form where it keeps everything.
      {"5", "5"},
      {"-3", "-3"},
      {"+17", "17"},
      {"-2147483648", "-2147483648"},
      {"0", "0"},
      {"+", "0"},
      // Exponents: the long value is the digits before the e.
      {"1e+006", "1e+06"},
      {"1e+06", "1e+06"},
      {"25e2", "25e2"},
      {"1E3", "1e3"},
      {"7e-3", "7e-3"},
      {"-4e1", "-4e1"},
      {"1e0", "1"},
      // Signs.
      {"-0", "-0"},
      {"-00", "-0"},
      {"-2147483649", "-2147483649"},
      {"-4294967295", "-4294967295"},
      // Overflow of 32 bits, and of a double.
      {"2147483648", "2147483648"},
      {"4294967296", "4294967296"},
      {"12345678901", "12345678901"},
      {"4294967296000", "4294967296e3"},
      {"1e999", "1e309"},
      {"-5e-999", "-5e-325"},
      {"0e999", "0"},
      // Unsigned forms: what the writer stores for an unsigned int.
      {"4294967295", "4294967295"},
      {"3000000000", "3000000000"},
  };
  for (const auto& c : cases) EXPECT_EQ(CheckKept(c.token), c.printed) << c.token;
  // The whole list of the example, as the writer's line.
  EXPECT_EQ(Reformat("(SXF 1e+06 25e2 2147483648 4294967295)"),
            "(SXF 1e+06 25e2 2147483648 4294967295)\n");
}

TEST_F(SxfReformatTest, RandomWholeNumberTokensReadBackTheSame) {
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 rng(seed);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  std::vector<std::string> tokens;
  std::string text = "(SXF";
  for (int i = 0; i < 1000; ++i) {
    std::string token = pick(0, 3) == 0 ? "-" : "";
    const int digits = pick(1, 25);
    for (int d = 0; d < digits; ++d) token += static_cast<char>('0' + pick(d == 0, 9));
    if (pick(0, 2) != 0) token += "e" + std::to_string(pick(-340, 320));
    tokens.push_back(token);
    text += " " + token;
  }
  text += ")";
  const std::string out = Reformat(text, nullptr, 1 << 30);  // one line
  const std::vector<Values> before = NumbersOf(text);
  const std::vector<Values> after = NumbersOf(out);
  ASSERT_EQ(after.size(), tokens.size());
  size_t at = 5;
  for (size_t i = 0; i < tokens.size(); ++i) {
    SCOPED_TRACE(tokens[i]);
    EXPECT_EQ(after[i].l, before[i].l);
    EXPECT_EQ(after[i].u, before[i].u);
    EXPECT_EQ(after[i].d, before[i].d);
    const size_t end = out.find_first_of(" )", at);
    // Never longer than the token, unless it is the writer's own print of the double.
    const std::string printed = out.substr(at, end - at);
    if (printed != zel_sxf::DoubleWriterText(std::bit_cast<double>(after[i].d))) {
      EXPECT_LE(printed.size(), tokens[i].size()) << printed;
    }
    at = end + 1;
  }
}

TEST_F(SxfReformatTest, DoublesKeepSixDigitsAndChangesAreCounted) {
  SxfReformatLosses losses;
  EXPECT_EQ(Reformat("(SXF 0.5 5.0 1.5e3 3.14159265 -0.0 1234567.0)", &losses),
            "(SXF 0.5 5 1500 3.14159 -0 1.23457e+06)\n");
  EXPECT_EQ(losses.numbersChanged, 2);
  EXPECT_EQ(losses.firstBefore, "3.14159265");
  EXPECT_EQ(losses.firstAfter, "3.14159");
  SxfReformatLosses none;
  Reformat("(SXF 0.25 1e+06 12 (0.1))", &none);
  EXPECT_EQ(none.numbersChanged, 0);
}

TEST_F(SxfReformatTest, CommentsBeforeTheRootStayAndThoseInsideAreCounted) {
  SxfReformatLosses losses;
  EXPECT_EQ(Reformat(";; example file\r\n  ;plain\r\n;;;  two blanks\r\n\r\n(SXF a ; one\r\n"
                     " ;two\r\n b) ; after the root\r\n",
                     &losses),
            ";; example file\n;; plain\n;;  two blanks\n(SXF a b)\n");
  EXPECT_EQ(losses.commentsDropped, 2);
  EXPECT_EQ(losses.numbersChanged, 0);
  // The writer's own comment comes back as it was.
  const std::string stored = Store(path, [](CZelArchive& ar) {
    ar.WriteCommentLine("kept as written");
    int n = 3;
    ar(n);
  });
  CZelTextFile in;
  OpenInputOn(in, path, stored);
  std::string out;
  SxfReformat(in, nullptr, 75, "\r\n", out);
  EXPECT_EQ(out, stored);
}

}  // namespace
