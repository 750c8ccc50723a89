// The resource table, bitmaps decoded from it and accelerator tables.
#include "platform/user/resource/Resources.h"

#include <map>
#include <mutex>
#include <unordered_map>

#include "platform/os/state/StateFile.h"
#include "platform/user/gdi/Bitmap.h"
#include "platform/user/resource/Png.h"
#include "platform/user/system/SystemValues.h"

namespace {

std::mutex g_mutex;
std::map<std::pair<UINT, UINT>, std::string>& Resources() {
  static std::map<std::pair<UINT, UINT>, std::string> resources;
  return resources;
}

struct Accelerators {
  std::unordered_map<uintptr_t, std::vector<ACCEL>> tables;
  std::map<UINT, HACCEL> loaded;  // resource id to the table it loaded as
  uintptr_t serial = 0;
};
Accelerators& Accels() {
  static Accelerators accels;
  return accels;
}

void PutWord(std::string& b, WORD w) {
  b += static_cast<char>(w & 0xFF);
  b += static_cast<char>(w >> 8);
}

HACCEL MakeTable(std::vector<ACCEL> entries) {
  Accelerators& a = Accels();
  HACCEL h(0x300000 + ++a.serial);
  a.tables.emplace(h.value, std::move(entries));
  return h;
}

}  // namespace

void AfxSetResource(UINT type, UINT id, const std::string& bytes) {
  std::lock_guard lock(g_mutex);
  if (bytes.empty())
    Resources().erase({type, id});
  else
    Resources()[{type, id}] = bytes;
  // A reloaded accelerator resource is a new table.
  if (type == RT_ACCELERATOR) Accels().loaded.erase(id);
}

bool AfxFindResource(UINT type, UINT id, std::string& bytes) {
  std::lock_guard lock(g_mutex);
  auto it = Resources().find({type, id});
  if (it == Resources().end()) return false;
  bytes = it->second;
  return true;
}

void AfxSetBitmapResource(UINT id, const std::string& png) { AfxSetResource(RT_BITMAP, id, png); }

std::error_code AfxSetBitmapResourceFile(UINT id, const char* path) {
  std::string bytes;
  std::error_code err = zel_state::ReadFile(path, bytes);
  if (err) return err;
  AfxSetBitmapResource(id, bytes);
  return {};
}

void AfxSetToolbarResource(UINT id, int width, int height, const UINT* ids, int count) {
  std::string b;
  if (count < 0 || (count > 0 && !ids)) count = 0;
  PutWord(b, 1);
  PutWord(b, static_cast<WORD>(width));
  PutWord(b, static_cast<WORD>(height));
  PutWord(b, static_cast<WORD>(count));
  for (int i = 0; i < count; ++i) PutWord(b, static_cast<WORD>(ids[i]));
  AfxSetResource(RT_TOOLBAR, id, b);
}

void AfxSetAcceleratorResource(UINT id, const ACCEL* entries, int count) {
  std::string b;
  for (int i = 0; entries && i < count; ++i) {
    b += static_cast<char>(entries[i].fVirt);
    PutWord(b, entries[i].key);
    PutWord(b, entries[i].cmd);
  }
  AfxSetResource(RT_ACCELERATOR, id, b);
}

HBITMAP LoadBitmap(HINSTANCE module, UINT id) {
  if (!module && id == OBM_CHECK) return SystemCheckBitmap();
  std::string bytes;
  if (!AfxFindResource(RT_BITMAP, id, bytes)) return HBITMAP();
  zel_resource::Image image;
  if (zel_resource::DecodePng(bytes, image)) return HBITMAP();
  return CreateBitmap32(image.width, image.height, image.pixels.data());
}

HBITMAP LoadSysColorBitmap(UINT id) {
  HBITMAP h = LoadBitmap(HINSTANCE(), id);
  if (!h) return h;
  std::vector<uint32_t> px;
  GetBitmapPixels(h, px);
  auto sys = [](int index) {
    const COLORREF c = GetSysColor(index);
    return (static_cast<uint32_t>(GetRValue(c)) << 16) |
           (static_cast<uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
  };
  const std::pair<uint32_t, uint32_t> map[] = {{0x000000, sys(COLOR_BTNTEXT)},
                                               {0x808080, sys(COLOR_BTNSHADOW)},
                                               {0xC0C0C0, sys(COLOR_BTNFACE)},
                                               {0xFFFFFF, sys(COLOR_BTNHIGHLIGHT)}};
  for (uint32_t& p : px) {
    for (const auto& [from, to] : map) {
      if ((p & 0xFFFFFF) == from) {
        p = (p & 0xFF000000u) | to;
        break;
      }
    }
  }
  SetBitmapPixels(h, px.data());
  return h;
}

HACCEL LoadAccelerators(HINSTANCE, UINT id) {
  std::lock_guard lock(g_mutex);
  auto res = Resources().find({RT_ACCELERATOR, id});
  if (res == Resources().end()) return HACCEL();
  Accelerators& a = Accels();
  if (auto it = a.loaded.find(id); it != a.loaded.end() && a.tables.count(it->second.value))
    return it->second;
  const std::string& b = res->second;
  std::vector<ACCEL> entries;
  for (size_t i = 0; i + 5 <= b.size(); i += 5) {
    auto word = [&](size_t at) {
      return static_cast<WORD>(static_cast<unsigned char>(b[at]) |
                               (static_cast<unsigned char>(b[at + 1]) << 8));
    };
    entries.push_back(ACCEL{static_cast<BYTE>(b[i]), word(i + 1), word(i + 3)});
  }
  HACCEL h = MakeTable(std::move(entries));
  a.loaded[id] = h;
  return h;
}

HACCEL CreateAcceleratorTable(const ACCEL* entries, int count) {
  if (!entries || count <= 0) return HACCEL();
  std::lock_guard lock(g_mutex);
  return MakeTable(std::vector<ACCEL>(entries, entries + count));
}

BOOL DestroyAcceleratorTable(HACCEL table) {
  std::lock_guard lock(g_mutex);
  return Accels().tables.erase(table.value) ? TRUE : FALSE;
}

int CopyAcceleratorTable(HACCEL table, ACCEL* entries, int count) {
  std::lock_guard lock(g_mutex);
  auto it = Accels().tables.find(table.value);
  if (it == Accels().tables.end()) return 0;
  const std::vector<ACCEL>& all = it->second;
  if (!entries) return static_cast<int>(all.size());
  const int n = std::min(count, static_cast<int>(all.size()));
  for (int i = 0; i < n; ++i) entries[i] = all[static_cast<size_t>(i)];
  return n;
}
