// Events and waits on several descriptors.
#include <gtest/gtest.h>

#include <thread>

#include "platform/os/sync/Event.h"

namespace {

TEST(EventTest, ASignalStaysUntilTakenAndWakesTheWaitOnIt) {
  zel_sync::Event a, b;
  ASSERT_FALSE(a.Error());
  EXPECT_FALSE(a.IsSet());
  EXPECT_FALSE(a.Wait(0));
  a.Set();
  a.Set();  // one signal, however often set
  EXPECT_TRUE(a.IsSet());
  EXPECT_TRUE(a.IsSet());  // looking takes nothing
  EXPECT_TRUE(a.Wait(0));
  EXPECT_FALSE(a.Reset());
  // The lowest ready index; -1 when time runs out; closed descriptors are skipped.
  std::error_code err;
  const int fds[] = {-1, a.Handle(), b.Handle()};
  EXPECT_EQ(zel_sync::WaitAny(fds, 3, 10, err), -1);
  b.Set();
  a.Set();
  EXPECT_EQ(zel_sync::WaitAny(fds, 3, -1, err), 1);
  EXPECT_TRUE(a.Reset());
  EXPECT_EQ(zel_sync::WaitAny(fds, 3, -1, err), 2);
  // A wait without limit ends when another thread signals.
  std::thread setter([&] { a.Set(); });
  EXPECT_TRUE(a.Wait(-1));
  setter.join();
}

}  // namespace
