/// \class zel_sxf::SynText
/// The text held by tag and string nodes, in Size bytes: texts of up to Size - 1 bytes
/// inline, longer ones in a pooled block that starts with their length. Keeps the nodes
/// small; bytes (also zeros) are kept as given.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

#include "serialization/NodePool.h"

namespace zel_sxf {

template <size_t Size>
class SynText {
  static_assert(Size >= sizeof(char*) + 1 && Size <= 64);

 public:
  SynText() { SetInlineLength(0); }
  explicit SynText(std::string_view s) : SynText() { Assign(s); }
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
    const uint32_t length = static_cast<uint32_t>(s.size());
    char* block = static_cast<char*>(PoolAlloc(sizeof length + s.size() + 1));
    std::memcpy(block, &length, sizeof length);
    std::memcpy(block + sizeof length, s.data(), s.size());
    block[sizeof length + s.size()] = '\0';
    std::memcpy(m_bytes, &block, sizeof block);
    m_bytes[kInline] = kHeapMark;
  }

  const char* data() const { return IsHeap() ? Block() + sizeof(uint32_t) : m_bytes; }
  size_t size() const {
    if (!IsHeap()) return kInline - static_cast<uint8_t>(m_bytes[kInline]);
    uint32_t length;
    std::memcpy(&length, Block(), sizeof length);
    return length;
  }
  std::string_view view() const { return {data(), size()}; }
  const char* c_str() const { return data(); }

 private:
  static constexpr size_t kInline = Size - 1;
  static constexpr char kHeapMark = static_cast<char>(0x80);

  bool IsHeap() const { return m_bytes[kInline] == kHeapMark; }
  char* Block() const {
    char* block;
    std::memcpy(&block, m_bytes, sizeof block);
    return block;
  }
  /// The last byte holds the room left, which is 0 (the terminating zero) when full.
  void SetInlineLength(size_t n) { m_bytes[kInline] = static_cast<char>(kInline - n); }
  void Release() {
    if (IsHeap()) PoolFree(Block(), sizeof(uint32_t) + size() + 1);
    SetInlineLength(0);
    m_bytes[0] = '\0';
  }

  char m_bytes[Size];
};

}  // namespace zel_sxf
