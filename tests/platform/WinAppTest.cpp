// The application object knows its program, as the framework's does.
#include <gtest/gtest.h>

#include "platform/user/app/HostIdentity.h"
#include "platform/user/app/WinApp.h"
#include "tests/support/TestSupport.h"

namespace {

TEST(WinAppTest, NamesComeFromTheRunningProgram) {
  zel_test::TempDir home;  // the service name is written to the settings
  CWinApp app;
  EXPECT_EQ(app.m_strExeName, "test_platform");
  EXPECT_EQ(app.m_strAppName, "test_platform");
  EXPECT_EQ(app.m_strExePath.Right(14), "/test_platform");
  CWinApp named("Named App");
  EXPECT_EQ(named.m_strAppName, "Named App");
  EXPECT_EQ(named.m_strExeName, "test_platform");
  // Hence the automation service name is never empty.
  EXPECT_EQ(ZelGetDDEServerName(), "test_platform");
}

}  // namespace
