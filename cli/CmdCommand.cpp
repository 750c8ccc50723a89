// zel cmd: a command string "[name(param, ...)]" as the library parses it.
#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/Command.h"
#include "cli/Output.h"
#include "tools/ExecCommandParams.h"

namespace zel_cli {
namespace {

int RunCmd(const std::string& text, bool json, bool hex) {
  CExecCommandParams params(text.c_str());
  if (json) {
    nlohmann::ordered_json out;
    out["command"] = static_cast<int>(params.GetCommand());
    out["correct"] = params.IsCorrect();
    out["params"] = nlohmann::ordered_json::array();
    for (int i = 0; i < params.GetCount(); ++i)
      out["params"].push_back(hex ? Hex(params[i].str()) : BytesAsCodePoints(params[i].str()));
    std::printf("%s\n", out.dump().c_str());
    return kOk;
  }
  std::printf("command %d\n", static_cast<int>(params.GetCommand()));
  std::printf("correct %s\n", params.IsCorrect() ? "yes" : "no");
  for (int i = 0; i < params.GetCount(); ++i) {
    std::string value = hex ? Hex(params[i].str()) : params[i].str();
    std::printf("param %s\n", value.c_str());
  }
  return kOk;
}

const CommandRegistrar cmd(60, [](CLI::App& app) {
  auto* sub = app.add_subcommand(
      "cmd",
      "Parse a command string [name(param, ...)]: its command, whether it is correct, "
      "its parameters");
  static bool json = false, hex = false;
  static std::string text;
  sub->add_flag("--json", json, "One object {command, correct, params}");
  sub->add_flag("--hex", hex, "Parameters as the lower-case hex of their bytes");
  sub->add_option("TEXT", text, "The command string")->required();
  sub->callback([] { SetStatus(RunCmd(text, json, hex)); });
});

}  // namespace
}  // namespace zel_cli
