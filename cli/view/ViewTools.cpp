// Tools on the active document: the rules of ToolInput.h, applied by the manager's
// handlers when a tool runs and by its enable test when the menu opens.
#include "cli/view/ViewTools.h"

#include "platform/user/app/WinApp.h"
#include "platform/user/framework/FrameWnd.h"
#include "platform/user/wnd/Window.h"
#include "tools/ToolData.h"
#include "tools/ToolNode.h"

namespace zel_cli {

int ViewTools::IsProtein(CFrameWnd* frame) {
  const auto facts = m_facts(frame);
  return facts && facts->protein ? 1 : 0;
}

int ViewTools::IsToolEnabled(CFrameWnd* frame, int inputType) {
  return ToolInputFor(inputType, m_facts(frame)).enabled ? 1 : 0;
}

int ViewTools::Supply(CDXexec& data) {
  const ToolInput input = ToolInputFor(data.inputType, m_facts(data.frame));
  if (input.passFile) data.dataFile = m_path(data.frame).c_str();
  return input.enabled ? 1 : 0;
}

void ViewTools::LaunchToolProgram(const char* target, int runMode, CString args) {
  m_launched = true;
  CAppTools::LaunchToolProgram(target, runMode, args);
}

std::string ViewTools::Prompt(UINT commandId) {
  const CToolData* tool = FindZelTool(GetToolID(commandId));
  if (!tool) return {};
  CWnd* main = AfxGetMainWnd();
  CFrameWnd* frame = main ? static_cast<CFrameWnd*>(main)->GetActiveFrame() : nullptr;
  const ToolInput input = ToolInputFor(tool->m_inputType, m_facts(frame));
  if (!input.enabled) return input.prompt;
  const char* description = MaybeZelToolPrompt(commandId);
  return description ? description : "";
}

}  // namespace zel_cli
