// CEkStream: one byte-stream interface over a disk file, growing memory or a CString.
//
// Lines are read the way the suite always read them: a block is read, the first CR or LF
// in it ends the line, and the byte after that line end joins it (LF CR or CR LF) only when
// it was in the same block. Instead of reading a block and seeking back for every line,
// this reads ahead in large chunks and searches line ends 16 bytes at a time, keeping the
// block boundaries only as arithmetic, so every line comes back as block reading gave it.
#include "files/EkStream.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "files/LineEndSearchInternal.h"
#include "files/LineScan.h"

IMPLEMENT_DYNAMIC(CEkStream, CObject)

namespace {
// The block of ReadString(CString&): 255 bytes read into a 256-byte buffer.
constexpr unsigned kStringBlock = 255;

// Index of the first CR or LF among the n bytes at p, or n.
size_t FindLineEnd(const char* p, size_t n) {
  const char* end = zel_linescan::FindLineEndWide(p, p + n);
  return end ? static_cast<size_t>(end - p) : n;
}
}  // namespace

// While the disk file is lent out (GetSFD), the stream keeps no read-ahead across calls:
// each operation starts from the file's own position and leaves the file at the stream's.
struct CEkStream::LentGuard {
  explicit LentGuard(CEkStream& s) : stream(s) {
    if (stream.m_lent && stream.m_file) stream.m_aheadValid = false;
  }
  ~LentGuard() {
    if (!stream.m_lent || !stream.m_file) return;
    try {
      stream.SyncFile();
    } catch (CException&) {
      // The next operation meets the same failure and raises it.
    }
  }
  CEkStream& stream;
};

CEkStream::CEkStream() = default;

CEkStream::CEkStream(unsigned growBytes) { Open(growBytes); }

CEkStream::CEkStream(CString* s, unsigned length) { Open(s, length); }

CEkStream::CEkStream(const char* path, UINT flags) { Open(path, flags); }

CEkStream::~CEkStream() {
  try {
    Close();
  } catch (CException&) {
    // A failing close of a file being destroyed has nobody left to tell.
  }
}

int CEkStream::Open(unsigned growBytes) {
  Close();
  m_memory = std::make_unique<CEkMemFile>(growBytes);
  m_target = nullptr;
  return 1;
}

int CEkStream::Open(CString* s, unsigned length) {
  Close();
  if (!s) return 0;
  if (length == 0) length = static_cast<unsigned>(s->GetLength());
  char* buffer = s->GetBuffer(static_cast<int>(length));
  m_memory = std::make_unique<CEkMemFile>(reinterpret_cast<unsigned char*>(buffer), length, 0);
  m_target = s;
  m_wroteTarget = false;
  return 1;
}

int CEkStream::Open(const char* path, UINT flags) {
  Close();
  m_file = std::make_unique<CStdioFile>(path, flags | CFile::typeBinary);
  m_aheadValid = false;
  m_lent = false;
  return 1;
}

int CEkStream::Open(std::unique_ptr<CStdioFile> file) {
  Close();
  if (!file) return 0;
  m_file = std::move(file);
  m_aheadValid = false;
  m_lent = false;
  return 1;
}

void CEkStream::Close() {
  m_aheadValid = false;
  m_lent = false;
  if (m_file) {
    std::unique_ptr<CStdioFile> file = std::move(m_file);
    file->Close();
  }
  if (m_memory) {
    size_t written = m_memory->m_nPosition;
    BYTE* buffer = m_memory->Detach();
    m_memory.reset();
    // Memory over a string is the string's; grown memory is ours to free.
    if (m_target)
      ReleaseTarget(written);
    else
      std::free(buffer);
  }
  m_target = nullptr;
}

void CEkStream::ReleaseTarget(size_t length) {
  // A string that was only read keeps its text, even when reading stopped half way.
  if (m_target && m_wroteTarget) m_target->ReleaseBuffer(static_cast<int>(length));
  m_target = nullptr;
  m_wroteTarget = false;
}

void CEkStream::RequireOpen() const {
  if (!IsOpen()) AfxThrowFileException(CFileException::invalidFile);
}

// ---- writing

void CEkStream::WriteString(const CString& s) { WriteString(s.GetString()); }

void CEkStream::WriteString(const char* text) {
  Write(text);
  Write("\r", 1);
  Write("\n", 1);
}

void CEkStream::Write(const CString& s, int n) { Write(s.GetString(), std::min(n, s.GetLength())); }

void CEkStream::Write(const CString& s) { Write(s.GetString(), s.GetLength()); }

void CEkStream::Write(const char* text) {
  if (text) Write(text, static_cast<int>(std::strlen(text)));
}

void CEkStream::Write(const char* data, int n) {
  RequireOpen();
  if (n <= 0) return;
  LentGuard guard(*this);
  if (m_file) {
    SyncFile();
    m_file->Write(data, static_cast<UINT>(n));
  } else {
    m_memory->Write(data, static_cast<UINT>(n));
    if (m_target) m_wroteTarget = true;
  }
}

// ---- positioning

ULONGLONG CEkStream::Seek(long offset, unsigned from) {
  RequireOpen();
  if (m_memory) return m_memory->Seek(offset, from);
  LentGuard guard(*this);
  if (!m_aheadValid) return m_file->Seek(offset, from);
  long long base = from == CFile::current ? static_cast<long long>(Position())
                   : from == CFile::end   ? static_cast<long long>(m_file->GetLength())
                                          : 0;
  long long target = base + offset;
  // Within what is held, consumed bytes included, the read-ahead serves the new position.
  if (target >= static_cast<long long>(m_aheadStart) &&
      target <= static_cast<long long>(AheadEnd())) {
    m_ahead.SetConsumed(static_cast<size_t>(target - static_cast<long long>(m_aheadStart)));
    return static_cast<ULONGLONG>(target);
  }
  m_aheadValid = false;
  return m_file->Seek(target, CFile::begin);
}

ULONGLONG CEkStream::GetLength() const {
  if (m_file) return m_file->GetLength();
  if (m_memory) return m_memory->GetLength();
  return 0;
}

void CEkStream::SyncFile() {
  if (!m_aheadValid) return;
  m_aheadValid = false;
  if (!m_ahead.empty()) m_file->Seek(static_cast<LONGLONG>(Position()), CFile::begin);
}

CStdioFile* CEkStream::GetSFD() {
  if (!m_file) return nullptr;
  SyncFile();
  m_lent = true;
  return m_file.get();
}

char* CEkStream::GetOutputBuffer() {
  if (m_file || !m_memory) return nullptr;
  size_t length = m_memory->m_nFileSize;
  size_t size = m_memory->m_nBufferSize;
  char* out;
  if (m_target) {
    // The bytes belong to the caller's string: hand over a copy and end the string as
    // Close would.
    out = static_cast<char*>(std::malloc(length + 1));
    if (out) std::memcpy(out, m_memory->m_lpBuffer, length);
    size_t written = m_memory->m_nPosition;
    m_memory->Detach();
    m_memory.reset();
    ReleaseTarget(written);
  } else {
    out = reinterpret_cast<char*>(m_memory->Detach());
    m_memory.reset();
    if (length >= size) {
      char* grown = static_cast<char*>(std::realloc(out, length + 1));
      if (!grown) std::free(out);
      out = grown;
    }
  }
  if (out) out[length] = '\0';
  return out;
}

// ---- reading

size_t CEkStream::Refill() {
  if (!m_aheadValid) {
    m_ahead.Drop();
    m_aheadStart = m_file->GetPosition();
    m_aheadValid = true;
  }
  // The unread tail moves to the front (at most the byte after a line end is wanted back).
  m_aheadStart += m_ahead.consumed();
  return m_ahead.Fill(
      [this](char* into, size_t room) { return m_file->Read(into, static_cast<UINT>(room)); });
}

size_t CEkStream::Avail(const char** p) {
  if (m_memory) {
    size_t pos = m_memory->m_nPosition, size = m_memory->m_nFileSize;
    if (pos >= size) return 0;
    *p = reinterpret_cast<const char*>(m_memory->m_lpBuffer) + pos;
    return size - pos;
  }
  if (!m_aheadValid || m_ahead.empty()) {
    Refill();
    if (m_ahead.empty()) return 0;
  }
  *p = m_ahead.begin();
  return m_ahead.size();
}

size_t CEkStream::Peek(const char** p) {
  if (!IsOpen() || m_lent) return 0;
  return Avail(p);
}

int CEkStream::PeekByte() {
  const char* p;
  return Avail(&p) ? static_cast<unsigned char>(*p) : -1;
}

// Reads one line as block reading would: the line is the bytes before the first CR or LF
// within maxLen bytes. The byte after that line end is taken with it (CR LF, LF CR) when it
// completes the pair and lay in the same block: blocks are `period` bytes long counted from
// the start (0: one block of maxLen). Returns whether a line end was found; *length is the
// number of line bytes handed to sink.
template <typename Sink>
bool CEkStream::ScanLine(ULONGLONG maxLen, unsigned period, Sink&& sink, ULONGLONG* length) {
  // Most lines lie whole in the bytes at hand, with the byte after their end.
  const char* p;
  size_t avail = Window(&p);
  if (avail > 1) {
    // Only as far as a line may reach: a long line's piece must not cost a scan of all
    // that is held.
    const size_t reach = static_cast<size_t>(std::min<ULONGLONG>(avail, maxLen));
    size_t end = FindLineEnd(p, reach);
    if (end + 1 < avail && end < maxLen) {
      sink(p, end);
      char mate = p[end] == '\n' ? '\r' : '\n';
      bool sameBlock = end + 1 < maxLen && (period == 0 || end % period != period - 1);
      Advance(end + (sameBlock && p[end + 1] == mate ? 2 : 1));
      *length = end;
      return true;
    }
  }

  ULONGLONG done = 0;
  while (done < maxLen) {
    avail = Avail(&p);
    if (!avail) break;
    size_t n = static_cast<size_t>(std::min<ULONGLONG>(avail, maxLen - done));
    size_t end = FindLineEnd(p, n);
    if (end < n) {
      sink(p, end);
      ULONGLONG k = done + end;
      char mate = p[end] == '\n' ? '\r' : '\n';
      Advance(end + 1);
      bool sameBlock = k + 1 < maxLen && (period == 0 || k % period != period - 1);
      if (sameBlock && PeekByte() == mate) Advance(1);
      *length = k;
      return true;
    }
    sink(p, n);
    Advance(n);
    done += n;
  }
  *length = done;
  return false;
}

UINT CEkStream::Read(void* buf, unsigned n) {
  if (!IsOpen()) return 0;
  if (m_memory) return m_memory->Read(buf, n);
  LentGuard guard(*this);
  char* out = static_cast<char*>(buf);
  UINT got = 0;
  while (got < n) {
    const char* p;
    size_t avail = Avail(&p);
    if (!avail) break;
    size_t take = std::min<size_t>(avail, n - got);
    std::memcpy(out + got, p, take);
    Advance(take);
    got += static_cast<UINT>(take);
  }
  return got;
}

char* CEkStream::ReadString(char* buf, unsigned size) {
  if (!IsOpen() || size == 0) return nullptr;
  LentGuard guard(*this);
  char* out = buf;
  ULONGLONG length;
  bool found = ScanLine(
      size - 1, 0,
      [&out](const char* p, size_t n) {
        std::memcpy(out, p, n);
        out += n;
      },
      &length);
  if (!found && length == 0) {
    *buf = '\0';
    return nullptr;
  }
  *out = '\0';
  return buf;
}

// Pieces are whole blocks of ReadString(CString&), so a line end found in a later piece
// pairs with its mate exactly as it would in the whole line.
static_assert(CEkStream::kLinePiece % kStringBlock == 0);

int CEkStream::ReadStringPiece(CString& s, bool& more) {
  s.Empty();
  more = false;
  if (!IsOpen()) return 0;
  LentGuard guard(*this);
  ULONGLONG length;
  const bool found = ScanLine(
      kLinePiece, kStringBlock, [&s](const char* p, size_t n) { s.str().append(p, n); }, &length);
  more = !found && length == kLinePiece;
  return found || length > 0 ? 1 : 0;
}

int CEkStream::ReadString(CString& s) {
  s.Empty();
  if (!IsOpen()) return 0;
  LentGuard guard(*this);
  ULONGLONG length;
  bool found = ScanLine(
      ~0ULL, kStringBlock, [&s](const char* p, size_t n) { s.str().append(p, n); }, &length);
  return found || !s.IsEmpty() ? 1 : 0;
}
