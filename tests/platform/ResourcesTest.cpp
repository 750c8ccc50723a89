// Resources the application registers, PNG decoding, key names and the fixed file icons.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/user/fileicons/FileIcons.h"
#include "platform/user/gdi/Bitmap.h"
#include "platform/user/resource/KeyNames.h"
#include "platform/user/resource/Png.h"
#include "platform/user/resource/Resources.h"
#include "platform/user/system/SystemValues.h"
#include "tests/support/PngFixture.h"

namespace {

TEST(PngTest, DecodesPixelsWithTheirAlphaAndRefusesDamagedFiles) {
  const std::vector<uint32_t> pixels = {0xFF112233u, 0x00000000u, 0x80FF0000u,
                                        0xFFFFFFFFu, 0xFF000000u, 0xFF00FF00u};
  const std::string png = zel_test::PngBytes(3, 2, pixels);
  zel_resource::Image image;
  ASSERT_FALSE(zel_resource::DecodePng(png, image));
  EXPECT_EQ(image.width, 3);
  EXPECT_EQ(image.height, 2);
  EXPECT_EQ(image.pixels, pixels);
  // Cut short, garbage, a lying header: no image and a reason, never a crash.
  std::string detail;
  for (const std::string& bad : {png.substr(0, png.size() / 2), std::string("not a png at all"),
                                 std::string(), png.substr(0, 8)}) {
    EXPECT_TRUE(zel_resource::DecodePng(bad, image, &detail));
    EXPECT_TRUE(image.pixels.empty());
  }
  std::string huge = png;
  huge[16] = 0x7F;  // width far beyond any toolbar (the IHDR's first byte)
  EXPECT_TRUE(zel_resource::DecodePng(huge, image, &detail));
  EXPECT_FALSE(detail.empty());
}

TEST(ResourcesTest, BitmapsLoadFromTheTableWithClassicColoursMapped) {
  // Black, dark grey, light grey and white become the system's button colours; others
  // and the alpha channel stay.
  const std::vector<uint32_t> pixels = {0xFF000000u, 0xFF808080u, 0xFFC0C0C0u,
                                        0xFFFFFFFFu, 0x80123456u, 0x00C0C0C0u};
  AfxSetBitmapResource(700, zel_test::PngBytes(6, 1, pixels));
  HBITMAP plain = LoadBitmap(HINSTANCE(), 700);
  ASSERT_TRUE(plain);
  std::vector<uint32_t> got;
  GetBitmapPixels(plain, got);
  EXPECT_EQ(got, pixels);
  DeleteBitmap(plain);
  HBITMAP mapped = LoadSysColorBitmap(700);
  GetBitmapPixels(mapped, got);
  auto rgb = [](int index) {
    const COLORREF c = GetSysColor(index);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
  };
  EXPECT_EQ(got[0], 0xFF000000u | rgb(COLOR_BTNTEXT));
  EXPECT_EQ(got[1], 0xFF000000u | rgb(COLOR_BTNSHADOW));
  EXPECT_EQ(got[2], 0xFF000000u | rgb(COLOR_BTNFACE));
  EXPECT_EQ(got[3], 0xFF000000u | rgb(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(got[4], 0x80123456u);
  EXPECT_EQ(got[5], static_cast<uint32_t>(rgb(COLOR_BTNFACE)));  // transparent stays so
  DeleteBitmap(mapped);
  EXPECT_FALSE(DeleteBitmap(mapped));
  // Missing and damaged resources load as no bitmap.
  EXPECT_FALSE(LoadBitmap(HINSTANCE(), 701));
  AfxSetBitmapResource(701, "\x89PNG\r\n\x1a\n broken");
  EXPECT_FALSE(LoadBitmap(HINSTANCE(), 701));
  EXPECT_FALSE(AfxSetBitmapResourceFile(702, "/no/such/file.png") == std::error_code());
  // The system check mark is shared and check-mark sized.
  HBITMAP check = LoadBitmap(HINSTANCE(), OBM_CHECK);
  EXPECT_EQ(check, SystemCheckBitmap());
  SIZE size;
  ASSERT_TRUE(GetBitmapDimension(check, &size));
  EXPECT_EQ(size.cx, GetSystemMetrics(SM_CXMENUCHECK));
}

TEST(ResourcesTest, ToolbarRecordsAreWordsAsThePlatformKeepsThem) {
  const UINT ids[] = {10, 0, 12};
  AfxSetToolbarResource(710, 16, 15, ids, 3);
  std::string words;
  ASSERT_TRUE(AfxFindResource(RT_TOOLBAR, 710, words));
  const std::string expected("\x01\x00\x10\x00\x0F\x00\x03\x00\x0A\x00\x00\x00\x0C\x00", 14);
  EXPECT_EQ(words, expected);
  AfxSetResource(RT_TOOLBAR, 710, "");
  EXPECT_FALSE(AfxFindResource(RT_TOOLBAR, 710, words));
}

TEST(KeyNamesTest, KeysAreNamedAsAcceleratorsShowThem) {
  struct Case {
    UINT key;
    const char* name;
  } cases[] = {{'A', "A"},
               {'7', "7"},
               {VK_F1, "F1"},
               {VK_F24, "F24"},
               {VK_DELETE, "Del"},
               {VK_INSERT, "Ins"},
               {VK_PRIOR, "Page Up"},
               {VK_NEXT, "Page Down"},
               {VK_LEFT, "Left"},
               {VK_SPACE, "Space"},
               {VK_RETURN, "Enter"},
               {VK_ESCAPE, "Esc"},
               {VK_BACK, "Backspace"},
               {VK_TAB, "Tab"},
               {VK_HOME, "Home"},
               {VK_END, "End"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    char name[64];
    EXPECT_EQ(ZelGetKeyName(c.key, name, sizeof name), static_cast<int>(std::strlen(c.name)));
    EXPECT_STREQ(name, c.name);
  }
  char small[4];
  EXPECT_EQ(ZelGetKeyName(VK_NEXT, small, sizeof small), 3);
  EXPECT_STREQ(small, "Pag");
  EXPECT_EQ(ZelGetKeyName(0xFF, small, sizeof small), 0);
  EXPECT_STREQ(small, "");
}

TEST(FileIconsTest, TheFixedListIsKeyedByTheNamesExtension) {
  SHFILEINFO info;
  auto icon = [&](const char* name, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    DWORD_PTR list = SHGetFileInfo(name, attributes, &info, sizeof info,
                                   SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES);
    EXPECT_NE(list, 0u) << name;
    return info.iIcon;
  };
  EXPECT_EQ(icon("/exe/viewer.exe"), icon("OTHER.EXE"));
  EXPECT_EQ(icon("Blast.tq"), 3);
  EXPECT_EQ(icon("Menu/NCBI.url"), 4);
  EXPECT_EQ(icon("page.HTML"), 4);
  EXPECT_EQ(icon("README"), 0);
  EXPECT_EQ(icon("archive.unknown"), 0);
  EXPECT_EQ(icon("Tools", FILE_ATTRIBUTE_DIRECTORY), 1);
  auto* small = reinterpret_cast<CImageList*>(
      SHGetFileInfo("x.fa", 0, &info, sizeof info,
                    SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES));
  ASSERT_NE(small, nullptr);
  EXPECT_EQ(small->Width(), 16);
  EXPECT_EQ(small->GetImageCount(), 11);
  // Each icon has a shape: some pixels transparent, some in its colour.
  const std::vector<uint32_t>& px = small->Pixels(info.iIcon);
  EXPECT_NE(std::count(px.begin(), px.end(), 0u), 0);
  EXPECT_NE(std::count(px.begin(), px.end(), 0xFFD33A3Au), 0);
  auto* large = reinterpret_cast<CImageList*>(
      SHGetFileInfo("x.fa", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES));
  EXPECT_EQ(large->Width(), 32);
  ASSERT_EQ(SHGetFileInfo("dir/My File.txt", 0, &info, sizeof info,
                          SHGFI_TYPENAME | SHGFI_DISPLAYNAME | SHGFI_USEFILEATTRIBUTES),
            1u);
  EXPECT_STREQ(info.szTypeName, "Text Document");
  EXPECT_STREQ(info.szDisplayName, "My File.txt");
}

}  // namespace
