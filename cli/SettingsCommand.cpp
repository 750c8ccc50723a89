// zel settings: read and write entries of zel's own settings store or the suite-wide one.
#include <cstdio>
#include <optional>
#include <string>

#include "cli/Command.h"
#include "cli/Output.h"
#include "layout/Settings.h"
#include "platform/os/registry/Registry.h"
#include "platform/os/state/StateFile.h"

namespace zel_cli {
namespace {

struct Args {
  bool suite = false;
  std::string section, entry, value;
  std::optional<std::string> def;
};

// A line break can be held by no store, so this default tells a missing entry apart.
constexpr const char* kMissing = "\n(missing)\n";

CString Location(const Args& a) {
  return a.suite ? QlliGetProfileLocation() : ZelGetProfileLocation();
}

// Why a name or value cannot be stored as given, or empty: a line break ends an entry's
// line in every store; names are trimmed of blanks, so one of blanks only is empty; a
// profile file's sections end at "]", its names at "="; the suite's store keeps sections
// as registry keys, whose levels "\" separates and whose names hold no control character.
std::string Unstorable(const Args& a, bool writing) {
  auto breaks = [](const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; };
  auto blank = [](const std::string& s) { return s.find_first_not_of(" \t") == std::string::npos; };
  if (breaks(a.section)) return "a section name cannot hold a line break";
  if (breaks(a.entry)) return "an entry name cannot hold a line break";
  if (writing && breaks(a.value)) return "a value cannot hold a line break";
  if (blank(a.section)) return "a section name cannot be empty";
  if (blank(a.entry)) return "an entry name cannot be empty";
  if (a.suite) {
    if (a.section.find('\\') != std::string::npos)
      return "a section name of the suite's store cannot hold \"\\\"";
    for (char c : a.section)
      if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
        return "a section name of the suite's store cannot hold a control character";
  } else {
    if (a.section.find(']') != std::string::npos) return "a section name cannot hold \"]\"";
    if (a.entry.find('=') != std::string::npos) return "an entry name cannot hold \"=\"";
    if (a.entry[0] == '[' || a.entry[0] == ';')
      return std::string("an entry name cannot begin with \"") + a.entry[0] + "\"";
  }
  return {};
}

// The system's reason for the store's last failure, " (REASON)", with the file it concerns
// when that is not the store's own (a lock, a copy of a damaged hive); empty when the
// store gave none.
std::string Reason(const Args& a) {
  const zel_state::Failure& failure = zel_state::LastFailure();
  if (!failure.reason) return std::string();
  std::string location = Location(a).str();
  bool own =
      location.size() >= failure.path.size() &&
      location.compare(location.size() - failure.path.size(), std::string::npos, failure.path) == 0;
  return " (" + (own ? std::string() : failure.path + ": ") + failure.reason.message() + ")";
}

// Damaged hives that a write set aside, for the user to know.
void ReportSetAside() {
  for (const CString& bad : zel_registry::TakeSetAsideHives())
    Message(std::string("the settings file was damaged; the damaged original is kept as ") +
            bad.GetString());
}

int Get(const Args& a) {
  if (std::string why = Unstorable(a, false); !why.empty()) {
    Message("settings: " + why);
    return kUsage;
  }
  zel_state::ClearLastFailure();
  CString value = a.suite ? QlliGetProfileString(a.section.c_str(), a.entry.c_str(), kMissing)
                          : ZelGetProfileString(a.section.c_str(), a.entry.c_str(), kMissing);
  if (value == kMissing) {
    // A store that is there but cannot be read is a failure, not a missing entry.
    if (zel_state::LastFailure().reason &&
        zel_state::LastFailure().reason != std::errc::no_such_file_or_directory) {
      Message("settings: cannot read " + Location(a).str() + Reason(a));
      return kFailed;
    }
    if (!a.def) {
      Message("settings: no entry " + a.entry + " in [" + a.section + "] of " +
              Location(a).GetString());
      return kFailed;
    }
    value = a.def->c_str();
  }
  std::printf("%s\n", value.GetString());
  return kOk;
}

int Set(const Args& a) {
  if (std::string why = Unstorable(a, true); !why.empty()) {
    Message("settings: " + why);
    return kUsage;
  }
  zel_state::ClearLastFailure();
  CString ok = a.suite ? QlliWriteProfileString(a.section.c_str(), a.entry.c_str(), a.value.c_str())
                       : ZelWriteProfileString(a.section.c_str(), a.entry.c_str(), a.value.c_str());
  ReportSetAside();
  if (ok[0] == 1) return kOk;
  Message("settings: cannot write [" + a.section + "] " + a.entry + " to " +
          Location(a).GetString() + Reason(a));
  return kFailed;
}

const CommandRegistrar settings(51, [](CLI::App& app) {
  auto* cmd = app.add_subcommand("settings", "Read or write a settings entry");
  cmd->require_subcommand(1);
  static Args get, set;
  auto* g = cmd->add_subcommand("get", "Print an entry (the default when it is not set)");
  g->add_flag("--suite", get.suite, "The store shared by all programs of the suite");
  g->add_option("--default", get.def,
                "What an entry that is not set reads as (without it such an entry is a "
                "failure, exit 1)");
  g->add_option("SECTION", get.section, "Section name (case does not matter)")->required();
  g->add_option("ENTRY", get.entry, "Entry name (case does not matter)")->required();
  g->callback([] { SetStatus(Get(get)); });
  auto* s = cmd->add_subcommand("set", "Write an entry");
  s->add_flag("--suite", set.suite, "The store shared by all programs of the suite");
  s->add_option("SECTION", set.section, "Section name")->required();
  s->add_option("ENTRY", set.entry, "Entry name")->required();
  s->add_option("VALUE", set.value, "The text to store")->required();
  s->callback([] { SetStatus(Set(set)); });
});

}  // namespace
}  // namespace zel_cli
