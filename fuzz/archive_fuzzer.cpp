// Arbitrary bytes loaded through CZelArchive, then every node walked through the exchange
// interface: atoms taken as numbers or strings, lists opened, references skipped or
// loaded, and objects of the pointer-free registered classes created and freed.
#include <set>
#include <vector>

#include "files/ZelDirSpec.h"
#include "files/ZelFileSpec.h"
#include "files/ZelTextFile.h"
#include "fuzz/FuzzInput.h"
#include "platform/base/collections/Collections.h"
#include "serialization/ZelArchive.h"

namespace {

// Classes whose objects hold no pointers to other loaded objects: a failure while loading
// one leaves nothing behind, and a loaded one is freed alone.
const CRuntimeClass* LeafClass(unsigned pick) {
  switch (pick % 5) {
    case 0:
      return RUNTIME_CLASS(CStringList);
    case 1:
      return RUNTIME_CLASS(CZelDirSpec);
    case 2:
      return RUNTIME_CLASS(CZelFileSpec);
    case 3:
      return RUNTIME_CLASS(CWordArray);
    default:
      return RUNTIME_CLASS(CDWordArray);
  }
}

void Walk(CZelArchive& ar, unsigned seed, std::set<CObject*>& loaded) {
  int depth = 0;
  unsigned step = seed;
  for (int guard = 0; guard < 1000000; ++guard) {
    ++step;
    if (ar.AtEnd()) {
      if (depth == 0) return;
      ar.CloseArray();
      --depth;
      continue;
    }
    try {
      if (ar.At(CZelArchive::otNumber)) {
        switch (step % 4) {
          case 0: {
            double d;
            ar(d);
            break;
          }
          case 1: {
            int i;
            ar(i);
            break;
          }
          case 2: {
            unsigned long u;
            ar(u);
            break;
          }
          default: {
            char c;
            ar(c);
            break;
          }
        }
      } else if (ar.At(CZelArchive::otString)) {
        CString s;
        ar(s);
      } else if (ar.At(CZelArchive::otTag)) {
        if (step % 2) {
          ar.SkipObject(CZelArchive::otTag);
        } else {
          // "Nil" loads as null; any other tag is a bad class.
          if (CObject* o = ar.ReadObject(nullptr)) loaded.insert(o);
        }
      } else if (step % 3 == 0) {
        if (CObject* o = ar.ReadObject(LeafClass(step / 3))) loaded.insert(o);
      } else if (step % 3 == 1) {
        // A list opens; a reference is no list and raises bad class.
        ar.OpenArray(nullptr);
        ++depth;
      } else {
        ar.SkipObject(CZelArchive::otObject);
      }
    } catch (CArchiveException&) {
      // The walk goes on after a refused node, as far as the position allows.
      if (step % 7 == 0) return;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = zel_fuzz::ScratchPath("archive-fuzz");
  if (!zel_fuzz::WriteBytes(path, data, size)) return 0;
  unsigned seed = size ? data[size / 2] : 0;
  CZelTextFile file;
  file.SetFileSpec(path.c_str(), 0);
  if (!file.OpenInput()) return 0;
  std::set<CObject*> loaded;
  try {
    CZelArchive ar(&file, CZelArchive::load, (seed & 16) ? "> " : nullptr, 75);
    Walk(ar, seed, loaded);
    ar.Close();
  } catch (CArchiveException&) {
  } catch (CFileException&) {
  }
  file.Close();
  for (CObject* o : loaded) delete o;
  return 0;
}
