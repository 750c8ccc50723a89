// What a tool gets from the active document of zel view, by the tool's input type: empty
// data, the document's file as %1, or nothing (the tool is disabled), with the status
// prompt that says what it would need.
#pragma once

#include <optional>
#include <string>

namespace zel_cli {

// What the window knows of its active document.
struct DocumentFacts {
  std::string name;  // the file's name, for prompts
  int fileType = 0;  // found by the content detection (0: none)
  bool protein = false;
};

struct ToolInput {
  bool enabled = false;
  bool passFile = false;  // the document's path becomes %1
  std::string prompt;     // why it is disabled; empty when enabled
};

// doc is empty when no document is open.
ToolInput ToolInputFor(int inputType, const std::optional<DocumentFacts>& doc);

}  // namespace zel_cli
