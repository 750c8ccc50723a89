// Program files: any bytes are a version resource or none, and any resource answers its
// queries without reading outside it.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/os/shell/ByteSource.h"
#include "platform/os/shell/VersionResource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1 << 20)) return 0;
  std::string bytes(reinterpret_cast<const char*>(data), size);
  std::string resource;
  if (ZelReadVersionResource(ZelMemorySource(bytes), resource)) {
    if (resource.size() > ZEL_MAX_VERSION_RESOURCE || resource.size() > size) std::abort();
  } else if (!resource.empty()) {
    std::abort();
  }
  // The input itself as a version resource, too.
  for (const std::string* r : {&resource, &bytes}) {
    std::string copy = *r;  // exactly its size
    CString name;
    ZelVersionProductName(copy, 0x0409, name);
    std::string value;
    bool text;
    if (ZelQueryVersionValue(copy, "\\VarFileInfo\\Translation", value, text) &&
        value.size() > copy.size())
      std::abort();
    ZelQueryVersionValue(copy, "\\", value, text);
  }
  return 0;
}
