// The registry store: the hive model, its text form, and the locked updates.
//
// The text form, one line each, LF ends (a line without its end is a torn write and
// counts as missing):
//   ; comment
//   [Software\Some Key]          a key (levels separated by "\")
//   @="text"                     its default value
//   "name"="text"                a string value; \\ \" \n \r \t \xHH escape bytes
//   "name"=dword:0000002a        a 32-bit number, 8 hexadecimal digits
//   "name"=hex:01,ff,...         bytes
// Lines that do not parse are skipped, and the values after a damaged key line (one
// deeper than 512 levels among them) are skipped up to the next good one, so a damaged
// file reads as far as it is intact.
#include "platform/os/registry/Registry.h"

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <system_error>

#include "platform/base/exceptions/Exceptions.h"
#include "platform/base/string/String.h"
#include "platform/os/state/StateFile.h"

namespace zel_registry {
namespace {

std::string Fold(std::string_view s) { return ZelAsciiLowered(s); }

// Keys deeper than this are damage: no program nests its settings so deep, and a file
// that does would make every reader pay for it.
constexpr size_t kMaxDepth = 512;

struct Key {
  Key() = default;
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  // Frees the keys below without recursion, however deep they go.
  ~Key() {
    std::vector<std::unique_ptr<Key>> pending;
    auto detach = [&pending](Key& key) {
      for (auto& [folded, sub] : key.subkeys) pending.push_back(std::move(sub));
      key.subkeys.clear();
    };
    detach(*this);
    while (!pending.empty()) {
      std::unique_ptr<Key> key = std::move(pending.back());
      pending.pop_back();
      detach(*key);
    }
  }

  std::string name;
  std::map<std::string, std::unique_ptr<Key>> subkeys;                // by folded name
  std::map<std::string, std::pair<std::string, ZelRegValue>> values;  // by folded name
};

// Splits a key path into its levels; false when a level holds a control character or
// the path is deeper than kMaxDepth.
bool SplitPath(const char* path, std::vector<std::string>& levels) {
  levels.clear();
  if (!path) return true;
  std::string level;
  for (const char* p = path;; ++p) {
    if (*p == '\\' || *p == '\0') {
      if (!level.empty()) {
        if (levels.size() == kMaxDepth) return false;
        levels.push_back(level);
      }
      level.clear();
      if (*p == '\0') break;
      continue;
    }
    if (static_cast<unsigned char>(*p) < 0x20 || *p == 0x7f) return false;
    level += *p;
  }
  return true;
}

Key* Find(Key& root, const std::vector<std::string>& levels) {
  Key* key = &root;
  for (const std::string& level : levels) {
    auto it = key->subkeys.find(Fold(level));
    if (it == key->subkeys.end()) return nullptr;
    key = it->second.get();
  }
  return key;
}

Key* Create(Key& root, const std::vector<std::string>& levels) {
  Key* key = &root;
  for (const std::string& level : levels) {
    std::unique_ptr<Key>& slot = key->subkeys[Fold(level)];
    if (!slot) {
      slot = std::make_unique<Key>();
      slot->name = level;
    }
    key = slot.get();
  }
  return key;
}

// ---- text form ------------------------------------------------------------------------

bool NeedsEscape(unsigned char c) { return c < 0x20 || c == 0x7f || c == '"' || c == '\\'; }

void Quote(std::string& out, std::string_view s) {
  static const char hex[] = "0123456789abcdef";
  out += '"';
  // Runs of plain bytes go in one piece: hives are rewritten whole on every change.
  const char* p = s.data();
  const char* end = p + s.size();
  while (p < end) {
    const char* run = p;
    while (p < end && !NeedsEscape(static_cast<unsigned char>(*p))) ++p;
    out.append(run, static_cast<size_t>(p - run));
    if (p == end) break;
    unsigned char c = static_cast<unsigned char>(*p++);
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default: {
        char esc[4] = {'\\', 'x', hex[c >> 4], hex[c & 15]};
        out.append(esc, 4);
      }
    }
  }
  out += '"';
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads a quoted string at s[pos]; pos moves past the closing quote.
bool Unquote(std::string_view s, size_t& pos, std::string& out) {
  out.clear();
  if (pos >= s.size() || s[pos] != '"') return false;
  const char* p = s.data() + pos + 1;
  const char* end = s.data() + s.size();
  for (;;) {
    const char* run = p;
    while (p < end && *p != '"' && *p != '\\' &&
           (static_cast<unsigned char>(*p) >= 0x20 || *p == '\t'))
      ++p;
    out.append(run, static_cast<size_t>(p - run));
    if (p == end) return false;
    if (*p == '"') {
      pos = static_cast<size_t>(p + 1 - s.data());
      return true;
    }
    if (*p != '\\') return false;  // a raw control byte: damage
    if (++p == end) return false;
    switch (*p) {
      case '\\':
        out += '\\';
        break;
      case '"':
        out += '"';
        break;
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      case 't':
        out += '\t';
        break;
      case 'x': {
        if (end - p < 3) return false;
        int hi = HexDigit(p[1]), lo = HexDigit(p[2]);
        if (hi < 0 || lo < 0) return false;
        out += static_cast<char>(hi * 16 + lo);
        p += 2;
        break;
      }
      default:
        return false;
    }
    ++p;
  }
}

bool ParseData(std::string_view s, ZelRegValue& value) {
  if (!s.empty() && s[0] == '"') {
    size_t pos = 0;
    value.type = REG_SZ;
    return Unquote(s, pos, value.data) && pos == s.size();
  }
  if (s.substr(0, 6) == "dword:") {
    std::string_view digits = s.substr(6);
    if (digits.size() != 8) return false;
    DWORD n = 0;
    for (char c : digits) {
      int d = HexDigit(c);
      if (d < 0) return false;
      n = n * 16 + static_cast<DWORD>(d);
    }
    value.type = REG_DWORD;
    value.number = n;
    value.data.clear();
    return true;
  }
  if (s.substr(0, 4) == "hex:") {
    std::string_view bytes = s.substr(4);
    value.type = REG_BINARY;
    value.data.clear();
    for (size_t i = 0; i < bytes.size();) {
      if (i + 2 > bytes.size()) return false;
      int hi = HexDigit(bytes[i]), lo = HexDigit(bytes[i + 1]);
      if (hi < 0 || lo < 0) return false;
      value.data += static_cast<char>(hi * 16 + lo);
      i += 2;
      if (i < bytes.size()) {
        if (bytes[i] != ',' || i + 1 == bytes.size()) return false;
        ++i;
      }
    }
    return true;
  }
  return false;
}

// Parses as much as is intact; answers true when something had to be skipped.
bool Parse(const std::string& bytes, Key& root) {
  bool damaged = false;
  Key* current = nullptr;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) {
      damaged = true;  // torn last line
      break;
    }
    std::string_view line(bytes.data() + start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      std::vector<std::string> levels;
      if (line.size() < 2 || line.back() != ']' ||
          !SplitPath(std::string(line.substr(1, line.size() - 2)).c_str(), levels)) {
        damaged = true;
        current = nullptr;
        continue;
      }
      current = Create(root, levels);
      continue;
    }
    std::string name;
    size_t pos = 0;
    if (line[0] == '@') {
      pos = 1;
    } else if (!Unquote(line, pos, name) || name.empty()) {
      damaged = true;
      continue;
    }
    ZelRegValue value;
    if (pos >= line.size() || line[pos] != '=' || !ParseData(line.substr(pos + 1), value)) {
      damaged = true;
      continue;
    }
    if (!current) {
      damaged = true;
      continue;
    }
    auto& slot = current->values[Fold(name)];  // a later line of the same name wins
    slot.first = std::move(name);
    slot.second = std::move(value);
  }
  return damaged;
}

// The lines of one key: its path line and its values.
void WriteKeyLines(std::string& out, const Key& key, std::string_view path) {
  // Keys with values, and leaves, get a line; the levels between are implied.
  if (path.empty() || (key.values.empty() && !key.subkeys.empty())) return;
  out += '[';
  out += path;
  out += "]\n";
  for (const auto& [folded, entry] : key.values) {
    const auto& [name, value] = entry;
    if (name.empty())
      out += '@';
    else
      Quote(out, name);
    out += '=';
    if (value.type == REG_DWORD) {
      char buf[20];
      std::snprintf(buf, sizeof buf, "dword:%08x", static_cast<unsigned>(value.number));
      out += buf;
    } else if (value.type == REG_BINARY) {
      out += "hex:";
      for (size_t i = 0; i < value.data.size(); ++i) {
        char buf[4];
        std::snprintf(buf, sizeof buf, i ? ",%02x" : "%02x",
                      static_cast<unsigned char>(value.data[i]));
        out += buf;
      }
    } else {
      Quote(out, value.data);
    }
    out += '\n';
  }
  out += '\n';
}

// Every key below root, depth first, each level in the order of its folded names; one
// path buffer and a stack of the open levels instead of recursion.
void WriteTree(std::string& out, const Key& root) {
  struct Level {
    const Key* key;
    std::map<std::string, std::unique_ptr<Key>>::const_iterator next;
    size_t pathLength;
  };
  std::string path;
  std::vector<Level> open{{&root, root.subkeys.begin(), 0}};
  while (!open.empty()) {
    Level& level = open.back();
    if (level.next == level.key->subkeys.end()) {
      open.pop_back();
      continue;
    }
    const Key& sub = *(level.next++)->second;
    path.resize(level.pathLength);
    if (!path.empty()) path += '\\';
    path += sub.name;
    WriteKeyLines(out, sub, path);
    open.push_back({&sub, sub.subkeys.begin(), path.size()});
  }
}

std::string Serialize(const Key& root, ZelHive hive, size_t sizeHint) {
  std::string out;
  out.reserve(sizeHint + 1024);
  out += "; ZelUtil registry hive ";
  out += HiveName(hive);
  out += ": [key] lines, then \"name\"=value lines; @ is the default value.\n\n";
  // Values at the top level have no key of their own: a line of a lone separator.
  if (!root.values.empty()) WriteKeyLines(out, root, "\\");
  WriteTree(out, root);
  return out;
}

// The store's own failures, beside the file system's. Inside the store every failure is
// an error code; the public calls turn it into the platform's registry code at their edge.
enum class StoreError { KeyNotFound = 1, ValueNotFound, InvalidKeyPath };

const std::error_category& StoreCategory() {
  static const struct : std::error_category {
    const char* name() const noexcept override { return "registry"; }
    std::string message(int e) const override {
      switch (static_cast<StoreError>(e)) {
        case StoreError::KeyNotFound:
          return "no such key";
        case StoreError::ValueNotFound:
          return "no such value";
        case StoreError::InvalidKeyPath:
          return "not a key path";
      }
      return "registry failure";
    }
  } category;
  return category;
}

std::error_code Failure(StoreError e) { return {static_cast<int>(e), StoreCategory()}; }

// The platform's registry code for a failure: the one place where they are made.
LONG RegistryError(const std::error_code& ec) {
  if (!ec) return ERROR_SUCCESS;
  if (ec.category() == StoreCategory())
    return static_cast<StoreError>(ec.value()) == StoreError::InvalidKeyPath
               ? ERROR_INVALID_PARAMETER
               : ERROR_FILE_NOT_FOUND;
  // The file services' own failures (a pipe or a folder where the hive should be) are
  // files that cannot be opened as a hive.
  if (ec.category() != std::generic_category() && ec.category() != std::system_category())
    return ERROR_ACCESS_DENIED;
  switch (CFileException::ErrnoToException(ec.value())) {
    case CFileException::none:
      return ERROR_SUCCESS;
    case CFileException::fileNotFound:
    case CFileException::badPath:
      return ERROR_PATH_NOT_FOUND;
    case CFileException::accessDenied:
      return ERROR_ACCESS_DENIED;
    case CFileException::diskFull:
      return ERROR_DISK_FULL;
    case CFileException::hardIO:
      return ERROR_WRITE_FAULT;
    default:
      return ERROR_GEN_FAILURE;
  }
}

// A missing hive is an empty one.
std::error_code Load(ZelHive hive, Key& root) {
  std::string bytes;
  std::error_code err = zel_state::ReadFile(HivePath(hive), bytes);
  if (err == std::errc::no_such_file_or_directory) return {};
  if (err) return err;
  Parse(bytes, root);
  return {};
}

// What a change of the hive answers: write it, leave it as it is (it already holds what
// was asked), or fail with the reason.
struct Outcome {
  bool write = false;
  std::error_code failure;
};
const Outcome kWrite{true, {}};
const Outcome kNoChange{false, {}};
Outcome Fail(StoreError e) { return {false, Failure(e)}; }

std::vector<CString>& SetAside() {
  static std::vector<CString> paths;
  return paths;
}

// One change of the hive under its lock; the hive is written only when the change asks.
template <typename Change>
std::error_code Update(ZelHive hive, Change change) {
  std::error_code failure;
  CString path = HivePath(hive);
  std::error_code err = zel_state::UpdateFile(path, true, [&](std::string& bytes) {
    Key root;
    const bool damaged = Parse(bytes, root) && !bytes.empty();
    const Outcome outcome = change(root);
    failure = outcome.failure;
    if (!outcome.write) return false;
    if (damaged) {
      // The hive is rewritten without the parts that could not be read, so the damaged
      // original is kept first, beside it and never over an earlier copy; when it cannot
      // be kept, the hive stays as it is and the change fails with the reason.
      std::string kept;
      if (std::error_code ec = zel_state::KeepCopy(path + ".bad", bytes, kept)) {
        failure = ec;
        return false;
      }
      SetAside().push_back(CString(kept));
    }
    bytes = Serialize(root, hive, bytes.size());
    return true;
  });
  return err ? err : failure;
}

}  // namespace

CString HivePath(ZelHive hive) {
  switch (hive) {
    case ZelHive::ClassesRoot:
      return ZelStateRoot() + "/registry/classes.reg";
    case ZelHive::CurrentUser:
      return ZelStateRoot() + "/registry/user.reg";
    case ZelHive::LocalMachine:
      return ZelMachineStateRoot() + "/registry/machine.reg";
  }
  return CString();
}

const char* HiveName(ZelHive hive) {
  switch (hive) {
    case ZelHive::ClassesRoot:
      return "HKEY_CLASSES_ROOT";
    case ZelHive::CurrentUser:
      return "HKEY_CURRENT_USER";
    case ZelHive::LocalMachine:
      return "HKEY_LOCAL_MACHINE";
  }
  return "";
}

namespace {
// The key of that path in the hive as it is on disk: root holds the loaded hive, found
// points into it.
std::error_code LoadKey(ZelHive hive, const char* key, Key& root, Key*& found) {
  std::vector<std::string> levels;
  if (!SplitPath(key, levels)) return Failure(StoreError::KeyNotFound);
  if (std::error_code err = Load(hive, root)) return err;
  found = Find(root, levels);
  return found ? std::error_code() : Failure(StoreError::KeyNotFound);
}
}  // namespace

LONG OpenKey(ZelHive hive, const char* key) {
  Key root;
  Key* found = nullptr;
  return RegistryError(LoadKey(hive, key, root, found));
}

LONG QueryValue(ZelHive hive, const char* key, const char* name, ZelRegValue& value) {
  Key root;
  Key* found = nullptr;
  if (std::error_code err = LoadKey(hive, key, root, found)) return RegistryError(err);
  auto it = found->values.find(Fold(name ? name : ""));
  if (it == found->values.end()) return RegistryError(Failure(StoreError::ValueNotFound));
  value = it->second.second;
  return ERROR_SUCCESS;
}

LONG QueryString(ZelHive hive, const char* key, const char* name, CString& text) {
  ZelRegValue value;
  if (LONG err = QueryValue(hive, key, name, value)) return err;
  if (value.type == REG_DWORD)
    text.Format("%u", static_cast<unsigned>(value.number));
  else
    text = CString(value.data);
  return ERROR_SUCCESS;
}

LONG CreateKey(ZelHive hive, const char* key) {
  std::vector<std::string> levels;
  if (!SplitPath(key, levels)) return RegistryError(Failure(StoreError::InvalidKeyPath));
  return RegistryError(Update(hive, [&](Key& root) {
    if (Find(root, levels)) return kNoChange;
    Create(root, levels);
    return kWrite;
  }));
}

LONG SetValue(ZelHive hive, const char* key, const char* name, const ZelRegValue& value) {
  std::vector<std::string> levels;
  if (!SplitPath(key, levels)) return RegistryError(Failure(StoreError::InvalidKeyPath));
  std::string valueName = name ? name : "";
  return RegistryError(Update(hive, [&](Key& root) {
    Key* target = Create(root, levels);
    auto [it, added] = target->values.try_emplace(Fold(valueName), valueName, value);
    if (!added) {
      ZelRegValue& old = it->second.second;
      if (old.type == value.type && old.data == value.data && old.number == value.number)
        return kNoChange;
      old = value;
    }
    return kWrite;
  }));
}

LONG SetString(ZelHive hive, const char* key, const char* name, const char* text) {
  ZelRegValue value;
  value.type = REG_SZ;
  value.data = text ? text : "";
  return SetValue(hive, key, name, value);
}

LONG DeleteKey(ZelHive hive, const char* key) {
  std::vector<std::string> levels;
  if (!SplitPath(key, levels) || levels.empty())
    return RegistryError(Failure(StoreError::InvalidKeyPath));
  return RegistryError(Update(hive, [&](Key& root) {
    std::vector<std::string> parentLevels(levels.begin(), levels.end() - 1);
    Key* parent = Find(root, parentLevels);
    if (!parent || !parent->subkeys.erase(Fold(levels.back())))
      return Fail(StoreError::KeyNotFound);
    return kWrite;
  }));
}

LONG DeleteValue(ZelHive hive, const char* key, const char* name) {
  std::vector<std::string> levels;
  if (!SplitPath(key, levels)) return RegistryError(Failure(StoreError::KeyNotFound));
  return RegistryError(Update(hive, [&](Key& root) {
    Key* target = Find(root, levels);
    if (!target) return Fail(StoreError::KeyNotFound);
    if (!target->values.erase(Fold(name ? name : ""))) return Fail(StoreError::ValueNotFound);
    return kWrite;
  }));
}

LONG ListKey(ZelHive hive, const char* key, KeyListing& listing) {
  listing = KeyListing();
  Key root;
  Key* found = nullptr;
  if (std::error_code err = LoadKey(hive, key, root, found)) return RegistryError(err);
  for (const auto& [folded, sub] : found->subkeys) listing.subkeys.push_back(sub->name);
  for (const auto& [folded, entry] : found->values)
    listing.values.emplace_back(entry.first, entry.second);
  return ERROR_SUCCESS;
}

std::vector<CString> TakeSetAsideHives() {
  std::vector<CString> taken;
  taken.swap(SetAside());
  return taken;
}

}  // namespace zel_registry
