/// \class CSyntaxTree
/// CSyntaxTree: reads a whole structured text file into a tree of syntax nodes, lets a caller
/// take values out of it or put values into it through the exchange interface, and prints
/// a tree back to a file, wrapped to a line width. A file is read into a compact tape of
/// its elements, which the exchange walks; the nodes of a tree read are made from the tape
/// when first asked for (GetRoot, GetShared, the protected node getters). It also keeps the table
/// of shared nodes and objects (`#n=` definitions and `#n#` uses) and the line buffer with its
/// prefix.
///
/// Every fault raises CArchiveException: generic (1) for syntax faults, a truncated file
/// and unbalanced lists; read-only (2) / write-only (4) for the wrong direction; bad index
/// (5) for shared indexes; bad class (6) for a node of the wrong kind or an unknown class;
/// bad schema (7) for a wrong header. A fault while reading a file leaves the tree cleared.
/// Trees share process-wide scratch buffers: one thread at a time for all trees.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "ZelExport.h"
#include "platform/base/collections/Collections.h"
#include "platform/base/exceptions/Exceptions.h"
#include "platform/base/object/Object.h"
#include "platform/base/string/String.h"
#include "serialization/SharedTable.h"
#include "serialization/SynNode.h"

class CZelArchive;
struct ZEL_RTTI_LINK;
using ZelSerializeFn = void (*)(void* object, CZelArchive& ar);
class CZelTextFile;
class CZelBinaryFile;
namespace zel_sxf {
class Tape;
}

class ZEL_API CSyntaxTree : public CObject {
  DECLARE_DYNAMIC(CSyntaxTree)
 public:
  static constexpr const char* kHeaderTag = "SXF";
  static constexpr const char* kNilTag = "Nil";
  /// The size the text file's line reader is asked for; a longer line comes in several
  /// pieces, which the tree joins.
  static constexpr int kLineSize = 8192;

  CSyntaxTree();
  ~CSyntaxTree() override;
  CSyntaxTree(const CSyntaxTree&) = delete;
  CSyntaxTree& operator=(const CSyntaxTree&) = delete;

  /// Frees every node, empties the shared tables and resets the line state.
  void Clear();
  /// Reads the whole tree from file (loading non-zero) or prints it to file. A null
  /// prefix means none.
  void Serialize(CZelTextFile* file, int loading, const char* prefix, int width);
  /// There is no binary form of the tree: does nothing.
  void Serialize(CZelBinaryFile* file, int loading);
  /// Prints the tree as Serialize(file, 0, ...) would, into out, with the given line end.
  void PrintToString(std::string& out, const char* prefix, int width, const char* lineEnd = "\r\n");
  /// Storing, after StartExchange(0): prints the tree while it is filled, with this prefix
  /// and width, and frees each part once printed, so that a large tree is never held whole;
  /// Serialize(file, 0, ...) then prints the rest and writes it all, with the prefix and
  /// width given here. The text waits in memory until then, so nothing reaches the file
  /// before. For callers that do not read the stored tree back (GetRoot lacks what is
  /// printed); StartExchange and Clear end it.
  void PrintWhileFilling(CZelTextFile* file, const char* prefix, int width);
  /// step >= 1: show "Item %ld" every step stored nodes; otherwise off.
  void DisplayProgressStatus(int step);

  /// Comments met while reading, for a reformatter that keeps what it can: the text of
  /// each comment before the root (what follows its semicolons and one blank) and the
  /// number of comments inside it. The log given is filled by every later reading and
  /// must outlive it; null stops logging.
  struct CommentLog {
    std::vector<std::string> beforeRoot;
    long insideRoot = 0;
  };
  void LogComments(CommentLog* log) { m_commentLog = log; }

  /// The root list (null before reading or storing). A tree read from a file is held in a
  /// compact form its exchange walks; its nodes are made when first asked for here.
  CSynList* GetRoot() const;
  /// Where the last reading stopped, for people: the number of the line read last (from 1;
  /// 0 when none was) and the column (from 1) of the last character read in it, 0 at the
  /// end of the file. Kept until the next reading.
  int StopLine() const { return m_stopLine; }
  int StopColumn() const { return m_stopColumn; }

  /// Exchange.
  void StartExchange(int loading);
  void EndExchange();
  int IsLoading() const { return m_loading; }
  BOOL AtEnd() const { return m_pos == nullptr; }
  void OpenList();
  void LeaveList();
  void ExchangeFixedTag(const char* name);
  void Exchange(char& v);
  void Exchange(short& v);
  void Exchange(int& v);
  void Exchange(long& v);
  void Exchange(unsigned char& v);
  void Exchange(unsigned short& v);
  void Exchange(unsigned int& v);
  void Exchange(unsigned long& v);
  void Exchange(float& v);
  void Exchange(double& v);
  void Exchange(CString& v);
  void ExchangePointer(CObject*& object, CZelArchive& ar, int shared);
  CObject* LoadPointer(const CRuntimeClass* required, CZelArchive& ar);
  void StorePointer(const CObject* object, CZelArchive& ar, int shared);
  /// The run-time class of the next node (end of file when there is none).
  const CRuntimeClass* PeekNextNodeType();
  void SkipNextNode();

  /// Shared table.
  /// Both entries of index (the node made when a tree read from a file is first asked for
  /// it); answers whether the object is known.
  BOOL GetShared(int index, CObject*& object, CSynNode*& node) const;
  /// Bad index unless index is defined (read as `#n=`, or interned). Inline: every `#n#`
  /// read asks.
  void CheckSharedNode(int index) const {
    const zel_sxf::SharedTable::Entry* e = m_shared.Find(index);
    if (!e || (!e->node && !e->tape)) ThrowBadIndexException();
  }
  void InternNewSharedNode(int index, CSynNode* node);
  void SetSharedObject(int index, CObject* object);
  BOOL LookupShared(const CObject* object, int& index) const;
  int AddShared(const CObject* object, CSynNode* node);
  CSynTag* LookupSharedTag(const char* name) const;
  void AddSharedTag(const char* name, CSynTag* tag);
  void RemoveSharedTag(const char* name);

  /// Lines.
  void OutputString(const char* s) { m_line.str().append(s); }
  void OutputString(const char* s, size_t n) { m_line.str().append(s, n); }
  void FlushCurrentLine(int indent);
  int CharsUsedOnLine() const { return m_line.GetLength(); }
  int CharsLeftOnLine() const { return m_width - m_line.GetLength(); }
  void AddCommentLine(const char* text);
  void WriteCommentLine(const char* text);
  void ReadNextLine();
  int SkipWhitespace() {
    for (;;) {
      const char* s = m_line.GetString();
      const int len = m_line.GetLength();
      int cursor = m_cursor;  // a local: the characters read cannot alias it
      while (cursor < len && static_cast<signed char>(s[cursor]) <= 32) ++cursor;
      m_cursor = cursor;
      if (m_cursor < len && s[m_cursor] != ';') return static_cast<unsigned char>(s[m_cursor]);
      if (m_cursor < len && m_commentLog) LogComment();
      ReadNextLine();
    }
  }
  int ReadToken(int (*isTokenChar)(int c, int first), char* buffer, int size);
  int ReadChar() {
    if (m_cursor >= m_line.GetLength()) ThrowBadTokenException('\n');
    return static_cast<unsigned char>(m_line.GetString()[m_cursor++]);
  }
  /// The character under the cursor without consuming it; -1 at the end of the line.
  int PeekChar() const {
    return m_cursor < m_line.GetLength() ? static_cast<unsigned char>(m_line.GetString()[m_cursor])
                                         : -1;
  }
  /// The unread rest of the current line, for readers that scan runs of characters.
  const char* CursorPtr() const { return m_line.GetString() + m_cursor; }
  int CharsLeftToRead() const { return m_line.GetLength() - m_cursor; }
  void Advance(int n) { m_cursor += n; }
  CSynNode* ReadSynNode();

  /// Errors.
  [[noreturn]] static void ThrowException(int cause);
  [[noreturn]] static void ThrowGenericException();
  [[noreturn]] static void ThrowEndOfFileException();
  [[noreturn]] static void ThrowBadTokenException(int c);
  [[noreturn]] static void ThrowBadIndexException();
  [[noreturn]] static void ThrowBadClassException();
  [[noreturn]] static void ThrowBadSchemaException();
  /// Bad class, with a description that names the class and the fix (GetErrorMessage).
  [[noreturn]] static void ThrowUnregisteredClassException(const CRuntimeClass* cls);
  [[noreturn]] static void ThrowUnknownTagException(const char* tag);
  [[noreturn]] static void ThrowNotCreatableException(const CRuntimeClass* cls, const char* tag);
  [[noreturn]] static void ThrowWrongClassException(const CRuntimeClass* cls,
                                                    const CRuntimeClass* required);

 protected:
  CSynNode* PeekNextNode();
  CSynNode* GetNextNode();
  CSynNum* GetNextNum();
  CSynList* GetNextList();
  CSynStr* GetNextStr();
  CSynTag* GetNextTag();
  /// 1 with list set for a list, 0 with ref set for a reference; bad class otherwise.
  int GetNextListOrRef(CSynList*& list, CSynRef*& ref);
  void PutNextNode(CSynNode* node);
  void OpenList(CSynList* list);
  void SavePos();
  void RestorePos();

 private:
  friend class zel_sxf::Tape;
  /// A tree is read and printed as text (the Serialize above), never through a binary archive.
  using CObject::Serialize;
  /// Back to the list and position saved at stack depth depth, dropping what came after:
  /// where an exchange that failed began.
  void BackToDepth(size_t depth);
  /// Defines index by a list of the tape being read, with InternNewSharedNode's checks.
  void InternNewSharedList(int index, const uint64_t* list);
  /// The walk of a tree read from a file goes through its tape: the current list is then
  /// null and the position the tape's next element (null at the end of a list).
  const uint64_t* TapeAt() const { return reinterpret_cast<const uint64_t*>(m_pos); }
  void TapeGoTo(const uint64_t* p);
  /// The tape's next element, taken: the walk goes on after it.
  const uint64_t* StepTape();
  void OpenTapeList(const uint64_t* list);
  /// The next element of the walk, taken: the node's own in a list of nodes, a word of the
  /// tape otherwise; the end of the list raises end of file.
  CSynTag* TakeTag();
  std::string_view TakeString();
  /// Opens the list that defines index, for a `#n#` whose object is not made yet.
  void OpenDefinition(int index);
  /// The node of the next element of a tape walk, made for the protected getters.
  CSynNode* NodeOfTapeElement();
  /// While the tree is printed as it is filled, an unshared object is first stored as the
  /// text it prints, without nodes; anything that text cannot hold (a list or an object
  /// inside it) turns what is captured into nodes and goes on with them
  /// (SyntaxTreeCapture.cpp).
  struct Capture;
  void StoreAsText(const CObject* object, ZelSerializeFn serialize, CZelArchive& ar);
  template <typename T>
  void CaptureNumber(T v);
  void CaptureString(const char* value);
  void CaptureTag(std::string_view name);
  void CaptureUse(int index);
  void AbandonCapture();
  CSynList* MakeCapturedList();
  /// The count of a node stored: progress display and the printer's pace.
  void CountStored();
  template <typename T>
  void ExchangeNumber(T& v);
  void ResetLineState();
  void LogComment();
  void WriteOut(bool force);
  void WriteText(std::string_view text);
  void PrintTree(const char* lineEnd);
  void PrintFilled(CZelTextFile* file);
  /// The queued comment lines, each at the top of the text, emptying the queue.
  void WritePendingComments();
  void AdvanceFilling();
  void EndFilling();

  /// The printing of a tree while it is filled (PrintWhileFilling); null otherwise.
  struct Filling;
  std::unique_ptr<Filling> m_filling;
  std::unique_ptr<Capture> m_capture;
  bool m_capturing = false;

  CSynList* m_root = nullptr;
  /// A tree read from a file (its nodes, m_root, are made from it when asked for).
  std::unique_ptr<zel_sxf::Tape> m_tape;
  /// Nodes made from the tape for the protected getters, freed by Clear; the last one
  /// peeked, so that taking it gives the same node.
  std::vector<CSynNode*> m_madeNodes;
  const uint64_t* m_madeAt = nullptr;
  zel_sxf::SharedTable m_shared;
  int m_loading = 0;
  CSynList* m_curList = nullptr;
  POSITION m_pos = nullptr;
  std::vector<std::pair<CSynList*, POSITION>> m_posStack;
  CZelTextFile* m_file = nullptr;
  CString m_prefix;
  int m_width = 0;
  CString m_line;
  CString m_piece;  ///< one piece of a line, as the file hands it over
  CStringList m_pendingComments;
  int m_cursor = 0;
  int m_linesRead = 0;
  CommentLog* m_commentLog = nullptr;
  bool m_rootBegun = false;  ///< reading has reached the root's first character
  int m_stopLine = 0;
  int m_stopColumn = 0;
  int m_progressCount = -1;
  int m_progressStep = 0;
  CMapStringToOb m_sharedTags;

  /// Where printed lines gather before they go to the file in large writes.
  std::string* m_out = nullptr;
  std::string_view m_lineEnd = "\r\n";
  bool m_rawWrites = false;
  /// Object -> first shared index, so that storing many references stays linear.
  std::unordered_map<const CObject*, int> m_sharedIndex;
  /// The tag heading each stored object, one node per class name (holding a reference).
  std::unordered_map<std::string, CSynTag*> m_classTags;
  CSynTag* ClassTag(const char* name);
  const CRuntimeClass* m_lastClass = nullptr;
  const ZEL_RTTI_LINK* m_lastRegistry = nullptr;
  ZelSerializeFn m_lastSerialize = nullptr;
  CSynTag* m_lastTag = nullptr;
  /// The use (`#n#`) of each shared index stored so far, one node each (holding a reference).
  std::vector<CSynRef*> m_useRefs;
  CSynRef* UseRef(int index);
};
