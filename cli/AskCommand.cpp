// zel ask: the suite's name-entry dialog for scripts; prints what was entered.
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "cli/Output.h"
#include "platform/user/backend/IntegrationChoice.h"
#include "ui/EditNameDlg.h"

namespace zel_cli {
namespace {

struct Args {
  std::optional<std::string> caption, prompt, text;
  std::string flags = "0";
  std::vector<std::string> choices;
};

[[noreturn]] void Usage(const std::string& option, const std::string& why) {
  throw CLI::ValidationError(option, why);
}

int Flags(const std::string& text) {
  size_t used = 0;
  long long value = -1;
  try {
    value = std::stoll(text, &used, 0);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used == 0 || used != text.size() || value < 0 || value > 0x7FF)
    Usage("--flags", "not a set of the dialog's flags (0 to 0x7ff): " + text);
  return static_cast<int>(value);
}

// The starting value of a number form, read from --text.
template <typename Number>
Number Start(const std::string& text, Number (*read)(const char*, char**, int), Number low,
             Number high) {
  errno = 0;
  char* end = nullptr;
  const Number value = read(text.c_str(), &end, 10);
  if (text.empty() || *end || errno == ERANGE || value < low || value > high)
    Usage("--text", "not a starting value for the number the flags ask for: " + text);
  return value;
}

int Ask(const Args& a) {
  // A starting text is shown: the dialog exchanges its data when it opens.
  const int flags = Flags(a.flags) | (a.text ? CEditNameDlg::kInitData : 0);
  CEditNameDlg dialog(a.caption ? a.caption->c_str() : nullptr,
                      a.prompt ? a.prompt->c_str() : nullptr, flags);
  if (a.text) {
    dialog.SetName(a.text->c_str());
    if (flags & CEditNameDlg::kDouble) {
      char* end = nullptr;
      const double value = std::strtod(a.text->c_str(), &end);
      if (a.text->empty() || *end) Usage("--text", "not a number: " + *a.text);
      dialog.SetDouble(value);
    }
    if (flags & CEditNameDlg::kLong)
      dialog.SetLong(Start<long>(*a.text, std::strtol, INT32_MIN, INT32_MAX));
    if (flags & CEditNameDlg::kULong)
      dialog.SetULong(Start<unsigned long>(*a.text, std::strtoul, 0, UINT32_MAX));
  }
  for (const std::string& choice : a.choices) dialog.AddString(choice.c_str());
  zel_user::InstallIntegration(zel_user::ChooseIntegration());
  if (dialog.DoModal() != IDOK) {
    Message("ask: nothing was entered");
    return kFailed;
  }
  if (flags & CEditNameDlg::kDouble)
    std::printf("%.17g\n", dialog.GetDouble());
  else if (flags & CEditNameDlg::kLong)
    std::printf("%ld\n", dialog.GetLong());
  else if (flags & CEditNameDlg::kULong)
    std::printf("%lu\n", dialog.GetULong());
  else
    std::printf("%s\n", dialog.GetName().GetString());
  return kOk;
}

const CommandRegistrar ask(61, [](CLI::App& app) {
  static Args a;
  auto* cmd = app.add_subcommand("ask", "Ask for a name or value in the name-entry dialog");
  cmd->add_option("--caption", a.caption, "The dialog's caption");
  cmd->add_option("--prompt", a.prompt, "The text over the entry");
  cmd->add_option("--flags", a.flags, "The dialog's style flags, decimal or 0x hex");
  cmd->add_option("--text", a.text, "The starting text (or number), shown when the dialog opens");
  cmd->add_option("--choice", a.choices, "An entry of the combo or list form (repeatable)");
  cmd->callback([] { SetStatus(Ask(a)); });
});

}  // namespace
}  // namespace zel_cli
