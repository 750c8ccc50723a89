// Shell registration: the desktop's associations of the suite's document types with the
// running program, and the MIME types of three formats, written under the class root of
// the registry store. Failed writes are skipped silently.
#pragma once

#include "files/FileTypesTable.h"

// The rows with a shell class, a shell description and an extension; with null rows the
// default rows of the file types table (count is then ignored).
void RegisterZelShellFileTypes(const FTTENTRY* rows, int count);
// ".gb", ".gp" and ".ekm": their "Content Type" and the MIME database's "Extension".
void RegisterZelMimeTypes();
