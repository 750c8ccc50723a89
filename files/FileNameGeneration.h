/// \file
/// File names made from free text (a molecule's name, say): safe on the file system in use
/// and, when asked, not yet taken. CZelFileSpec's GenerateSpec, SuggestSpec and
/// SuggestShortcutSpec are the short forms.
#pragma once

#include "ZelExport.h"
#include "files/ZelFileSpec.h"

/// Flag bits of GenerateFileSpec.
enum : int {
  ZEL_GFS_SHORTCUT = 1,   ///< prefix "Shortcut to "
  ZEL_GFS_UNUSED = 2,     ///< accepted, without effect
  ZEL_GFS_UNIQUE = 4,     ///< never the name of an existing file
  ZEL_GFS_NO_BLANK = 8,   ///< no blank in the name (and no shortcut prefix)
  ZEL_GFS_NO_SHELL = 16,  ///< none of ",|*?<>\&()" either
};

/// The file becomes dir + the safe name + the type's extension; 1 on success, 0 when nothing
/// of the name is usable or every numbered variant is taken (the file untouched, resp. the
/// last tried).
ZEL_API int GenerateFileSpec(CZelFileSpec& spec, const CZelDirSpec& dir, const char* name, int type,
                             int flags);
