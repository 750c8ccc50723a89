/// CExecCommandParams: one command string "[name(param, param, ...)]" parsed into a command
/// type and its text parameters (the array's elements). Parsing never throws; the outcome
/// is read from IsCorrect and GetCommand.
#pragma once

#include "ZelExport.h"
#include "platform/base/collections/Collections.h"

class ZEL_API CExecCommandParams : public CStringArray {
 public:
  enum CCommandType : int32_t {
    none = 0,
    dbreport = 1,
    opendbmol = 2,
    openas = 3,
    importas = 4,
    import = 5,
    savetodb = 6,
  };

  explicit CExecCommandParams(const char* text);
  ~CExecCommandParams() override = default;

  bool IsCorrect() const { return m_correct; }
  CCommandType GetCommand() const { return m_command; }
  int GetCount() const { return static_cast<int>(GetSize()); }
  /// A copy of parameter i; an index outside the array raises CInvalidArgException.
  CString operator[](int i) const;
  /// False for an index outside the array; else true, and out gets the parameter unless
  /// it is empty (then out is left as it was).
  bool GetParam(int i, CString& out) const;
  /// The word of the first table row with value t ("dbreport" for 1); "unknow" for none.
  static CString GetCommandString(CCommandType t);

 private:
  void Parse(const char* text);

  bool m_correct = false;
  CCommandType m_command = none;
};
