// CTime seen in local time.
#include "platform/base/time/Time.h"

std::tm CTime::Local() const {
  std::tm tm{};
  localtime_r(&m_time, &tm);
  return tm;
}

CString CTime::Format(const char* fmt) const {
  std::tm tm = Local();
  char buf[256];
  size_t n = std::strftime(buf, sizeof buf, fmt ? fmt : "", &tm);
  return CString(buf, static_cast<int>(n));
}
