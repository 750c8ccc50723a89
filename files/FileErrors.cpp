// The one place where a caught file or archive exception becomes the user's message.
#include "files/ZelFileSpec.h"
#include "platform/user/ui/UiBackend.h"

namespace {

struct CauseText {
  int cause;
  const char* reading;
  const char* writing;  // null: same as reading
};

const CauseText kFileTexts[] = {
    {CFileException::fileNotFound, "%s\nCannot find this file.", nullptr},
    {CFileException::badPath, "%s\nCannot find this file.", nullptr},
    {CFileException::tooManyOpenFiles, "%s\nUnable to open %s for reading: Too many open files.",
     "%s\nUnable to open %s for writing: Too many open files."},
    {CFileException::accessDenied, "Unable to read from %s, it is opened by someone else.",
     "Unable to write to %s, it is read-only or opened by someone else."},
    {CFileException::invalidFile, "%s\nInternal error (invalid file).", nullptr},
    {CFileException::directoryFull, "%s\nUnable to open %s for reading: directory is full.",
     "%s\nUnable to open %s for writing: directory is full."},
    {CFileException::badSeek, "%s\nInternal error (seek).", nullptr},
    {CFileException::hardIO, "%s\nInternal error (hardware I/O).", nullptr},
    {CFileException::diskFull, "Destination disk is full.", nullptr},
};

const CauseText kArchiveTexts[] = {
    {CArchiveException::readOnly, "%s\nInternal error (read only).", nullptr},
    {CArchiveException::endOfFile, "%s\nPremature end of file.", nullptr},
    {CArchiveException::writeOnly, "%s\nInternal error (write only).", nullptr},
    {CArchiveException::badIndex, "%s\nUnexpected file format (index error).", nullptr},
    {CArchiveException::badClass, "%s\nUnexpected file format (class error).", nullptr},
    {CArchiveException::badSchema, "%s\nFile format not supported (version error).", nullptr},
};

// The text for a cause, or the unexpected-error text with its numbered suffix.
template <size_t N>
CString TextFor(const CauseText (&table)[N], int cause, int reading, const char* suffix) {
  for (const CauseText& t : table)
    if (t.cause == cause) return (reading || !t.writing) ? t.reading : t.writing;
  CString text = reading ? "An unexpected error occurred while reading %s"
                         : "An unexpected error occurred while writing %s";
  CString number;
  number.Format(suffix, static_cast<long>(cause));
  return text + number;
}

}  // namespace

CString CZelFileSpec::FormatExceptionMessage(CException* e, int reading) const {
  return ZelExceptionText(e, reading, GetTitle());
}

CString ZelExceptionText(CException* e, int reading, const char* name) {
  CString text;
  if (auto* fe = dynamic_cast<CFileException*>(e)) {
    if (fe->m_cause == CFileException::none) return CString();
    text = TextFor(kFileTexts, fe->m_cause, reading, " (io code = %ld).");
  } else if (auto* ae = dynamic_cast<CArchiveException*>(e)) {
    if (ae->m_cause == CArchiveException::none) return CString();
    text = TextFor(kArchiveTexts, ae->m_cause, reading, " (arc code = %ld).");
  } else {
    text = reading ? "Failed to read %s." : "Failed to write %s.";
  }
  // One pass, so a name that itself holds "%s" is not expanded again.
  text.Replace("%s", name ? name : "");
  return text;
}

void CZelFileSpec::ReportException(CException* e, int reading, int show) const {
  CString text = FormatExceptionMessage(e, reading);
  if (!text.IsEmpty() && show) AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}
