// Command strings: any bytes parse without fault; the outcome is consistent with itself.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tools/ExecCommandParams.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  std::string text(reinterpret_cast<const char*>(data), size);
  text = text.c_str();  // the parser reads a C string
  CExecCommandParams params(text.c_str());
  int command = params.GetCommand();
  if (command < 0 || command > 6) std::abort();
  if (params.IsCorrect() && command == 0) std::abort();
  if (command == 0 && params.GetCount() != 0) std::abort();
  size_t total = 0;
  for (int i = 0; i < params.GetCount(); ++i) {
    CString p = params[i];
    total += static_cast<size_t>(p.GetLength());
    if (!p.IsEmpty() && (p[0] == ' ' || p[p.GetLength() - 1] == ' ')) std::abort();
    CString out = "x";
    if (!params.GetParam(i, out)) std::abort();
  }
  if (total > text.size()) std::abort();
  CString out;
  if (params.GetParam(params.GetCount(), out) || params.GetParam(-1, out)) std::abort();
  CExecCommandParams::GetCommandString(params.GetCommand());
  return 0;
}
