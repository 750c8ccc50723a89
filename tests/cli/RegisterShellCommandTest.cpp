// zel register-shell end to end: the desktop entry that opens documents in zel view, what
// the desktop's own tools then make of the suite's files, the icon at every size, the
// program's path as a launcher reads it, --remove taking back only what was written, and
// --export for a package.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "files/FileTypeIds.h"
#include "files/FileTypesTable.h"
#include "platform/os/registry/Registry.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

using zel_test::ShellQuoted;

// A shell command's standard output and error together, and its exit status.
zel_test::ShellResult Shell(const std::string& command) {
  return zel_test::RunShell(command + " 2>&1");
}

const int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
const char* const kIcon = "zelutil-zel";

class RegisterShellCommandTest : public zel_test::ZelTest {
 protected:
  // The desktop's tools see this test's data folder and the system's, nothing of the user.
  std::string data = tmp / "data";
  std::string config = tmp / "config";
  zel_test::ScopedEnv dataHome{"XDG_DATA_HOME", data};
  zel_test::ScopedEnv configHome{"XDG_CONFIG_HOME", config};
  zel_test::ScopedEnv dataDirs{"XDG_DATA_DIRS", data + ":/usr/share"};
  std::string entry = data + "/applications/zelutil-zel.desktop";
  std::string package = data + "/mime/packages/zelutil-zel.xml";

  std::string Zel() { return fs::canonical(ZEL_BINARY).string(); }
  std::string ContentType(const std::string& path) {
    std::string out = Shell("gio info -a standard::content-type " + ShellQuoted(path)).out;
    size_t at = out.find("content-type: ");
    if (at == std::string::npos) return out;
    at += 14;
    return out.substr(at, out.find('\n', at) - at);
  }
  std::string Line(const std::string& text, const std::string& key) {
    size_t at = text.find("\n" + key + "=");
    if (at == std::string::npos) return "(no " + key + ")";
    at += key.size() + 2;
    return text.substr(at, text.find('\n', at) - at);
  }
};

TEST_F(RegisterShellCommandTest, EntryOpensTheSuitesFastaEmblAndTextFilesInZelView) {
  zel_test::ZelResult r = RunZel("register-shell");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const std::string text = zel_test::ReadFile(entry);
  EXPECT_EQ(Line(text, "Name"), "ZelUtil Viewer");
  EXPECT_EQ(Line(text, "Exec"), Zel() + " view %F");
  EXPECT_EQ(Line(text, "Categories"), "Science;Biology;");
  EXPECT_EQ(Line(text, "Icon"), kIcon);
  EXPECT_EQ(text.find("NoDisplay"), std::string::npos) << text;
  const std::string types = Line(text, "MimeType");
  for (const char* type :
       {"chemical/seq-na-genbank;", "chemical/seq-aa-genpept;", "chemical/seq-na-fasta;",
        "chemical/seq-aa-fasta;", "chemical/seq-na-embl;", "text/plain;"})
    EXPECT_NE(types.find(type), std::string::npos) << type << " in " << types;
  zel_test::ShellResult valid = Shell("desktop-file-validate " + ShellQuoted(entry));
  EXPECT_EQ(valid.status, 0);
  EXPECT_EQ(valid.out, "");

  // The file manager's reading and the generic opener's reading of each file agree; the
  // contents decide where the name does not say it.
  struct Case {
    const char* name;
    const char* content;
    const char* type;
  } cases[] = {
      {"x.gb", "LOCUS       pBR322    5386 bp    DNA     circular\n", "chemical/seq-na-genbank"},
      {"x.gp", "LOCUS       AAA12345     123 aa            linear   BCT\n",
       "chemical/seq-aa-genpept"},
      {"x.fa", ">s1\nACGT\n", "chemical/seq-na-fasta"},
      {"x.fasta", ">s1\nACGT\n", "chemical/seq-na-fasta"},
      {"x.fna", ">s1\nACGT\n", "chemical/seq-na-fasta"},
      {"x.faa", ">p1\nMKV\n", "chemical/seq-aa-fasta"},
      {"x.embl", "ID   X56734; SV 1; linear; mRNA\n", "chemical/seq-na-embl"},
      {"unnamed-fasta", ">s1\nACGT\n", "chemical/seq-na-fasta"},
      {"unnamed-embl", "ID   X56734; SV 1; linear; mRNA\n", "chemical/seq-na-embl"},
      {"notes.txt", ">quoted mail\n", "text/plain"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    zel_test::WriteFile(tmp / c.name, c.content);
    EXPECT_EQ(ContentType(tmp / c.name), c.type);
    EXPECT_EQ(Shell("xdg-mime query filetype " + ShellQuoted(tmp / c.name)).out,
              std::string(c.type) + "\n");
  }
  EXPECT_EQ(Shell("xdg-mime query default chemical/seq-na-genbank").out, "zelutil-zel.desktop\n");
  // Text is offered, never made the default: no default application is written.
  EXPECT_FALSE(fs::exists(config + "/mimeapps.list"));
  EXPECT_FALSE(fs::exists(data + "/applications/mimeapps.list"));
}

TEST_F(RegisterShellCommandTest, TheUsersDefaultForTextStays) {
  fs::create_directories(data + "/applications");
  fs::create_directories(config);
  zel_test::WriteFile(data + "/applications/reader.desktop",
                      "[Desktop Entry]\nType=Application\nName=Reader\nExec=true %f\n"
                      "MimeType=text/plain;\n");
  const std::string chosen = "[Default Applications]\ntext/plain=reader.desktop\n";
  zel_test::WriteFile(config + "/mimeapps.list", chosen);
  ASSERT_EQ(RunZel("register-shell").status, 0);
  EXPECT_EQ(zel_test::ReadFile(config + "/mimeapps.list"), chosen);
  EXPECT_EQ(Shell("xdg-mime query default text/plain").out, "reader.desktop\n");
  const std::string offered = Shell("gio mime text/plain").out;
  EXPECT_NE(offered.find("Default application for “text/plain”: reader.desktop"), std::string::npos)
      << offered;
  EXPECT_NE(offered.find("zelutil-zel.desktop"), std::string::npos) << offered;
}

// The width and height of a PNG file, from its header; {0, 0} when it is none.
std::pair<uint32_t, uint32_t> PngSize(const std::string& path) {
  const std::string bytes = zel_test::ReadFile(path);
  if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 ||
      bytes.compare(12, 4, "IHDR") != 0)
    return {0, 0};
  auto be32 = [&](size_t at) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
    return v;
  };
  return {be32(16), be32(20)};
}

TEST_F(RegisterShellCommandTest, IconAtEverySizeIsBuiltAndCopiedIntoTheTheme) {
  ASSERT_EQ(RunZel("register-shell").status, 0);
  const std::string built = fs::path(ZEL_BINARY).parent_path().string() + "/share/icons/hicolor";
  for (int size : kIconSizes) {
    const std::string folder = std::to_string(size) + "x" + std::to_string(size) + "/apps/";
    SCOPED_TRACE(folder);
    const std::string png = built + "/" + folder + kIcon + ".png";
    EXPECT_EQ(PngSize(png), std::make_pair(uint32_t(size), uint32_t(size)));
    const std::string copy = data + "/icons/hicolor/" + folder + kIcon + ".png";
    EXPECT_EQ(PngSize(copy), std::make_pair(uint32_t(size), uint32_t(size)));
    EXPECT_EQ(zel_test::ReadFile(copy), zel_test::ReadFile(png));
  }
  EXPECT_NE(zel_test::ReadFile(data + "/icons/hicolor/scalable/apps/zelutil-zel.svg").find("<svg"),
            std::string::npos);
  EXPECT_TRUE(fs::exists(data + "/icons/hicolor/icon-theme.cache"));
}

// A path with characters the entry's Exec reserves reads back as itself: quoted, with
// '"', '$' and '\' escaped inside the quotes and the value's own escaping of '\' on top.
TEST_F(RegisterShellCommandTest, ExecQuotesTheProgramsPath) {
  struct Case {
    const char* folder;
    std::string exec;  // the Exec value with <dir> for the program's folder
  } cases[] = {
      {"with blank", "\"<dir>/with blank/zel\" view %F"},
      {"say \"hi\"", "\"<dir>/say \\\\\"hi\\\\\"/zel\" view %F"},
      {"cost$5", "\"<dir>/cost\\\\$5/zel\" view %F"},
      {"back\\slash", "\"<dir>/back\\\\\\\\slash/zel\" view %F"},
  };
  const std::string dir = fs::canonical(tmp.path()).string() + "/bin";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    const std::string program = dir + "/" + c.folder + "/zel";
    fs::create_directories(fs::path(program).parent_path());
    std::error_code linked;
    fs::create_hard_link(ZEL_BINARY, program, linked);
    if (linked) fs::copy_file(ZEL_BINARY, program);
    zel_test::ShellResult r = Shell(ShellQuoted(program) + " register-shell");
    ASSERT_EQ(r.status, 0) << r.out;
    std::string want = c.exec;
    want.replace(want.find("<dir>"), 5, dir);
    EXPECT_EQ(Line(zel_test::ReadFile(entry), "Exec"), want);
    zel_test::ShellResult valid = Shell("desktop-file-validate " + ShellQuoted(entry));
    EXPECT_EQ(valid.status, 0);
    EXPECT_EQ(valid.out, "");
  }
}

TEST_F(RegisterShellCommandTest, RemoveTakesBackWhatItWroteAndNothingElse) {
  FileTypesTable table;
  const CString dna = table.FindFileTypeEntry(kDnaDocument)->shellClass;
  const CString protein = table.FindFileTypeEntry(kProteinDocument)->shellClass;
  const CString gel = table.FindFileTypeEntry(kGelDocument)->shellClass;
  const ZelHive root = ZelHive::ClassesRoot;
  // Made by other programs: a class of their own, .gp taken before, and later the gel
  // class's open command taken over.
  zel_registry::SetString(root, "Other.Document\\shell\\open\\command", nullptr, "other %1");
  zel_registry::SetString(root, ".gp", nullptr, "Other.Document");
  fs::create_directories(data + "/mime/packages");
  zel_test::WriteFile(data + "/mime/packages/other.xml",
                      "<?xml version=\"1.0\"?>\n<mime-info "
                      "xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                      "  <mime-type type=\"chemical/x-other-gel\"><glob pattern=\"*.ogel\"/>"
                      "</mime-type>\n</mime-info>\n");
  ASSERT_EQ(RunZel("register-shell").status, 0);
  ASSERT_EQ(zel_registry::OpenKey(root, dna), ERROR_SUCCESS);
  zel_registry::SetString(root, gel + "\\shell\\open\\command", nullptr, "\"/opt/other/gel\"");

  zel_test::ZelResult r = RunZel("register-shell --remove");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("  removed 19 document classes from "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("  removed " + entry + "\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("  ran update-mime-database " + data + "/mime\n"), std::string::npos);

  CString value;
  for (const CString& key : {dna, protein, CString(".gb"),
                             CString("MIME\\Database\\Content Type\\chemical/seq-na-genbank")}) {
    SCOPED_TRACE(key.str());
    EXPECT_EQ(zel_registry::OpenKey(root, key), ERROR_FILE_NOT_FOUND);
  }
  ASSERT_EQ(zel_registry::QueryString(root, ".gp", nullptr, value), ERROR_SUCCESS);
  EXPECT_EQ(value, "Other.Document");
  ASSERT_EQ(zel_registry::QueryString(root, "Other.Document\\shell\\open\\command", nullptr, value),
            ERROR_SUCCESS);
  EXPECT_EQ(value, "other %1");
  ASSERT_EQ(zel_registry::QueryString(root, gel + "\\shell\\open\\command", nullptr, value),
            ERROR_SUCCESS);
  EXPECT_EQ(value, "\"/opt/other/gel\"");

  // Nothing of ours is left among the desktop's files, and its databases forgot us.
  for (const auto& file : fs::recursive_directory_iterator(data))
    EXPECT_EQ(file.path().filename().string().find("zelutil-zel"), std::string::npos)
        << file.path();
  EXPECT_FALSE(fs::exists(data + "/icons/hicolor/48x48"));
  EXPECT_EQ(zel_test::ReadFile(data + "/applications/mimeinfo.cache").find("zelutil-zel"),
            std::string::npos);
  EXPECT_EQ(zel_test::ReadFile(data + "/mime/globs2").find("chemical/seq-na-fasta"),
            std::string::npos);
  // The database's file of each of our types went with it; another package's stays.
  EXPECT_FALSE(fs::exists(data + "/mime/chemical/seq-na-fasta.xml"));
  EXPECT_TRUE(fs::exists(data + "/mime/chemical/x-other-gel.xml"));
  EXPECT_FALSE(fs::exists(data + "/mime/application"));

  r = RunZel("register-shell --remove");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "No registration of this program was found: nothing to remove.\n");
}

TEST_F(RegisterShellCommandTest, RemoveWithNothingThereSaysSo) {
  zel_test::ZelResult r = RunZel("register-shell --remove");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "No registration of this program was found: nothing to remove.\n");
  EXPECT_FALSE(fs::exists(data));
}

TEST_F(RegisterShellCommandTest, ExportWritesAPackagesFilesAndTouchesNothingElse) {
  const std::string share = tmp / "stage/share";
  zel_test::ZelResult r =
      RunZel("register-shell --export " + ShellQuoted(share) + " --exec '/opt/zel suite/bin/zel'");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string text = zel_test::ReadFile(share + "/applications/zelutil-zel.desktop");
  EXPECT_EQ(Line(text, "Exec"), "\"/opt/zel suite/bin/zel\" view %F");
  ASSERT_EQ(RunZel("register-shell").status, 0);
  EXPECT_EQ(zel_test::ReadFile(share + "/mime/packages/zelutil-zel.xml"),
            zel_test::ReadFile(package));
  EXPECT_EQ(PngSize(share + "/icons/hicolor/256x256/apps/zelutil-zel.png"),
            std::make_pair(uint32_t(256), uint32_t(256)));
  EXPECT_FALSE(fs::exists(share + "/mime/mime.cache"));  // the databases are the package's
  EXPECT_EQ(RunZel("register-shell --exec /x").status, 2);
  EXPECT_EQ(RunZel("register-shell --remove --export " + ShellQuoted(share)).status, 2);
}

TEST_F(RegisterShellCommandTest, SaysWhatItWroteWhere) {
  zel_test::ZelResult r = RunZel("register-shell");
  ASSERT_EQ(r.status, 0) << r.err;
  for (const std::string& line : {
           "20 document classes of the suite now open with " + Zel() + " view.\n",
           "  wrote " + tmp / "home/registry/classes.reg" + " (the suite's own associations)\n",
           "  wrote " + package + "\n",
           "  wrote " + data + "/icons/hicolor/16x16/apps/zelutil-zel.png\n",
           "  wrote " + entry + "\n",
           "  ran update-mime-database " + data + "/mime\n",
           std::string("MIME types registered with the desktop:\n  chemical/seq-na-genbank\n"),
       })
    EXPECT_NE(r.out.find(line), std::string::npos) << line << "\n" << r.out;
  EXPECT_EQ(r.out.find("HKEY"), std::string::npos) << r.out;
  EXPECT_NE(RunZel("register-shell --help").out.find("mime/packages/zelutil-zel.xml"),
            std::string::npos);

  // Nothing can be written: the state folder and the data folder are files.
  zel_test::WriteFile(tmp / "blocked", "");
  zel_test::ScopedEnv blockedData("XDG_DATA_HOME", tmp / "blocked");
  zel_test::ScopedEnv blockedHome("ZEL_HOME", tmp / "blocked");
  r = RunZel("register-shell");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("zel: register-shell: nothing could be written"), std::string::npos)
      << r.err;
}

}  // namespace
