// The status message buffer and hook.
#include "files/StatusMessage.h"

#include <cstdarg>
#include <cstdio>

namespace {
char g_statusBuffer[120];
ZelStatusHook g_hook = nullptr;
}  // namespace

void FormatStatusMessage(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vsnprintf(g_statusBuffer, sizeof g_statusBuffer, format, args);
  va_end(args);
  StatusMessage(g_statusBuffer);
}

void StatusMessage(const char* message) {
  if (g_hook) g_hook(message);
}

ZelStatusHook SetStatusMessageHook(ZelStatusHook hook) {
  ZelStatusHook previous = g_hook;
  g_hook = hook;
  return previous;
}

const char* GetStatusMessageBuffer() { return g_statusBuffer; }
