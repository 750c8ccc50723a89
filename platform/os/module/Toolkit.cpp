// The toolkit library, loaded once on first need.
#include "platform/os/module/Toolkit.h"

#include <mutex>
#include <string>

#include "platform/os/module/posix/Toolkit.inc"

namespace zel_module {

bool EnsureToolkit() {
  static std::mutex mutex;
  static bool tried = false, loaded = false;
  // Should the library's start-up ever ask for what it registers, it gets no second load.
  thread_local bool loading = false;
  if (loading) return false;
  std::lock_guard lock(mutex);
  if (tried) return loaded;
  tried = loading = true;
  // Where this code lives: the shared core library, or the program itself.
  const std::string core = zel_posix_module::ObjectOf(reinterpret_cast<void*>(&EnsureToolkit));
  const size_t slash = core.rfind('/');
  const std::string name = core.substr(slash == std::string::npos ? 0 : slash + 1);
  if (name.rfind("libzelutil.so", 0) == 0) {
    const std::string folder = slash == std::string::npos ? "." : core.substr(0, slash);
    loaded = zel_posix_module::Load((folder + "/" + ZEL_TOOLKIT_LIBRARY).c_str()) ||
             zel_posix_module::Load(ZEL_TOOLKIT_LIBRARY);
  }
  loading = false;
  return loaded;
}

namespace {
std::mutex g_versionMutex;
std::string& RegisteredVersion() {
  static std::string version;
  return version;
}
}  // namespace

const char* LibraryVersion() { return ZEL_LIBRARY_VERSION; }

std::string ToolkitVersion() {
  EnsureToolkit();
  std::lock_guard lock(g_versionMutex);
  return RegisteredVersion();
}

void RegisterToolkitVersion(const char* version) {
  std::lock_guard lock(g_versionMutex);
  RegisteredVersion() = version ? version : "";
}

}  // namespace zel_module
