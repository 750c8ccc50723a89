// Waiting in tests: for a condition, up to a deadline, never for a fixed time.
#pragma once

#include <functional>

namespace zel_test {

// Looks at done, then runs step (which moves things on: pumps a queue, runs an event
// loop, or gives other threads a moment), until done() or ms have passed; true when done.
bool WaitUntil(const std::function<bool()>& done, const std::function<void()>& step, int ms = 5000);

// WaitUntil with this thread's message queue pumped between looks.
bool PumpUntil(const std::function<bool()>& done, int ms = 5000);

// WaitUntil for what no queue of this thread brings: a child's output, another thread's
// work.
bool PollUntil(const std::function<bool()>& done, int ms = 5000);

}  // namespace zel_test
