// The checksum library's exports. It keeps no state between calls but the
// host's message handler; every call opens the font file by name.
#include "sumkit/sumkit.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

#include "core/sfnt/checksum.h"
#include "core/io/readable_file.h"

namespace {

struct MessageRoute {
  std::mutex lock;
  SumkitMessageHandler handler = nullptr;
  void* context = nullptr;
};

MessageRoute& Route() {
  static MessageRoute route;
  return route;
}

void ShowMessage(const char* caption, const std::string& text) {
  SumkitMessageHandler handler;
  void* context;
  {
    std::lock_guard<std::mutex> hold(Route().lock);
    handler = Route().handler;
    context = Route().context;
  }
  if (handler) handler(caption, text.c_str(), context);
  else std::fprintf(stderr, "%s: %s\n", caption, text.c_str());
}

bool OpenFont(const char* fontPath, core::ReadableFile* file) {
  const char* path = fontPath ? fontPath : "";
  if (file->Open(path)) return true;
  ShowMessage("ERROR", "Function CreateFile(" + std::string(path) + ") has an error at 1!! " +
                           std::to_string(file->error()));
  return false;
}

// A sum over bytes that could not all be read is no sum: the failure is
// shown and 0 returned, as for a file that cannot be opened.
uint32_t Checked(const char* fontPath, const core::ReadableFile& file, uint32_t sum) {
  if (file.read_error() == 0) return sum;
  ShowMessage("ERROR", "Function ReadFile(" + std::string(fontPath) + ") has an error at 1!! " +
                           std::to_string(file.read_error()));
  return 0;
}

}  // namespace

// Offsets are taken as unsigned 32-bit positions, so tables beyond 2 GiB
// are summed where they lie rather than at a negative position.
extern "C" uint32_t CalcTblCheckSum(const char* fontPath, int32_t offset, uint32_t length) {
  core::ReadableFile file;
  if (!OpenFont(fontPath, &file)) return 0;
  return Checked(fontPath, file, core::TableCheckSum(file, static_cast<uint32_t>(offset), length));
}

extern "C" uint32_t CalcHeadCheckSum(const char* fontPath, int32_t offset) {
  core::ReadableFile file;
  if (!OpenFont(fontPath, &file)) return 0;
  return Checked(fontPath, file, core::HeadCheckSum(file, static_cast<uint32_t>(offset)));
}

extern "C" int GetName(char* buffer) {
  std::memcpy(buffer, "VTBL", 5);
  return 1;
}

extern "C" void SumkitSetMessageHandler(SumkitMessageHandler handler, void* context) {
  std::lock_guard<std::mutex> hold(Route().lock);
  Route().handler = handler;
  Route().context = context;
}
