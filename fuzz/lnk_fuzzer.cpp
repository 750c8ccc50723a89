// Shell links: any bytes are read as a link or refused, never read outside the input;
// and the tool reader over a file of them behaves the same.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/FuzzInput.h"
#include "platform/os/shell/ShellLink.h"
#include "tools/ToolDataUnit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1 << 16)) return 0;
  // A copy of exactly the input, so that a read past it is caught.
  std::string bytes(reinterpret_cast<const char*>(data), size);
  ZelShellLink link;
  bool ok = ZelReadShellLink(ZelMemorySource(bytes), link);
  const std::string path = zel_fuzz::ScratchPath("lnk_fuzzer.lnk");
  if (!zel_fuzz::WriteBytes(path, data, size)) return 0;
  CToolDataUnit unit;
  bool read = unit.Read(path.c_str());
  if (ok && (!read || (unit.m_producedType != CToolDataUnit::lnk &&
                       unit.m_producedType != CToolDataUnit::url)))
    std::abort();
  if (unit.m_producedType == CToolDataUnit::lnk &&
      (unit.m_description.GetLength() > 254 || unit.m_target.GetLength() > 254 ||
       unit.m_command.GetLength() > 254))
    std::abort();
  return 0;
}
