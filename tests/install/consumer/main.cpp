// A program outside the tree, built against the installed library: it stores a small list
// of strings through the object archive, loads it back, catches a file fault by its type,
// and looks a file type up.
#include <cstdio>
#include <cstring>
#include <string>

#include "files/FileTypesTable.h"
#include "files/ZelTextFile.h"
#include "platform/base/collections/Collections.h"
#include "platform/base/exceptions/Exceptions.h"
#include "platform/base/file/File.h"
#include "serialization/ZelArchive.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  CStringList out;
  out.AddTail("LOCUS");
  out.AddTail("tab\there");
  CZelTextFile file;
  file.SetFileSpec(argv[1], 0);
  if (!file.CreateOutput()) return 3;
  {
    CZelArchive ar(&file, CZelArchive::store, nullptr, 60);
    CObject* p = &out;
    ar(p);
  }
  file.Close();

  if (!file.OpenInput()) return 4;
  CObject* in = nullptr;
  {
    CZelArchive ar(&file, CZelArchive::load, nullptr, 60);
    ar(in);
  }
  file.Close();
  auto* list = dynamic_cast<CStringList*>(in);
  if (!list || list->GetCount() != 2 || list->GetTail() != "tab\there") return 5;
  delete list;

  // A fault the library raises is caught here by its type, across the library's edge.
  try {
    CFile missing((std::string(argv[1]) + ".missing").c_str(), CFile::modeRead);
    return 6;
  } catch (CFileException& e) {
    if (e.m_cause != CFileException::fileNotFound) return 7;
  }

  const FTTENTRY* row = _FileTypesTable.FindFileTypeEntry(".GB");
  std::printf("%s %s\n", row->description, row->extension);
  return row->id == kDnaDocument ? 0 : 1;
}
