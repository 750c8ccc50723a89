/// \class CToolData
/// CToolData: a tool as the running system keeps it: its definition (CToolDataUnit), how
/// it is run, and the tool manager that runs it. Running hands the fields to the manager,
/// whose virtual operations the application overrides.
#pragma once

#include "ZelExport.h"
#include "platform/base/collections/Collections.h"
#include "tools/ToolDataUnit.h"

class CAppTools;
class CFrameWnd;
class CZelArchive;
struct ZEL_RTTI_LINK;

class ZEL_API CToolData : public CToolDataUnit {
  DECLARE_DYNCREATE(CToolData)
 public:
  /// Run modes.
  enum { runNone = -1, runScript = 0, runShell = 1, runCommand = 2 };

  CToolData() = default;
  CToolData(const char* description, int inputType, const char* target, int runMode,
            const char* command);
  CToolData(const CToolData& other) : CToolDataUnit() { *this = other; }
  ~CToolData() override = default;
  /// Copies description, input type, target, run mode, command and produced type; the
  /// manager stays.
  const CToolData& operator=(const CToolData& other);

  /// Takes a freshly read definition; the run mode comes from the target: 0 (a script)
  /// for the extension ".ss" in any case, 1 otherwise.
  void SetData(const CToolDataUnit* unit);

  int GetRunMode() const { return m_runMode; }
  void SetRunMode(int mode) { m_runMode = mode; }
  CAppTools* GetManager() const { return m_manager; }
  void SetManager(CAppTools* manager) { m_manager = manager; }

  /// Running, through the manager; without one nothing happens (IsEnabled answers 0).
  void Execute(CFrameWnd* frame) const;
  int IsEnabled(CFrameWnd* frame) const;
  /// Starts the target with args as the whole argument string.
  void LaunchProgram(CString args) const;
  /// The list joined into one URL query: items percent-encoded whole, joined by '&'.
  void LaunchProgramWithEncodedArgs(const CStringList& args) const;
  /// The joining of LaunchProgramWithEncodedArgs.
  static CString EncodeArgs(const CStringList& args);

  /// Description, input type, target, run mode, command.
  using CObject::Serialize;
  void Serialize(CZelArchive& ar);
  static void _zel_serialize(CToolData* object, CZelArchive& ar);
  static ZEL_RTTI_LINK _zel_rtti_link;

 protected:
  int32_t m_runMode = runNone;
  CAppTools* m_manager = nullptr;
};
