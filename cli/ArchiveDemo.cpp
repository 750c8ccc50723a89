// The archive section of `zel demo`: a small object graph with shared objects goes to a
// structured text file and comes back as the same graph.
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "cli/Command.h"
#include "collections/ObjectList.h"
#include "files/ZelDirSpec.h"
#include "files/ZelFileSpec.h"
#include "files/ZelTextFile.h"
#include "serialization/ZelArchive.h"

namespace {

int RunArchiveDemo() {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path dir =
      fs::temp_directory_path(ec) / ("zel-demo-archive-" + std::to_string(std::random_device{}()));
  fs::create_directories(dir, ec);
  const std::string path = (dir / "graph.sxf").string();

  // Two lists share one file specification; the map names the same objects again.
  CZelDirSpec examples(zel_cli::ExamplesDir().c_str());
  CZelFileSpec readme;
  readme.ReconstructSpec(examples, "text/crlf.txt", 0);
  CZelFileSpec notes;
  notes.ReconstructSpec(examples, "text/mixed-line-ends.txt", 0);
  CStringList tags;
  tags.AddTail("DNA");
  tags.AddTail("tab\there");
  CObjectList recent;
  recent.AddTail(&readme);
  recent.AddTail(&notes);
  recent.AddTail(&tags);
  CObjectList pinned;
  pinned.AddTail(&readme);
  pinned.AddTail(&examples);
  CMapStringToOb byName;
  byName.SetAt("readme", &readme);
  byName.SetAt("recent", &recent);

  CZelTextFile out;
  out.SetFileSpec(path.c_str(), 0);
  if (!out.CreateOutput()) {
    out.ReportException();
    return zel_cli::kFailed;
  }
  try {
    CZelArchive ar(&out, CZelArchive::store, nullptr, 60);
    ar.WriteCommentLine("zel demo: two lists and a map sharing objects");
    CObject* p = &recent;
    ar(p);
    p = &pinned;
    ar(p);
    p = &byName;
    ar(p);
    ar.Close();
  } catch (CException& e) {
    out.ReportException(&e);
    out.Close();
    return zel_cli::kFailed;
  }
  out.Close();

  std::printf("Stored to %s:\n", path.c_str());
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
      std::string text(buf, n);
      for (size_t i; (i = text.find('\r')) != std::string::npos;) text.erase(i, 1);
      std::fputs(text.c_str(), stdout);
    }
    std::fclose(f);
  }

  CZelTextFile in;
  in.SetFileSpec(path.c_str(), 0);
  if (!in.OpenInput()) {
    in.ReportException();
    return zel_cli::kFailed;
  }
  CObject *a = nullptr, *b = nullptr, *c = nullptr;
  int status = zel_cli::kOk;
  try {
    CZelArchive ar(&in, CZelArchive::load, nullptr, 60);
    ar(a)(b)(c);
    ar.Close();
  } catch (CException& e) {
    in.ReportException(&e);
    status = zel_cli::kFailed;
  }
  in.Close();
  auto* recentIn = dynamic_cast<CObjectList*>(a);
  auto* pinnedIn = dynamic_cast<CObjectList*>(b);
  auto* mapIn = dynamic_cast<CMapStringToOb*>(c);
  if (status == zel_cli::kOk && recentIn && pinnedIn && mapIn) {
    CObject* readmeIn = nullptr;
    CObject* recentAgain = nullptr;
    mapIn->Lookup("readme", readmeIn);
    mapIn->Lookup("recent", recentAgain);
    auto* spec = dynamic_cast<CZelFileSpec*>(readmeIn);
    std::printf("\nLoaded back: %d + %d list entries, %d map entries.\n",
                static_cast<int>(recentIn->GetCount()), static_cast<int>(pinnedIn->GetCount()),
                static_cast<int>(mapIn->GetCount()));
    std::printf("The shared file spec is one object in all three places: %s\n",
                readmeIn == recentIn->GetHead() && readmeIn == pinnedIn->GetHead() ? "yes" : "no");
    std::printf("The map's \"recent\" is the first list itself: %s\n",
                recentAgain == recentIn ? "yes" : "no");
    if (spec) std::printf("Its path: %s\n", spec->GetPath());
  } else if (status == zel_cli::kOk) {
    std::printf("Loaded objects of unexpected classes.\n");
    status = zel_cli::kFailed;
  }
  // The loaded graph: each object once.
  if (recentIn) {
    for (POSITION pos = recentIn->GetHeadPosition(); pos;) delete recentIn->GetNext(pos);
  }
  if (pinnedIn && pinnedIn->GetCount() == 2) delete pinnedIn->GetTail();
  delete recentIn;
  delete pinnedIn;
  delete mapIn;
  // The archive stays, for the reader to look at and try the sxf commands on.
  std::printf("The archive stays at %s (try: zel sxf check %s).\n", path.c_str(), path.c_str());
  std::printf("Another to try, with shared objects of its own: %s/archives/samples.sxf\n",
              zel_cli::ExamplesDir().c_str());
  return status;
}

const zel_cli::DemoRegistrar kArchiveDemo(30, "Structured text archive", &RunArchiveDemo);

}  // namespace
