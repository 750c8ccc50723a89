// Shell registration: what the default rows and the MIME pairs write under the class root.
#include <gtest/gtest.h>

#include "files/ShellRegistration.h"
#include "platform/os/registry/Registry.h"
#include "platform/user/app/HostIdentity.h"
#include "platform/user/app/WinApp.h"
#include "tests/support/TestSupport.h"

namespace {

const ZelHive kRoot = ZelHive::ClassesRoot;

class ShellRegistrationTest : public zel_test::ZelTest {
 protected:
  ShellRegistrationTest() {
    app.m_strExePath = "/opt/suite/Quillion App";
    // The service name is fixed for the process; match it unless a test wants otherwise.
    app.m_strExeName = ZelGetDDEServerName();
  }
  CString Value(const CString& key, const char* name = nullptr) {
    CString text;
    if (zel_registry::QueryString(kRoot, key, name, text) != ERROR_SUCCESS) return "<none>";
    return text;
  }
  CWinApp app{"Shell Test"};
  // The desktop's files of a registration go to the test's folder, never the user's.
  zel_test::ScopedEnv dataHome{"XDG_DATA_HOME", tmp / "data"};
};

TEST_F(ShellRegistrationTest, DefaultRowsWriteTheirClasses) {
  ASSERT_EQ(zel_registry::SetString(kRoot, ".gp", nullptr, "OtherProgram.Document"), ERROR_SUCCESS);
  RegisterZelShellFileTypes(nullptr, 12345);

  // 21 rows carry a class and a description; two of them share "QLLI Report".
  zel_registry::KeyListing root;
  ASSERT_EQ(zel_registry::ListKey(kRoot, "", root), ERROR_SUCCESS);
  int classes = 0;
  for (const CString& key : root.subkeys)
    if (Value(key + "\\shell\\open\\command") != "<none>") ++classes;
  EXPECT_EQ(classes, 20);
  EXPECT_EQ(Value("QLLI Report"), "QLLI Report Parent Descendants");  // the later row wins

  const char* dde = "[open(\"%1\")]";
  struct Case {
    const char* cls;
    const char* description;
    const char* command;
    const char* icon;
  } cases[] = {
      {"QLLIMolDoc", "Quillion DNA/RNA Document", "\"/opt/suite/Quillion App\" -NoSplash",
       "/opt/suite/Quillion App,-20"},
      {"QLLIGelDoc", "Quillion Gel Document", "\"/opt/suite/Quillion App\"",
       "/opt/suite/Quillion App,-21"},
      {"QLLIPMArc", "Quillion Protein Motif Archive", "\"/opt/suite/Quillion App\"", "<none>"},
      {"EkMol file", "EkMol file", "\"/opt/suite/Quillion App\"", "<none>"},
      {"QLLIGeneralFeatureFormat", "Quillion General Feature Format", "\"/opt/suite/Quillion App\"",
       "/opt/suite/Quillion App,-3006"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cls);
    CString cls = c.cls;
    EXPECT_EQ(Value(cls), c.description);
    EXPECT_EQ(Value(cls + "\\shell\\open\\ddeexec"), dde);
    EXPECT_EQ(Value(cls + "\\shell\\open\\ddeexec\\ifexec"), dde);
    EXPECT_EQ(zel_registry::OpenKey(kRoot, cls + "\\shell\\open\\ddeexec\\Application"),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Value(cls + "\\shell\\open\\command"), c.command);
    EXPECT_EQ(Value(cls + "\\DefaultIcon"), c.icon);
  }
  EXPECT_EQ(Value(".gb"), "QLLIMolDoc");
  EXPECT_EQ(Value(".gp"), "OtherProgram.Document");  // another program's association stays
  EXPECT_EQ(Value(".ekm"), "EkMol file");
  EXPECT_EQ(Value(".txt"), "<none>");  // rows without a class
}

TEST_F(ShellRegistrationTest, ServerNameOtherThanTheProgramIsNamed) {
  CString server = ZelGetDDEServerName();
  ASSERT_EQ(zel_registry::SetString(kRoot, ".mq", nullptr, ""), ERROR_SUCCESS);
  app.m_strExeName = server + "-other";
  FTTENTRY rows[] = {
      {54, "Shortcuts", ".mq", nullptr, 1, "QLLIMolLink", "Quillion DNA/RNA Molecule Shortcut", -22,
       nullptr, "QLmq", "QLLI", 1, 0, "-NoSplash"},
      {99, "No description", ".zz", nullptr, 1, "NoDesc", nullptr, 5, nullptr, "TEXT", "QLLI", 0, 0,
       nullptr},
      {98, "No extension", "", nullptr, 1, "NoExt", "No extension", 5, nullptr, "TEXT", "QLLI", 0,
       0, nullptr},
  };
  RegisterZelShellFileTypes(rows, 3);
  EXPECT_EQ(Value("QLLIMolLink\\shell\\open\\ddeexec\\Application"), server);
  EXPECT_EQ(Value(".mq"), "QLLIMolLink");  // an empty association is replaced
  EXPECT_EQ(zel_registry::OpenKey(kRoot, "NoDesc"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(zel_registry::OpenKey(kRoot, "NoExt"), ERROR_FILE_NOT_FOUND);
  // Registering again with the matching name removes the key.
  app.m_strExeName = server;
  RegisterZelShellFileTypes(rows, 1);
  EXPECT_EQ(zel_registry::OpenKey(kRoot, "QLLIMolLink\\shell\\open\\ddeexec\\Application"),
            ERROR_FILE_NOT_FOUND);
}

TEST_F(ShellRegistrationTest, MimeTypesNeedTheirExtensionKey) {
  RegisterZelMimeTypes();
  zel_registry::KeyListing root;
  EXPECT_NE(zel_registry::ListKey(kRoot, "MIME", root), ERROR_SUCCESS);

  ASSERT_EQ(zel_registry::CreateKey(kRoot, ".gb"), ERROR_SUCCESS);
  ASSERT_EQ(zel_registry::SetString(kRoot, ".gp", "Content Type", "text/x-mine"), ERROR_SUCCESS);
  RegisterZelMimeTypes();
  EXPECT_EQ(Value(".gb", "Content Type"), "chemical/seq-na-genbank");
  EXPECT_EQ(Value(".gp", "Content Type"), "text/x-mine");
  EXPECT_EQ(Value("MIME\\Database\\Content Type\\chemical/seq-na-genbank", "Extension"), ".gb");
  EXPECT_EQ(Value("MIME\\Database\\Content Type\\chemical/seq-aa-genpept", "Extension"), ".gp");
  EXPECT_EQ(zel_registry::OpenKey(kRoot, "MIME\\Database\\Content Type\\application/qlli-ekmols"),
            ERROR_FILE_NOT_FOUND);
}

// Removal takes out every key registration wrote, classes written by several rows
// included, and leaves what other programs made or changed since.
TEST_F(ShellRegistrationTest, RemovalTakesOutWhatWasWrittenAndLeavesTheRest) {
  RegisterZelShellFileTypes(nullptr, 0);
  RegisterZelMimeTypes();
  ZelShellRegistration removed = UnregisterZelShellFileTypes(nullptr, 0);
  EXPECT_EQ(removed.classes, 20);
  zel_registry::KeyListing root;
  ASSERT_EQ(zel_registry::ListKey(kRoot, "", root), ERROR_SUCCESS);
  EXPECT_EQ(root.subkeys, std::vector<CString>{}) << "left in the class root";
  EXPECT_TRUE(root.values.empty());

  // Changed by others after the registration: the gel class's icon, the motif archive's
  // open command, .gb pointed elsewhere; and a verb of their own added to the DNA class.
  RegisterZelShellFileTypes(nullptr, 0);
  RegisterZelMimeTypes();
  zel_registry::SetString(kRoot, "QLLIGelDoc\\DefaultIcon", nullptr, "/opt/gel.png");
  zel_registry::SetString(kRoot, "QLLIPMArc\\shell\\open\\command", nullptr, "motifs %1");
  zel_registry::SetString(kRoot, ".gb", nullptr, "Other.Document");
  zel_registry::SetString(kRoot, "QLLIMolDoc\\shell\\print\\command", nullptr, "print %1");
  removed = UnregisterZelShellFileTypes(nullptr, 0);
  EXPECT_EQ(removed.classes, 19);
  struct Case {
    const char* key;
    const char* name;
    const char* value;  // <none>: gone
  } cases[] = {
      {"QLLIGelDoc\\DefaultIcon", nullptr, "/opt/gel.png"},
      {"QLLIGelDoc", nullptr, "<none>"},
      {"QLLIGelDoc\\shell\\open\\command", nullptr, "<none>"},
      {"QLLIPMArc", nullptr, "Quillion Protein Motif Archive"},
      {"QLLIPMArc\\shell\\open\\command", nullptr, "motifs %1"},
      {"QLLIPMArc\\shell\\open\\ddeexec", nullptr, "[open(\"%1\")]"},
      {".gb", nullptr, "Other.Document"},
      {".gb", "Content Type", "chemical/seq-na-genbank"},
      {"MIME\\Database\\Content Type\\chemical/seq-na-genbank", "Extension", ".gb"},
      {"MIME\\Database\\Content Type\\chemical/seq-aa-genpept", "Extension", "<none>"},
      {"QLLIMolDoc", nullptr, "<none>"},
      {"QLLIMolDoc\\shell\\print\\command", nullptr, "print %1"},
      {"QLLIMolDoc\\shell\\open\\command", nullptr, "<none>"},
      {"QLLI Report", nullptr, "<none>"},
      {".ekm", nullptr, "<none>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(Value(c.key, c.name), c.value);
  }
  EXPECT_EQ(zel_registry::OpenKey(kRoot, "QLLI Report"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(zel_registry::OpenKey(kRoot, ".ekm"), ERROR_FILE_NOT_FOUND);
}

}  // namespace
