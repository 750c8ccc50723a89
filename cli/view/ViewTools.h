// The tool manager of zel view: tools run on the active document as their input type
// asks (see ToolInput.h); IsProtein answers from the content detection.
#pragma once

#include <functional>
#include <optional>

#include "cli/view/ToolInput.h"
#include "tools/AppTools.h"

namespace zel_cli {

class ViewTools : public CAppTools {
 public:
  // facts answers for a frame (an MDI child, or the main frame when none is active).
  using FactsOf = std::function<std::optional<DocumentFacts>(CFrameWnd* frame)>;
  using PathOf = std::function<std::string(CFrameWnd* frame)>;
  ViewTools(FactsOf facts, PathOf path) : m_facts(std::move(facts)), m_path(std::move(path)) {}

  int IsReady() override { return 1; }
  int IsProtein(CFrameWnd* frame) override;
  int IsToolEnabled(CFrameWnd* frame, int inputType) override;
  void LaunchToolProgram(const char* target, int runMode, CString args) override;

  // Whether the last run got as far as starting its program (or its command).
  bool Launched() const { return m_launched; }
  void ForgetLaunch() { m_launched = false; }
  // The status prompt of a tool item: why it is disabled, else the tool's description.
  std::string Prompt(UINT commandId);

 protected:
  int anydoc(CDXexec& data) override { return Supply(data); }
  int onemol(CDXexec& data) override { return Supply(data); }
  int oneseq(CDXexec& data) override { return Supply(data); }
  int oneembl(CDXexec& data) override { return Supply(data); }

 private:
  int Supply(CDXexec& data);

  FactsOf m_facts;
  PathOf m_path;
  bool m_launched = false;
};

}  // namespace zel_cli
