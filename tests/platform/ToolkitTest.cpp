// The toolkit library is loaded only where it can stand on the program's core: never into
// a program, such as this test, that has the core linked into itself (zel, on the shared
// core, loads it for its drawing commands: the tip and demo tests show that).
#include <gtest/gtest.h>

#include "platform/os/module/Toolkit.h"
#include "platform/user/gdi/PictureBackend.h"
#include "platform/user/wnd/Desktop.h"

TEST(ToolkitTest, AProgramWithTheCoreLinkedInNeverLoadsIt) {
  EXPECT_FALSE(zel_module::EnsureToolkit());
  EXPECT_FALSE(zel_module::EnsureToolkit());  // asked again: the same answer, no retry
  // So no picture backend or desktop turns up on asking for them.
  EXPECT_EQ(ZelPictureBackend(), nullptr);
  EXPECT_EQ(zel_wnd::CurrentDesktop(), nullptr);
}
