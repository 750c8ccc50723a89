// The input service, its system and scripted forms, and the platform's calls on it.
#include "platform/user/input/Input.h"

#include <chrono>

#include "platform/os/sync/ServiceSlot.h"

namespace zel_input {
namespace {

Input& System() {
  static SystemInput system;
  return system;
}
constinit zel_sync::ServiceSlot<Input> g_current{&System};

long long Pack(POINT p) { return (static_cast<long long>(p.x) << 32) | static_cast<uint32_t>(p.y); }

}  // namespace

POINT SystemInput::CursorPos() const {
  const long long v = m_cursor.load();
  return POINT{static_cast<LONG>(v >> 32), static_cast<LONG>(static_cast<uint32_t>(v))};
}

bool SystemInput::SetCursorPos(POINT p) {
  m_cursor.store(Pack(p));
  return true;
}

DWORD SystemInput::TickCount() const {
  using namespace std::chrono;
  return static_cast<DWORD>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

POINT ScriptedInput::CursorPos() const {
  std::lock_guard lock(m_mutex);
  return m_cursor;
}

bool ScriptedInput::SetCursorPos(POINT p) {
  std::lock_guard lock(m_mutex);
  m_cursor = p;
  return true;
}

bool ScriptedInput::IsDown(int virtualKey) const {
  std::lock_guard lock(m_mutex);
  return m_down.count(virtualKey) != 0;
}

void ScriptedInput::SetDown(int virtualKey, bool down) {
  std::lock_guard lock(m_mutex);
  if (down)
    m_down.insert(virtualKey);
  else
    m_down.erase(virtualKey);
}

Input& Current() { return g_current.Current(); }

Input* Install(Input* input) { return g_current.Install(input); }

}  // namespace zel_input

BOOL GetCursorPos(POINT* point) {
  if (!point) return FALSE;
  *point = zel_input::Current().CursorPos();
  return TRUE;
}

BOOL SetCursorPos(int x, int y) { return zel_input::Current().SetCursorPos(POINT{x, y}); }

SHORT GetAsyncKeyState(int virtualKey) {
  return zel_input::Current().IsDown(virtualKey) ? static_cast<SHORT>(0x8000) : 0;
}

SHORT GetKeyState(int virtualKey) { return GetAsyncKeyState(virtualKey); }

DWORD GetTickCount() { return zel_input::Current().TickCount(); }
