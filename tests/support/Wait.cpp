// Waiting for a condition with a deadline.
#include "tests/support/Wait.h"

#include <chrono>
#include <thread>

#include "platform/user/wnd/Message.h"

namespace zel_test {

bool WaitUntil(const std::function<bool()>& done, const std::function<void()>& step, int ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    step();
  }
  return true;
}

bool PumpUntil(const std::function<bool()>& done, int ms) {
  return WaitUntil(
      done,
      [] {
        // Wakes for the first message, or looks again after a short while.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG msg;
        while (PeekMessage(&msg, HWND(), 0, 0, PM_REMOVE)) DispatchMessage(&msg);
      },
      ms);
}

bool PollUntil(const std::function<bool()>& done, int ms) {
  return WaitUntil(
      done, [] { std::this_thread::sleep_for(std::chrono::milliseconds(2)); }, ms);
}

}  // namespace zel_test
