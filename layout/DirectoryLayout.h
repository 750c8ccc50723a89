/// \file
/// The installation's directory layout: the three roots (the main data folder, the
/// executables' folder, the shared network database folder), every folder and file derived
/// from them, the base names the suite builds its paths from, and the search for the main
/// data folder. Every root and derived folder or file starts unset; a recalculation fills its table
/// from the current root by assignment (so an unset root leaves the table as it was).
#pragma once

#include <vector>

#include "ZelExport.h"
#include "files/ZelDirSpec.h"
#include "files/ZelFileSpec.h"

/// Finds the main data folder (stored setting, then the executable's folder when it holds
/// the marker file, then the folder picker; with ask non-zero the picker at once). 1 when
/// dir holds an existing, accepted folder, which is then stored; 0 otherwise.
ZEL_API int GetZelMainDir(CZelDirSpec& dir, int ask);
/// Recalculates the folders and files under the main data folder, or under the executables' folder,
/// after it changed.
///@{
ZEL_API void RecalcMAINDIRDependencies();
ZEL_API void RecalcEXEDIRDependencies();
///@}
/// TOOLSDIR, TOOLSMENUDIR and TUVAPPFILE from base instead of EXEDIR.
ZEL_API void CalcToolSpecs(const CZelDirSpec& base);
/// Recalculates the folders and files under the network folder after it changed.
ZEL_API void RecalcNETWORKDIRDependencies();

// Every root, derived folder and file, and base name, as listed in DirectoryLayout.def.
#define ZEL_LAYOUT_ROOT(global) extern ZEL_API CZelDirSpec global;
#define ZEL_LAYOUT_DIR(table, global, parent, name) extern ZEL_API CZelDirSpec global;
#define ZEL_LAYOUT_FILE(table, global, parent, name, type) extern ZEL_API CZelFileSpec global;
#define ZEL_LAYOUT_NAME(constant, text) extern ZEL_API const char* const constant;
#include "layout/DirectoryLayout.def"

/// One root or derived global, for listing them all: exactly one of dir and file is set.
struct ZEL_API ZelLayoutGlobal {
  const char* name;
  const CZelDirSpec* dir;
  const CZelFileSpec* file;
  /// The path, or null while the global is unset.
  const char* Path() const;
};
/// The roots, then each table's globals, in the order of their recalculation.
ZEL_API const std::vector<ZelLayoutGlobal>& ZelLayoutGlobals();
