// CZelBinaryFile: opening in the suite's modes and closing without exceptions.
#include "files/ZelBinaryFile.h"

#include "platform/os/fs/FileSystem.h"

IMPLEMENT_DYNAMIC(CZelBinaryFile, CFile)

int CZelBinaryFile::OpenAs(UINT flags, int input) {
  if (!m_fileSpec.IsSpecSet()) return 0;
  m_inputFlag = input;
  return Open(m_fileSpec.GetPath(), flags | typeBinary, &m_lastError) ? 1 : 0;
}

int CZelBinaryFile::OpenInput() { return OpenAs(modeRead | shareDenyWrite, 1); }

int CZelBinaryFile::OpenIO() { return OpenAs(modeReadWrite | shareExclusive, 1); }

int CZelBinaryFile::OpenOutput() { return OpenAs(modeWrite | shareExclusive, 0); }

int CZelBinaryFile::CreateOutput() {
  int ok = OpenAs(modeCreate | modeWrite | shareExclusive, 0);
  if (ok) m_fileSpec.AssignMacFileAttributes();
  return ok;
}

int CZelBinaryFile::CreateOutputDistinctFrom(const CFile& source) {
  // Opened without truncating: only once the file is known to be another one may it be
  // emptied.
  if (!OpenAs(modeCreate | modeNoTruncate | modeWrite | shareExclusive, 0)) return 0;
  if (source.m_hFile != hFileNull && zel_fs::SameFile(source.m_hFile, m_hFile)) {
    Abort();
    return -1;
  }
  try {
    SetLength(0);
  } catch (CFileException& e) {
    m_lastError = e;
    Abort();
    return 0;
  }
  m_fileSpec.AssignMacFileAttributes();
  return 1;
}

void CZelBinaryFile::Close() {
  try {
    CFile::Close();
  } catch (CException& e) {
    TraceException(&e);
  }
}

void CZelBinaryFile::SafeClose(int report) {
  SafeCloseWith([this] { Close(); }, report);
}
