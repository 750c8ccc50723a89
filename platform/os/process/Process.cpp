// Argument splitting, the launch rule and the launcher in use; the system calls are in
// posix/Process.inc.
#include "platform/os/process/Process.h"

#include <cstring>

#include "platform/base/string/String.h"
#include "platform/os/engines/OsEngines.h"
#include "platform/os/process/posix/Process.inc"

namespace zel_process {

std::vector<std::string> SplitWindowsArguments(const char* args) {
  std::vector<std::string> out;
  if (!args) return out;
  const size_t n = std::strlen(args);
  size_t i = 0;
  for (;;) {
    while (i < n && (args[i] == ' ' || args[i] == '\t')) ++i;
    if (i >= n) break;
    std::string arg;
    int quotes = 0;      // 1 while inside quotes
    size_t slashes = 0;  // backslashes just copied
    while (i < n) {
      char c = args[i];
      if ((c == ' ' || c == '\t') && quotes == 0) break;
      if (c == '\\') {
        arg += c;
        ++slashes;
        ++i;
        continue;
      }
      if (c == '"') {
        if (slashes % 2 == 0) {
          arg.resize(arg.size() - slashes / 2);
          ++quotes;
        } else {
          arg.resize(arg.size() - slashes / 2 - 1);
          arg += '"';
        }
        ++i;
        slashes = 0;
        // Consecutive quotes: every third one is a literal quote.
        while (i < n && args[i] == '"') {
          if (++quotes == 3) {
            arg += '"';
            quotes = 0;
          }
          ++i;
        }
        if (quotes == 2) quotes = 0;
        continue;
      }
      arg += c;
      slashes = 0;
      ++i;
    }
    out.push_back(std::move(arg));
  }
  return out;
}

std::string QuoteWindowsArgument(const std::string& value) {
  std::string out = "\"";
  size_t slashes = 0;
  for (char c : value) {
    if (c == '\\') {
      ++slashes;
      continue;
    }
    // Backslashes count only before a quote: there they are doubled, and one more
    // makes the quote literal.
    out.append(c == '"' ? 2 * slashes + 1 : slashes, '\\');
    out += c;
    slashes = 0;
  }
  out.append(2 * slashes, '\\');
  out += '"';
  return out;
}

namespace {
class LaunchCategory : public std::error_category {
 public:
  const char* name() const noexcept override { return "zel launch"; }
  std::string message(int value) const override {
    switch (static_cast<LaunchError>(value)) {
      case LaunchError::SchemeRefused:
        return "addresses of this scheme are not opened";
      case LaunchError::OpenerMissing:
        return "xdg-open, which opens web addresses and documents, is not installed";
    }
    return "launch failure";
  }
};
}  // namespace

std::error_code make_error_code(LaunchError e) {
  static const LaunchCategory category;
  return {static_cast<int>(e), category};
}

std::string UrlScheme(const char* text) {
  if (!HasUrlScheme(text)) return {};
  std::string scheme;
  for (const char* c = text; *c != ':'; ++c) scheme += ZelAsciiToLower(*c);
  return scheme;
}

bool HasUrlScheme(const char* text) {
  if (!text) return false;
  int letters = 0;
  while ((text[letters] >= 'a' && text[letters] <= 'z') ||
         (text[letters] >= 'A' && text[letters] <= 'Z'))
    ++letters;
  return letters >= 2 && text[letters] == ':';
}

Launcher& CurrentLauncher() {
  if (Launcher* installed = zel_os::CurrentOsEngines().launcher) return *installed;
  static SystemLauncher system;
  return system;
}

LaunchPlan PlanLaunch(const char* target, const char* args, const char* base) {
  LaunchPlan plan;
  std::string t = target ? target : "";
  if (t.empty()) return plan;
  if (HasUrlScheme(t.c_str())) {
    // Only the web's own schemes: the opener would run a file: address, or hand a
    // javascript: one to the browser.
    const std::string scheme = UrlScheme(t.c_str());
    const bool web = scheme == "http" || scheme == "https" || scheme == "ftp" || scheme == "mailto";
    plan.route = web ? LaunchPlan::Open : LaunchPlan::Refused;
    plan.program = t;
    return plan;
  }
  std::string program = t;
  if (t.find('/') == std::string::npos && FindOnPath(t.c_str(), program)) {
    plan.route = LaunchPlan::Spawn;
  } else {
    if (t[0] != '/') {
      // Never the working folder: whatever happens to be there is not the tool's.
      if (!base || base[0] != '/') return plan;
      program = std::string(base) + (base[std::strlen(base) - 1] == '/' ? "" : "/") + t;
    }
    if (zel_posix_process::IsExecutableFile(program.c_str())) {
      plan.route = LaunchPlan::Spawn;
    } else if (zel_posix_process::Exists(program.c_str())) {
      plan.route = LaunchPlan::Open;
      plan.program = program;
      return plan;
    } else {
      return plan;
    }
  }
  plan.program = program;
  plan.argv.push_back(program);
  for (std::string& a : SplitWindowsArguments(args)) plan.argv.push_back(std::move(a));
  return plan;
}

std::error_code Launch(const char* target, const char* args, const char* base) {
  LaunchPlan plan = PlanLaunch(target, args, base);
  switch (plan.route) {
    case LaunchPlan::Refused:
      return LaunchError::SchemeRefused;
    case LaunchPlan::Open:
      return CurrentLauncher().Open(plan.program);
    case LaunchPlan::Spawn:
      return CurrentLauncher().Spawn(plan.program, plan.argv);
    case LaunchPlan::Missing:
      break;
  }
  return std::make_error_code(std::errc::no_such_file_or_directory);
}

Failure FailureOf(const std::error_code& err) {
  if (!err) return Failure::None;
  if (err == LaunchError::SchemeRefused) return Failure::Refused;
  if (err == LaunchError::OpenerMissing) return Failure::NotFound;
  // The standard's conditions, not errno values: errno is mapped in one place only, and
  // these match the system's codes whichever category carries them.
  if (err == std::errc::not_enough_memory) return Failure::OutOfMemory;
  if (err == std::errc::no_such_file_or_directory || err == std::errc::not_a_directory)
    return Failure::NotFound;
  if (err == std::errc::executable_format_error || err == std::errc::permission_denied)
    return Failure::Invalid;
  return Failure::Other;
}

}  // namespace zel_process
