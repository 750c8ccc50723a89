// The menu order and its file.
#include "tools/MenuOrder.h"

#include <algorithm>
#include <cerrno>

#include "platform/os/shell/ByteSource.h"
#include "platform/os/state/StateFile.h"

IMPLEMENT_DYNCREATE(CMenuOrder, CObject)

namespace {

CString Lower(const char* s) {
  CString out = s ? s : "";
  out.MakeLower();
  return out;
}

}  // namespace

CMenuOrder::CMenuOrder(const char* orderName) : m_orderName(Lower(orderName)) {}

CMenuOrder::~CMenuOrder() {
  for (POSITION p = m_children.GetStartPosition(); p;) {
    CString key;
    CObject* child;
    m_children.GetNextAssoc(p, key, child);
    delete child;
  }
  m_children.RemoveAll();
}

const char* CMenuOrder::GetChildOrderName(const char* name) {
  CObject* found;
  if (!name || !m_children.Lookup(Lower(name), found)) return name;
  auto* child = static_cast<CMenuOrder*>(found);
  child->m_used = 1;
  return child->m_orderName.IsEmpty() ? name : child->m_orderName.GetString();
}

CMenuOrder* CMenuOrder::GetNode(const char* name) {
  CObject* found;
  return m_children.Lookup(Lower(name), found) ? static_cast<CMenuOrder*>(found) : nullptr;
}

CMenuOrder* CMenuOrder::GetOrCreateNode(const char* name) {
  if (CMenuOrder* node = GetNode(name)) return node;
  auto* node = new CMenuOrder;
  m_children.SetAt(Lower(name), node);
  return node;
}

void CMenuOrder::AddNode(const char* name, CMenuOrder* node) {
  m_children.SetAt(Lower(name), node);
}

void CMenuOrder::RemoveNode(const char* name) { m_children.RemoveKey(Lower(name)); }

void CMenuOrder::SetOrderName(const char* name) { m_orderName = Lower(name); }

void CMenuOrder::StartMonitor() {
  for (POSITION p = m_children.GetStartPosition(); p;) {
    CString key;
    CObject* child;
    m_children.GetNextAssoc(p, key, child);
    static_cast<CMenuOrder*>(child)->m_used = 0;
  }
}

void CMenuOrder::StopMonitor() {
  CStringList unused;
  for (POSITION p = m_children.GetStartPosition(); p;) {
    CString key;
    CObject* child;
    m_children.GetNextAssoc(p, key, child);
    if (!static_cast<CMenuOrder*>(child)->m_used) unused.AddTail(key);
  }
  for (POSITION p = unused.GetHeadPosition(); p;) {
    const CString& key = unused.GetNext(p);
    CObject* child;
    if (m_children.Lookup(key, child)) {
      m_children.RemoveKey(key);
      delete child;
    }
  }
}

CString CMenuOrder::GetInsertName(const char* before, const char* after) {
  CString b = after ? Lower(GetChildOrderName(after)) : CString();
  if (!before) {
    if (b.IsEmpty()) return "m";
    char last = b[b.GetLength() - 1];
    if (last > 'a') {
      b.SetAt(b.GetLength() - 1, static_cast<char>(last - 1));
      return b;
    }
    b.SetAt(b.GetLength() - 1, '\t');
    return b + "m";
  }
  CString a = Lower(GetChildOrderName(before));
  int i = 0;
  while (i < a.GetLength() && i < b.GetLength() && a[i] == b[i]) ++i;
  if (i < a.GetLength()) {
    char last = a[a.GetLength() - 1];
    if (last == '\t') return a + "m";
    if (last < 'z') {
      a.SetAt(a.GetLength() - 1, static_cast<char>(last + 1));
      return a;
    }
    return a + "\tn";
  }
  char next = i < b.GetLength() ? b[i] : '\0';
  if (next == '\t') return a + "m";
  if (next <= 'a') return a + "\tn";
  if (a.IsEmpty()) return CString(static_cast<char>(next - 1));
  a.SetAt(a.GetLength() - 1, static_cast<char>(next - 1));
  return a;
}

// ---- The menu-order file ----
//
// Our own small binary format, version 1; all integers little-endian:
//
//   offset 0   8 bytes  magic "ZelMOrd\x1A"
//   offset 8   u32      version, 1
//   offset 12  u32      payload length in bytes: exactly the rest of the file
//   offset 16  u32      FNV-1a (32 bit) of the payload
//   offset 20  payload  the root node
//
//   node  := u16 order-name length, the order name's bytes,
//            u32 child count, then per child: u16 name length, the name's bytes, a node
//
// Names are stored lower-cased. A reader believes no size: every length is checked
// against the bytes that remain before anything is taken or allocated, a child count
// must fit in what remains (a child needs at least 8 bytes), names may not hold NUL,
// order names are at most kMaxName bytes, nodes nest at most kMaxDepth deep, a file holds
// at most kMaxNodes nodes in a payload of at most kMaxPayload bytes (1 MiB is ample for
// 776 tools and their folders; a larger file is not even read), and the payload's length
// and checksum must match. A file that breaks any rule, or has another
// magic or version, is "no order". Writing replaces the file through a flushed
// temporary file in the same folder.
namespace {

constexpr char kMagic[8] = {'Z', 'e', 'l', 'M', 'O', 'r', 'd', '\x1A'};
constexpr uint32_t kVersion = 1;
constexpr size_t kHeader = 20;
constexpr size_t kMaxName = 4096;
constexpr int kMaxDepth = 64;
constexpr size_t kMaxPayload = 1u << 20;
constexpr uint32_t kMaxNodes = 1u << 16;

uint32_t Fnv1a(std::string_view bytes) {
  uint32_t h = 2166136261u;
  for (char c : bytes) {
    h ^= static_cast<unsigned char>(c);
    h *= 16777619u;
  }
  return h;
}

void PutU16(std::string& out, uint16_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8);
}
void PutU32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}
void PutName(std::string& out, const CString& name) {
  size_t n = std::min<size_t>(static_cast<size_t>(name.GetLength()), kMaxName);
  PutU16(out, static_cast<uint16_t>(n));
  out.append(name.GetString(), n);
}

class Reader {
 public:
  explicit Reader(std::string_view bytes) : m_bytes(bytes) {}
  size_t Left() const { return m_bytes.size() - m_pos; }
  bool U16(uint16_t& v) {
    if (Left() < 2) return false;
    v = static_cast<uint16_t>(Byte(0) | (Byte(1) << 8));
    m_pos += 2;
    return true;
  }
  bool U32(uint32_t& v) {
    if (Left() < 4) return false;
    v = static_cast<uint32_t>(Byte(0)) | (static_cast<uint32_t>(Byte(1)) << 8) |
        (static_cast<uint32_t>(Byte(2)) << 16) | (static_cast<uint32_t>(Byte(3)) << 24);
    m_pos += 4;
    return true;
  }
  bool Name(CString& out) {
    uint16_t n;
    if (!U16(n) || n > kMaxName || n > Left()) return false;
    std::string_view s = m_bytes.substr(m_pos, n);
    if (s.find('\0') != std::string_view::npos) return false;
    out = CString(s);
    out.MakeLower();
    m_pos += n;
    return true;
  }

 private:
  unsigned Byte(size_t i) const { return static_cast<unsigned char>(m_bytes[m_pos + i]); }
  std::string_view m_bytes;
  size_t m_pos = 0;
};

void StoreNode(const CMenuOrder& node, std::string& out, int depth) {
  PutName(out, node.GetOrderName());
  const CMapStringToOb& children = node.GetChildren();
  if (depth >= kMaxDepth) {
    PutU32(out, 0);
    return;
  }
  PutU32(out, static_cast<uint32_t>(children.GetCount()));
  for (POSITION p = children.GetStartPosition(); p;) {
    CString key;
    CObject* child;
    children.GetNextAssoc(p, key, child);
    PutName(out, key);
    StoreNode(*static_cast<CMenuOrder*>(child), out, depth + 1);
  }
}

// nodesLeft: how many more nodes the file may hold.
bool LoadNode(Reader& in, CMenuOrder& node, int depth, uint32_t& nodesLeft) {
  CString orderName;
  uint32_t count;
  if (depth > kMaxDepth || !in.Name(orderName) || !in.U32(count) || count > in.Left() / 8 ||
      count > nodesLeft)
    return false;
  nodesLeft -= count;
  node.SetOrderName(orderName);
  for (uint32_t i = 0; i < count; ++i) {
    CString name;
    if (!in.Name(name)) return false;
    auto* child = new CMenuOrder;
    if (CMenuOrder* old = node.GetNode(name)) {  // a name twice: the later entry wins
      node.RemoveNode(name);
      delete old;
    }
    node.AddNode(name, child);
    if (!LoadNode(in, *child, depth + 1, nodesLeft)) return false;
  }
  return true;
}

}  // namespace

std::string CMenuOrder::Store() const {
  std::string payload;
  StoreNode(*this, payload, 0);
  std::string out(kMagic, sizeof kMagic);
  PutU32(out, kVersion);
  PutU32(out, static_cast<uint32_t>(payload.size()));
  PutU32(out, Fnv1a(payload));
  return out + payload;
}

bool CMenuOrder::StoreBelievable(std::string& bytes) const {
  bytes = Store();
  return bytes.size() <= kHeader + kMaxPayload;
}

CMenuOrder* CMenuOrder::Load(std::string_view bytes) {
  if (bytes.size() < kHeader || bytes.substr(0, 8) != std::string_view(kMagic, 8)) return nullptr;
  Reader header(bytes.substr(8, 12));
  uint32_t version, length, sum;
  header.U32(version);
  header.U32(length);
  header.U32(sum);
  std::string_view payload = bytes.substr(kHeader);
  if (version != kVersion || length != payload.size() || length > kMaxPayload ||
      Fnv1a(payload) != sum)
    return nullptr;
  Reader in(payload);
  auto* root = new CMenuOrder;
  uint32_t nodesLeft = kMaxNodes - 1;
  if (!LoadNode(in, *root, 0, nodesLeft) || in.Left() != 0) {
    delete root;
    return nullptr;
  }
  return root;
}

CMenuOrder* CMenuOrder::ReadOrderFile(const char* path) {
  // Read only when it is a regular file of believable size: a pipe planted at its name is
  // refused without waiting on it, a huge file without reading it.
  ZelFileSource file;
  std::string bytes;
  if (!path || file.Open(path) || !file.ReadAll(bytes, kHeader + kMaxPayload)) return nullptr;
  return Load(bytes);
}

std::error_code CMenuOrder::WriteOrderFile(const char* path) const {
  if (!path || !*path) return std::make_error_code(std::errc::no_such_file_or_directory);
  std::string bytes;
  if (!StoreBelievable(bytes)) return std::make_error_code(std::errc::file_too_large);
  return zel_state::ReplaceFile(path, bytes);
}
