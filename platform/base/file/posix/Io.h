// Generic POSIX code only: the descriptor-level reads and writes every platform service
// shares, retried across signals, failures as error codes.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <system_error>

#include "platform/base/exceptions/posix/Errors.h"

namespace zel_posix {

// One read call: up to n bytes into buf (fewer from a pipe, 0 at the end).
inline std::error_code ReadSome(int fd, void* buf, size_t n, size_t& got) {
  ssize_t r;
  do r = ::read(fd, buf, n);
  while (r < 0 && errno == EINTR);
  got = r < 0 ? 0 : static_cast<size_t>(r);
  return r < 0 ? LastError() : std::error_code();
}

// One positional read: up to n bytes at offset into buf, the descriptor's position left as
// it was, so that threads may read parts of one file at once (0 at the end).
inline std::error_code ReadSomeAt(int fd, void* buf, size_t n, long long offset, size_t& got) {
  ssize_t r;
  do r = ::pread(fd, buf, n, static_cast<off_t>(offset));
  while (r < 0 && errno == EINTR);
  got = r < 0 ? 0 : static_cast<size_t>(r);
  return r < 0 ? LastError() : std::error_code();
}

// Writes all n bytes or fails: a short write (a full disk) is retried until the system
// says why it cannot go on.
inline std::error_code WriteAll(int fd, const void* data, size_t n) {
  const char* p = static_cast<const char*>(data);
  while (n > 0) {
    ssize_t w = ::write(fd, p, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      return LastError();
    }
    p += w;
    n -= static_cast<size_t>(w);
  }
  return {};
}

// Closes fd on every path, so a descriptor is never leaked by an early return.
class Fd {
 public:
  explicit Fd(int fd = -1) : m_fd(fd) {}
  ~Fd() {
    if (m_fd >= 0) ::close(m_fd);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return m_fd; }
  int release() {
    int fd = m_fd;
    m_fd = -1;
    return fd;
  }

 private:
  int m_fd;
};

}  // namespace zel_posix
