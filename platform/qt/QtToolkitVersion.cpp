// Tells the core which toolkit this library is as it loads, for a host's About.
#include <QtGlobal>
#include <string>

#include "platform/os/module/Toolkit.h"

namespace {

const bool kRegistered = [] {
  zel_module::RegisterToolkitVersion((std::string("Qt ") + qVersion()).c_str());
  return true;
}();

}  // namespace
