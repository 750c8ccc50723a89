// Format detection on arbitrary bytes in a memory stream: it must answer values of its
// range, the same over a string stream as over growing memory, and the stream's line
// reader must give what block-by-block reading gives.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "files/EkStream.h"
#include "files/SequenceDetection.h"

namespace {

// Block reading as first described: read, cut at the first line end, seek back.
bool ReferenceLine(CEkStream& s, unsigned size, std::string& out) {
  ULONGLONG start = s.Seek(0, CFile::current);
  std::vector<char> block(size);
  UINT got = s.Read(block.data(), size - 1);
  if (got == 0) return false;
  UINT i = 0;
  while (i < got && block[i] != '\n' && block[i] != '\r') i++;
  if (i < got) {
    UINT skip = (i + 1 < got && block[i + 1] == (block[i] == '\n' ? '\r' : '\n')) ? 2 : 1;
    s.Seek(static_cast<long>(start + i + skip), CFile::begin);
  }
  out.assign(block.data(), i);
  return true;
}

void CheckLines(const uint8_t* data, size_t size, unsigned bufSize) {
  CEkStream fast(64u), slow(64u);
  fast.Write(reinterpret_cast<const char*>(data), static_cast<int>(size));
  slow.Write(reinterpret_cast<const char*>(data), static_cast<int>(size));
  fast.SeekToBegin();
  slow.SeekToBegin();
  std::vector<char> buf(bufSize);
  for (;;) {
    std::string expected;
    bool more = ReferenceLine(slow, bufSize, expected);
    char* got = fast.ReadString(buf.data(), bufSize);
    if ((got != nullptr) != more) std::abort();
    if (fast.Seek(0, CFile::current) != slow.Seek(0, CFile::current)) std::abort();
    if (!more) break;
    if (std::string(got, expected.size()) != expected || got[expected.size()] != '\0') std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1 << 20)) return 0;
  std::string bytes(reinterpret_cast<const char*>(data), size);

  CEkStream memory(256u);
  memory.Write(bytes.data(), static_cast<int>(bytes.size()));
  memory.SeekToBegin();
  int seq = -1, format = -1, archive = -1;
  TryToGuessFtype(&memory, &seq, &format, &archive);
  bool formatOk = format == 0 || format == 1 || format == 2 || format == 3 || format == 6;
  if (!formatOk || seq < 0 || seq > 2 || (archive == 1) != (format == 6)) std::abort();
  if (ZelFtypeFromGuess(format, seq) == 0 && format != 0) std::abort();

  CString text{std::string_view(bytes)};
  CEkStream overString(&text, 0);
  int seq2 = -1, format2 = -1, archive2 = -1;
  TryToGuessFtype(&overString, &seq2, &format2, &archive2);
  overString.Close();
  if (seq2 != seq || format2 != format || archive2 != archive) std::abort();
  if (text.str() != bytes) std::abort();  // only read: the string keeps its text

  CheckLines(data, size, size ? 2u + data[0] % 300 : 2u);
  return 0;
}
