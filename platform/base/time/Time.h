/// CTime: a point in time to the second, shown in local time.
#pragma once

#include <ctime>

#include "ZelExport.h"
#include "platform/base/string/String.h"

class ZEL_API CTime {
 public:
  CTime() = default;
  explicit CTime(time_t t) : m_time(t) {}

  static CTime GetCurrentTime() { return CTime(std::time(nullptr)); }
  time_t GetTime() const { return m_time; }
  /// strftime of the local time.
  CString Format(const char* fmt) const;

  friend auto operator<=>(const CTime&, const CTime&) = default;

 private:
  std::tm Local() const;
  time_t m_time = 0;
};
