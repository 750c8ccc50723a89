// The text held by tag and string nodes: 16 bytes, short texts (up to 15 bytes) inline,
// longer ones in a pooled block. Keeps the nodes small; bytes (also zeros) are kept as given.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

#include "serialization/NodePool.h"

namespace zel_sxf {

class SynText {
 public:
  SynText() { SetInlineLength(0); }
  explicit SynText(std::string_view s) { Assign(s); }
  SynText(const SynText& other) : SynText() { Assign(other.view()); }
  SynText& operator=(const SynText& other) {
    if (this != &other) Assign(other.view());
    return *this;
  }
  ~SynText() { Release(); }

  void Assign(std::string_view s) {
    Release();
    if (s.size() <= kInline) {
      std::memcpy(m_bytes, s.data(), s.size());
      m_bytes[s.size()] = '\0';
      SetInlineLength(s.size());
      return;
    }
    char* block = static_cast<char*>(PoolAlloc(s.size() + 1));
    std::memcpy(block, s.data(), s.size());
    block[s.size()] = '\0';
    m_heap.data = block;
    m_heap.length = static_cast<uint32_t>(s.size());
    m_bytes[kInline] = kHeapMark;
  }

  const char* data() const { return IsHeap() ? m_heap.data : m_bytes; }
  size_t size() const { return IsHeap() ? m_heap.length : kInline - static_cast<uint8_t>(m_bytes[kInline]); }
  std::string_view view() const { return {data(), size()}; }
  const char* c_str() const { return data(); }

 private:
  static constexpr size_t kInline = 15;
  static constexpr char kHeapMark = static_cast<char>(0x80);

  bool IsHeap() const { return m_bytes[kInline] == kHeapMark; }
  // The last byte holds the room left, which is 0 (the terminating zero) for 15 bytes.
  void SetInlineLength(size_t n) { m_bytes[kInline] = static_cast<char>(kInline - n); }
  void Release() {
    if (IsHeap()) PoolFree(m_heap.data, m_heap.length + 1);
    SetInlineLength(0);
    m_bytes[0] = '\0';
  }

  struct Heap {
    char* data;
    uint32_t length;
  };
  union {
    char m_bytes[16];
    Heap m_heap;
  };
};

static_assert(sizeof(SynText) == 16);

}  // namespace zel_sxf
