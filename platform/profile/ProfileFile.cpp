// Profile files: a line-preserving reader and editor of INI text.
#include "platform/profile/ProfileFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/state/StateFile.h"

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

struct Line {
  std::string text;  // without its line end
  std::string eol;   // "\r\n", "\n", "\r" or "" for a last line without one
};

std::vector<Line> SplitLines(const std::string& bytes) {
  std::vector<Line> lines;
  size_t i = 0;
  while (i < bytes.size()) {
    size_t j = bytes.find_first_of("\r\n", i);
    Line line;
    if (j == std::string::npos) {
      line.text = bytes.substr(i);
      i = bytes.size();
    } else {
      line.text = bytes.substr(i, j - i);
      size_t eolLen = (bytes[j] == '\r' && j + 1 < bytes.size() && bytes[j + 1] == '\n') ? 2 : 1;
      line.eol = bytes.substr(j, eolLen);
      i = j + eolLen;
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

enum class Kind { Other, Section, BadSection, Entry };

// What a line is; name gets the section or key name, value the raw value.
Kind Classify(const std::string& text, std::string_view& name, std::string_view& value) {
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

std::string Join(const std::vector<Line>& lines) {
  std::string out;
  for (const Line& line : lines) out += line.text + line.eol;
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
  std::vector<Line> lines = SplitLines(bytes);
  size_t begin, end, at;
  std::string_view raw;
  if (!FindSection(lines, section, begin, end) || !FindEntry(lines, begin, end, key, at, raw))
    return false;
  value = CString(Unquote(raw));
  return true;
}

BOOL WriteEntry(const char* file, const char* section, const char* key, const char* value) {
  if (!section || !file || !*file) return FALSE;
  std::string_view sectionName = Trim(section);
  // The empty section name is a section like any other ("[]").
  if (HasLineBreak(section) || sectionName.find(']') != std::string::npos) return FALSE;
  if (key) {
    std::string_view keyName = Trim(key);
    if (keyName.empty() || HasLineBreak(key) || keyName.find('=') != std::string::npos ||
        keyName[0] == '[' || keyName[0] == ';')
      return FALSE;
  }
  if (HasLineBreak(value)) return FALSE;

  CString path = ResolvePath(file);
  bool ours = !std::strchr(file, '/');  // our own profiles folder is made when missing
  int err = zel_state::UpdateFile(path, ours, [&](std::string& bytes) {
    std::vector<Line> lines = SplitLines(bytes);
    size_t begin, end;
    bool haveSection = FindSection(lines, section, begin, end);
    if (!key) {
      if (!haveSection) return false;
      lines.erase(lines.begin() + static_cast<long>(begin), lines.begin() + static_cast<long>(end));
    } else {
      std::string newLine = std::string(Trim(key)) + "=" + (value ? Quoted(value) : "");
      size_t at;
      std::string_view old;
      if (haveSection && FindEntry(lines, begin, end, key, at, old)) {
        if (!value)
          lines.erase(lines.begin() + static_cast<long>(at));
        else
          lines[at].text = newLine;
      } else {
        if (!value) return false;
        if (!lines.empty() && lines.back().eol.empty()) lines.back().eol = "\r\n";
        if (!haveSection) {
          lines.push_back({"[" + std::string(sectionName) + "]", "\r\n"});
          lines.push_back({newLine, "\r\n"});
        } else {
          // After the section's last line that is not blank.
          size_t insert = end;
          while (insert > begin + 1 && Trim(lines[insert - 1].text).empty()) --insert;
          lines.insert(lines.begin() + static_cast<long>(insert), Line{newLine, "\r\n"});
        }
      }
    }
    bytes = Join(lines);
    return true;
  });
  return err == 0;
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
