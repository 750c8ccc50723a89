// The registry store: names without case, value kinds, deletion, damaged hive files and
// keys nested without end.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <random>

#include "platform/os/registry/Registry.h"
#include "platform/os/state/StateFile.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace zel_registry;

class RegistryTest : public zel_test::ZelTest {
 protected:
  const ZelHive hive = ZelHive::CurrentUser;
  std::string HiveFile() const { return HivePath(hive).str(); }
  CString Text(const char* key, const char* name) {
    CString text;
    EXPECT_EQ(QueryString(hive, key, name, text), ERROR_SUCCESS) << key << " / " << name;
    return text;
  }
};

TEST_F(RegistryTest, HivesAreFilesUnderTheStateRoot) {
  std::string root = tmp / "home";
  EXPECT_EQ(HivePath(ZelHive::ClassesRoot).str(), root + "/registry/classes.reg");
  EXPECT_EQ(HivePath(ZelHive::CurrentUser).str(), root + "/registry/user.reg");
  EXPECT_EQ(HivePath(ZelHive::LocalMachine).str(), root + "/registry/machine.reg");
  ASSERT_EQ(SetString(ZelHive::ClassesRoot, "QLLIMolDoc", nullptr, "Doc"), ERROR_SUCCESS);
  EXPECT_TRUE(std::filesystem::exists(root + "/registry/classes.reg"));
  EXPECT_FALSE(std::filesystem::exists(HiveFile()));  // hives stay apart
}

TEST_F(RegistryTest, NamesIgnoreCaseAndKeepTheirFirstSpelling) {
  ASSERT_EQ(SetString(hive, "Software\\Tessaly\\Directories", "MainDir", "/data"), ERROR_SUCCESS);
  EXPECT_EQ(Text("software\\TESSALY\\directories", "maindir"), "/data");
  ASSERT_EQ(SetString(hive, "SOFTWARE\\tessaly\\DIRECTORIES", "MAINDIR", "/other"), ERROR_SUCCESS);
  EXPECT_EQ(Text("Software\\Tessaly\\Directories", "MainDir"), "/other");
  KeyListing listing;
  ASSERT_EQ(ListKey(hive, "software", listing), ERROR_SUCCESS);
  ASSERT_EQ(listing.subkeys.size(), 1u);
  EXPECT_EQ(listing.subkeys[0], "Tessaly");
  ASSERT_EQ(ListKey(hive, "Software\\Tessaly\\Directories", listing), ERROR_SUCCESS);
  ASSERT_EQ(listing.values.size(), 1u);
  EXPECT_EQ(listing.values[0].first, "MainDir");
}

TEST_F(RegistryTest, EveryByteOfNamesAndValuesSurvives) {
  std::string awkward = "a \"quoted\" \\path\\ with\r\nlines\tand \x01\x7f\xe9 bytes ]";
  std::string name = "n=\"x\"\\y";
  ASSERT_EQ(SetString(hive, "K", name.c_str(), awkward.c_str()), ERROR_SUCCESS);
  ASSERT_EQ(SetString(hive, "K", nullptr, ""), ERROR_SUCCESS);
  ZelRegValue binary;
  binary.type = REG_BINARY;
  binary.data = std::string("\0\n\xff", 3);
  ASSERT_EQ(SetValue(hive, "K", "bin", binary), ERROR_SUCCESS);
  ZelRegValue number;
  number.type = REG_DWORD;
  number.number = 0xfffffffbu;
  ASSERT_EQ(SetValue(hive, "K", "num", number), ERROR_SUCCESS);

  EXPECT_EQ(Text("K", name.c_str()).str(), awkward);
  EXPECT_EQ(Text("K", ""), "");  // a default value that is set but empty
  ZelRegValue back;
  ASSERT_EQ(QueryValue(hive, "K", "BIN", back), ERROR_SUCCESS);
  EXPECT_EQ(back.type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(back.data, binary.data);
  ASSERT_EQ(QueryValue(hive, "K", "num", back), ERROR_SUCCESS);
  EXPECT_EQ(back.number, 0xfffffffbu);
  EXPECT_EQ(Text("K", "num"), "4294967291");
  // The file stays one line per value, readable by people.
  std::string text = zel_test::ReadFile(HiveFile());
  EXPECT_NE(text.find("[K]\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\"num\"=dword:fffffffb\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\"bin\"=hex:00,0a,ff\n"), std::string::npos) << text;
}

TEST_F(RegistryTest, MissingKeysValuesAndDeletion) {
  CString text;
  EXPECT_EQ(OpenKey(hive, "Nothing"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(QueryString(hive, "Nothing", "x", text), ERROR_FILE_NOT_FOUND);
  ASSERT_EQ(CreateKey(hive, "A\\B\\C"), ERROR_SUCCESS);
  EXPECT_EQ(OpenKey(hive, "a\\b"), ERROR_SUCCESS);
  EXPECT_EQ(QueryString(hive, "A\\B\\C", nullptr, text), ERROR_FILE_NOT_FOUND);
  ASSERT_EQ(SetString(hive, "A\\B\\C", "v", "1"), ERROR_SUCCESS);
  ASSERT_EQ(SetString(hive, "A", "keep", "2"), ERROR_SUCCESS);
  EXPECT_EQ(DeleteValue(hive, "A\\B\\C", "nope"), ERROR_FILE_NOT_FOUND);
  ASSERT_EQ(DeleteKey(hive, "a\\B"), ERROR_SUCCESS);  // with everything below it
  EXPECT_EQ(OpenKey(hive, "A\\B\\C"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(OpenKey(hive, "A\\B"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(Text("A", "keep"), "2");
  EXPECT_EQ(DeleteKey(hive, "A\\B"), ERROR_FILE_NOT_FOUND);
  ASSERT_EQ(DeleteValue(hive, "A", "KEEP"), ERROR_SUCCESS);
  EXPECT_EQ(QueryString(hive, "A", "keep", text), ERROR_FILE_NOT_FOUND);
  // An empty key survives a round trip through the file.
  EXPECT_EQ(OpenKey(hive, "A"), ERROR_SUCCESS);
  EXPECT_EQ(CreateKey(hive, "bad\x01name"), ERROR_INVALID_PARAMETER);
}

// Damaged files read as far as they are intact; a later write keeps what was readable
// and leaves the damaged original beside the hive.
TEST_F(RegistryTest, DamagedHivesReadWhatIsIntact) {
  struct Case {
    const char* what;
    std::string bytes;
    std::vector<std::pair<std::string, std::string>> readable;  // key/value -> text
    std::vector<std::string> unreadable;
  };
  std::vector<Case> cases = {
      {"truncated inside a value", "[S]\n\"a\"=\"1\"\n\"b\"=\"tw", {{"S|a", "1"}}, {"S|b"}},
      {"truncated after the quote but before the line end",
       "[S]\n\"a\"=\"1\"\n\"b\"=\"2\"",
       {{"S|a", "1"}},
       {"S|b"}},
      {"binary junk between good lines",
       std::string("[S]\n\"a\"=\"1\"\n") + std::string("\x00\xff\x13junk\x00\n", 9) +
           "\"c\"=\"3\"\n",
       {{"S|a", "1"}, {"S|c", "3"}},
       {}},
      {"an unclosed key line hides its values only",
       "[S]\n\"a\"=\"1\"\n[T\n\"b\"=\"2\"\n[U]\n\"c\"=\"3\"\n",
       {{"S|a", "1"}, {"U|c", "3"}},
       {"T|b", "S|b"}},
      {"bad escapes and bad numbers",
       "[S]\n\"a\"=\"\\q\"\n\"b\"=dword:12\n\"c\"=hex:0,1\n\"d\"=dword:0000000A\n",
       {{"S|d", "10"}},
       {"S|a", "S|b", "S|c"}},
      {"values before any key", "\"a\"=\"1\"\n[S]\n\"b\"=\"2\"\n", {{"S|b", "2"}}, {"|a"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::create_directories(tmp / "home/registry");
    zel_test::WriteFile(HiveFile(), c.bytes);
    auto split = [](const std::string& kv) {
      size_t bar = kv.find('|');
      return std::make_pair(kv.substr(0, bar), kv.substr(bar + 1));
    };
    for (int pass = 0; pass < 2; ++pass) {
      SCOPED_TRACE(pass ? "after a write" : "as found");
      for (const auto& [kv, text] : c.readable) {
        auto [key, name] = split(kv);
        CString got;
        EXPECT_EQ(QueryString(hive, key.c_str(), name.c_str(), got), ERROR_SUCCESS) << kv;
        EXPECT_EQ(got.str(), text) << kv;
      }
      for (const std::string& kv : c.unreadable) {
        auto [key, name] = split(kv);
        CString got;
        EXPECT_NE(QueryString(hive, key.c_str(), name.c_str(), got), ERROR_SUCCESS) << kv;
      }
      if (pass == 0) {
        ASSERT_EQ(SetString(hive, "New", "x", "y"), ERROR_SUCCESS);
      }
    }
    EXPECT_EQ(zel_test::ReadFile(HiveFile() + ".bad"), c.bytes);
    std::filesystem::remove(HiveFile() + ".bad");
    std::filesystem::remove(HiveFile());
  }
}

// Random damage: reading never fails hard, and a write keeps every value that was readable.
TEST_F(RegistryTest, RandomDamageKeepsWhatWasReadable) {
  for (int i = 0; i < 12; ++i) {
    std::string key = "K" + std::to_string(i % 4) + "\\Sub";
    ASSERT_EQ(SetString(hive, key.c_str(), ("v" + std::to_string(i)).c_str(), "text\n\"x\""),
              ERROR_SUCCESS);
  }
  const std::string good = zel_test::ReadFile(HiveFile());
  unsigned seed = static_cast<unsigned>(std::random_device{}());
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  auto readable = [&] {
    std::map<std::string, std::string> all;
    std::function<void(const std::string&)> walk = [&](const std::string& key) {
      KeyListing listing;
      if (ListKey(hive, key.c_str(), listing) != ERROR_SUCCESS) return;
      for (const auto& [name, value] : listing.values) all[key + "|" + name.str()] = value.data;
      for (const CString& sub : listing.subkeys)
        walk(key.empty() ? sub.str() : key + "\\" + sub.str());
    };
    walk("");
    return all;
  };
  for (int round = 0; round < 100; ++round) {
    std::string bytes = good;
    int edits = std::uniform_int_distribution<int>(1, 4)(random);
    for (int e = 0; e < edits && !bytes.empty(); ++e) {
      size_t at = std::uniform_int_distribution<size_t>(0, bytes.size() - 1)(random);
      switch (random() % 3) {
        case 0:
          bytes[at] = static_cast<char>(random());
          break;
        case 1:
          bytes.resize(at);
          break;
        default:
          bytes.insert(at, 1, static_cast<char>(random()));
          break;
      }
    }
    zel_test::WriteFile(HiveFile(), bytes);
    auto before = readable();
    ASSERT_EQ(SetString(hive, "Other", "x", "y"), ERROR_SUCCESS) << "round " << round;
    auto after = readable();
    for (const auto& [where, value] : before) {
      auto it = after.find(where);
      ASSERT_NE(it, after.end()) << "round " << round << ": lost " << where;
      EXPECT_EQ(it->second, value) << where;
    }
  }
}

// A damaged hive is rewritten only after its original is kept, and a kept copy is never
// overwritten; where no copy can be made, the change fails and the hive stays as it is.
TEST_F(RegistryTest, DamagedHiveIsNeverLost) {
  const std::string first = "[S]\n\"a\"=\"1\"\n\"b\"=junk\n";
  const std::string bad = HiveFile() + ".bad";
  std::filesystem::create_directories(tmp / "home/registry");
  TakeSetAsideHives();  // what tests before this one set aside
  {
    SCOPED_TRACE("a folder where the copy goes");
    zel_test::WriteFile(HiveFile(), first);
    std::filesystem::create_directories(bad);
    zel_state::ClearLastFailure();
    EXPECT_EQ(SetString(hive, "New", "x", "y"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(zel_test::ReadFile(HiveFile()), first);
    EXPECT_EQ(zel_state::LastFailure().reason, std::errc::is_a_directory);
    EXPECT_EQ(zel_state::LastFailure().path, bad);
    EXPECT_TRUE(TakeSetAsideHives().empty());
    std::filesystem::remove(bad);
  }
  {
    SCOPED_TRACE("damaged again and again");
    std::vector<std::string> damaged;
    for (int round = 0; round < 3; ++round) {
      std::string bytes = zel_test::ReadFile(HiveFile()) + "\"c" + std::to_string(round) + "\"=?\n";
      damaged.push_back(bytes);
      zel_test::WriteFile(HiveFile(), bytes);
      ASSERT_EQ(SetString(hive, "New", "x", std::to_string(round).c_str()), ERROR_SUCCESS);
    }
    std::vector<CString> kept = TakeSetAsideHives();
    ASSERT_EQ(kept.size(), 3u);
    EXPECT_EQ(kept[0], bad);
    for (size_t i = 0; i < kept.size(); ++i) {
      SCOPED_TRACE(kept[i].str());
      EXPECT_EQ(kept[i].Left(static_cast<int>(bad.size())), bad);
      EXPECT_EQ(zel_test::ReadFile(kept[i].str()), damaged[i]);
      for (size_t j = 0; j < i; ++j) EXPECT_NE(kept[i], kept[j]);
    }
    EXPECT_EQ(Text("S", "a"), "1");
    EXPECT_EQ(Text("New", "x"), "2");
  }
  {
    SCOPED_TRACE("a disk too full for the copy");
    zel_test::ScopedTmpfs small(tmp / "home/registry", "256k");
    if (!small.mounted()) return;  // the cases above have run; mounts are not allowed here
    const std::string damaged = "[S]\n\"a\"=\"1\"\n" + std::string(100 * 1024, 'j') + "\n";
    zel_test::WriteFile(HiveFile(), damaged);
    // Room for the small rewritten hive, not for the copy of the damaged one.
    const std::string reserve = tmp / "home/registry/reserve";
    zel_test::WriteFile(reserve, std::string(48 * 1024, 'r'));
    std::FILE* f = std::fopen((tmp / "home/registry/filler").c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::string block(4096, 'f');
    while (std::fwrite(block.data(), 1, block.size(), f) == block.size() && std::fflush(f) == 0) {
    }
    std::fclose(f);
    std::filesystem::remove(reserve);
    EXPECT_EQ(SetString(hive, "New", "x", "y"), ERROR_DISK_FULL);
    EXPECT_EQ(zel_test::ReadFile(HiveFile()), damaged);
    EXPECT_FALSE(std::filesystem::exists(bad));
    EXPECT_TRUE(TakeSetAsideHives().empty());
  }
}

// Keys nested deeper than any program nests its settings are damage: a hive of them
// reads and is rewritten without recursion, and the limit holds for keys made by calls.
TEST_F(RegistryTest, DeepKeysAreDamageNotACrash) {
  std::string deep;
  for (int i = 0; i < 200000; ++i) deep += "a\\";
  std::filesystem::create_directories(tmp / "home/registry");
  TakeSetAsideHives();
  zel_test::WriteFile(HiveFile(), "[" + deep + "]\n\"v\"=\"1\"\n[S]\n\"a\"=\"ok\"\n");
  EXPECT_EQ(Text("S", "a"), "ok");
  EXPECT_EQ(OpenKey(hive, "a"), ERROR_FILE_NOT_FOUND);
  ASSERT_EQ(SetString(hive, "S", "b", "2"), ERROR_SUCCESS);
  EXPECT_EQ(TakeSetAsideHives().size(), 1u);
  EXPECT_EQ(Text("S", "a"), "ok");

  std::string path511;
  for (int i = 1; i <= 511; ++i) path511 += (i == 1 ? "k" : "\\k") + std::to_string(i);
  const std::string path512 = path511 + "\\k512";
  ASSERT_EQ(SetString(hive, path512.c_str(), "v", "deep"), ERROR_SUCCESS);
  EXPECT_EQ(Text(path512.c_str(), "v"), "deep");
  KeyListing listing;
  ASSERT_EQ(ListKey(hive, path511.c_str(), listing), ERROR_SUCCESS);
  ASSERT_EQ(listing.subkeys.size(), 1u);
  EXPECT_EQ(listing.subkeys[0], "k512");
  const std::string deeper = path512 + "\\one more";
  EXPECT_EQ(SetString(hive, deeper.c_str(), "v", "x"), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(CreateKey(hive, deeper.c_str()), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(OpenKey(hive, deeper.c_str()), ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(TakeSetAsideHives().empty());  // what was written reads back whole
}

}  // namespace
