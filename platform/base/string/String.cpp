// CString members that are more than one line.
#include "platform/base/string/String.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {
inline bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
}  // namespace

void ZelAsciiMakeLower(std::string& s) {
  for (char& c : s) c = ZelAsciiToLower(c);
}

void ZelAsciiMakeUpper(std::string& s) {
  for (char& c : s) c = ZelAsciiToUpper(c);
}

std::string ZelAsciiLowered(std::string_view s) {
  std::string out(s);
  ZelAsciiMakeLower(out);
  return out;
}

int ZelStrCmpNoCase(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char ca = static_cast<unsigned char>(ZelAsciiToLower(a[i]));
    unsigned char cb = static_cast<unsigned char>(ZelAsciiToLower(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int CString::Compare(const char* s) const { return std::strcmp(m_s.c_str(), s ? s : ""); }

int CString::CompareNoCase(const char* s) const { return ZelStrCmpNoCase(m_s, s ? s : ""); }

int CString::Find(char ch, int start) const {
  if (start < 0 || start >= GetLength()) return -1;
  size_t at = m_s.find(ch, static_cast<size_t>(start));
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::Find(const char* sub, int start) const {
  if (!sub || start < 0 || start > GetLength()) return -1;
  size_t at = m_s.find(sub, static_cast<size_t>(start));
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(char ch) const {
  size_t at = m_s.rfind(ch);
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::FindOneOf(const char* chars) const {
  size_t at = m_s.find_first_of(chars ? chars : "");
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const {
  first = std::clamp(first, 0, GetLength());
  count = std::clamp(count, 0, GetLength() - first);
  return CString(m_s.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::Left(int count) const { return Mid(0, count); }

CString CString::Right(int count) const {
  count = std::clamp(count, 0, GetLength());
  return Mid(GetLength() - count, count);
}

CString& CString::MakeLower() {
  ZelAsciiMakeLower(m_s);
  return *this;
}

CString& CString::MakeUpper() {
  ZelAsciiMakeUpper(m_s);
  return *this;
}

CString& CString::TrimLeft() {
  size_t i = 0;
  while (i < m_s.size() && IsSpace(m_s[i])) ++i;
  m_s.erase(0, i);
  return *this;
}

CString& CString::TrimRight() {
  size_t n = m_s.size();
  while (n > 0 && IsSpace(m_s[n - 1])) --n;
  m_s.resize(n);
  return *this;
}

CString& CString::Trim() { return TrimRight().TrimLeft(); }

CString& CString::TrimLeft(const char* chars) {
  m_s.erase(0, std::min(m_s.size(), m_s.find_first_not_of(chars ? chars : "")));
  return *this;
}

CString& CString::TrimRight(const char* chars) {
  size_t last = m_s.find_last_not_of(chars ? chars : "");
  m_s.resize(last == std::string::npos ? 0 : last + 1);
  return *this;
}

CString& CString::Trim(const char* chars) { return TrimRight(chars).TrimLeft(chars); }

int CString::Replace(char from, char to) {
  int n = 0;
  for (char& c : m_s)
    if (c == from) {
      c = to;
      ++n;
    }
  return n;
}

int CString::Replace(const char* from, const char* to) {
  if (!from || !*from) return 0;
  std::string_view f(from), t(to ? to : "");
  std::string out;
  int n = 0;
  size_t pos = 0;
  for (size_t at; (at = m_s.find(f, pos)) != std::string::npos; pos = at + f.size(), ++n) {
    out.append(m_s, pos, at - pos);
    out.append(t);
  }
  if (n == 0) return 0;
  out.append(m_s, pos, std::string::npos);
  m_s.swap(out);
  return n;
}

int CString::Remove(char ch) {
  size_t before = m_s.size();
  m_s.erase(std::remove(m_s.begin(), m_s.end(), ch), m_s.end());
  return static_cast<int>(before - m_s.size());
}

int CString::Insert(int index, const char* s) {
  index = std::clamp(index, 0, GetLength());
  m_s.insert(static_cast<size_t>(index), s ? s : "");
  return GetLength();
}

int CString::Insert(int index, char ch) {
  index = std::clamp(index, 0, GetLength());
  m_s.insert(m_s.begin() + index, ch);
  return GetLength();
}

int CString::Delete(int index, int count) {
  if (index >= 0 && index < GetLength() && count > 0)
    m_s.erase(static_cast<size_t>(index), static_cast<size_t>(count));
  return GetLength();
}

CString CString::Tokenize(const char* delims, int& start) const {
  if (start < 0 || start >= GetLength()) {
    start = -1;
    return CString();
  }
  std::string_view d(delims ? delims : "");
  size_t from = m_s.find_first_not_of(d, static_cast<size_t>(start));
  if (from == std::string::npos) {
    start = -1;
    return CString();
  }
  size_t to = m_s.find_first_of(d, from);
  if (to == std::string::npos) to = m_s.size();
  start = static_cast<int>(std::min(to + 1, m_s.size() + 1));
  return CString(m_s.substr(from, to - from));
}

void CString::FormatV(const char* fmt, va_list args) {
  va_list copy;
  va_copy(copy, args);
  char small[256];
  int n = std::vsnprintf(small, sizeof small, fmt, copy);
  va_end(copy);
  if (n < 0) {
    m_s.clear();
    return;
  }
  if (static_cast<size_t>(n) < sizeof small) {
    m_s.assign(small, static_cast<size_t>(n));
    return;
  }
  std::string out(static_cast<size_t>(n), '\0');
  std::vsnprintf(out.data(), out.size() + 1, fmt, args);
  m_s.swap(out);
}

void CString::Format(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  FormatV(fmt, args);
  va_end(args);
}

void CString::AppendFormat(const char* fmt, ...) {
  CString more;
  va_list args;
  va_start(args, fmt);
  more.FormatV(fmt, args);
  va_end(args);
  m_s += more.m_s;
}

char* CString::GetBuffer(int minLength) {
  if (minLength > GetLength()) m_s.resize(static_cast<size_t>(minLength), '\0');
  return m_s.data();
}

char* CString::GetBufferSetLength(int length) {
  m_s.resize(static_cast<size_t>(std::max(length, 0)), '\0');
  return m_s.data();
}

void CString::ReleaseBuffer(int newLength) {
  if (newLength < 0) newLength = static_cast<int>(std::strlen(m_s.c_str()));
  m_s.resize(static_cast<size_t>(std::min(newLength, GetLength())));
}
