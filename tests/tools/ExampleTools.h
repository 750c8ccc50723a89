// The binary tools of the sample tool folder (examples/installation/Programs/Tools/Menu),
// as made by the fixtures; a test checks that the files there are exactly these.
#pragma once

#include "tests/tools/ToolFixtures.h"

namespace zel_fixtures {

inline std::string ExampleLink() {
  LinkSpec s;
  s.description = "Show a file with line numbers";
  s.localBasePath = "/bin/cat";
  s.arguments = "-n";
  s.workingDir = "/tmp";
  return ShellLink(s);
}

inline std::string ExampleProgram() {
  return ProgramFile(VersionResource(ProductVersion("Quillion Sequence Viewer")));
}

}  // namespace zel_fixtures
