/// \file
/// What the file choosers of CZelFileSpec ask the file dialog for, worked out without
/// showing it (for ChooseSpec and ChooseSpecEx, and for tools that print it).
#pragma once

#include "ZelExport.h"
#include "files/ZelDirSpec.h"
#include "platform/user/ui/UiBackend.h"

/// What a file chooser asks the file dialog for.
struct ZelChooserPlan {
  /// The kind of dialog, title, filter ("...||"), default extension and options.
  FileDialogRequest request;
  /// Whether an all-label item stands before the per-type items.
  bool frontItem = false;
};

/// remembering: the ChooseSpecEx variant. A null types list counts as empty.
ZEL_API ZelChooserPlan ZelPlanFileChooser(CTYPE mode, const int* types, int count,
                                          const char* title, const char* allLabel,
                                          bool remembering);
