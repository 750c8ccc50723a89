// An input for tests: every value set by hand, so that timing logic runs on exact times.
#pragma once

#include <atomic>
#include <mutex>
#include <set>

#include "platform/user/input/Input.h"

namespace zel_test {

class ScriptedInput : public zel_input::Input {
 public:
  POINT CursorPos() const override;
  bool SetCursorPos(POINT p) override;
  bool IsDown(int virtualKey) const override;
  DWORD TickCount() const override { return m_tick.load(); }

  void SetDown(int virtualKey, bool down);
  void SetTickCount(DWORD tick) { m_tick.store(tick); }
  void Advance(DWORD ms) { m_tick.fetch_add(ms); }

 private:
  mutable std::mutex m_mutex;
  POINT m_cursor;
  std::set<int> m_down;
  std::atomic<DWORD> m_tick{0};
};

}  // namespace zel_test
