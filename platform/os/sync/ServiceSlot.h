// A replaceable process-wide service: the one installed, else a fallback that is always
// there (the headless one). Any thread may read or install; constant-initialised, so a
// slot is usable from static initialisers of other files.
// Usage:
//   SystemValues& Fixed();                         // the fallback, made on first use
//   constinit zel_sync::ServiceSlot<SystemValues> g_values{&Fixed};
//   SystemValues& Current() { return g_values.Current(); }
#pragma once

#include <atomic>

namespace zel_sync {

template <typename Service>
class ServiceSlot {
 public:
  constexpr explicit ServiceSlot(Service& (*fallback)()) : m_fallback(fallback) {}

  Service& Current() const {
    Service* installed = m_installed.load(std::memory_order_acquire);
    return installed ? *installed : m_fallback();
  }
  // Installs service (null: back to the fallback); answers the one in use before.
  Service* Install(Service* service) {
    Service* previous = m_installed.exchange(service, std::memory_order_acq_rel);
    return previous ? previous : &m_fallback();
  }

 private:
  std::atomic<Service*> m_installed{nullptr};
  Service& (*m_fallback)();
};

}  // namespace zel_sync
