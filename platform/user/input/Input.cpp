// The input in use, the system's input, and the platform's calls on it.
#include "platform/user/input/Input.h"

#include <array>
#include <chrono>

#include "platform/user/input/KeyStateInternal.h"
#include "platform/user/integration/Integration.h"

namespace zel_input {
namespace {

long long Pack(POINT p) { return (static_cast<long long>(p.x) << 32) | static_cast<uint32_t>(p.y); }

// Each thread's keys as its key messages told them: a thread's windows get their keys
// through its own queue.
enum KeyTold : uint8_t { kUntold, kUp, kDown };
thread_local std::array<KeyTold, 256> t_keys{};

}  // namespace

void NoteKeyMessage(UINT message, WPARAM virtualKey) {
  if (virtualKey >= t_keys.size()) return;
  if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN)
    t_keys[virtualKey] = kDown;
  else if (message == WM_KEYUP || message == WM_SYSKEYUP)
    t_keys[virtualKey] = kUp;
}

void ResyncKeyStates() { t_keys.fill(kUntold); }

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

SystemInput& System() {
  static SystemInput system;
  return system;
}

Input& Current() {
  Input* installed = zel_user::InstalledEngine<Input>();
  return installed ? *installed : System();
}

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

SHORT GetKeyState(int virtualKey) {
  using namespace zel_input;
  if (virtualKey >= 0 && static_cast<size_t>(virtualKey) < t_keys.size() &&
      t_keys[static_cast<size_t>(virtualKey)] != kUntold)
    return t_keys[static_cast<size_t>(virtualKey)] == kDown ? static_cast<SHORT>(0x8000) : 0;
  return GetAsyncKeyState(virtualKey);
}

DWORD GetTickCount() { return zel_input::Current().TickCount(); }
