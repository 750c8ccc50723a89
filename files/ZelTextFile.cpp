// CZelTextFile: opening, line reading through the read-ahead buffer, CR LF writing,
// progress counting.
#include "files/ZelTextFile.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <typeinfo>

#include "files/FileLineCountInternal.h"
#include "files/FilePiecesInternal.h"
#include "files/LineScan.h"
#include "files/StatusMessage.h"
#include "platform/base/file/ReadAtInternal.h"

IMPLEMENT_DYNAMIC(CZelTextFile, CObject)

namespace {

[[noreturn]] void ThrowInvalidFile() {
  throw CFileException(CFileException::invalidFile, -1, nullptr);
}

// Whether the file's bytes may be read by offset: only the plain file (or its line-reading
// form) reads its descriptor's bytes as they stand; other file objects (decompressing,
// standard input) hand on bytes of their own.
bool CountsByOffset(const CFile& file) {
  uint64_t size = 0;
  return (typeid(file) == typeid(CFile) || typeid(file) == typeid(CStdioFile)) &&
         zel_file::RegularFileSize(file.m_hFile, size);
}

// The line ends of a regular file from its position to its end, in large reads by offset
// and two threads on a big file; the file is left at its end. prevCR and openLine go on
// from the bytes counted before; counted(ends) hears of the ends as they are found.
template <typename Counted>
long long CountRestByOffset(CFile& file, bool prevCR, bool& openLine, bool progress,
                            Counted&& counted) {
  uint64_t size = 0;
  if (!zel_file::RegularFileSize(file.m_hFile, size)) return 0;
  uint64_t at = file.GetPosition();
  // With progress shown, a span at a time, so that messages come as the count goes on.
  constexpr uint64_t kProgressSpan = uint64_t{256} << 20;
  const uint64_t span = progress ? kProgressSpan : size;
  long long lines = 0;
  while (at < size) {
    const uint64_t to = std::min(size, at + span);
    const uint64_t split = zel_fileread::SplitOf(at, to);
    zel_linescan::FileLineEnds part;
    if (std::error_code ec =
            zel_linescan::CountFileLineEnds(file.m_hFile, at, split, to, prevCR, part))
      throw CFileException(CFileException::ErrnoToException(ec.value()), ec.value(),
                           file.GetFilePath());
    if (part.bytes > 0) {
      lines += static_cast<long long>(part.ends);
      openLine = !part.lastEnd;
      prevCR = part.lastCR;
      counted(part.ends);
    }
    at += part.bytes;
    if (at < to) break;  // the file shrank meanwhile
  }
  file.Seek(static_cast<LONGLONG>(at), CFile::begin);
  return lines;
}

}  // namespace

CZelTextFile::~CZelTextFile() {
  try {
    m_file.reset();
  } catch (...) {
  }
}

void CZelTextFile::NewFileObject(CFile* file, HANDLE handle) {
  m_file.reset(file);
  m_hFile = handle;
}

void CZelTextFile::MakeReadBuffer() {
  if (!m_ahead) m_ahead = std::make_unique<ZelReadAhead>(kReadAhead);
  m_ahead->Drop();
}

int CZelTextFile::OpenNamed(UINT flags) {
  try {
    NewFileObject(nullptr, CFile::hFileNull);
    auto file = std::make_unique<CFile>();
    if (!file->Open(m_fileSpec.GetPath(), flags, &m_lastError)) return 0;
    HANDLE h = file->m_hFile;
    NewFileObject(file.release(), h);
    return 1;
  } catch (CException&) {
    return 0;
  }
}

int CZelTextFile::OpenInput(unsigned flags) {
  if (!m_fileSpec.IsSpecSet()) return 0;
  m_inputFlag = 1;
  MakeReadBuffer();
  return OpenNamed(flags);
}

int CZelTextFile::OpenOutput() {
  if (!m_fileSpec.IsSpecSet()) return 0;
  m_inputFlag = 0;
  return OpenNamed(CFile::modeWrite | CFile::shareExclusive);
}

int CZelTextFile::CreateOutput() {
  m_inputFlag = 0;
  if (!m_fileSpec.IsSpecSet()) {
    MakeReadBuffer();
    NewFileObject(new CMemFile(1024), CFile::hFileNull);
    return 1;
  }
  if (!OpenNamed(CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive)) return 0;
  m_fileSpec.AssignMacFileAttributes();
  return 1;
}

int CZelTextFile::AttachInput(HANDLE handle) {
  m_inputFlag = 1;
  MakeReadBuffer();
  if (m_hFile != CFile::hFileNull || handle == CFile::hFileNull) return 0;
  NewFileObject(new CFile(handle), handle);
  return 1;
}

int CZelTextFile::AttachInput(std::unique_ptr<CFile> file) {
  m_inputFlag = 1;
  MakeReadBuffer();
  if (m_hFile != CFile::hFileNull || !file) return 0;
  NewFileObject(file.release(), CFile::hFileNull);
  return 1;
}

int CZelTextFile::AttachOutput(HANDLE handle) {
  m_inputFlag = 0;
  if (m_hFile != CFile::hFileNull || handle == CFile::hFileNull) return 0;
  NewFileObject(new CFile(handle), handle);
  return 1;
}

HANDLE CZelTextFile::Detach() {
  HANDLE h = m_hFile;
  Reset();
  return h;
}

void CZelTextFile::Close() {
  if (m_ahead) m_ahead->Drop();
  // Closed holds no handle, so Detach answers none and an attach may follow; the file
  // object stays until the next open. An attached descriptor stays the caller's.
  m_hFile = CFile::hFileNull;
  if (!m_file) return;
  try {
    m_file->Close();
  } catch (CException& e) {
    TraceException(&e);
  }
}

void CZelTextFile::SafeClose(int report) {
  SafeCloseWith([this] { Close(); }, report);
}

void CZelTextFile::Reset() {
  try {
    NewFileObject(nullptr, CFile::hFileNull);
  } catch (CException& e) {
    TraceException(&e);
  }
}

// Called when everything held is read: the buffer fills from its start.
UINT CZelTextFile::Fill() {
  if (!m_file) ThrowInvalidFile();
  return static_cast<UINT>(m_ahead->Fill(
      [this](char* into, size_t room) { return m_file->Read(into, static_cast<UINT>(room)); }));
}

void CZelTextFile::CountLines(int32_t lines) {
  if (m_lineCount < 0 || lines <= 0) return;
  if (m_progressEvery <= 0) {
    m_lineCount += lines;
    return;
  }
  // One message at each multiple passed, however many lines came at once.
  int32_t next = (m_lineCount / m_progressEvery + 1) * m_progressEvery;
  m_lineCount += lines;
  for (; next <= m_lineCount && next > 0; next += m_progressEvery)
    FormatStatusMessage("Line %ld", static_cast<long>(next));
}

unsigned CZelTextFile::ReadInto(char* buf, unsigned size) {
  if (!m_ahead) ThrowInvalidFile();
  unsigned n = 0;
  if (size >= 2) {
    const unsigned room = size - 1;
    // Kept in locals: writes through buf could alias the members and force reloads.
    const char* pos = m_ahead->begin();
    unsigned count = static_cast<unsigned>(m_ahead->size());
    while (n < room) {
      if (count == 0) {
        m_ahead->ConsumeTo(pos);
        count = Fill();
        pos = m_ahead->begin();
        if (count == 0) break;
      }
      unsigned avail = std::min(count, room - n);
      unsigned len = ZelCopyToLineEnd(pos, avail, buf + n, size - n);
      n += len;
      if (len == avail) {
        pos += len;
        count -= len;
        continue;
      }
      // CR LF is one line end, also when the LF only arrives with the next block.
      unsigned consume = len + 1;
      if (consume < count) {
        consume += (pos[len] == '\r') & (pos[consume] == '\n');
        pos += consume;
        count -= consume;
      } else if (pos[len] == '\r') {
        m_ahead->ConsumeTo(pos + consume);
        count = Fill();
        pos = m_ahead->begin();
        if (count > 0 && *pos == '\n') {
          ++pos;
          --count;
        }
      } else {
        pos += consume;
        count = 0;
      }
      buf[n++] = '\n';
      break;
    }
    m_ahead->ConsumeTo(pos);
  }
  if (size > 0) buf[n] = '\0';
  CountLines(1);
  return n;
}

char* CZelTextFile::ReadString(char* buf, unsigned size) {
  return ReadInto(buf, size) ? buf : nullptr;
}

// Lines for a CString go through a scratch buffer that keeps its size between calls:
// sizing the string itself would clear the whole limit on every line.
char* CZelTextFile::Scratch(unsigned size) {
  if (m_scratch.size() < size) m_scratch.resize(size);
  return m_scratch.data();
}

const char* CZelTextFile::ReadString(CString& s) {
  char* buf = Scratch(1024);
  unsigned n = ReadInto(buf, 1024);
  s.str().assign(buf, n);
  return s;
}

int CZelTextFile::ReadLine(CString& s, int size) {
  // A line whose end is already buffered goes straight into s, without the scratch
  // buffer: what ReadInto would give, one copy sooner. (A CR last in the buffer waits for
  // the next block to see whether an LF follows.)
  if (m_ahead && size > 2 && !m_ahead->empty()) {
    const char* begin = m_ahead->begin();
    const char* end = m_ahead->end();
    const char* stop = begin + std::min<size_t>(end - begin, static_cast<size_t>(size - 2));
    const char* lineEnd = ZelFindLineEnd(begin, stop);
    if (lineEnd && (*lineEnd == '\n' || lineEnd + 1 < end)) {
      s.str().assign(begin, lineEnd);
      m_ahead->ConsumeTo(lineEnd + 1 + (*lineEnd == '\r' && lineEnd[1] == '\n'));
      CountLines(1);
      return 1;
    }
  }
  unsigned limit = size > 1 ? static_cast<unsigned>(size - 1) : 0;
  char* buf = Scratch(limit + 1);
  unsigned read = ReadInto(buf, limit);
  unsigned n = read;
  if (n > 0 && buf[n - 1] == '\n') --n;
  s.str().assign(buf, n);
  return read > 0 ? 1 : 0;
}

// A lone CR ends the line here as everywhere else in this class, so that what a reader
// gets never depends on where reads happened to split the file.
int CZelTextFile::ReadLineLong(CString& s) {
  if (!m_ahead) ThrowInvalidFile();
  s.Empty();
  std::string& out = s.str();
  ZelReadAhead& ahead = *m_ahead;
  for (;;) {
    if (ahead.empty() && Fill() == 0) return 0;  // a last line without its end stays in s
    const char* lineEnd = ZelFindLineEnd(ahead.begin(), ahead.end());
    if (!lineEnd) {
      out.append(ahead.begin(), ahead.size());
      ahead.Consume(ahead.size());
      continue;
    }
    out.append(ahead.begin(), lineEnd);
    const bool cr = *lineEnd == '\r';
    ahead.ConsumeTo(lineEnd + 1);
    if (cr && (!ahead.empty() || Fill() > 0) && *ahead.begin() == '\n') ahead.Consume(1);
    return 1;
  }
}

long long CZelTextFile::CountLinesToEnd() {
  if (!m_ahead) ThrowInvalidFile();
  long long lines = 0;
  bool prevCR = false;
  bool openLine = false;  // bytes read since the last line end
  // What the buffer holds first; then a regular file's rest is counted by offset.
  const bool byOffset = m_file && CountsByOffset(*m_file);
  while (!m_ahead->empty() || (!byOffset && Fill() > 0)) {
    const char* p = m_ahead->begin();
    const size_t n = m_ahead->size();
    const uint64_t ends = zel_linescan::CountLineEnds(p, n, prevCR);
    lines += static_cast<long long>(ends);
    openLine = p[n - 1] != '\r' && p[n - 1] != '\n';
    m_ahead->Consume(n);
    CountLines(static_cast<int32_t>(ends));
  }
  if (byOffset)
    lines +=
        CountRestByOffset(*m_file, prevCR, openLine, m_progressEvery > 0, [this](uint64_t ends) {
          // The progress count takes a 32-bit step at a time.
          for (; ends > 0; ends -= std::min<uint64_t>(ends, INT32_MAX))
            CountLines(static_cast<int32_t>(std::min<uint64_t>(ends, INT32_MAX)));
        });
  return lines + (openLine ? 1 : 0);
}

void CZelTextFile::WriteString(const char* text) {
  if (!m_file) ThrowInvalidFile();
  if (!text) return;
  // Converted in one pass and written with one call, however many lines it holds.
  thread_local std::string out;
  out.clear();
  int32_t lines = 0;
  for (const char* p = text;;) {
    const char* nl = std::strchr(p, '\n');
    if (!nl) {
      out.append(p);
      break;
    }
    out.append(p, static_cast<size_t>(nl - p));
    out.append("\r\n", 2);
    ++lines;
    p = nl + 1;
  }
  if (!out.empty()) m_file->Write(out.data(), static_cast<UINT>(out.size()));
  CountLines(lines);
}

void CZelTextFile::WriteLine(const char* text) {
  if (text) WriteString(text);
  WriteString("\n");
}

void CZelTextFile::SeekToBegin() {
  if (!m_file) ThrowInvalidFile();
  m_file->SeekToBegin();
  if (m_ahead) m_ahead->Drop();
}

void CZelTextFile::SeekToEnd() {
  if (!m_file) ThrowInvalidFile();
  m_file->SeekToEnd();
  if (m_ahead) m_ahead->Drop();
}

CFile* CZelTextFile::CheckOutFilePtr() {
  if (m_inputFlag && m_file && m_ahead && !m_ahead->empty())
    m_file->Seek(-static_cast<LONGLONG>(m_ahead->size()), CFile::current);
  return m_file.get();
}

void CZelTextFile::CheckInFilePtr() {
  if (!m_inputFlag) return;
  if (m_ahead) m_ahead->Drop();
}

void CZelTextFile::DisplayProgressStatus(int every) {
  if (every >= 1) {
    m_lineCount = 0;
    m_progressEvery = every;
  } else {
    m_lineCount = -1;
    m_progressEvery = 0;
  }
}

ULONGLONG CZelTextFile::GetPosition() const { AfxThrowNotSupportedException(); }
UINT CZelTextFile::Read(void*, UINT) { AfxThrowNotSupportedException(); }
ULONGLONG CZelTextFile::Seek(LONGLONG, UINT) { AfxThrowNotSupportedException(); }
void CZelTextFile::SetLength(ULONGLONG) { AfxThrowNotSupportedException(); }
void CZelTextFile::Write(const void*, UINT) { AfxThrowNotSupportedException(); }
