// Text read from a pipe arrives line by line, while its writer is still writing.
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "files/ZelTextFile.h"
#include "tests/support/TestSupport.h"

namespace {

// A writer that sends one line, then waits (up to a deadline) until the reader says it
// has that line before it sends the next and closes.
class PausingWriter {
 public:
  explicit PausingWriter(int fd) : m_fd(fd), m_thread([this] { Run(); }) {}
  ~PausingWriter() { m_thread.join(); }
  void GotFirstLine() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_got = true;
    m_cv.notify_all();
  }
  // Whether the reader had the first line before the writer gave up waiting.
  bool ReaderKeptUp() {
    m_thread.join();
    m_thread = std::thread([] {});
    return m_keptUp;
  }

 private:
  void Run() {
    Write("first line\r\n");
    {
      std::unique_lock<std::mutex> lock(m_mutex);
      m_keptUp = m_cv.wait_for(lock, std::chrono::seconds(5), [this] { return m_got; });
    }
    Write("second line\n");
    ::close(m_fd);
  }
  void Write(const char* text) { ASSERT_GT(::write(m_fd, text, std::strlen(text)), 0); }

  int m_fd;
  std::mutex m_mutex;
  std::condition_variable m_cv;
  bool m_got = false;
  bool m_keptUp = false;
  std::thread m_thread;
};

TEST(PipeReadingTest, LinesArriveBeforeTheWriterCloses) {
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  CZelTextFile file;
  ASSERT_TRUE(file.AttachInput(fds[0]));
  PausingWriter writer(fds[1]);
  CString line;
  ASSERT_TRUE(file.ReadLineLong(line));
  EXPECT_EQ(line, "first line");
  writer.GotFirstLine();
  ASSERT_TRUE(file.ReadLineLong(line));
  EXPECT_EQ(line, "second line");
  EXPECT_FALSE(file.ReadLineLong(line));
  EXPECT_TRUE(writer.ReaderKeptUp()) << "the first line arrived only when the writer closed";
  file.Close();
  EXPECT_EQ(::close(fds[0]), 0);  // attached: still the caller's to close
}

}  // namespace
