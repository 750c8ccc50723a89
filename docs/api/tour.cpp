// The tour of the API reference's main page, as one program: each step checks what it
// shows and the program fails at the first one that does not hold. It writes only inside
// a temporary folder of its own, which it removes, and the settings go where ZEL_HOME says.
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "files/FileTypeIds.h"
#include "files/FileTypesTable.h"
#include "files/SequenceDetection.h"
#include "files/ZelDirSpec.h"
#include "files/ZelFileSpec.h"
#include "files/ZelTextFile.h"
#include "layout/DirectoryLayout.h"
#include "platform/base/collections/Collections.h"
#include "platform/user/framework/Menu.h"
#include "serialization/ZelArchive.h"
#include "tools/AppTools.h"
#include "tools/ToolDataUnit.h"
#include "tools/ToolNode.h"

namespace {

int Fail(const char* step) {
  std::fprintf(stderr, "tour: %s\n", step);
  return 1;
}

// The menu's items, one a line, two blanks deeper per popup.
void PrintMenu(CMenu& menu, int depth) {
  for (UINT i = 0; i < menu.GetMenuItemCount(); ++i) {
    CString text;
    menu.GetMenuString(i, text, MF_BYPOSITION);
    std::printf("%*s%s\n", 2 * depth, "", text.GetString());
    if (CMenu* sub = menu.GetSubMenu(static_cast<int>(i))) PrintMenu(*sub, depth + 1);
  }
}

int Tour(const std::string& work) {
  // [spec]
  // A file is named by a folder and a name; the type adds its extension.
  CZelDirSpec folder(work.c_str());
  CZelFileSpec spec(folder, "pUC19", kGenBank);
  std::printf("%s\n", spec.GetFileName().GetString());  // pUC19.gb
  // [spec]
  if (!spec.IsSpecSet() || spec.GetFileName() != "pUC19.gb") return Fail("the file's name");

  {
    CZelTextFile out(spec);
    if (!out.CreateOutput()) return Fail("writing the sample");
    out.WriteLine("LOCUS       pUC19        12 bp    DNA     circular SYN 01-JAN-2000");
    out.WriteLine("ORIGIN");
    out.WriteLine("        1 tcgcgcgttt cg");
    out.WriteLine("//");
    out.Close();
  }

  // [read]
  // Lines end in CR, LF or CR LF; ReadLineLong gives each without its end.
  CZelTextFile in(spec);
  if (!in.OpenInput()) return Fail("opening the text file");
  CString line;
  int lines = 0;
  while (in.ReadLineLong(line)) ++lines;
  in.Close();
  std::printf("%d lines\n", lines);  // 4 lines
  // [read]
  if (lines != 4) return Fail("reading the text file");

  // [archive]
  // Any registered CObject is stored as structured text and comes back as a new object.
  CStringList names;
  names.AddTail("pUC19");
  names.AddTail("pBR322");
  CZelTextFile archiveFile(folder, "names", 0);
  if (!archiveFile.CreateOutput()) return Fail("creating the archive");
  {
    CZelArchive ar(&archiveFile, CZelArchive::store, nullptr, 60);
    CObject* stored = &names;
    ar(stored);
  }
  archiveFile.Close();

  if (!archiveFile.OpenInput()) return Fail("opening the archive");
  CObject* loaded = nullptr;
  {
    CZelArchive ar(&archiveFile, CZelArchive::load, nullptr, 60);
    ar(loaded);
  }
  archiveFile.Close();
  auto* list = dynamic_cast<CStringList*>(loaded);
  // [archive]
  const bool same = list && list->GetCount() == 2 && list->GetTail() == "pBR322";
  delete loaded;
  if (!same) return Fail("the archive's round trip");

  // [detect]
  // The contents decide, whatever the name says.
  CZelFileSpec unnamed(folder, "sample", 0);
  std::filesystem::copy_file(spec.GetPath(), unnamed.GetPath());
  const int type = GuessFtypeUsingSmartAssGuessing(unnamed);
  const FTTENTRY* row = _FileTypesTable.FindFileTypeEntry(type);
  std::printf("%s\n", row ? row->description : "unknown");  // GenBank Files
  // [detect]
  if (type != kGenBank) return Fail("detecting the format");

  // [tools]
  // Tools are files in the tool folder; their folders become the menu's popups.
  CalcToolSpecs(folder);
  CAppTools tools(CAppTools::kNoWatch);
  CToolDataBase reverse;
  reverse.m_target = "revcomp";
  reverse.m_command = "%1";
  reverse.m_description = "The reverse complement of the sequence";
  if (!tools.CreateTool("Sequence|Reverse Complement", &reverse)) return Fail("a new tool");
  tools.SetReloadNeeded(1);
  tools.ReloadTools();

  CMenu menu;
  menu.CreatePopupMenu();
  tools.GetMainNode()->AppendContentsToMenu(&menu);
  PrintMenu(menu, 0);  // Sequence
                       //   Reverse Complement
  // [tools]
  CMenu* sequence = menu.GetSubMenu(0);
  CString item;
  if (!sequence || sequence->GetMenuItemCount() != 1 ||
      !sequence->GetMenuString(0, item, MF_BYPOSITION) || item != "Reverse Complement")
    return Fail("the Tools menu");
  return 0;
}

}  // namespace

int main() {
  std::string work = std::filesystem::temp_directory_path() / "zel-tour-XXXXXX";
  if (!mkdtemp(work.data())) return Fail("no temporary folder");
  const int result = Tour(work);
  std::filesystem::remove_all(work);
  if (result == 0) std::printf("tour: every step holds\n");
  return result;
}
