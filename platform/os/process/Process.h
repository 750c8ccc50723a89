/// \file
/// Starting programs and opening documents and web addresses, the way the suite's tools are
/// started on this platform, and never through a shell:
///
/// - a target with a URL scheme (two or more letters, then ':') goes to the desktop's
///   opener when the scheme is http, https, ftp or mailto, and is refused otherwise
///   (LaunchError::SchemeRefused): the opener would run a file: or javascript: address;
/// - an executable file, or a bare name (no '/') found on PATH, is started directly, its
///   argument string split by the Windows command-line rules (SplitWindowsArguments);
/// - any other existing file (or folder) goes to the opener, as one absolute path;
/// - anything else is not found (no_such_file_or_directory).
///
/// A relative path is taken from the base folder the caller gives, never from the working
/// folder; without a base folder it is not found.
///
/// The starting itself is a replaceable service (Launcher): the system one spawns with
/// posix_spawn and opens with xdg-open; tests and tours install their own. Children are
/// reaped by a waiting thread each (no zombies in a long-running host), start with standard
/// input from /dev/null, and inherit no descriptor beyond standard output and error.
#pragma once

#include <string>
#include <system_error>
#include <vector>

#include "ZelExport.h"

namespace zel_process {

/// The arguments of a command line, by the rules of the platform's CommandLineToArgvW for
/// every argument after the program name: blanks (space, tab) separate arguments outside
/// quotes; a '"' preceded by 2n backslashes gives n backslashes and opens or closes
/// quoting, one preceded by 2n+1 backslashes gives n backslashes and a literal '"';
/// backslashes before anything else stay as they are; of consecutive quotes every third
/// gives a literal '"' (so `""` outside quotes is an empty argument, and `"a""b"` is
/// `a"b`).
ZEL_API std::vector<std::string> SplitWindowsArguments(const char* args);
/// value in double quotes, written so that SplitWindowsArguments gives it back as one
/// argument, byte for byte: '"' as \", and the backslashes before a '"' or before the
/// closing quote doubled.
ZEL_API std::string QuoteWindowsArgument(const std::string& value);

/// The launch failures of our own (the others are the system's errno values).
enum class LaunchError {
  SchemeRefused = 1,  ///< an address of a scheme that is never opened
  OpenerMissing,      ///< the desktop's opener (xdg-open) is not installed
};
/// A launch error as an error code of the launcher's category.
ZEL_API std::error_code make_error_code(LaunchError e);
/// The scheme of an address (lower case, without ':'); empty when text has none.
ZEL_API std::string UrlScheme(const char* text);

/// Whether text begins with a URL scheme: two or more ASCII letters, then ':'.
ZEL_API bool HasUrlScheme(const char* text);
/// The executable file that a bare name names on PATH; false when none.
ZEL_API bool FindOnPath(const char* name, std::string& path);

/// The engine that starts programs and hands targets to the desktop's opener; replaceable for
/// tests.
class ZEL_API Launcher {
 public:
  virtual ~Launcher() = default;
  /// Starts the program file at path with argv (argv[0] is the program); the system's
  /// reason when it cannot, and the child's process id in *pid when given.
  virtual std::error_code Spawn(const std::string& path, const std::vector<std::string>& argv,
                                int* pid = nullptr) = 0;
  /// Hands target to the desktop's opener as one argument.
  virtual std::error_code Open(const std::string& target) = 0;
};

/// posix_spawn for programs, xdg-open (found on PATH) for the rest.
class ZEL_API SystemLauncher : public Launcher {
 public:
  std::error_code Spawn(const std::string& path, const std::vector<std::string>& argv,
                        int* pid = nullptr) override;
  std::error_code Open(const std::string& target) override;
};

/// The launcher in use: the installed one (zel_os::OsEngines), else the system's.
ZEL_API Launcher& CurrentLauncher();

/// Runs the program argv[0] (a name found on PATH) with its output thrown away and waits
/// for it: its exit status (128 + the signal when a signal ended it), or the reason it could
/// not be started (no_such_file_or_directory when it is not installed).
ZEL_API std::error_code RunAndWait(const std::vector<std::string>& argv, int& exitStatus);

/// How a target would be started by the rule above; base is an absolute folder (or null).
struct LaunchPlan {
  enum Route { Open, Spawn, Missing, Refused } route = Missing;
  std::string program;            ///< the program file for Spawn, the target for Open
  std::vector<std::string> argv;  ///< for Spawn: program first, then the split arguments
};
/// How target would be started: spawned with its split arguments, handed to the opener, or refused.
ZEL_API LaunchPlan PlanLaunch(const char* target, const char* args, const char* base = nullptr);

/// Starts target with args by the rule, through the current launcher; the reason when it
/// could not be started (no_such_file_or_directory for a missing target).
ZEL_API std::error_code Launch(const char* target, const char* args, const char* base = nullptr);

/// The kinds of failure that the tool messages tell apart.
enum class Failure { None, OutOfMemory, NotFound, Invalid, Refused, Other };
/// ENOMEM: out of memory; ENOENT, ENOTDIR, OpenerMissing: not found; ENOEXEC, EACCES:
/// invalid; SchemeRefused: refused; anything else: other.
ZEL_API Failure FailureOf(const std::error_code& err);

}  // namespace zel_process

template <>
struct std::is_error_code_enum<zel_process::LaunchError> : std::true_type {};
