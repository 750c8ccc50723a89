// Internet shortcuts and tool files: any bytes in a ".url" or ".tq" file are a tool of
// some kind or none, never a fault; a tool file's values keep their limits.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/FuzzInput.h"
#include "tools/ToolDataUnit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1 << 16)) return 0;
  for (const char* name : {"url_fuzzer.url", "url_fuzzer.tq"}) {
    const std::string path = zel_fuzz::ScratchPath(name);
    if (!zel_fuzz::WriteBytes(path, data, size)) return 0;
    CToolDataUnit unit;
    bool read = unit.Read(path.c_str());
    if (read != (unit.m_producedType != CToolDataUnit::none)) std::abort();
    if (unit.m_producedType == CToolDataUnit::tq) {
      if (unit.m_inputType == -1 || unit.m_target.IsEmpty() || unit.m_target.GetLength() > 259 ||
          unit.m_description.GetLength() > 259 || unit.m_command.GetLength() > 259)
        std::abort();
    }
    if (unit.m_producedType == CToolDataUnit::url &&
        (unit.m_target.IsEmpty() || unit.m_description.GetLength() > 254 || unit.m_inputType != 0))
      std::abort();
    if (!read && unit.m_target != path.c_str()) std::abort();
  }
  return 0;
}
