/// CString: the suite's 8-bit text string, a value type over std::string with the
/// class library's members. Positions are zero-based; "not found" is -1.
#pragma once

#include <compare>
#include <cstdarg>
#include <string>
#include <string_view>

#include "ZelExport.h"
#include "platform/base/types/WinTypes.h"

class ZEL_API CString {
 public:
  CString() = default;
  CString(const char* s) : m_s(s ? s : "") {}
  CString(const char* s, int length) : m_s(s ? std::string(s, static_cast<size_t>(length)) : "") {}
  CString(char ch, int repeat = 1) : m_s(static_cast<size_t>(repeat > 0 ? repeat : 0), ch) {}
  CString(std::string s) : m_s(std::move(s)) {}
  CString(std::string_view s) : m_s(s) {}

  operator const char*() const { return m_s.c_str(); }
  const char* GetString() const { return m_s.c_str(); }
  const std::string& str() const { return m_s; }
  std::string& str() { return m_s; }
  std::string_view view() const { return m_s; }

  int GetLength() const { return static_cast<int>(m_s.size()); }
  BOOL IsEmpty() const { return m_s.empty(); }
  void Empty() { m_s.clear(); }
  char GetAt(int i) const { return m_s[static_cast<size_t>(i)]; }
  char operator[](int i) const { return m_s[static_cast<size_t>(i)]; }
  void SetAt(int i, char ch) { m_s[static_cast<size_t>(i)] = ch; }

  CString& operator=(const char* s) {
    m_s = s ? s : "";
    return *this;
  }
  CString& operator=(char ch) {
    m_s.assign(1, ch);
    return *this;
  }
  CString& operator+=(const CString& s) {
    m_s += s.m_s;
    return *this;
  }
  CString& operator+=(const char* s) {
    if (s) m_s += s;
    return *this;
  }
  CString& operator+=(char ch) {
    m_s += ch;
    return *this;
  }
  void Append(const char* s, int n) { m_s.append(s, static_cast<size_t>(n)); }

  friend CString operator+(const CString& a, const CString& b) { return CString(a.m_s + b.m_s); }
  friend CString operator+(const CString& a, const char* b) {
    return CString(a.m_s + (b ? b : ""));
  }
  friend CString operator+(const char* a, const CString& b) {
    return CString((a ? std::string(a) : std::string()) + b.m_s);
  }
  friend CString operator+(const CString& a, char b) { return CString(a.m_s + b); }
  friend CString operator+(char a, const CString& b) { return CString(a + b.m_s); }

  friend bool operator==(const CString& a, const CString& b) { return a.m_s == b.m_s; }
  friend bool operator==(const CString& a, const char* b) { return a.m_s == (b ? b : ""); }
  friend std::strong_ordering operator<=>(const CString& a, const CString& b) {
    return a.m_s <=> b.m_s;
  }

  /// strcmp / ASCII-case-insensitive comparisons: negative, zero or positive.
  int Compare(const char* s) const;
  int CompareNoCase(const char* s) const;

  int Find(char ch, int start = 0) const;
  int Find(const char* sub, int start = 0) const;
  int ReverseFind(char ch) const;
  int FindOneOf(const char* chars) const;

  CString Mid(int first) const;
  CString Mid(int first, int count) const;
  CString Left(int count) const;
  CString Right(int count) const;

  CString& MakeLower();
  CString& MakeUpper();
  CString& TrimLeft();
  CString& TrimRight();
  CString& Trim();
  CString& TrimLeft(const char* chars);
  CString& TrimRight(const char* chars);
  CString& Trim(const char* chars);
  int Replace(char from, char to);
  int Replace(const char* from, const char* to);
  int Remove(char ch);
  int Insert(int index, const char* s);
  int Insert(int index, char ch);
  int Delete(int index, int count = 1);
  CString Tokenize(const char* delims, int& start) const;

  void Format(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
  void AppendFormat(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
  void FormatV(const char* fmt, va_list args);

  /// A writable buffer of at least minLength characters plus a terminating NUL;
  /// ReleaseBuffer(-1) then takes the length up to the first NUL.
  char* GetBuffer(int minLength = 0);
  char* GetBufferSetLength(int length);
  void ReleaseBuffer(int newLength = -1);

 private:
  std::string m_s;
};

/// ASCII case folding: only A-Z and a-z change, whatever the user's locale, so that names,
/// paths and keys compare the same everywhere. Every case change of the library goes
/// through these.
///@{
constexpr char ZelAsciiToLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
constexpr char ZelAsciiToUpper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
ZEL_API void ZelAsciiMakeLower(std::string& s);
ZEL_API void ZelAsciiMakeUpper(std::string& s);
ZEL_API std::string ZelAsciiLowered(std::string_view s);
///@}
/// The comparison every path and name look-up of the library uses.
ZEL_API int ZelStrCmpNoCase(std::string_view a, std::string_view b);
