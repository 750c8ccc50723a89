// The command-string parser.
#include "tools/ExecCommandParams.h"

#include <cstring>

#include "platform/base/exceptions/Exceptions.h"

namespace {

struct CommandWord {
  const char* word;
  CExecCommandParams::CCommandType value;
};

// Searched in this order; the first match wins.
constexpr CommandWord kCommands[] = {
    {"dbreport", CExecCommandParams::dbreport}, {"opendbmol", CExecCommandParams::opendbmol},
    {"openas", CExecCommandParams::openas},     {"importas", CExecCommandParams::importas},
    {"dbr", CExecCommandParams::dbreport},      {"import", CExecCommandParams::import},
    {"savetodb", CExecCommandParams::savetodb},
};

// A byte read as a signed 8-bit number is a blank when it is 32 or less: control
// characters, space, and every byte from 0x80 up.
bool IsBlank(char c) { return static_cast<signed char>(c) <= 32; }

}  // namespace

CExecCommandParams::CExecCommandParams(const char* text) { Parse(text ? text : ""); }

CString CExecCommandParams::operator[](int i) const {
  if (i < 0 || i >= GetCount()) AfxThrowInvalidArgException();
  return GetAt(i);
}

bool CExecCommandParams::GetParam(int i, CString& out) const {
  if (i < 0 || i >= GetCount()) return false;
  const CString& p = ElementAt(i);
  if (!p.IsEmpty()) out = p;
  return true;
}

CString CExecCommandParams::GetCommandString(CCommandType t) {
  for (const CommandWord& row : kCommands)
    if (row.value == t) return row.word;
  return "unknow";
}

void CExecCommandParams::Parse(const char* s) {
  m_correct = false;
  m_command = none;
  RemoveAll();
  const size_t len = std::strlen(s);
  size_t pos = 0;
  // Skips blanks; true when the end of the string was reached.
  auto skip = [&] {
    while (pos < len && IsBlank(s[pos])) ++pos;
    return pos >= len;
  };

  if (skip() || s[pos] != '[') return;
  ++pos;
  skip();
  std::string word;
  while (pos < len && !IsBlank(s[pos]) && s[pos] != '(') word += s[pos++];
  if (skip() || word.empty() || s[pos] != '(') return;
  bool known = false;
  for (const CommandWord& row : kCommands) {
    if (ZelStrCmpNoCase(word, row.word) == 0) {
      m_command = row.value;
      known = true;
      break;
    }
  }
  if (!known) return;
  ++pos;

  bool more = true;
  while (more) {
    std::string param;
    bool inParam = true, quoted = false;
    skip();
    if (pos < len && s[pos] == '"') {
      ++pos;
      if (pos < len && s[pos] == '"')
        ++pos;  // an empty quoted string
      else
        quoted = true;
    }
    while (inParam && pos < len) {
      char c = s[pos];
      if (c == '"' && quoted) {
        quoted = false;
        ++pos;
        if (skip() || (s[pos] != ',' && s[pos] != ')')) return;
        continue;
      }
      if (c == '"') {
        if (pos + 1 < len && s[pos + 1] == '"') {
          pos += 2;
          continue;
        }
        return;
      }
      if (c == ')' && !quoted) {
        inParam = more = false;
        ++pos;
        continue;
      }
      if (c == ',' && !quoted) {
        inParam = false;
        ++pos;
        continue;
      }
      if (c == '\\') {
        ++pos;
        if (pos >= len) return;
        if (s[pos] != '"') param += '\\';
        param += s[pos++];
        continue;
      }
      param += c;
      ++pos;
    }
    if (inParam) return;  // the string ended inside the list
    size_t first = param.find_first_not_of(' ');
    size_t last = param.find_last_not_of(' ');
    Add(first == std::string::npos ? CString() : CString(param.substr(first, last - first + 1)));
  }
  if (GetSize() == 1 && ElementAt(0).IsEmpty()) RemoveAll();
  if (!skip() && s[pos] == ']') m_correct = true;
}
