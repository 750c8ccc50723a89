/// \class CEkMemFile
/// CEkMemFile: a memory file that also tells how many bytes its buffer holds.
#pragma once

#include "ZelExport.h"
#include "platform/base/file/File.h"

class CEkStream;

class ZEL_API CEkMemFile : public CMemFile {
  DECLARE_DYNAMIC(CEkMemFile)
 public:
  /// A growing memory file; growBytes is its growth step.
  explicit CEkMemFile(unsigned growBytes);
  /// A memory file over the caller's buffer; with growBytes 0 it cannot grow and holds
  /// the buffer's bytes as its content.
  CEkMemFile(unsigned char* buffer, unsigned size, unsigned growBytes);

  /// Bytes allocated for the buffer (not the length written).
  unsigned GetBufferSize() const { return static_cast<unsigned>(m_nBufferSize); }

 private:
  /// The stream scans lines in place rather than copying them out block by block.
  friend class CEkStream;
};
