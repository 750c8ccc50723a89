// Shell-link strings have a bound: no string of a link is read past the longest path its
// system allows, however large the file claims it to be.
#include <gtest/gtest.h>

#include <string>

#include "platform/os/shell/ShellLink.h"
#include "tests/tools/ToolFixtures.h"

namespace {

using namespace zel_fixtures;

constexpr size_t kLongest = 32767;

TEST(ShellLinkBounds, StringsEndAtTheLongestPath) {
  struct Case {
    const char* what;
    size_t length;
    bool unicode;  // the link info's Unicode copies, and the string data in UTF-16
    bool counted;  // the string data's arguments rather than the link info's path
  };
  const Case cases[] = {
      {"an 8-bit path as long as a path can be", kLongest, false, false},
      {"an 8-bit path one longer", kLongest + 1, false, false},
      {"a Unicode path as long as a path can be", kLongest, true, false},
      {"a Unicode path one longer", kLongest + 1, true, false},
      {"arguments as long as they can be", kLongest, true, true},
      {"arguments one longer", kLongest + 1, true, true},
      {"8-bit arguments one longer", kLongest + 1, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LinkSpec s;
    s.unicode = c.unicode;
    s.unicodeLinkInfo = c.unicode;
    s.localBasePath = "C:\\";
    std::string& text = c.counted ? s.arguments : s.commonPathSuffix;
    text = std::string(c.length, 'p');
    ZelShellLink link;
    const bool read = ZelReadShellLink(ZelMemorySource(ShellLink(s)), link);
    EXPECT_EQ(read, c.length <= kLongest);
    if (read) {
      EXPECT_EQ((c.counted ? link.arguments : link.localPath).GetLength(),
                static_cast<int>(c.counted ? c.length : c.length + 3));
    }
  }
}

// A link whose link info claims a huge string (its terminator at the far end) is no link,
// found without reading to that end.
TEST(ShellLinkBounds, AHugeStringIsNoLink) {
  for (bool unicode : {false, true}) {
    SCOPED_TRACE(unicode ? "Unicode" : "8-bit");
    LinkSpec s;
    s.unicodeLinkInfo = unicode;
    s.localBasePath = "C:\\";
    s.commonPathSuffix = std::string(8 << 20, 'p');
    ZelShellLink link;
    EXPECT_FALSE(ZelReadShellLink(ZelMemorySource(ShellLink(s)), link));
  }
}

}  // namespace
