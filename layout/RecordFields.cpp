// Numbered-field record lines and the comment-block readers.
#include "layout/RecordFields.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr size_t kListLineLimit = 1200;
// The text-file reader's line buffer: 1501 bytes, of which 1500 are offered to ReadString.
constexpr unsigned kCommentBuffer = 1501;
constexpr unsigned kCommentReadSize = 1500;

void WriteNumber(int field, CZelTextFile& file) { file.WriteString(std::to_string(field).c_str()); }

// One line of a comment block; true when it is the line that ends the block. The first
// token ends at "|", form feed, CR or LF; a comment is what follows that token up to the
// next form feed, CR or LF, leading ones of those skipped.
bool TakeCommentLine(const char* line, CStringList* comments) {
  const char* start = line + std::strspn(line, "|\f\r\n");
  if (!*start) return false;
  size_t length = std::strcspn(start, "|\f\r\n");
  int field = std::atoi(std::string(start, length).c_str());
  if (field == ZEL_COMMENT_END_FIELD) return true;
  if (field != ZEL_COMMENT_FIELD) return false;
  const char* rest = start + length;
  if (*rest) rest++;  // the delimiter that ended the number
  rest += std::strspn(rest, "\f\r\n");
  if (comments) comments->AddTail(CString(rest, static_cast<int>(std::strcspn(rest, "\f\r\n"))));
  return false;
}

}  // namespace

void WriteLongField(int field, long value, CZelTextFile& file) {
  WriteIntField(field, static_cast<int32_t>(value), file);
}

void WriteIntField(int field, int value, CZelTextFile& file) {
  std::string line = std::to_string(field) + "|" + std::to_string(value) + "\n";
  file.WriteString(line.c_str());
}

void WriteStringField(int field, CString text, CZelTextFile& file, int writeEmpty) {
  if (text.IsEmpty() && !writeEmpty) return;
  WriteNumber(field, file);
  file.WriteString("|");
  file.WriteString(text);
  file.WriteString("\n");
}

void WriteSeparator(int field, CZelTextFile& file) {
  WriteNumber(field, file);
  file.WriteString("\n");
}

void WriteStrList(int field, CStringList* list, CZelTextFile& file) {
  if (!list || list->IsEmpty()) return;
  bool lineDue = true;
  size_t length = 0;
  for (POSITION pos = list->GetHeadPosition(); pos;) {
    // The number goes out before the element is looked at, so a break followed only by
    // empty elements leaves the number alone on its line.
    if (lineDue) {
      WriteNumber(field, file);
      lineDue = false;
    }
    const CString& element = list->GetNext(pos);
    if (element.IsEmpty()) continue;
    file.WriteString("|");
    file.WriteString(element);
    length += static_cast<size_t>(element.GetLength()) + 1;
    if (length >= kListLineLimit && pos) {
      file.WriteString("\n");
      length = 0;
      lineDue = true;
    }
  }
  file.WriteString("\n");
}

void WriteCommentData(CZelTextFile& file, CStringList* comments) {
  if (!comments) return;
  for (POSITION pos = comments->GetHeadPosition(); pos;)
    WriteStringField(ZEL_COMMENT_FIELD, comments->GetNext(pos), file, 1);
}

void ReadCommentData(CEkStream* stream, CStringList* comments, int* counter) {
  if (!stream) return;
  CString line;
  while (stream->ReadString(line)) {
    if (counter) ++*counter;
    if (TakeCommentLine(line, comments)) return;
  }
}

void ReadCommentData(CZelTextFile& file, CStringList* comments) {
  std::unique_ptr<char, decltype(&std::free)> buffer(
      static_cast<char*>(std::malloc(kCommentBuffer)), &std::free);
  if (!buffer) return;
  while (file.ReadString(buffer.get(), kCommentReadSize))
    if (TakeCommentLine(buffer.get(), comments)) return;
}
