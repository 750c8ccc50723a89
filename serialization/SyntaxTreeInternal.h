// The state a syntax tree keeps while it is stored and printed as it is filled: the
// printing itself, and the capture of an object as the text it prints.
#pragma once

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "platform/os/memory/LargeChunks.h"
#include "serialization/SynPrintInternal.h"
#include "serialization/SynReadInternal.h"
#include "serialization/SyntaxTree.h"

// A tree printed while it is filled: the printer over its root, and the text so far. The
// text waits in large chunks, whose pages are made present a chunk at a time.
struct CSyntaxTree::Filling {
  Filling(CSyntaxTree& tree, const CSynList* root) : printer(tree, root, false, true) {}
  Filling(const Filling&) = delete;
  Filling& operator=(const Filling&) = delete;
  ~Filling() {
    for (const Chunk& c : chunks) zel_memory::FreeLargeChunk(c.data);
  }
  // Copies text after what is kept.
  void Keep(std::string_view text) {
    while (!text.empty()) {
      if (chunks.empty() || chunks.back().size == zel_memory::kLargeChunkBytes) {
        char* data = static_cast<char*>(zel_memory::AllocLargeChunk());
        if (!data) throw std::bad_alloc();
        chunks.push_back({data, 0});
      }
      Chunk& c = chunks.back();
      const size_t n = std::min(text.size(), zel_memory::kLargeChunkBytes - c.size);
      std::memcpy(c.data + c.size, text.data(), n);
      c.size += n;
      text.remove_prefix(n);
    }
  }
  struct Chunk {
    char* data;
    size_t size;
  };
  zel_sxf::ListPrinter printer;
  std::vector<Chunk> chunks;
  std::string out;  // lines printed since the last chunk was kept
  const char* lineEnd = "\r\n";
  size_t filled = 0;     // nodes added to the tree
  bool printed = false;  // the root is closed and printed whole
};

// An unshared object being stored as text (CSyntaxTree::StoreAsText): its print so far,
// and where each of its atoms ends in it, to make a node of each when the text cannot
// hold the rest. What is stored while the tree is printed as it is filled is only ever
// printed, so a node that prints an atom's text (CSynFlat) serves for the atom itself.
struct CSyntaxTree::Capture {
  struct Atom {
    uint32_t end;    // one past its text in `text`
    uint32_t extra;  // print length counted beyond its bytes (escaped controls)
  };
  // "(" and the atoms, each after a blank but the first: a buffer of its own, written
  // without the checks and calls of a string's appends.
  std::unique_ptr<char[]> text;
  size_t size = 0;
  size_t room = 0;
  int extra = 0;  // the atoms' extras in all
  std::vector<Atom> atoms;
  CSynList** into = nullptr;  // where the object's list goes when the capture is abandoned

  std::string_view Text() const { return {text.get(), size}; }
  // Room for n more bytes, written at the pointer answered and counted by Wrote.
  char* Room(size_t n) {
    if (room - size < n) Grow(n);
    return text.get() + size;
  }
  void Wrote(size_t n) { size += n; }
  void Append(const char* p, size_t n) {
    std::memcpy(Room(n), p, n);
    size += n;
  }
  void Grow(size_t n) {
    const size_t bigger = std::max(2 * room, size + n + 64);
    auto grown = std::make_unique<char[]>(bigger);
    if (size) std::memcpy(grown.get(), text.get(), size);
    text = std::move(grown);
    room = bigger;
  }
  // Ends the atom just written, whose string escaped so many controls.
  void EndAtom(size_t controls = 0) {
    const auto atomExtra = static_cast<uint32_t>(2 * controls);
    atoms.push_back({static_cast<uint32_t>(size), atomExtra});
    extra += static_cast<int>(atomExtra);
  }
};

// A number stored in a capture, printed as the node CSynNum::NewPtr(v) would print.
template <typename T>
void CSyntaxTree::CaptureNumber(T v) {
  Capture& c = *m_capture;
  char* p = c.Room(33);
  *p = ' ';
  c.Wrote(1 + static_cast<size_t>(
                  zel_sxf::read_detail::PrintNumber(zel_sxf::read_detail::StoredValue(v), p + 1)));
  c.EndAtom();
  CountStored();
}
