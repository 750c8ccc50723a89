// The menu order: keys, mark and sweep, new keys, and its file.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/support/TestSupport.h"
#include "tests/tools/PlantedFiles.h"
#include "tools/MenuOrder.h"

namespace {

TEST(MenuOrder, ChildOrderNamesAndMarks) {
  CMenuOrder root;
  root.GetOrCreateNode("Blast")->SetOrderName("C");
  root.GetOrCreateNode("Align");
  EXPECT_STREQ(root.GetChildOrderName("Blast"), "c");
  EXPECT_STREQ(root.GetChildOrderName("BLAST"), "c");
  EXPECT_STREQ(root.GetChildOrderName("Align"), "Align");  // known, without order name
  EXPECT_STREQ(root.GetChildOrderName("Other"), "Other");
  EXPECT_EQ(root.GetChildOrderName(nullptr), nullptr);
  // Only what was asked for since StartMonitor survives StopMonitor.
  root.GetOrCreateNode("gone");
  root.StartMonitor();
  root.GetChildOrderName("blast");
  root.StopMonitor();
  EXPECT_NE(root.GetNode("blast"), nullptr);
  EXPECT_EQ(root.GetNode("align"), nullptr);
  EXPECT_EQ(root.GetNode("gone"), nullptr);
}

TEST(MenuOrder, NamesAreLowerCase) {
  CMenuOrder node("AbC");
  EXPECT_EQ(node.GetOrderName(), "abc");
  EXPECT_TRUE(node.IsLoaded());
  node.SetOrderName(nullptr);
  EXPECT_FALSE(node.IsLoaded());
  CMenuOrder root;
  auto* child = new CMenuOrder("x");
  root.AddNode("Tools", child);
  EXPECT_EQ(root.GetNode("TOOLS"), child);
  EXPECT_EQ(root.GetOrCreateNode("tools"), child);
  root.RemoveNode("Tools");  // removed, not deleted
  EXPECT_EQ(root.GetNode("tools"), nullptr);
  delete child;
}

TEST(MenuOrder, InsertNames) {
  CMenuOrder root;
  root.GetOrCreateNode("m")->SetOrderName("m");
  root.GetOrCreateNode("a")->SetOrderName("a");
  root.GetOrCreateNode("b")->SetOrderName("b");
  root.GetOrCreateNode("d")->SetOrderName("d");
  root.GetOrCreateNode("bz")->SetOrderName("bz");
  root.GetOrCreateNode("c")->SetOrderName("c");
  root.GetOrCreateNode("z")->SetOrderName("z");
  EXPECT_EQ(root.GetInsertName(nullptr, "m"), "l");
  EXPECT_EQ(root.GetInsertName(nullptr, "a"), "\tm");
  EXPECT_EQ(root.GetInsertName("b", "d"), "c");
  EXPECT_EQ(root.GetInsertName("bz", "c"), "bz\tn");
  EXPECT_EQ(root.GetInsertName("c", "ca"), "c\tn");  // a prefix, then a character up to 'a'
  EXPECT_EQ(root.GetInsertName("c", "c"), "c\tn");   // a prefix, then the end
  // A prefix, then a character above 'a': that character lowered replaces the prefix's
  // last one, a key that need not sort between the two (left open for the callers).
  EXPECT_EQ(root.GetInsertName("b", "bz"), "y");
}

TEST(MenuOrder, FileRoundTrip) {
  zel_test::TempDir tmp;
  CMenuOrder root;
  root.GetOrCreateNode("Web")->SetOrderName("a");
  CMenuOrder* seq = root.GetOrCreateNode("Sequence");
  seq->SetOrderName("b");
  seq->GetOrCreateNode("Blast.tq")->SetOrderName("z\tm");
  std::string path = tmp / "MenuOrder.ini";
  ASSERT_FALSE(root.WriteOrderFile(path.c_str()));
  std::unique_ptr<CMenuOrder> back(CMenuOrder::ReadOrderFile(path.c_str()));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->Store(), root.Store());
  EXPECT_EQ(back->GetNode("sequence")->GetNode("blast.tq")->GetOrderName(), "z\tm");
  EXPECT_EQ(CMenuOrder::ReadOrderFile((tmp / "missing").c_str()), nullptr);
}

TEST(MenuOrder, DamagedOrForeignFilesAreNoOrder) {
  CMenuOrder root;
  root.GetOrCreateNode("a")->GetOrCreateNode("b")->SetOrderName("x");
  const std::string good = root.Store();
  std::unique_ptr<CMenuOrder> ok(CMenuOrder::Load(good));
  ASSERT_TRUE(ok);
  for (size_t n = 0; n < good.size(); ++n)
    EXPECT_EQ(CMenuOrder::Load(std::string_view(good).substr(0, n)), nullptr) << n;
  for (size_t i = 0; i < good.size(); ++i) {
    std::string bad = good;
    bad[i] ^= 0x40;
    EXPECT_EQ(CMenuOrder::Load(bad), nullptr) << i;
  }
  EXPECT_EQ(CMenuOrder::Load(good + "x"), nullptr);
  EXPECT_EQ(CMenuOrder::Load("[ToolUnitShortcut]\r\nTarget=x\r\n"), nullptr);
}

// A file whose checksum is right but whose counts lie is still not believed.
TEST(MenuOrder, CountsAreNeverTrusted) {
  auto withPayload = [](const std::string& payload) {
    CMenuOrder empty;
    std::string file = empty.Store().substr(0, 20);
    uint32_t h = 2166136261u;
    for (char c : payload) {
      h ^= static_cast<unsigned char>(c);
      h *= 16777619u;
    }
    for (int i = 0; i < 4; ++i) {
      file[12 + i] = static_cast<char>((payload.size() >> (8 * i)) & 0xFF);
      file[16 + i] = static_cast<char>((h >> (8 * i)) & 0xFF);
    }
    return file + payload;
  };
  // No order name, 0xFFFFFFFF children, nothing after.
  EXPECT_EQ(CMenuOrder::Load(withPayload(std::string("\0\0\xFF\xFF\xFF\xFF", 6))), nullptr);
  // A name longer than what remains.
  EXPECT_EQ(CMenuOrder::Load(withPayload(std::string("\xFF\x0F"
                                                     "ab",
                                                     4))),
            nullptr);
  // A name holding NUL.
  EXPECT_EQ(CMenuOrder::Load(withPayload(std::string("\x01\0\0\0\0\0\0", 7))), nullptr);
  // Nesting deeper than believed.
  std::string deep;
  for (int i = 0; i < 100; ++i) deep += std::string("\0\0\x01\0\0\0\x01\0a", 9);
  deep += std::string("\0\0\0\0\0\0", 6);
  EXPECT_EQ(CMenuOrder::Load(withPayload(deep)), nullptr);
  // The same shape, shallow, is fine.
  std::unique_ptr<CMenuOrder> shallow(
      CMenuOrder::Load(withPayload(std::string("\0\0\x01\0\0\0\x01\0a\0\0\0\0\0\0", 15))));
  EXPECT_TRUE(shallow);
}

// Children named a, b, ... (distinct names of width letters), each name padded to size.
std::unique_ptr<CMenuOrder> Wide(int children, size_t nameSize) {
  auto root = std::make_unique<CMenuOrder>();
  for (int i = 0; i < children; ++i) {
    std::string name;
    for (int n = i; name.size() < 4; n /= 26) name += static_cast<char>('a' + n % 26);
    name.resize(nameSize, 'x');
    root->GetOrCreateNode(name.c_str());
  }
  return root;
}

// A file larger than a real tool folder could need, or with more nodes, is not believed
// (and is not written either): a crafted one would otherwise cost memory without bound.
TEST(MenuOrder, FilesBeyondTheirBoundsAreNoOrder) {
  zel_test::TempDir tmp;
  const std::string path = tmp / "MenuOrder.ini";
  struct Case {
    int children;
    size_t nameSize;
    bool believed;
  } cases[] = {
      {2000, 100, true},   // 776 tools and their folders, with long names
      {6000, 200, false},  // a payload above 1 MiB
      {60000, 4, true},    // many nodes, still within the count
      {70000, 4, false},   // more nodes than believed, in under 1 MiB
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.children) + " children of " + std::to_string(c.nameSize));
    std::unique_ptr<CMenuOrder> root = Wide(c.children, c.nameSize);
    const std::string bytes = root->Store();
    std::unique_ptr<CMenuOrder> back(CMenuOrder::Load(bytes));
    EXPECT_EQ(back != nullptr, c.believed);
    zel_test::WriteFile(path, bytes);
    std::unique_ptr<CMenuOrder> read(CMenuOrder::ReadOrderFile(path.c_str()));
    EXPECT_EQ(read != nullptr, c.believed);
    std::string stored;
    EXPECT_EQ(root->StoreBelievable(stored), bytes.size() <= 20 + (1u << 20));
  }
  EXPECT_EQ(Wide(6000, 200)->WriteOrderFile(path.c_str()), std::errc::file_too_large);
}

TEST(MenuOrder, APipeIsNoOrderFile) {
  zel_test::TempDir tmp;
  const std::string path = tmp / "MenuOrder.ini";
  zel_special::MakeFifo(path);
  std::unique_ptr<CMenuOrder> read;
  EXPECT_TRUE(zel_special::FinishesWithin(
      [&] { read.reset(CMenuOrder::ReadOrderFile(path.c_str())); }, {path}));
  EXPECT_FALSE(read);
}

}  // namespace
