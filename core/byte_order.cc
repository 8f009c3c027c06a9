#include "core/byte_order.h"

#include <algorithm>

namespace core {

int ReverseBytes(void* buffer, unsigned length) {
  if (length > 1024) return 0;
  auto* bytes = static_cast<uint8_t*>(buffer);
  std::reverse(bytes, bytes + length);
  return 1;
}

}  // namespace core
