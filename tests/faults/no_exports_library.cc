// A checksum library that has lost its checksum exports: only the name is left.
#include <cstring>

extern "C" __attribute__((visibility("default"))) int GetName(char* buffer) {
  std::memcpy(buffer, "VTBL", 5);
  return 1;
}
