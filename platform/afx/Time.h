// CTime: a point in time to the second, shown in local time.
#pragma once

#include <ctime>

#include "ZelExport.h"
#include "platform/afx/String.h"

class ZEL_API CTime {
 public:
  CTime() = default;
  explicit CTime(time_t t) : m_time(t) {}
  // Local time; -1 for the day-light saving flag lets the system decide.
  CTime(int year, int month, int day, int hour, int minute, int second, int dst = -1);

  static CTime GetCurrentTime() { return CTime(std::time(nullptr)); }
  time_t GetTime() const { return m_time; }
  int GetYear() const { return Local().tm_year + 1900; }
  int GetMonth() const { return Local().tm_mon + 1; }
  int GetDay() const { return Local().tm_mday; }
  int GetHour() const { return Local().tm_hour; }
  int GetMinute() const { return Local().tm_min; }
  int GetSecond() const { return Local().tm_sec; }
  int GetDayOfWeek() const { return Local().tm_wday + 1; }
  // strftime of the local time.
  CString Format(const char* fmt) const;

  friend auto operator<=>(const CTime&, const CTime&) = default;

 private:
  std::tm Local() const;
  time_t m_time = 0;
};
