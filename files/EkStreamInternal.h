// The library's own reach into a stream over a disk file: scanners that read a big plain
// file by offset, beside the stream, and then put the stream where they stopped.
#pragma once

#include <typeinfo>

#include "files/EkStream.h"

struct CEkStreamAccess {
  // The disk file when the stream's bytes are its bytes as they stand (no decompressing
  // or other file object in between) and it is not lent out; else null.
  static CStdioFile* PlainFile(const CEkStream& s) {
    if (!s.m_file || s.m_lent) return nullptr;
    const CStdioFile& file = *s.m_file;
    return typeid(file) == typeid(CStdioFile) ? s.m_file.get() : nullptr;
  }
  // The stream's position in its disk file.
  static ULONGLONG Position(const CEkStream& s) {
    return s.m_aheadValid ? s.Position() : s.m_file->GetPosition();
  }
  // Puts the stream at offset of its disk file, dropping what it read ahead.
  static void MoveTo(CEkStream& s, ULONGLONG offset) {
    s.m_aheadValid = false;
    s.m_ahead.Drop();
    s.m_file->Seek(static_cast<LONGLONG>(offset), CFile::begin);
  }
};
