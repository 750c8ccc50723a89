// zel richtext: its JSON, its options and its usage errors.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace zel_test {
namespace {

using Json = nlohmann::json;

class RichTextCommandTest : public ZelTest {
 protected:
  Json Run(const std::string& args) {
    ZelResult r = RunZel("richtext " + args);
    EXPECT_EQ(r.status, 0) << r.err;
    Json j = Json::parse(r.out, nullptr, false);
    EXPECT_FALSE(j.is_discarded()) << r.out;
    return j;
  }
};

TEST_F(RichTextCommandTest, MeasurePrintsExactlyItsKeys) {
  ZelResult r = RunZel("richtext measure Hello");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "{\"status\":0,\"rect\":[0,-16,40,0],"
            "\"font\":{\"height\":16,\"width\":0,\"weight\":400,\"italic\":0},\"lineMode\":2}\n");
  Json j = Run("measure --mapmode other --height 20 --weight 700 --italic 'a{\\sub b}'");
  EXPECT_EQ(j["rect"], Json::parse("[0,20,22,-2]")) << "y up: top above bottom";
  EXPECT_EQ(j["font"], Json::parse(R"({"height":20,"width":0,"weight":700,"italic":1})"));
}

TEST_F(RichTextCommandTest, MetricsAndRunStarts) {
  Json j = Run("metricsex 'ab\\b cd\\i ef'");
  EXPECT_EQ(j["status"], 0);
  EXPECT_EQ(j["count"], 3);
  EXPECT_EQ(j["rect"], Json::parse("[0,0,54,16]"));
  EXPECT_EQ(j["positions"], Json::parse("[[0,0],[16,0],[34,0]]"));
  EXPECT_EQ(j["extents"], Json::parse("[[16,-16],[34,-16],[54,-16]]"));
  EXPECT_EQ(j["runStarts"], Json::parse("[0,5,10]"));
  EXPECT_EQ(j["lineMode"], 34);
  EXPECT_FALSE(Run("metrics x").contains("runStarts"));
  Json tabs = Run("metrics --tabs 50,100 'aaa\\tab b'");
  EXPECT_EQ(tabs["positions"][1][0], 50);
}

TEST_F(RichTextCommandTest, LineoutPlacesTheMeasuredLineAndLogsBothCalls) {
  Json j = Run("lineout --place 10,50 --fgcolor 2=0x00FF00 'a\\b b\\cf2 c'");
  EXPECT_EQ(j["rect"], Json::parse("[10,34,36,50]"));
  EXPECT_EQ(j["count"], 3);
  const Json& events = j["events"];
  ASSERT_TRUE(events.is_array());
  EXPECT_EQ(events.front(), Json::parse(R"({"op":"bkmode","mode":1})"));
  EXPECT_EQ(events[1]["op"], "createfont");
  EXPECT_EQ(events[1]["id"], 2) << "the options' font is the first";
  EXPECT_EQ(events[1]["font"],
            Json::parse(R"({"height":-13,"width":0,"weight":400,"italic":0,"underline":0,
                            "strike":0,"face":"Arial","charset":0,"pitch":0,"precision":0})"));
  Json texts = Json::array();
  for (const Json& e : events)
    if (e["op"] == "text") texts.push_back(Json::array({e["x"], e["y"], e["text"], e["fg"]}));
  EXPECT_EQ(texts, Json::parse(R"([[10,50,"a",0],[18,50,"b",0],[27,50,"c",65280]])"));
  EXPECT_EQ(events.back(), Json::parse(R"({"op":"bkmode","mode":2})"));
  for (const Json& e : events) EXPECT_NE(e["op"], "textcolor") << "only with --all-events";
}

TEST_F(RichTextCommandTest, TheOptionsFontIsSelectedBeforeEachCall) {
  const struct {
    const char* args;
    const char* rect;
  } cases[] = {
      // Cell 30, advance 15 (16 in bold, italics hang over by 30 / 8); a width of 5 is the
      // font's own advance.
      {"measure --height 30 Hello", "[0,-30,75,0]"},
      {"measure --height 30 --weight 700 Hello", "[0,-30,80,0]"},
      {"measure --height -12 --width 5 Hello", "[0,-15,25,0]"},
      {"measure --mapmode other --height 30 Hello", "[0,30,75,0]"},
      {"metrics --height 30 Hello", "[0,0,75,30]"},
      {"metricsex --height 30 --italic 'Hel{\\b lo}'", "[0,0,83,30]"},
      {"lineout --place 0,100 --height 30 Hello", "[0,70,75,100]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    EXPECT_EQ(Run(c.args)["rect"], Json::parse(c.rect));
  }
  // Drawn in that font; making and selecting it are not the line's events.
  for (const char* op : {"draw --rect 0,0,100,40", "lineout"}) {
    SCOPED_TRACE(op);
    const Json j = Run(std::string(op) + " --all-events --height 20 'a{\\b b}'");
    ASSERT_FALSE(j["events"].empty());
    std::vector<Json> texts;
    for (const Json& e : j["events"]) {
      EXPECT_FALSE(e.contains("id") && e["id"] == 1) << e;
      if (e["op"] == "text") texts.push_back(e["font"]);
    }
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0]["height"], 20);
    EXPECT_EQ(texts[0]["face"], "Arial");
    EXPECT_EQ(texts[1]["weight"], 700);
  }
}

TEST_F(RichTextCommandTest, DrawWithAllEventsBytesAndStrings) {
  Json j =
      Run("draw --all-events --rect 0,0,100,30 --shift 2 --hex-escapes "
          "--chstring '3=\\x93q\\x94' --selector 1 '\\ch3 \\chcdbox '");
  int aligns = 0;
  Json texts = Json::array();
  for (const Json& e : j["events"]) {
    aligns += e["op"] == "align";
    if (e["op"] == "text") texts.push_back(e["text"]);
  }
  EXPECT_EQ(aligns, 4);
  // Bytes show as the code points of their numbers.
  EXPECT_EQ(texts, Json::parse(R"(["\u0093q\u0094", "\u00fe"])"));
  Json dash = Run("measure -- -abc");
  EXPECT_EQ(dash["rect"][2], 32);
  Json open = Run("measure '{a'");
  EXPECT_EQ(open["status"], 5) << "a line's status is no failure of the command";
}

TEST_F(RichTextCommandTest, UsageErrorsExitTwo) {
  for (const char* args :
       {"measure --chstring 16=x a", "measure --chstring -1=x a", "measure --height abc a",
        "measure --rect 1,2,3 a", "measure --mapmode sideways a", "measure --fgcolor 2 a",
        "measure", "shout a", "render a -o picture.gif"}) {
    SCOPED_TRACE(args);
    EXPECT_EQ(RunZel(std::string("richtext ") + args).status, 2);
  }
}

TEST_F(RichTextCommandTest, QtDeviceGivesTheSameStructure) {
  const char* line = "'H{\\sub 2}O \\b bold\\cf2 blue'";
  Json fixed = Run(std::string("metricsex ") + line);
  Json qt = Run(std::string("metricsex --device qt ") + line);
  EXPECT_EQ(qt["count"], fixed["count"]);
  EXPECT_EQ(qt["runStarts"], fixed["runStarts"]);
  ASSERT_EQ(qt["positions"].size(), 5u);
  for (size_t i = 1; i < qt["positions"].size(); ++i)
    EXPECT_GT(qt["positions"][i][0], qt["positions"][i - 1][0]);
  EXPECT_EQ(qt["positions"][1][1], 0) << "the subscript sits on the bottom";
  EXPECT_GT(qt["positions"][0][1], 0);
}

}  // namespace
}  // namespace zel_test
