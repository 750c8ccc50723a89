// CSyntaxTree: whole-file reading and printing, the exchange walk, the shared table.
#include "serialization/SyntaxTree.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>
#include <string_view>
#include <type_traits>

#include "files/StatusMessage.h"
#include "files/ZelTextFile.h"
#include "platform/os/memory/LargeChunks.h"
#include "serialization/NodePoolInternal.h"
#include "serialization/SynPrintInternal.h"
#include "serialization/SyntaxTreeInternal.h"
#include "serialization/TapeInternal.h"
#include "serialization/ZelArchive.h"

IMPLEMENT_DYNAMIC(CSyntaxTree, CObject)

using zel_sxf::Tape;

namespace {
// Printed text goes to the file in writes of about this size.
constexpr size_t kWriteChunk = 1 << 20;
// An index too large for an int reaches the table as INT_MAX; refusing that keeps the
// table's length an int.
constexpr int kMaxSharedIndex = 0x7FFFFFFE;

// Lines go to the file in large raw writes with their CR LF; a file that counts its lines
// gets them through WriteString, which counts and turns "\n" into CR LF.
bool WritesRaw(CZelTextFile* file) {
  return file && file->GetLineCnt() < 0 && file->CheckOutFilePtr() != nullptr;
}

// IsKindOf, answered at once for the exact class, the usual case.
bool IsNode(const CObject* node, const CRuntimeClass* cls) {
  return node->GetRuntimeClass() == cls || node->IsKindOf(cls);
}
}  // namespace

// The tape walk's steps, on the path of every element a loading archive reads: inline.
inline void CSyntaxTree::TapeGoTo(const uint64_t* p) {
  m_pos = Tape::KindAt(p) == Tape::kEnd ? nullptr
                                        : reinterpret_cast<POSITION>(const_cast<uint64_t*>(p));
}

inline const uint64_t* CSyntaxTree::StepTape() {
  const uint64_t* p = TapeAt();
  TapeGoTo(Tape::Next(p));
  return p;
}

CSyntaxTree::CSyntaxTree() = default;

CSyntaxTree::~CSyntaxTree() { Clear(); }

// ---- errors ----

void CSyntaxTree::ThrowException(int cause) { throw CArchiveException(cause); }
void CSyntaxTree::ThrowGenericException() { ThrowException(CArchiveException::genericException); }
void CSyntaxTree::ThrowEndOfFileException() { ThrowException(CArchiveException::genericException); }
void CSyntaxTree::ThrowBadTokenException(int) {
  ThrowException(CArchiveException::genericException);
}
void CSyntaxTree::ThrowBadIndexException() { ThrowException(CArchiveException::badIndex); }
void CSyntaxTree::ThrowBadClassException() { ThrowException(CArchiveException::badClass); }
void CSyntaxTree::ThrowBadSchemaException() { ThrowException(CArchiveException::badSchema); }

// A user is shown only "class error" (from the cause); these say, for the host's log,
// which class it was and what the program lacks.
void CSyntaxTree::ThrowUnregisteredClassException(const CRuntimeClass* cls) {
  const CString name = cls->m_lpszClassName;
  throw CArchiveException(CArchiveException::badClass, nullptr,
                          "class " + name +
                              " has no archive registration: it needs a static ZEL_RTTI_LINK "
                              "_zel_rtti_link and ZEL_IMPLEMENT_SERIALIZE(" +
                              name + ", \"tag\") in its source file");
}
void CSyntaxTree::ThrowUnknownTagException(const char* tag) {
  const CString quoted = CString("\"") + tag + "\"";
  throw CArchiveException(CArchiveException::badClass, nullptr,
                          "no class is registered under the tag " + quoted +
                              ": the class stored under it needs its archive registration, "
                              "ZEL_IMPLEMENT_SERIALIZE(class, " +
                              quoted + "), in this program");
}
void CSyntaxTree::ThrowNotCreatableException(const CRuntimeClass* cls, const char* tag) {
  throw CArchiveException(CArchiveException::badClass, nullptr,
                          CString("class ") + cls->m_lpszClassName +
                              ", registered under the tag \"" + tag +
                              "\", cannot be created for loading: it needs DECLARE_DYNCREATE and "
                              "IMPLEMENT_DYNCREATE");
}
void CSyntaxTree::ThrowWrongClassException(const CRuntimeClass* cls,
                                           const CRuntimeClass* required) {
  throw CArchiveException(CArchiveException::badClass, nullptr,
                          CString("a ") + cls->m_lpszClassName + " where a " +
                              required->m_lpszClassName + " is required");
}

// ---- life ----

void CSyntaxTree::Clear() {
  m_capturing = false;  // an object's list made meanwhile is its storing's to free
  EndFilling();
  CSynNode::DeletePtr(m_root);
  m_root = nullptr;
  m_shared.ForEach([](zel_sxf::SharedTable::Entry& e) { CSynNode::DeletePtr(e.node); });
  m_shared.Clear();
  m_sharedIndex.clear();
  for (auto& [name, tag] : m_classTags) CSynNode::DeletePtr(tag);
  m_classTags.clear();
  m_lastClass = nullptr;
  m_lastTag = nullptr;
  for (CSynRef* ref : m_useRefs) CSynNode::DeletePtr(ref);
  m_useRefs.clear();
  for (CSynNode* node : m_madeNodes) CSynNode::DeletePtr(node);
  m_madeNodes.clear();
  m_madeAt = nullptr;
  m_tape.reset();
  m_posStack.clear();
  m_sharedTags.RemoveAll();
  m_curList = nullptr;
  m_pos = nullptr;
  m_progressCount = -1;
  m_progressStep = 0;
  ResetLineState();
}

void CSyntaxTree::ResetLineState() {
  m_file = nullptr;
  m_rawWrites = false;
  m_out = nullptr;
  m_prefix.Empty();
  m_width = 0;
  m_line.Empty();
  m_cursor = 0;
}

void CSyntaxTree::Serialize(CZelTextFile* file, int loading, const char* prefix, int width) {
  if (loading) {
    Clear();
    m_file = file;
    m_prefix = prefix;
    m_width = width;
    m_linesRead = 0;
    m_rootBegun = false;
    try {
      // Comments up to here come before the root.
      const bool list = SkipWhitespace() == '(';
      m_rootBegun = true;
      if (!list) {
        // Whatever else it is, it is read whole before it is refused.
        CSynNode::DeletePtr(ReadSynNode());
        ThrowBadClassException();
      }
      m_tape = std::make_unique<Tape>();
      m_tape->ReadList(*this, -1);
    } catch (...) {
      m_stopLine = m_linesRead;
      m_stopColumn = m_line.IsEmpty() ? 0 : std::clamp(m_cursor, 1, m_line.GetLength());
      Clear();
      throw;
    }
    m_stopLine = m_linesRead;
    m_stopColumn = 0;
    ResetLineState();
    return;
  }
  if (m_filling) {
    try {
      PrintFilled(file);
    } catch (...) {
      ResetLineState();
      throw;
    }
    ResetLineState();
    return;
  }
  std::string out;
  out.reserve(kWriteChunk + kLineSize);
  try {
    m_file = file;
    m_prefix = prefix;
    m_width = width;
    m_line.Empty();
    m_out = &out;
    m_rawWrites = WritesRaw(file);
    PrintTree(m_rawWrites ? "\r\n" : "\n");
    WriteOut(true);
  } catch (...) {
    ResetLineState();
    throw;
  }
  ResetLineState();
}

void CSyntaxTree::Serialize(CZelBinaryFile*, int) {}

CSynList* CSyntaxTree::GetRoot() const {
  if (!m_root && m_tape) {
    // Made once, on the first request: the tree is not const to the tape's nodes.
    auto& self = const_cast<CSyntaxTree&>(*this);
    self.m_root = static_cast<CSynList*>(m_tape->Materialise(self, m_tape->Start()));
  }
  return m_root;
}

void CSyntaxTree::PrintToString(std::string& out, const char* prefix, int width,
                                const char* lineEnd) {
  try {
    m_file = nullptr;
    m_prefix = prefix;
    m_width = width;
    m_line.Empty();
    m_out = &out;
    PrintTree(lineEnd);
  } catch (...) {
    ResetLineState();
    throw;
  }
  ResetLineState();
}

void CSyntaxTree::PrintTree(const char* lineEnd) {
  m_lineEnd = lineEnd ? lineEnd : "";
  WritePendingComments();
  if (CSynList* root = GetRoot()) {
    root->Output(*this, 0);
    FlushCurrentLine(0);
  }
}

void CSyntaxTree::WritePendingComments() {
  while (!m_pendingComments.IsEmpty()) {
    CString text = m_pendingComments.RemoveHead();
    WriteCommentLine(text);
  }
}

void CSyntaxTree::WriteOut(bool force) {
  if (!m_out || m_out->empty()) return;
  if (!force && m_out->size() < kWriteChunk) return;
  if (!m_file) {
    // Printing while filling: the text waits for Serialize.
    if (m_filling && m_out == &m_filling->out) {
      m_filling->Keep(*m_out);
      m_out->clear();
    }
    return;
  }
  WriteText(*m_out);
  m_out->clear();
}

void CSyntaxTree::WriteText(std::string_view text) {
  if (m_rawWrites) {
    m_file->CheckOutFilePtr()->Write(text.data(), static_cast<UINT>(text.size()));
    m_file->CheckInFilePtr();
  } else {
    m_file->WriteString(std::string(text).c_str());
  }
}

// ---- printing while filling ----

void CSyntaxTree::PrintWhileFilling(CZelTextFile* file, const char* prefix, int width) {
  if (m_loading || !m_root || m_posStack.empty()) ThrowGenericException();
  m_filling = std::make_unique<Filling>(*this, m_root);
  // The line state is the printer's until the text is written: comments added meanwhile
  // are queued, as without a file.
  m_prefix = prefix;
  m_width = width;
  m_line.Empty();
  m_out = &m_filling->out;
  m_out->reserve(kWriteChunk + kLineSize);
  // Asked again when the text is written; a file whose kind changed meanwhile gets its
  // line ends mended then.
  m_lineEnd = m_filling->lineEnd = file && file->GetLineCnt() < 0 ? "\r\n" : "\n";
}

void CSyntaxTree::EndFilling() {
  if (!m_filling) return;
  m_filling.reset();
  ResetLineState();
}

void CSyntaxTree::AdvanceFilling() {
  Filling& f = *m_filling;
  if (f.printed) return;
  if (m_curList || !m_posStack.empty()) {
    auto open = [](const void* context, const CSynList* list) {
      const auto* tree = static_cast<const CSyntaxTree*>(context);
      if (list == tree->m_curList) return true;
      for (const auto& saved : tree->m_posStack)
        if (saved.first == list) return true;
      return false;
    };
    f.printer.Run(open, this, f.filled);
    return;
  }
  f.printer.Run();  // nothing is open: the rest goes out
  FlushCurrentLine(0);
  WriteOut(true);
  f.printed = true;
}

void CSyntaxTree::PrintFilled(CZelTextFile* file) {
  if (m_curList || !m_posStack.empty()) ThrowGenericException();  // not ended
  AdvanceFilling();
  const std::unique_ptr<Filling> f = std::move(m_filling);
  m_file = file;
  std::string out;
  m_out = &out;
  m_rawWrites = WritesRaw(file);
  m_lineEnd = m_rawWrites ? "\r\n" : "\n";
  WritePendingComments();
  WriteOut(true);
  const bool mend = m_lineEnd != f->lineEnd;
  for (Filling::Chunk& chunk : f->chunks) {
    const std::string_view text(chunk.data, chunk.size);
    if (mend) {
      for (char c : text) {
        if (c == '\r') continue;
        if (c == '\n' && m_rawWrites) out += '\r';
        out += c;
      }
      WriteOut(true);
    } else if (m_file) {
      WriteText(text);
    }
    zel_memory::FreeLargeChunk(chunk.data);
    chunk = {};
  }
  WriteOut(true);
}

void CSyntaxTree::DisplayProgressStatus(int step) {
  if (step >= 1) {
    m_progressCount = 0;
    m_progressStep = step;
  } else {
    m_progressCount = -1;
    m_progressStep = 0;
  }
}

// ---- lines ----

void CSyntaxTree::FlushCurrentLine(int indent) {
  if (m_out) {
    std::string& out = *m_out;
    if (!m_prefix.IsEmpty()) out += m_prefix.str();
    out += m_line.str();
    out += m_lineEnd;
    if (out.size() >= kWriteChunk) WriteOut(false);
  } else if (m_file) {
    m_file->WriteLine(m_prefix + m_line);
  }
  if (indent > 0)
    m_line.str().assign(static_cast<size_t>(indent), ' ');
  else
    m_line.Empty();
}

void CSyntaxTree::AddCommentLine(const char* text) {
  if (!m_filling && (m_file || m_out))
    WriteCommentLine(text);
  else
    m_pendingComments.AddTail(CString(text));
}

void CSyntaxTree::WriteCommentLine(const char* text) {
  const char* s = text ? text : "";
  const char* lf = std::strchr(s, '\n');
  m_line.str().append(";; ");
  m_line.str().append(s, lf ? static_cast<size_t>(lf - s) : std::strlen(s));
  FlushCurrentLine(0);
}

void CSyntaxTree::ReadNextLine() {
  // Lines are read whole, whatever their length: the writer never breaks a string, so a
  // long one makes a long line, and reading it in pieces would cut the string. Each piece
  // comes from the file's own line reader, so line ends and line counting are those of
  // every other reader; a piece ends at a NUL byte, as the C string it is.
  if (!m_file || !m_file->ReadLine(m_line, kLineSize)) {
    m_line.Empty();
    m_cursor = 0;
    ThrowEndOfFileException();
  }
  constexpr size_t kFullPiece = kLineSize - 2;  // a piece this long carried no line end
  std::string& line = m_line.str();
  bool full = line.size() == kFullPiece;
  line.resize(std::min(line.size(), line.find('\0')));
  while (full && m_file->ReadLine(m_piece, kLineSize)) {
    const std::string_view piece = m_piece.view();
    full = piece.size() == kFullPiece;
    line.append(piece.substr(0, piece.find('\0')));
  }
  m_cursor = 0;
  ++m_linesRead;
  if (!m_prefix.IsEmpty()) {
    if (m_line.view().substr(0, static_cast<size_t>(m_prefix.GetLength())) != m_prefix.view()) {
      m_line.Empty();
      ThrowEndOfFileException();
    }
    m_cursor = m_prefix.GetLength();
  }
}

void CSyntaxTree::LogComment() {
  if (m_rootBegun) {
    ++m_commentLog->insideRoot;
    return;
  }
  std::string_view text = m_line.view().substr(static_cast<size_t>(m_cursor));
  text.remove_prefix(std::min(text.find_first_not_of(';'), text.size()));
  if (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  m_commentLog->beforeRoot.emplace_back(text);
}

int CSyntaxTree::ReadToken(int (*isTokenChar)(int c, int first), char* buffer, int size) {
  const char* s = m_line.GetString();
  const int len = m_line.GetLength();
  int end = m_cursor;
  while (end < len && isTokenChar(static_cast<unsigned char>(s[end]), end == m_cursor)) ++end;
  int n = end - m_cursor;
  if (n >= size) ThrowBadTokenException(s[m_cursor]);
  std::memcpy(buffer, s + m_cursor, static_cast<size_t>(n));
  buffer[n] = '\0';
  m_cursor = end;
  return n;
}

CSynNode* CSyntaxTree::ReadSynNode() {
  int c = SkipWhitespace();
  if (c == '"') return CSynStr::InputPtr(*this);
  if (c == '#') return CSynRef::InputPtr(*this);
  if (c == '(') return CSynList::InputPtr(*this, -1);
  if (CSynNum::IsTokenChar(c, 1)) return CSynNum::InputPtr(*this);
  if (CSynTag::IsTokenChar(c, 1)) return CSynTag::InputPtr(*this);
  ThrowBadTokenException(c);
}

// ---- exchange ----

void CSyntaxTree::StartExchange(int loading) {
  EndFilling();
  if (loading) {
    if (!m_posStack.empty() || (!m_root && !m_tape)) ThrowGenericException();
    // A tree read from a file is walked in its tape, one built by storing in its nodes.
    if (m_tape)
      OpenTapeList(m_tape->Start());
    else
      OpenList(m_root);
    if (*TakeTag() != kHeaderTag) ThrowBadSchemaException();
    m_lastTag = nullptr;  // LoadPointer's memo starts empty
    m_lastClass = nullptr;
  } else {
    Clear();
    m_root = CSynList::NewPtr();
    OpenList(m_root);
    m_root->AddNew(CSynTag::NewPtr(kHeaderTag));
  }
  m_loading = loading ? 1 : 0;
}

void CSyntaxTree::EndExchange() {
  LeaveList();
  if (!m_posStack.empty()) ThrowGenericException();
  m_curList = nullptr;
  m_pos = nullptr;
}

void CSyntaxTree::SavePos() { m_posStack.emplace_back(m_curList, m_pos); }

void CSyntaxTree::BackToDepth(size_t depth) {
  if (m_posStack.size() <= depth) return;
  m_curList = m_posStack[depth].first;
  m_pos = m_posStack[depth].second;
  m_posStack.resize(depth);
}

void CSyntaxTree::RestorePos() {
  if (m_posStack.empty()) ThrowGenericException();
  m_curList = m_posStack.back().first;
  m_pos = m_posStack.back().second;
  m_posStack.pop_back();
}

void CSyntaxTree::OpenList(CSynList* list) {
  SavePos();
  m_curList = list;
  m_pos = list->GetHeadPosition();
}

void CSyntaxTree::OpenList() {
  if (m_loading) {
    if (m_curList || !m_pos) {
      OpenList(GetNextList());
      return;
    }
    // Taken before it is checked, as GetNextList takes a node.
    const uint64_t* p = StepTape();
    if (Tape::KindAt(p) != Tape::kList) ThrowBadClassException();
    OpenTapeList(p);
  } else {
    if (m_capturing) AbandonCapture();
    CSynList* list = CSynList::NewPtr();
    PutNextNode(list);
    OpenList(list);
  }
}

void CSyntaxTree::LeaveList() {
  if (m_capturing) AbandonCapture();
  RestorePos();
  if (m_filling) AdvanceFilling();
}

CSynNode* CSyntaxTree::PeekNextNode() {
  if (!m_pos) ThrowEndOfFileException();
  if (!m_curList) return NodeOfTapeElement();
  return m_curList->GetAt(m_pos);
}

CSynNode* CSyntaxTree::GetNextNode() {
  if (!m_pos) ThrowEndOfFileException();
  if (!m_curList) {
    CSynNode* node = NodeOfTapeElement();
    StepTape();
    return node;
  }
  return m_curList->GetNext(m_pos);
}

const CRuntimeClass* CSyntaxTree::PeekNextNodeType() {
  if (!m_pos) ThrowEndOfFileException();
  if (!m_curList) return Tape::ClassAt(TapeAt());
  return m_curList->GetAt(m_pos)->GetRuntimeClass();
}

void CSyntaxTree::SkipNextNode() {
  if (!m_pos) ThrowEndOfFileException();
  if (!m_curList)
    StepTape();
  else
    m_curList->GetNext(m_pos);
}

// ---- the tape walk ----

void CSyntaxTree::OpenTapeList(const uint64_t* list) {
  SavePos();
  m_curList = nullptr;
  TapeGoTo(Tape::FirstOf(list));
}

CSynTag* CSyntaxTree::TakeTag() {
  if (!m_pos) ThrowEndOfFileException();
  if (m_curList) return GetNextTag();
  // Taken before it is checked, as the node getters take a node.
  const uint64_t* p = StepTape();
  if (Tape::KindAt(p) != Tape::kTag) ThrowBadClassException();
  return m_tape->Tag(p);
}

std::string_view CSyntaxTree::TakeString() {
  if (!m_pos) ThrowEndOfFileException();
  if (m_curList) return GetNextStr()->View();
  const uint64_t* p = StepTape();
  const Tape::Kind kind = Tape::KindAt(p);
  if (kind != Tape::kStr && kind != Tape::kBigStr) ThrowBadClassException();
  return m_tape->Str(p);
}

CSynNode* CSyntaxTree::NodeOfTapeElement() {
  const uint64_t* p = TapeAt();
  if (m_madeAt != p) {
    m_madeNodes.reserve(m_madeNodes.size() + 1);
    m_madeNodes.push_back(m_tape->Materialise(*this, p));
    m_madeAt = p;
  }
  return m_madeNodes.back();
}

void CSyntaxTree::OpenDefinition(int index) {
  const zel_sxf::SharedTable::Entry* e = m_shared.Find(index);
  if (e && e->tape) {
    OpenTapeList(e->tape);
    return;
  }
  CSynNode* definition = e ? e->node : nullptr;
  if (!definition || !definition->IsKindOf(RUNTIME_CLASS(CSynList))) ThrowBadIndexException();
  OpenList(static_cast<CSynList*>(definition));
}

CSynNum* CSyntaxTree::GetNextNum() {
  CSynNode* node = GetNextNode();
  if (!IsNode(node, RUNTIME_CLASS(CSynNum))) ThrowBadClassException();
  return static_cast<CSynNum*>(node);
}

CSynList* CSyntaxTree::GetNextList() {
  CSynNode* node = GetNextNode();
  if (!IsNode(node, RUNTIME_CLASS(CSynList))) ThrowBadClassException();
  return static_cast<CSynList*>(node);
}

CSynStr* CSyntaxTree::GetNextStr() {
  CSynNode* node = GetNextNode();
  if (!IsNode(node, RUNTIME_CLASS(CSynStr))) ThrowBadClassException();
  return static_cast<CSynStr*>(node);
}

CSynTag* CSyntaxTree::GetNextTag() {
  CSynNode* node = GetNextNode();
  if (!IsNode(node, RUNTIME_CLASS(CSynTag))) ThrowBadClassException();
  return static_cast<CSynTag*>(node);
}

int CSyntaxTree::GetNextListOrRef(CSynList*& list, CSynRef*& ref) {
  list = nullptr;
  ref = nullptr;
  CSynNode* node = GetNextNode();
  if (IsNode(node, RUNTIME_CLASS(CSynList))) {
    list = static_cast<CSynList*>(node);
    return 1;
  }
  if (IsNode(node, RUNTIME_CLASS(CSynRef))) {
    ref = static_cast<CSynRef*>(node);
    return 0;
  }
  ThrowBadClassException();
}

void CSyntaxTree::PutNextNode(CSynNode* node) {
  if (m_capturing) AbandonCapture();
  if (!m_curList) {
    CSynNode::DeletePtr(node);
    ThrowGenericException();
  }
  m_curList->AddNew(node);
  CountStored();
  // Printing while filling goes on as lists close, and every so many nodes, for a long
  // list of atoms.
  if (m_filling && (m_filling->filled & 1023) == 0) AdvanceFilling();
}

void CSyntaxTree::ExchangeFixedTag(const char* name) {
  if (m_loading) {
    if (*TakeTag() != name) ThrowBadClassException();
  } else if (m_capturing) {
    CaptureTag(name ? name : "");
  } else {
    PutNextNode(CSynTag::NewPtr(name));
  }
}

namespace {
// A number of the tape converted as CSynNum's conversion operators convert its node; a
// whole number or a decimal read as a double needs no more than its word.
template <typename T>
T Converted(const uint64_t* p) {
  if (Tape::KindAt(p) == Tape::kInt) {
    const auto whole = static_cast<int32_t>(Tape::High(p));
    if constexpr (std::is_floating_point_v<T>)
      return static_cast<T>(static_cast<double>(whole));
    else if constexpr (std::is_signed_v<T> || std::is_same_v<T, char>)
      return static_cast<T>(whole);
    else
      return static_cast<T>(static_cast<uint32_t>(whole));
  }
  if constexpr (std::is_floating_point_v<T>) {
    if (Tape::KindAt(p) == Tape::kDec) return static_cast<T>(std::bit_cast<double>(p[1]));
  }
  const zel_sxf::read_detail::NumValue n = Tape::Num(p);
  if constexpr (std::is_floating_point_v<T>)
    return static_cast<T>(n.real);
  else if constexpr (std::is_signed_v<T> || std::is_same_v<T, char>)
    return static_cast<T>(n.whole);
  else
    return static_cast<T>(n.bits);
}
}  // namespace

template <typename T>
void CSyntaxTree::ExchangeNumber(T& v) {
  if (!m_loading) {
    if (m_capturing)
      CaptureNumber(v);
    else
      PutNextNode(CSynNum::NewPtr(v));
    return;
  }
  if (m_curList || !m_pos) {
    v = static_cast<T>(*GetNextNum());
    return;
  }
  const uint64_t* p = StepTape();
  const Tape::Kind kind = Tape::KindAt(p);
  if (kind != Tape::kInt && kind != Tape::kDec && kind != Tape::kNum) ThrowBadClassException();
  v = Converted<T>(p);
}

void CSyntaxTree::Exchange(char& v) { ExchangeNumber(v); }
void CSyntaxTree::Exchange(short& v) { ExchangeNumber(v); }
void CSyntaxTree::Exchange(int& v) { ExchangeNumber(v); }
void CSyntaxTree::Exchange(long& v) { ExchangeNumber(v); }
void CSyntaxTree::Exchange(unsigned char& v) { ExchangeNumber(v); }
void CSyntaxTree::Exchange(unsigned short& v) { ExchangeNumber(v); }
void CSyntaxTree::Exchange(unsigned int& v) { ExchangeNumber(v); }
void CSyntaxTree::Exchange(unsigned long& v) { ExchangeNumber(v); }
void CSyntaxTree::Exchange(float& v) { ExchangeNumber(v); }
void CSyntaxTree::Exchange(double& v) { ExchangeNumber(v); }

void CSyntaxTree::Exchange(CString& v) {
  if (m_loading) {
    // Cleared and appended: a loaded member is usually empty, and appending skips the
    // checks of overlapping text that assigning makes (the node's text is never v's).
    const std::string_view text = TakeString();
    std::string& s = v.str();
    s.clear();
    s.append(text.data(), text.size());
  } else if (m_capturing) {
    CaptureString(v);
  } else {
    PutNextNode(CSynStr::NewPtr(v));
  }
}

// ---- objects ----

void CSyntaxTree::ExchangePointer(CObject*& object, CZelArchive& ar, int shared) {
  if (m_loading)
    object = LoadPointer(nullptr, ar);
  else
    StorePointer(object, ar, shared);
}

void CSyntaxTree::StorePointer(const CObject* object, CZelArchive& ar, int shared) {
  if (m_loading) ThrowException(CArchiveException::readOnly);
  if (!object) {
    if (m_capturing)
      CaptureTag(kNilTag);
    else
      PutNextNode(CSynTag::NewPtr(kNilTag));
    return;
  }
  int index;
  if (shared && LookupShared(object, index)) {
    if (m_capturing)
      CaptureUse(index);
    else
      PutNextNode(UseRef(index));
    return;
  }
  if (m_capturing) AbandonCapture();  // an object inside: its list needs nodes
  // The last class stored, its serialize function and tag, while the registry is unchanged.
  const CRuntimeClass* cls = object->GetRuntimeClass();
  if (cls != m_lastClass || ZEL_RTTI_LINK::proot != m_lastRegistry) {
    ZelSerializeFn found = nullptr;
    CString name;
    if (!ZEL_RTTI_LINK::Find(cls, found, name)) ThrowUnregisteredClassException(cls);
    CSynTag* tag = ClassTag(name);
    CSynNode::DeletePtr(tag);  // ClassTag's reference for a use; the table keeps its own
    m_lastClass = cls;
    m_lastRegistry = ZEL_RTTI_LINK::proot;
    m_lastSerialize = found;
    m_lastTag = tag;
  }
  ZelSerializeFn serialize = m_lastSerialize;
  if (m_filling && !shared) {
    StoreAsText(object, serialize, ar);
    return;
  }
  CSynList* list = CSynList::NewPtr();
  const size_t depth = m_posStack.size();
  try {
    OpenList(list);
    if (shared) index = AddShared(object, list);
    ++m_lastTag->m_refs;
    PutNextNode(m_lastTag);
    serialize(const_cast<CObject*>(object), ar);
    RestorePos();  // not LeaveList: the list is printable only once it is in the tree
    list->FitToCount();
  } catch (...) {
    // Back to where this object began; a list the table does not own is ours to free.
    BackToDepth(depth);
    if (!shared) CSynNode::DeletePtr(list);
    throw;
  }
  if (shared)
    PutNextNode(CSynRef::NewPtr(index, list));
  else
    PutNextNode(list);
  if (m_filling) AdvanceFilling();
}

CSynTag* CSyntaxTree::ClassTag(const char* name) {
  CSynTag*& tag = m_classTags[name];
  if (!tag) tag = CSynTag::NewPtr(name);  // the table's own reference
  ++tag->m_refs;
  return tag;
}

CSynRef* CSyntaxTree::UseRef(int index) {
  if (static_cast<size_t>(index) >= m_useRefs.size())
    m_useRefs.resize(static_cast<size_t>(index) + 1);
  CSynRef*& ref = m_useRefs[static_cast<size_t>(index)];
  if (!ref) ref = CSynRef::NewPtr(index, nullptr);  // the table's own reference
  ++ref->m_refs;
  return ref;
}

CObject* CSyntaxTree::LoadPointer(const CRuntimeClass* required, CZelArchive& ar) {
  if (!m_loading) ThrowException(CArchiveException::writeOnly);
  if (!m_pos) ThrowEndOfFileException();
  const size_t depth = m_posStack.size();
  int index = -1;
  bool byIndex = false;        // a reference: the object of a shared index
  CSynList* parent = nullptr;  // where the object's own list lies, to free it once read
  POSITION place = nullptr;
  if (!m_curList) {
    // In the tape: a list, a shared index's definition or use, or Nil.
    const uint64_t* p = TapeAt();
    const Tape::Kind kind = Tape::KindAt(p);
    if (kind == Tape::kTag && *m_tape->Tag(p) != kNilTag) ThrowBadClassException();
    StepTape();
    if (kind == Tape::kTag) return nullptr;
    if (kind == Tape::kList) {
      OpenTapeList(p);
    } else if (kind == Tape::kDef || kind == Tape::kUse) {
      byIndex = true;
      index = static_cast<int>(Tape::High(p));
    } else {
      ThrowBadClassException();
    }
  } else {
    CSynNode* next = PeekNextNode();
    // One class query answers the usual nodes here, a list or a reference; only another
    // class is asked about its bases.
    const CRuntimeClass* nextClass = next->GetRuntimeClass();
    const bool listOrRef =
        nextClass == RUNTIME_CLASS(CSynList) || nextClass == RUNTIME_CLASS(CSynRef);
    if (!listOrRef && IsNode(next, RUNTIME_CLASS(CSynTag))) {
      if (*static_cast<CSynTag*>(next) != kNilTag) ThrowBadClassException();
      SkipNextNode();
      return nullptr;
    }
    if (nextClass == RUNTIME_CLASS(CSynRef) ||
        (nextClass != RUNTIME_CLASS(CSynList) && next->IsKindOf(RUNTIME_CLASS(CSynRef)))) {
      SkipNextNode();
      byIndex = true;
      index = static_cast<CSynRef*>(next)->GetIndex();
    } else {
      parent = m_curList;
      place = m_pos;
      OpenList();
    }
  }
  if (byIndex) {
    // A shared index: its object once made, else the list that defines it.
    const zel_sxf::SharedTable::Entry* e = m_shared.Find(index);
    if (e && e->object) return e->object;
    OpenDefinition(index);
  }
  CObject* object = nullptr;
  try {
    CSynTag* tag = TakeTag();
    // A file read whole holds one node per tag name, so the node itself keys the last
    // class found, while the registry is unchanged; the store-side fields serve here.
    if (tag != m_lastTag || ZEL_RTTI_LINK::proot != m_lastRegistry) {
      const CRuntimeClass* found = nullptr;
      ZelSerializeFn foundSerialize = nullptr;
      if (!ZEL_RTTI_LINK::Find(tag->Name(), found, foundSerialize))
        ThrowUnknownTagException(tag->Name());
      m_lastTag = tag;
      m_lastRegistry = ZEL_RTTI_LINK::proot;
      m_lastClass = found;
      m_lastSerialize = foundSerialize;
    }
    const CRuntimeClass* cls = m_lastClass;
    ZelSerializeFn serialize = m_lastSerialize;
    if (required && cls != required && !cls->IsDerivedFrom(required))
      ThrowWrongClassException(cls, required);
    object = cls->CreateObject();
    if (!object) ThrowNotCreatableException(cls, tag->Name());
    if (!IsNode(object, cls)) {
      delete object;
      object = nullptr;
      ThrowBadClassException();
    }
    // Known before its members are read, so that references from inside resolve to it.
    if (index >= 0) SetSharedObject(index, object);
    serialize(object, ar);
    LeaveList();
    if (parent) {
      // In a tree of nodes (one stored, then walked back) a walk reads each object once
      // and never goes back, so the object's list is freed as soon as the object is made,
      // and the pool's chunks go back for the objects to use. Its place holds a Nil that
      // is never freed. (A shared definition stays: the table owns it.)
      static CSynTag consumed(kNilTag);
      consumed.m_refs = 1u << 31;  // no count of places reaches it
      CSynNode* list = parent->ReplaceAt(CSynList::IndexOf(place), &consumed);
      zel_sxf::PoolReleaseScope release;
      CSynNode::DeletePtr(list);
    }
  } catch (...) {
    // The caller never sees a half-loaded object.
    if (object) {
      zel_sxf::SharedTable::Entry* e = m_shared.Find(index);
      if (e && e->object == object) {
        e->object = nullptr;
        m_sharedIndex.erase(object);
      }
      delete object;
    }
    BackToDepth(depth);
    throw;
  }
  return object;
}

// ---- shared table ----

BOOL CSyntaxTree::GetShared(int index, CObject*& object, CSynNode*& node) const {
  const zel_sxf::SharedTable::Entry* e = m_shared.Find(index);
  if (e && !e->node && e->tape && m_tape) {
    // Made once, on the first request, as GetRoot makes the root.
    auto& self = const_cast<CSyntaxTree&>(*this);
    CSynNode::DeletePtr(m_tape->Materialise(self, e->tape - 1));  // the `#n=` before it
    e = m_shared.Find(index);
  }
  object = e ? e->object : nullptr;
  node = e ? e->node : nullptr;
  return object != nullptr;
}

void CSyntaxTree::InternNewSharedNode(int index, CSynNode* node) {
  if (index < 0 || index > kMaxSharedIndex) ThrowBadIndexException();
  zel_sxf::SharedTable::Entry& e = m_shared.At(index);
  if (e.node || e.tape) ThrowBadIndexException();
  e.node = node;
  e.object = nullptr;
}

void CSyntaxTree::InternNewSharedList(int index, const uint64_t* list) {
  if (index < 0 || index > kMaxSharedIndex) ThrowBadIndexException();
  zel_sxf::SharedTable::Entry& e = m_shared.At(index);
  if (e.node || e.tape) ThrowBadIndexException();
  e.tape = list;
  e.object = nullptr;
}

void CSyntaxTree::SetSharedObject(int index, CObject* object) {
  if (index < 0 || index >= m_shared.Length()) ThrowBadIndexException();
  m_shared.At(index).object = object;
  if (object) {
    auto [it, added] = m_sharedIndex.try_emplace(object, index);
    if (!added && it->second > index) it->second = index;
  }
}

BOOL CSyntaxTree::LookupShared(const CObject* object, int& index) const {
  // The index map stands in for a search of the shared objects: every write to the table
  // updates it, and a hit is checked against the table itself.
  auto it = m_sharedIndex.find(object);
  if (it == m_sharedIndex.end()) return FALSE;
  const zel_sxf::SharedTable::Entry* e = m_shared.Find(it->second);
  if (!e || e->object != object) return FALSE;
  index = it->second;
  return TRUE;
}

int CSyntaxTree::AddShared(const CObject* object, CSynNode* node) {
  int index = m_shared.Length();
  zel_sxf::SharedTable::Entry& e = m_shared.At(index);
  e.node = node;
  e.object = const_cast<CObject*>(object);
  if (object) m_sharedIndex.try_emplace(object, index);
  return index;
}

CSynTag* CSyntaxTree::LookupSharedTag(const char* name) const {
  CObject* tag = nullptr;
  return m_sharedTags.Lookup(name, tag) ? static_cast<CSynTag*>(tag) : nullptr;
}

void CSyntaxTree::AddSharedTag(const char* name, CSynTag* tag) { m_sharedTags.SetAt(name, tag); }

void CSyntaxTree::RemoveSharedTag(const char* name) { m_sharedTags.RemoveKey(name); }
