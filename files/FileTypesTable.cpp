// The file types table and its default rows.
#include "files/FileTypesTable.h"

#include <algorithm>
#include <cstring>

namespace {
// Members not named are null or 0.
FTTENTRY g_defaultRows[] = {
#define ZEL_FILE_TYPE(name, value, ...) {.id = name, __VA_ARGS__},
#include "files/FileTypeIds.def"
#undef ZEL_FILE_TYPE
};
}  // namespace

// Built before the other static objects of the library and its users, which may look
// types up while they are constructed (file globals with a type, for one).
__attribute__((init_priority(200))) FileTypesTable _FileTypesTable;

uint32_t ZelMacCodeFromText(const char* code) {
  unsigned char bytes[4] = {};
  if (code) std::memcpy(bytes, code, std::min<size_t>(4, std::strlen(code) + 1));
  return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
         (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

FileTypesTable::FileTypesTable() { RegisterDefaultFileTypeEntries(); }

void FileTypesTable::RegisterDefaultFileTypeEntries() {
  for (FTTENTRY& row : g_defaultRows) m_rows.push_back(&row);
}

const FTTENTRY* FileTypesTable::FindFileTypeEntry(int id) const {
  for (const FTTENTRY* row : m_rows)
    if (row->id == id) return row;
  return First();
}

const FTTENTRY* FileTypesTable::FindFileTypeEntry(const char* extension) const {
  if (!extension) return First();
  for (const FTTENTRY* row : m_rows)
    if (row->byExtension && ZelStrCmpNoCase(row->extension, extension) == 0) return row;
  return First();
}

const FTTENTRY* FileTypesTable::FindFileTypeEntry(unsigned long macType,
                                                  unsigned long macCreator) const {
  for (const FTTENTRY* row : m_rows)
    if (ZelMacCodeFromText(row->macType) == macType &&
        ZelMacCodeFromText(row->macCreator) == macCreator)
      return row->byMacCodes ? row : First();
  return First();
}

void FileTypesTable::RegisterFileTypeEntry(FTTENTRY* row) {
  if (!row) return;
  UnregisterFileTypeEntry(row->id);
  m_rows.push_back(row);
}

void FileTypesTable::RegisterFileTypeEntry(FTTENTRY* rows, int count) {
  for (int i = 0; i < count; ++i) RegisterFileTypeEntry(rows + i);
}

void FileTypesTable::UnregisterFileTypeEntry(int id) {
  auto it = std::find_if(m_rows.begin(), m_rows.end(), [id](FTTENTRY* r) { return r->id == id; });
  if (it != m_rows.end()) m_rows.erase(it);
}

CString ZelMakeFilterString(const int* ids, int noAllFiles) {
  CString filter;
  if (!ids) return filter;
  for (; *ids != 0; ++ids) {
    const FTTENTRY* row = _FileTypesTable.FindFileTypeEntry(*ids);
    if (row->description) filter += row->description;
    if (noAllFiles || row->byExtension) filter += CString(" (*") + row->extension + ")";
    filter += "|";
    if (row->byExtension) {
      if (row->filter)
        filter += row->filter;
      else
        filter += CString("*") + row->extension;
      filter += "|";
    } else {
      filter += "*.*|";
    }
  }
  if (!noAllFiles) filter += "All files (*.*)|*.*||";
  return filter;
}
