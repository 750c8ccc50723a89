// zel tip: an information message laid out and painted as the tip that shows it, into a
// PNG picture, offscreen.
#include <cstdio>
#include <optional>
#include <string>

#include "cli/Command.h"
#include "cli/Output.h"
#include "platform/base/string/String.h"
#include "platform/user/wnd/Desktop.h"
#include "ui/TipWnd.h"

namespace zel_cli {
namespace {

struct Args {
  std::optional<std::string> caption;
  std::string style = "0x40";
  std::string text;
  std::string output;
};

unsigned int Style(const std::string& text) {
  size_t used = 0;
  unsigned long long value = 0;
  try {
    value = std::stoull(text, &used, 0);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used == 0 || used != text.size() || value > 0xFFFFFFFFull || text[0] == '-')
    throw CLI::ValidationError("--style", "not a message-box style (0 to 0xffffffff): " + text);
  return static_cast<unsigned int>(value);
}

bool EndsWithPng(const std::string& path) {
  return path.size() >= 4 &&
         ZelStrCmpNoCase(std::string_view(path).substr(path.size() - 4), ".png") == 0;
}

int Tip(const Args& a) {
  const unsigned int style = Style(a.style);
  if (!EndsWithPng(a.output)) throw CLI::ValidationError("-o", "not a .png file: " + a.output);
  // Anything but OK with the information icon would be a message box, which is no picture.
  if (!ShowsAsTip(style)) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%X", style);
    Message(std::string("tip: style ") + hex +
            " shows a message box, not a tip (a tip is OK with the information icon, 0x40)");
    return kFailed;
  }
  zel_wnd::Desktop* desktop = zel_wnd::CurrentDesktop();
  if (!desktop) {
    Message("tip: no desktop library to lay out the tip with");
    return kFailed;
  }
  desktop->Present(true);
  TipsMessageBox(nullptr, a.text.c_str(), a.caption ? a.caption->c_str() : nullptr, style);
  CTipWnd* tip = CTipWnd::GetTipWnd();
  std::string error;
  SIZE size;
  const bool saved = tip && desktop->SavePicture(tip->m_hWnd, a.output, &error, &size);
  DestroyTipWind();
  if (!saved) {
    Message("tip: " + (error.empty() ? std::string("no tip window could be made") : error));
    return kFailed;
  }
  std::printf("%s\t%ld\t%ld\n", a.output.c_str(), static_cast<long>(size.cx),
              static_cast<long>(size.cy));
  return kOk;
}

const CommandRegistrar tip(62, [](CLI::App& app) {
  static Args a;
  auto* cmd = app.add_subcommand(
      "tip",
      "Lay out and paint an information message as the tip that shows it, into a PNG "
      "picture; prints PATH<TAB>WIDTH<TAB>HEIGHT");
  cmd->add_option("--caption", a.caption,
                  "The caption, shown bold above the text (default: the application's name)");
  cmd->add_option("--style", a.style,
                  "The message-box style (default 0x40: OK and the information icon; "
                  "0x10000000: the texts are rich-text markup)");
  cmd->add_option("TEXT", a.text, "The message (a tab and a line break as in the text)")
      ->required();
  cmd->add_option("-o,--output", a.output, "The picture to write (.png)")->required();
  cmd->callback([] { SetStatus(Tip(a)); });
});

}  // namespace
}  // namespace zel_cli
