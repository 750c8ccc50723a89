// CZelBinaryFile: opening in the suite's modes and closing without exceptions.
#include "files/ZelBinaryFile.h"

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
