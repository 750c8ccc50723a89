// Tool data: copying, run modes, archiving and the hand-over to the manager.
#include "tools/ToolData.h"

#include <cstdio>
#include <cstring>

#include "serialization/ZelArchive.h"
#include "tools/AppTools.h"

IMPLEMENT_DYNCREATE(CToolData, CToolDataUnit)
ZEL_IMPLEMENT_SERIALIZE(CToolData, "CToolData")

CToolData::CToolData(const char* description, int inputType, const char* target, int runMode,
                     const char* command) {
  m_description = description;
  m_inputType = inputType;
  m_target = target;
  m_runMode = runMode;
  m_command = command;
}

const CToolData& CToolData::operator=(const CToolData& other) {
  if (this == &other) return *this;
  m_description = other.m_description;
  m_inputType = other.m_inputType;
  m_target = other.m_target;
  m_runMode = other.m_runMode;
  m_command = other.m_command;
  m_producedType = other.m_producedType;
  return *this;
}

void CToolData::SetData(const CToolDataUnit* unit) {
  if (!unit) return;
  m_description = unit->m_description;
  m_inputType = unit->m_inputType;
  m_target = unit->m_target;
  m_command = unit->m_command;
  m_producedType = unit->m_producedType;
  m_runMode = GetExtension(m_target).CompareNoCase(".ss") == 0 ? runScript : runShell;
}

void CToolData::Execute(CFrameWnd* frame) const {
  if (m_manager) m_manager->ExecuteTool(frame, m_inputType, m_target, m_runMode, m_command);
}

int CToolData::IsEnabled(CFrameWnd* frame) const {
  return m_manager ? m_manager->IsToolEnabled(frame, m_inputType) : 0;
}

void CToolData::LaunchProgram(CString args) const {
  if (m_manager) m_manager->LaunchToolProgram(m_target, m_runMode, args);
}

CString CToolData::EncodeArgs(const CStringList& args) {
  static const char kPlain[] = "0123456789$-_.,!*'()";
  CString out;
  for (POSITION p = args.GetHeadPosition(); p;) {
    const CString& item = args.GetNext(p);
    if (!out.IsEmpty()) out += '&';
    for (int i = 0; i < item.GetLength(); ++i) {
      unsigned char c = static_cast<unsigned char>(item[i]);
      bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
      if (letter || (c && std::strchr(kPlain, c)))
        out += static_cast<char>(c);
      else
        out.AppendFormat("%%%.2x", c);
    }
  }
  return out;
}

void CToolData::LaunchProgramWithEncodedArgs(const CStringList& args) const {
  LaunchProgram(EncodeArgs(args));
}

void CToolData::Serialize(CZelArchive& ar) {
  int inputType = m_inputType, runMode = m_runMode;
  ar(m_description)(inputType)(m_target)(runMode)(m_command);
  if (ar.IsLoading()) {
    m_inputType = inputType;
    m_runMode = runMode;
    m_producedType = none;
    m_manager = nullptr;
  }
}
