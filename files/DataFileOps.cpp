// Whole-folder operations on data files, and the emptying of a directory specification.
#include "files/DataFileOps.h"

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/file/File.h"
#include "platform/os/datafile/DataFileIo.h"
#include "platform/os/fs/FileSystem.h"
#include "platform/user/ui/UiBackend.h"

namespace {

constexpr UINT kCopyBlock = 30000;

// The names of the regular files of dir, in the order the system lists them. Taken whole
// before anything is done to them, so removing files does not disturb the listing.
//
// A data folder may be shared, so only regular files themselves are handled: a link
// would have its target overwritten or copied out of someone else's folder, and a FIFO
// would hang the copy. Those are skipped, each one reported; folders are left out.
std::vector<std::string> DataFileNames(const CZelDirSpec& dir) {
  std::vector<std::string> names;
  if (!dir.IsSpecSet()) return names;
  std::vector<std::string> skipped;
  zel_datafile::ListEntries(dir.GetPath(), [&](const char* name, zel_datafile::EntryKind kind) {
    if (kind == zel_datafile::EntryKind::kRegular) names.push_back(name);
    if (kind == zel_datafile::EntryKind::kOther) skipped.push_back(name);
  });
  for (const std::string& name : skipped)
    AfxMessageBox(CString("Skipped, not a regular file: ") + name.c_str(), MB_OK);
  return names;
}

bool Listed(const std::string& name, const char** names) {
  if (!names) return false;
  for (; *names; ++names)
    if (ZelStrCmpNoCase(name, *names) == 0) return true;
  return false;
}

// Calls each with the file specification of every selected file of dir (all files when names is
// null and except is true).
void ForEachDataFile(const CZelDirSpec& dir, const char** names, bool except,
                     const std::function<void(const std::string&, const CZelFileSpec&)>& each) {
  for (const std::string& name : DataFileNames(dir)) {
    if (Listed(name, names) == except) continue;
    CZelFileSpec spec;
    spec.SetSpec(dir, name.c_str(), 0UL, 0UL);
    each(name, spec);
  }
}

}  // namespace

int ZelDirectoryFiles(const CZelDirSpec& dir, CObList& out) {
  if (!dir.DirExists()) return 0;
  zel_fs::ListDir(dir.GetPath(), [&](const char* name, bool isDir) {
    if (isDir) return;
    auto* spec = new CZelFileSpec;
    spec->SetSpec(zel_fs::JoinPath(dir.GetPath(), name), 0);
    out.AddTail(spec);
  });
  return 1;
}

int copy_datafile(const CZelFileSpec& from, const CZelFileSpec& to) {
  auto sameFile = [&to] {
    AfxMessageBox("Can't read from and write to the same file: " + to.GetTitle(), MB_OK);
    return 0;
  };
  if (from == to) return sameFile();
  // The source must be a regular file itself: no link is followed out of the folder and
  // no FIFO waited on.
  int inFd = -1;
  if (std::error_code ec = zel_datafile::OpenRegularForReading(from.GetPath(), inFd)) {
    CFileException e(CFileException::ErrnoToException(ec.value()), ec.value(), from.GetPath());
    from.ReportException(&e, 1, 1);
    return 0;
  }
  CFile in(inFd);
  in.m_bCloseOnDelete = TRUE;
  in.m_strFileName = from.GetPath();
  // Besides the names, the files themselves are compared: the same file reached under
  // another spelling (a link, "." or "..") is no copy.
  if (zel_datafile::IsOpenFile(to.GetPath(), inFd)) {
    in.Abort();
    return sameFile();
  }
  // The copy is written beside the target and renamed over it: a link planted at the
  // target is replaced, never written through, and a failed copy leaves the old file.
  zel_datafile::TemporaryFile temporary;
  int fd = -1;
  if (std::error_code ec = temporary.Create(to.GetPath(), fd)) {
    in.Abort();
    CFileException e(CFileException::ErrnoToException(ec.value()), ec.value(), to.GetPath());
    to.ReportException(&e, 0, 1);
    return 0;
  }
  CFile out(fd);
  out.m_bCloseOnDelete = TRUE;
  out.m_strFileName = to.GetPath();
  std::unique_ptr<char, decltype(&std::free)> buffer(
      static_cast<char*>(std::calloc(kCopyBlock + 1, 1)), &std::free);
  if (!buffer) {
    in.Abort();
    return 0;
  }
  // A read or write failure leaves by exception; both files close as they go, and the
  // temporary is removed.
  while (in.GetPosition() != in.GetLength()) {
    UINT got = in.Read(buffer.get(), kCopyBlock);
    if (got == 0) break;  // the file shrank under us
    out.Write(buffer.get(), got);
  }
  in.Abort();
  buffer.reset();
  out.Close();
  if (std::error_code ec = temporary.Commit(to.GetPath())) {
    CFileException e(CFileException::ErrnoToException(ec.value()), ec.value(), to.GetPath());
    to.ReportException(&e, 0, 1);
    return 0;
  }
  return 1;
}

void remove_datafiles(const CZelDirSpec& dir) { remove_datafiles_ex(dir, nullptr, true); }

void remove_datafiles_ex(const CZelDirSpec& dir, const char** names, bool except) {
  ForEachDataFile(dir, names, except,
                  [](const std::string&, const CZelFileSpec& spec) { spec.RemoveFile(); });
}

void transfer_datafiles(const CZelDirSpec& from, const CZelDirSpec& to) {
  transfer_datafiles_ex(from, to, nullptr, true);
}

void transfer_datafiles_ex(const CZelDirSpec& from, const CZelDirSpec& to, const char** names,
                           bool except) {
  ForEachDataFile(from, names, except, [&to](const std::string& name, const CZelFileSpec& spec) {
    CZelFileSpec target;
    target.SetSpec(to, name.c_str(), 0UL, 0UL);
    copy_datafile(spec, target);
  });
}

int CZelDirSpec::EmptyDir() const {
  remove_datafiles(*this);
  return 1;
}

int CZelDirSpec::EmptySubdir(const char* name) const { return (*this + name).EmptyDir(); }
