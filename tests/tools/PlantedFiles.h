// Pipes and sockets planted in a tool folder, and a way to run what might wait on one
// without the test waiting for ever: past the deadline every pipe gets a writer, which
// frees a reader stuck opening it, and the run counts as too slow.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <vector>

namespace zel_special {

inline void MakeFifo(const std::string& path) {
  ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0) << path;
}

// A socket file bound at path (the descriptor is closed; the file stays).
inline void MakeSocket(const std::string& path) {
  int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  ASSERT_LT(path.size(), sizeof addr.sun_path) << path;
  std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
  EXPECT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0) << path;
  ::close(fd);
}

// Runs work on a thread; true when it ends within the deadline. Otherwise the pipes are
// opened for writing until it ends (so the test ends too), and the answer is false.
inline bool FinishesWithin(const std::function<void()>& work, const std::vector<std::string>& fifos,
                           std::chrono::seconds deadline = std::chrono::seconds(10)) {
  std::packaged_task<void()> task(work);
  std::future<void> done = task.get_future();
  std::thread runner(std::move(task));
  bool inTime = done.wait_for(deadline) == std::future_status::ready;
  while (done.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready) {
    for (const std::string& fifo : fifos) {
      int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
      if (fd >= 0) ::close(fd);
    }
  }
  runner.join();
  return inTime;
}

}  // namespace zel_special
