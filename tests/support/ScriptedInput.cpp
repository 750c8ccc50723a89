// The scripted input.
#include "tests/support/ScriptedInput.h"

namespace zel_test {

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

}  // namespace zel_test
