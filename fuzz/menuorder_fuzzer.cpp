// The menu-order file: any bytes are an order or none; an order read is stored as it
// reads, and the tree answers its look-ups.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "tools/MenuOrder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1 << 20)) return 0;
  std::string bytes(reinterpret_cast<const char*>(data), size);
  std::unique_ptr<CMenuOrder> order(CMenuOrder::Load(bytes));
  if (!order) {
    // Seal the payload with a right checksum, to get past the first gate.
    if (size < 20) return 0;
    std::string payload = bytes.substr(20);
    uint32_t h = 2166136261u;
    for (char c : payload) {
      h ^= static_cast<unsigned char>(c);
      h *= 16777619u;
    }
    std::string sealed = CMenuOrder().Store().substr(0, 12);
    for (int i = 0; i < 4; ++i) sealed += static_cast<char>((payload.size() >> (8 * i)) & 0xFF);
    for (int i = 0; i < 4; ++i) sealed += static_cast<char>((h >> (8 * i)) & 0xFF);
    order.reset(CMenuOrder::Load(sealed + payload));
    if (!order) return 0;
  }
  std::string stored = order->Store();
  std::unique_ptr<CMenuOrder> again(CMenuOrder::Load(stored));
  if (!again || again->Store() != stored) std::abort();
  order->StartMonitor();
  for (POSITION p = order->GetChildren().GetStartPosition(); p;) {
    CString key;
    CObject* child;
    order->GetChildren().GetNextAssoc(p, key, child);
    order->GetChildOrderName(key);
    order->GetInsertName(key, nullptr);
    order->GetInsertName(nullptr, key);
  }
  order->StopMonitor();
  return 0;
}
