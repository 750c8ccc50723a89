// The job of `zel sxf fmt` on arbitrary bytes: read, check the header, print at a width
// and prefix taken from the input. What prints must read back, and printing again must
// settle within a few rounds: a number can change its kind once or twice on the way
// (a double printed as 4e+142 reads back as the whole number 4; -inf as 0 and a tag).
#include <cstdlib>
#include <string>

#include "files/ZelTextFile.h"
#include "fuzz/FuzzInput.h"
#include "platform/base/exceptions/Exceptions.h"
#include "serialization/SxfReformat.h"

namespace {

bool Reformat(const std::string& path, const uint8_t* data, size_t size, const char* prefix,
              int width, std::string& out) {
  if (!zel_fuzz::WriteBytes(path, data, size)) return false;
  CZelTextFile in;
  in.SetFileSpec(path.c_str(), 0);
  if (!in.OpenInput()) return false;
  bool ok = true;
  try {
    SxfReformat(in, prefix, width, "\r\n", out);
  } catch (CException&) {
    ok = false;
  }
  in.Close();
  return ok;
}

// Lines longer than the reader's pieces do not read back whole, by design.
bool HasOverlongLine(const std::string& text) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    if (end - start > 8000) return true;
    start = end + 2;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const int width = 1 + data[0] % 120;
  const char* prefix = (data[0] & 0x80) ? ";> " : nullptr;
  const std::string path = zel_fuzz::ScratchPath("sxf-fuzz");
  std::string first;
  if (!Reformat(path, data + 1, size - 1, prefix, width, first)) return 0;
  if (HasOverlongLine(first)) return 0;
  std::string previous = first;
  for (int round = 0; round < 4; ++round) {
    std::string next;
    if (!Reformat(path, reinterpret_cast<const uint8_t*>(previous.data()), previous.size(), prefix,
                  width, next))
      std::abort();  // what the writer printed does not read back
    if (next == previous) return 0;
    if (HasOverlongLine(next)) return 0;
    previous.swap(next);
  }
  std::abort();  // printing does not settle
  return 0;
}
