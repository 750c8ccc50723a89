// A program outside the tree, built against the installed library.
#include <cstdio>

#include "files/FileTypesTable.h"

int main() {
  const FTTENTRY* row = _FileTypesTable.FindFileTypeEntry(".GB");
  std::printf("%s %s\n", row->description, row->extension);
  return row->id == 41 ? 0 : 1;
}
