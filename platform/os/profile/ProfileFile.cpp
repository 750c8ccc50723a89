// Profile files: a line-preserving reader and editor of INI text.
#include "platform/os/profile/ProfileFile.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/os/state/StateFile.h"

CString ZelProfilesDir() { return ZelStateRoot() + "/profiles"; }

namespace zel_profile {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool SameName(std::string_view a, const char* b) { return ZelStrCmpNoCase(a, Trim(b)) == 0; }

// Views into the file's bytes (or into text made for an edit); nothing is copied until
// the file is put together again.
struct Line {
  std::string_view text;  // without its line end
  std::string_view eol;   // "\r\n", "\n", "\r" or "" for a last line without one
};

std::vector<Line> SplitLines(std::string_view bytes) {
  std::vector<Line> lines;
  const char* p = bytes.data();
  const char* end = p + bytes.size();
  while (p < end) {
    const char* q = p;
    while (q < end && *q != '\r' && *q != '\n') ++q;
    Line line{std::string_view(p, static_cast<size_t>(q - p)), std::string_view()};
    if (q < end) {
      size_t eolLen = (*q == '\r' && q + 1 < end && q[1] == '\n') ? 2 : 1;
      line.eol = std::string_view(q, eolLen);
      q += eolLen;
    }
    lines.push_back(line);
    p = q;
  }
  return lines;
}

enum class Kind { Other, Section, BadSection, Entry };

// What a line is; name gets the section or key name, value the raw value.
Kind Classify(std::string_view text, std::string_view& name, std::string_view& value) {
  std::string_view t = Trim(text);
  if (t.empty() || t[0] == ';') return Kind::Other;
  if (t[0] == '[') {
    size_t close = t.find(']');
    if (close == std::string_view::npos) return Kind::BadSection;
    name = Trim(t.substr(1, close - 1));
    return Kind::Section;
  }
  size_t eq = t.find('=');
  if (eq == std::string_view::npos) return Kind::Other;
  name = Trim(t.substr(0, eq));
  value = Trim(t.substr(eq + 1));
  return Kind::Entry;
}

// The lines [begin, end) of the first section named section; begin is the header line.
// A damaged header ends a section like a good one, and its lines belong to none.
bool FindSection(const std::vector<Line>& lines, const char* section, size_t& begin, size_t& end) {
  bool inside = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string_view name, value;
    Kind kind = Classify(lines[i].text, name, value);
    if (kind != Kind::Section && kind != Kind::BadSection) continue;
    if (inside) {
      end = i;
      return true;
    }
    if (kind == Kind::Section && SameName(name, section)) {
      inside = true;
      begin = i;
    }
  }
  end = lines.size();
  return inside;
}

bool FindEntry(const std::vector<Line>& lines, size_t begin, size_t end, const char* key,
               size_t& at, std::string_view& value) {
  for (size_t i = begin + 1; i < end; ++i) {
    std::string_view name;
    if (Classify(lines[i].text, name, value) == Kind::Entry && SameName(name, key)) {
      at = i;
      return true;
    }
  }
  return false;
}

std::string Unquote(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    v = v.substr(1, v.size() - 2);
  return std::string(v);
}

std::string Quoted(const char* value) {
  std::string v = value;
  bool needs = !v.empty() && (IsBlank(v.front()) || IsBlank(v.back()));
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    needs = true;
  return needs ? "\"" + v + "\"" : v;
}

bool HasLineBreak(const char* s) { return s && std::strpbrk(s, "\r\n") != nullptr; }

std::string Join(const std::vector<Line>& lines, size_t sizeHint) {
  std::string out;
  out.reserve(sizeHint + 256);
  for (const Line& line : lines) {
    out.append(line.text);
    out.append(line.eol);
  }
  return out;
}

}  // namespace

CString ResolvePath(const char* file) {
  if (!file || !*file) return CString();
  if (std::strchr(file, '/')) return file;
  return ZelProfilesDir() + "/" + file;
}

bool ReadEntry(const char* file, const char* section, const char* key, CString& value) {
  if (!section || !key) return false;
  std::string bytes;
  if (zel_state::ReadFile(ResolvePath(file), bytes)) return false;
  return ReadEntryIn(bytes, section, key, value);
}

bool ReadEntryIn(std::string_view bytes, const char* section, const char* key, CString& value) {
  if (!section || !key) return false;
  std::vector<Line> lines = SplitLines(bytes);
  size_t begin, end, at;
  std::string_view raw;
  if (!FindSection(lines, section, begin, end) || !FindEntry(lines, begin, end, key, at, raw))
    return false;
  value = CString(Unquote(raw));
  return true;
}

bool WriteEntryIn(std::string& bytes, const char* section, const char* key, const char* value) {
  if (!section) return false;
  std::string_view sectionName = Trim(section);
  // The empty section name is a section like any other ("[]").
  if (HasLineBreak(section) || sectionName.find(']') != std::string::npos) return false;
  if (key) {
    std::string_view keyName = Trim(key);
    if (keyName.empty() || HasLineBreak(key) || keyName.find('=') != std::string::npos ||
        keyName[0] == '[' || keyName[0] == ';')
      return false;
  }
  if (HasLineBreak(value)) return false;

  std::vector<Line> lines = SplitLines(bytes);
  const std::string_view crlf = "\r\n";
  // Text of new lines; it must outlive the views until the file is joined again.
  std::string header = "[" + std::string(sectionName) + "]";
  std::string newLine = key ? std::string(Trim(key)) + "=" + (value ? Quoted(value) : "") : "";
  size_t begin, end;
  bool haveSection = FindSection(lines, section, begin, end);
  if (!key) {
    if (!haveSection) return true;
    lines.erase(lines.begin() + static_cast<long>(begin), lines.begin() + static_cast<long>(end));
  } else {
    size_t at;
    std::string_view old;
    if (haveSection && FindEntry(lines, begin, end, key, at, old)) {
      if (!value)
        lines.erase(lines.begin() + static_cast<long>(at));
      else
        lines[at].text = newLine;
    } else {
      if (!value) return true;
      if (!lines.empty() && lines.back().eol.empty()) lines.back().eol = crlf;
      if (!haveSection) {
        lines.push_back({header, crlf});
        lines.push_back({newLine, crlf});
      } else {
        // After the section's last line that is not blank.
        size_t insert = end;
        while (insert > begin + 1 && Trim(lines[insert - 1].text).empty()) --insert;
        lines.insert(lines.begin() + static_cast<long>(insert), Line{newLine, crlf});
      }
    }
  }
  bytes = Join(lines, bytes.size());
  return true;
}

BOOL WriteEntry(const char* file, const char* section, const char* key, const char* value) {
  if (!section || !file || !*file) return FALSE;
  // Names and values that no line can hold are refused before the file is touched.
  std::string probe;
  if (!WriteEntryIn(probe, section, key, value)) return FALSE;
  CString path = ResolvePath(file);
  bool ours = !std::strchr(file, '/');  // our own profiles folder is made when missing
  std::error_code err = zel_state::UpdateFile(path, ours, [&](std::string& bytes) {
    std::string before = bytes;
    return WriteEntryIn(bytes, section, key, value) && bytes != before;
  });
  return !err;
}

}  // namespace zel_profile

DWORD GetPrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR def, LPSTR buf, DWORD size,
                              LPCSTR file) {
  if (!buf || size == 0) return 0;
  CString value;
  if (!zel_profile::ReadEntry(file, section, key, value)) {
    value = def ? def : "";
    value.TrimRight(" \t");
  }
  DWORD n = static_cast<DWORD>(value.GetLength());
  if (n > size - 1) n = size - 1;
  std::memcpy(buf, value.GetString(), n);
  buf[n] = '\0';
  return n;
}

UINT GetPrivateProfileInt(LPCSTR section, LPCSTR key, int def, LPCSTR file) {
  CString value;
  if (!zel_profile::ReadEntry(file, section, key, value)) return static_cast<UINT>(def);
  return static_cast<UINT>(std::atoi(value));
}

BOOL WritePrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file) {
  return zel_profile::WriteEntry(file, section, key, value);
}

UINT GetWindowsDirectory(LPSTR buf, UINT size) {
  CString dir = ZelProfilesDir();
  UINT n = static_cast<UINT>(dir.GetLength());
  if (!buf || size <= n) return n + 1;
  std::memcpy(buf, dir.GetString(), n + 1);
  return n;
}
