/// CArchive: the class library's binary archive over a CFile. Scalars are little-endian
/// with no padding; strings carry a length prefix; objects carry their class name and
/// schema the first time a class is met and a back-reference index afterwards.
/// Faults raise CArchiveException (end of file, bad class, bad schema, bad index).
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "ZelExport.h"
#include "platform/base/file/File.h"
#include "platform/base/object/Object.h"
#include "platform/base/string/String.h"

class ZEL_API CArchive {
 public:
  enum Mode : UINT { store = 0, load = 1 };

  CArchive(CFile* file, UINT mode);
  ~CArchive();
  CArchive(const CArchive&) = delete;
  CArchive& operator=(const CArchive&) = delete;

  BOOL IsStoring() const { return m_mode == store; }
  BOOL IsLoading() const { return m_mode == load; }
  CFile* GetFile() const { return m_file; }
  /// Writes out what is buffered; the archive can be used no more.
  void Close();
  void Flush();

  /// Raw bytes. Read answers the number read (less only at the end of the file).
  UINT Read(void* buffer, UINT count);
  void Write(const void* buffer, UINT count);

  CArchive& operator<<(BYTE v) { return Put(v); }
  CArchive& operator<<(char v) { return Put(v); }
  CArchive& operator<<(bool v) { return Put(static_cast<BYTE>(v)); }
  CArchive& operator<<(WORD v) { return Put(v); }
  CArchive& operator<<(short v) { return Put(v); }
  CArchive& operator<<(int v) { return Put(static_cast<int32_t>(v)); }
  CArchive& operator<<(unsigned v) { return Put(static_cast<uint32_t>(v)); }
  /// C++ long is 64 bits here; the archive keeps the 32 bits it has on the suite's platform.
  CArchive& operator<<(long v) { return Put(static_cast<int32_t>(v)); }
  CArchive& operator<<(unsigned long v) { return Put(static_cast<uint32_t>(v)); }
  CArchive& operator<<(LONGLONG v) { return Put(v); }
  CArchive& operator<<(ULONGLONG v) { return Put(v); }
  CArchive& operator<<(float v) { return Put(v); }
  CArchive& operator<<(double v) { return Put(v); }
  CArchive& operator<<(const CString& s);
  CArchive& operator<<(const CObject* object) {
    WriteObject(object);
    return *this;
  }

  CArchive& operator>>(BYTE& v) { return Get(v); }
  CArchive& operator>>(char& v) { return Get(v); }
  CArchive& operator>>(bool& v);
  CArchive& operator>>(WORD& v) { return Get(v); }
  CArchive& operator>>(short& v) { return Get(v); }
  CArchive& operator>>(int& v) { return Get32(v); }
  CArchive& operator>>(unsigned& v) { return Get32(v); }
  CArchive& operator>>(long& v) { return Get32(v); }
  CArchive& operator>>(unsigned long& v) { return Get32(v); }
  CArchive& operator>>(LONGLONG& v) { return Get(v); }
  CArchive& operator>>(ULONGLONG& v) { return Get(v); }
  CArchive& operator>>(float& v) { return Get(v); }
  CArchive& operator>>(double& v) { return Get(v); }
  CArchive& operator>>(CString& s);
  template <typename T>
  CArchive& operator>>(T*& object) {
    object = static_cast<T*>(ReadObject(T::GetThisClass()));
    return *this;
  }

  /// Element counts of collections.
  void WriteCount(DWORD count);
  DWORD ReadCount();
  /// An object of a serializable class, or null; the same object stored twice is
  /// written once and read back as one object.
  void WriteObject(const CObject* object);
  /// Throws badClass when the stored class is unknown or not derived from expected,
  /// badSchema when its schema differs, badIndex for a reference to nothing.
  CObject* ReadObject(const CRuntimeClass* expected);

  /// The raw bytes of a scalar, little-endian.
  template <typename T>
  CArchive& Put(T v) {
    Write(&v, sizeof v);
    return *this;
  }
  template <typename T>
  CArchive& Get(T& v) {
    if (Read(&v, sizeof v) != sizeof v) Throw(3);
    return *this;
  }

 private:
  template <typename T>
  CArchive& Get32(T& v) {
    int32_t raw;
    Get(raw);
    v = static_cast<T>(raw);
    return *this;
  }
  [[noreturn]] void Throw(int cause, const char* description = nullptr) const;
  void RequireMode(UINT mode) const;

  CFile* m_file;
  UINT m_mode;
  std::string m_out;  ///< bytes not yet written to the file
  /// Storing: object or class pointer -> index. Loading: index -> object or class.
  std::unordered_map<const void*, DWORD> m_storeMap;
  struct Loaded {
    CObject* object;
    const CRuntimeClass* cls;
  };
  std::vector<Loaded> m_loadMap;
};
