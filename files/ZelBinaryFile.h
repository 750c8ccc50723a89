/// CZelBinaryFile: a CFile that carries its file specification and opens itself in the
/// suite's fixed modes. Opens answer 0 and keep the reason; Close never throws.
#pragma once

#include "ZelExport.h"
#include "files/ZelFileBase.h"
#include "platform/base/file/File.h"

class ZEL_API CZelBinaryFile : public CFile, public CZelFileBase {
  DECLARE_DYNAMIC(CZelBinaryFile)
 public:
  CZelBinaryFile() = default;
  explicit CZelBinaryFile(const CZelFileSpec& spec) : CZelFileBase(spec) {}
  CZelBinaryFile(const CZelDirSpec& dir, const char* name, int type)
      : CZelFileBase(dir, name, type) {}

  int OpenInput();     // read only
  int OpenIO();        // read and write, existing file
  int OpenOutput();    // write only, existing file, not truncated
  int CreateOutput();  // create or truncate, write only
  /// As CreateOutput for a copy of the open file source: answers -1, with nothing
  /// truncated, when the file named is source itself under another name (a link, "."
  /// or ".."), which truncating would empty.
  int CreateOutputDistinctFrom(const CFile& source);
  int OpenRemoteInput() { return OpenInput(); }
  int CreateRemoteOutput() { return CreateOutput(); }

  void Close() override;
  void SafeClose(int report);
  void RemoteClose() { Close(); }

  /// The list form of the output chooser takes an owner window too.
  int ChooseOutput(const int* types, int count, const char* title, HWND parent) {
    return m_fileSpec.ChooseOutput(types, count, title, parent);
  }
  using CZelFileBase::ChooseOutput;

  using CZelFileBase::GetTitle;
  using CZelFileBase::Remove;
  using CZelFileBase::ReportException;

 private:
  int OpenAs(UINT flags, int input);
};
