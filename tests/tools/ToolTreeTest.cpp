// Tool data and the tool tree: copying, run modes, archiving, ordering, look-ups and the
// command identifiers.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "files/ZelTextFile.h"
#include "serialization/ZelArchive.h"
#include "tests/support/TestSupport.h"
#include "tools/AppTools.h"
#include "tools/MenuOrder.h"
#include "tools/ToolNode.h"

namespace {

TEST(ToolData, SetDataTakesTheRunModeFromTheTarget) {
  CToolDataUnit unit;
  unit.m_target = "C:\\scripts\\Trim.SS";
  unit.m_producedType = CToolDataUnit::tq;
  unit.m_description = "Trim";
  CToolData tool;
  tool.SetData(&unit);
  EXPECT_EQ(tool.GetRunMode(), 0);
  EXPECT_EQ(tool.m_producedType, CToolDataUnit::tq);
  EXPECT_EQ(tool.m_description, "Trim");
  for (const char* t : {"viewer.exe", "https://a.example/x.ss?", "noext"}) {
    unit.m_target = t;
    tool.SetData(&unit);
    EXPECT_EQ(tool.GetRunMode(), 1) << t;
  }
}

TEST(ToolData, AssignmentKeepsTheManager) {
  CAppTools manager;
  CToolData a("d", 3, "t", 1, "c");
  a.m_producedType = CToolDataUnit::lnk;
  CToolData b;
  b.SetManager(&manager);
  b = a;
  EXPECT_EQ(b.GetManager(), &manager);
  EXPECT_EQ(b.m_description, "d");
  EXPECT_EQ(b.m_inputType, 3);
  EXPECT_EQ(b.GetRunMode(), 1);
  EXPECT_EQ(b.m_producedType, CToolDataUnit::lnk);
}

TEST(ToolData, WithoutAManagerNothingRuns) {
  CToolData tool("d", 0, "t", 1, "c");
  tool.Execute(nullptr);
  EXPECT_EQ(tool.IsEnabled(nullptr), 0);
  tool.LaunchProgram("x");
}

TEST(ToolData, SerializesItsFiveFields) {
  zel_test::TempDir tmp;
  std::string path = tmp / "tool.sxf";
  CToolData tool("Blast it", 12, "~..\\blast.exe", 1, "-q %1");
  tool.m_producedType = CToolDataUnit::tq;
  {
    CZelTextFile file(CZelFileSpec(path.c_str(), 0));
    ASSERT_TRUE(file.CreateOutput());
    CZelArchive ar(&file, CZelArchive::store, nullptr, 75);
    CObject* object = &tool;
    ar(object);
    ar.Close();
    file.Close();
  }
  std::string text = zel_test::ReadFile(path);
  EXPECT_NE(text.find("CToolData"), std::string::npos) << text;
  CZelTextFile file(CZelFileSpec(path.c_str(), 0));
  ASSERT_TRUE(file.OpenInput());
  CZelArchive ar(&file, CZelArchive::load, nullptr, 75);
  CObject* object = nullptr;
  ar(object);
  std::unique_ptr<CToolData> back(dynamic_cast<CToolData*>(object));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->m_description, "Blast it");
  EXPECT_EQ(back->m_inputType, 12);
  EXPECT_EQ(back->m_target, "~..\\blast.exe");
  EXPECT_EQ(back->GetRunMode(), 1);
  EXPECT_EQ(back->m_command, "-q %1");
  EXPECT_EQ(back->m_producedType, CToolDataUnit::none);
  EXPECT_EQ(back->GetManager(), nullptr);
}

TEST(ToolData, EncodedArguments) {
  CStringList list;
  EXPECT_EQ(CToolData::EncodeArgs(list), "");
  list.AddTail("a");
  list.AddTail("b c");
  EXPECT_EQ(CToolData::EncodeArgs(list), "a&b%20c");
  CStringList other;
  other.AddTail("name=a b");
  other.AddTail("\xE9~/:%+?#&");
  other.AddTail("Az09$-_.,!*'()");
  EXPECT_EQ(CToolData::EncodeArgs(other),
            "name%3da%20b&%e9%7e%2f%3a%25%2b%3f%23%26&Az09$-_.,!*'()");
}

TEST(ToolIds, CommandIdentifiers) {
  CAppTools manager;  // fills the table
  EXPECT_EQ(GetToolID(44445), 1);
  EXPECT_EQ(GetToolID(45220), 776);
  EXPECT_EQ(GetToolID(44444), 0);
  EXPECT_EQ(GetToolID(45221), 0);
  EXPECT_EQ(GetToolCommandID(1), 44445u);
  EXPECT_EQ(GetToolCommandID(777), 44444u);
  EXPECT_EQ(GetToolCommandID(-3), 44444u);
}

CToolData Tool(const char* target) { return CToolData("", 0, target, 1, ""); }

std::string Names(const CToolNode& node) {
  std::string out;
  for (POSITION p = node.GetChildren().GetHeadPosition(); p;) {
    auto* child = static_cast<const CToolNode*>(node.GetChildren().GetNext(p));
    out += (out.empty() ? "" : " ") + child->GetName().str();
  }
  return out;
}

TEST(ToolTree, FoldersAreMadeOnceAndChildrenSorted) {
  CToolNode root("Root");
  CToolData t = Tool("x");
  root.AddToolData("Tools|A|y", &t, 2, CToolDataUnit::none, nullptr);
  root.AddToolData("Tools|A|x", &t, 1, CToolDataUnit::none, nullptr);
  root.AddToolData("Tools|a|z", &t, 3, CToolDataUnit::none, nullptr);
  ASSERT_EQ(root.GetChildren().GetCount(), 1);
  auto* tools = static_cast<CToolNode*>(root.GetChildren().GetHead());
  ASSERT_EQ(tools->GetChildren().GetCount(), 1);
  auto* a = static_cast<CToolNode*>(tools->GetChildren().GetHead());
  EXPECT_EQ(Names(*a), "x y z");
  const CToolNode* found = root.FindNode(3);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->GetMenuPath(), "Tools|a|z");
  EXPECT_EQ(root.FindNode(7), nullptr);
}

// A node made for a file of some kind, as loading makes it: the kind comes with its data.
CToolNode* AddKind(CToolNode& parent, const char* name, CToolDataUnit::ProducedTypes type) {
  CToolNode* node = parent.GetSubnode(name, type, nullptr);
  CToolData tool = Tool("x");
  tool.m_producedType = type;
  node->SetData(&tool, -1, name);
  return node;
}

TEST(ToolTree, ANewChildIsOfKind0UntilItsDataIsSet) {
  CToolNode root("Root");
  CToolNode* child = root.GetSubnode("Blast", CToolDataUnit::url, nullptr);
  EXPECT_EQ(child->GetTool().m_producedType, CToolDataUnit::none);
  // Until then its key is its bare name.
  POSITION pos;
  EXPECT_EQ(root.FindSubnode("Blast", CToolDataUnit::none, pos), child);
  EXPECT_EQ(root.FindSubnode("Blast", CToolDataUnit::url, pos), nullptr);
  CToolData tool = Tool("https://a.example/");
  tool.m_producedType = CToolDataUnit::url;
  child->SetData(&tool, 1, "Blast");
  EXPECT_EQ(child->GetTool().m_producedType, CToolDataUnit::url);
  EXPECT_EQ(root.FindSubnode("Blast", CToolDataUnit::url, pos), child);
}

TEST(ToolTree, KindsAreDifferentKeysAndTheMenuOrderDecides) {
  CToolNode root("Root");
  AddKind(root, "Blast", CToolDataUnit::tq);
  root.GetSubnode("Blast", CToolDataUnit::none, nullptr);
  root.GetSubnode("Align", CToolDataUnit::none, nullptr);
  EXPECT_EQ(Names(root), "Align Blast Blast");
  POSITION pos;
  EXPECT_NE(root.FindSubnode("blast", CToolDataUnit::tq, pos), nullptr);
  EXPECT_EQ(root.FindSubnode("blast", CToolDataUnit::url, pos), nullptr);

  CMenuOrder order;
  order.GetOrCreateNode("zeta.url")->SetOrderName("a");
  order.GetOrCreateNode("Alpha")->SetOrderName("c");
  CToolNode sorted("Root");
  sorted.SetMenuOrder(&order);
  sorted.GetSubnode("Alpha", CToolDataUnit::none, nullptr);
  AddKind(sorted, "beta", CToolDataUnit::exe);
  AddKind(sorted, "zeta", CToolDataUnit::url);
  EXPECT_EQ(Names(sorted), "zeta beta Alpha");
}

TEST(ToolTree, RemoveSubNodeTakesOnlyChildren) {
  CToolNode root("Root");
  CToolNode* a = root.GetSubnode("a", CToolDataUnit::none, nullptr);
  CToolNode stranger("s");
  root.RemoveSubNode(&stranger);
  EXPECT_EQ(root.GetChildren().GetCount(), 1);
  root.RemoveSubNode(a);
  EXPECT_EQ(root.GetChildren().GetCount(), 0);
}

}  // namespace
