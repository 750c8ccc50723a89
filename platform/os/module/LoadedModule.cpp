// Entry points of modules already loaded in the process.
#include "platform/os/module/LoadedModule.h"

#include "platform/base/string/String.h"
#include "platform/os/module/posix/LoadedModule.inc"

namespace zel_module {

std::vector<std::string> SharedObjectNames(const char* dllName) {
  if (!dllName || !*dllName) return {};
  std::string base = dllName;
  if (base.size() > 4 &&
      ZelStrCmpNoCase(std::string_view(base).substr(base.size() - 4), ".dll") == 0)
    base.replace(base.size() - 4, 4, ".so");
  // A path is taken as it stands; only a bare name gets the prefix.
  if (base.find('/') != std::string::npos) return {base};
  return {base, "lib" + base};
}

void* FindLoadedEntry(const char* dllName, const char* entry) {
  if (!entry) return nullptr;
  for (const std::string& name : SharedObjectNames(dllName))
    if (void* address = zel_posix_module::LoadedSymbol(name.c_str(), entry)) return address;
  return nullptr;
}

}  // namespace zel_module
