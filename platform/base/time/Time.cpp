// CTime conversions to and from local time.
#include "platform/base/time/Time.h"

CTime::CTime(int year, int month, int day, int hour, int minute, int second, int dst) {
  std::tm tm{};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = hour;
  tm.tm_min = minute;
  tm.tm_sec = second;
  tm.tm_isdst = dst;
  m_time = std::mktime(&tm);
}

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
