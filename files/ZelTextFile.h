/// CZelTextFile: line-oriented text files on a file specification. Lines are read through
/// a small buffer with CR, LF and CR LF each ending a line, and written with CR LF. Without
/// a file specification, output goes to memory. Opens answer 0 and keep the reason;
/// reads and writes raise CFileException; Close and SafeClose never let one through.
#pragma once

#include <memory>
#include <vector>

#include "ZelExport.h"
#include "files/ZelFileBase.h"
#include "platform/base/file/File.h"
#include "platform/base/file/ReadAhead.h"

class ZEL_API CZelTextFile : public CObject, public CZelFileBase {
  DECLARE_DYNAMIC(CZelTextFile)
 public:
  /// Lines come out exactly as reading 200 bytes at a time would give them (a CR LF pair
  /// split between two reads is still one line end), but the file is read far ahead, in
  /// pieces large enough to go straight from the system into this buffer.
  static constexpr unsigned kReadAhead = 256 * 1024;

  CZelTextFile() = default;
  explicit CZelTextFile(const CZelFileSpec& spec) : CZelFileBase(spec) {}
  CZelTextFile(const CZelDirSpec& dir, const char* name, int type)
      : CZelFileBase(dir, name, type) {}
  ~CZelTextFile() override;
  CZelTextFile(const CZelTextFile&) = delete;
  CZelTextFile& operator=(const CZelTextFile&) = delete;

  /// Opening; each deletes a file object left from before.
  int OpenInput(unsigned flags = CFile::modeRead | CFile::shareDenyWrite);
  int OpenOutput();
  int CreateOutput();
  int AttachInput(HANDLE handle);
  /// Reads from a file object the caller opened (one that decompresses, say); 0 when one
  /// is attached already.
  int AttachInput(std::unique_ptr<CFile> file);
  int AttachOutput(HANDLE handle);
  HANDLE Detach();
  int OpenRemoteInput() { return OpenInput(0); }
  int CreateRemoteOutput() { return CreateOutput(); }

  virtual void Close();
  void SafeClose(int report);
  void RemoteClose() { Close(); }
  void Reset();
  int IsInited() const { return m_file != nullptr; }

  /// One line into buf (at most size - 1 characters, the line end stored as "\n");
  /// null at the end of the file.
  char* ReadString(char* buf, unsigned size);
  /// One line of at most 1023 characters including its "\n"; empty at the end.
  const char* ReadString(CString& s);
  /// One line without its "\n", at most size - 2 characters at a time; 0 at the end.
  int ReadLine(CString& s, int size);
  /// One line of any length without its line end; 0 at the end (s then holds a last
  /// line that had no line end).
  int ReadLineLong(CString& s);

  /// The lines from here to the end, counted as ReadLineLong would read them (a last line
  /// without its end counts too), without copying them anywhere; the file is then at its
  /// end. Progress messages appear as line reading shows them.
  long long CountLinesToEnd();

  void WriteString(const char* text);
  void WriteLine(const char* text);

  void SeekToBegin();
  void SeekToEnd();
  /// Lends the open file; in input mode its position is first set to the reading position.
  CFile* CheckOutFilePtr();
  void CheckInFilePtr();

  /// every >= 1: count lines from 0 and show "Line %ld" at each multiple; else stop counting.
  void DisplayProgressStatus(int every);
  int32_t GetLineCnt() const { return m_lineCount; }

 private:
  /// A text file is not a general file: these raise the not-supported exception.
  virtual ULONGLONG GetLength() const { return 0; }
  virtual ULONGLONG GetPosition() const;
  virtual UINT Read(void*, UINT);
  virtual ULONGLONG Seek(LONGLONG, UINT);
  virtual void SetLength(ULONGLONG);
  virtual void Write(const void*, UINT);

  void NewFileObject(CFile* file, HANDLE handle);
  int OpenNamed(UINT flags);
  void MakeReadBuffer();
  UINT Fill();
  unsigned ReadInto(char* buf, unsigned size);
  char* Scratch(unsigned size);
  void CountLines(int32_t lines);

  std::unique_ptr<ZelReadAhead> m_ahead;  ///< made when the file is opened for input
  std::vector<char> m_scratch;
  int32_t m_lineCount = -1;
  int32_t m_progressEvery = 0;
  std::unique_ptr<CFile> m_file;
  HANDLE m_hFile = CFile::hFileNull;
};
