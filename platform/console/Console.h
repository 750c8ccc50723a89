// The console the process runs on, as far as a front end needs to know it.
#pragma once

namespace zel_console {

// Whether standard error is a terminal (progress is worth showing there).
bool StderrIsTerminal();

}  // namespace zel_console
