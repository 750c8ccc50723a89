/// ZelReadAhead: bytes read from a source in large pieces and handed out from memory, so
/// that small reads cost a copy instead of a system call. The file, the text file and the
/// stream read through it; they differ only in how a CR LF pair split between two pieces
/// is joined, which each reader does itself.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>

class ZelReadAhead {
 public:
  /// Bytes past the held ones that stay readable (their values unspecified), so that line
  /// scans may load whole 64-byte blocks at the end of what is held.
  static constexpr size_t kScanMargin = 64;

  explicit ZelReadAhead(size_t capacity) : m_capacity(capacity) {}
  ZelReadAhead(const ZelReadAhead&) = delete;
  ZelReadAhead& operator=(const ZelReadAhead&) = delete;

  size_t capacity() const { return m_capacity; }
  /// The unread bytes.
  const char* begin() const { return m_data.get() + m_pos; }
  const char* end() const { return m_data.get() + m_len; }
  size_t size() const { return m_len - m_pos; }
  bool empty() const { return m_pos == m_len; }

  void Consume(size_t n) { m_pos += n; }
  void ConsumeTo(const char* p) { m_pos = static_cast<size_t>(p - m_data.get()); }
  /// Bytes consumed since the last fill; they stay held until the next one, so a reader
  /// may step back over them.
  size_t consumed() const { return m_pos; }
  void SetConsumed(size_t n) { m_pos = n; }
  /// Forgets what is held (the source was moved or closed).
  void Drop() { m_pos = m_len = 0; }

  /// Keeps the unread bytes, moves them to the front and calls read(into, room) once, a
  /// callable answering how many bytes it stored (0 at the end of the source). Answers
  /// that number.
  template <typename Read>
  size_t Fill(Read&& read) {
    Allocate();
    const size_t keep = size();
    if (m_pos && keep) std::memmove(m_data.get(), m_data.get() + m_pos, keep);
    m_pos = 0;
    m_len = keep;
    const size_t got = read(m_data.get() + keep, m_capacity - keep);
    m_len += got;
    return got;
  }

 private:
  void Allocate() {
    if (m_data) return;
    /// Not cleared: only bytes the source stored are ever handed out. The margin is, so
    /// that scans over it see defined bytes.
    m_data.reset(new char[m_capacity + kScanMargin]);
    std::memset(m_data.get() + m_capacity, 0, kScanMargin);
  }

  size_t m_capacity;
  std::unique_ptr<char[]> m_data;
  size_t m_pos = 0;  ///< first unread byte
  size_t m_len = 0;  ///< bytes held
};
