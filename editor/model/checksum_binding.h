// The editor's binding to the checksum library: loaded by file name at the
// start of every analysis run, its exports resolved by name, released at the
// end of the run. While bound, the library's messages reach the run's
// message sink.
#pragma once

#include <cstdint>
#include <string>

#include "shell/sinks.h"
#include "platform/shared_library.h"
#include "sumkit/sumkit.h"

namespace editor {

// The checksum library's file name on this system.
#if defined(_WIN32)
inline constexpr const char* kChecksumLibraryName = "sumkit.dll";
#else
inline constexpr const char* kChecksumLibraryName = "libsumkit.so";
#endif

class ChecksumLibrary {
 public:
  ChecksumLibrary() = default;
  ~ChecksumLibrary() { Release(); }
  ChecksumLibrary(const ChecksumLibrary&) = delete;
  ChecksumLibrary& operator=(const ChecksumLibrary&) = delete;

  // Loads the library (beside the executable first) and resolves
  // CalcTblCheckSum, CalcHeadCheckSum and, when present, the message handler
  // export. False when the file cannot be loaded.
  bool Bind(shell::MessageSink& messages, const std::string& fileName = kChecksumLibraryName);
  // Restores the library's own message route and unloads it.
  void Release();

  bool hasTableSum() const { return tableSum_ != nullptr; }
  // True when both checksum exports are there.
  bool hasBothSums() const { return tableSum_ && headSum_; }
  // How many messages the library showed while bound: each one tells of a
  // file it could not open or read, and so of a sum it gave as 0.
  int failures() const { return failures_; }
  bool hasHeadSum() const { return headSum_ != nullptr; }
  // The exports; 0 when the export is missing.
  uint32_t TableSum(const std::string& fontPath, uint32_t offset, uint32_t length) const;
  uint32_t HeadSum(const std::string& fontPath, uint32_t offset) const;

 private:
  platform::SharedLibrary library_;
  CalcTblCheckSumFunction tableSum_ = nullptr;
  CalcHeadCheckSumFunction headSum_ = nullptr;
  SumkitSetMessageHandlerFunction setHandler_ = nullptr;
  shell::MessageSink* messages_ = nullptr;
  int failures_ = 0;

  friend void RouteLibraryMessage(const char* caption, const char* text, void* context);
};

// The message box of a library that cannot be loaded.
shell::Message LibraryNotLoadedMessage(const std::string& fileName = kChecksumLibraryName);

}  // namespace editor
