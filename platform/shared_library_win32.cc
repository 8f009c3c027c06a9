// Run-time loading on Windows: LoadLibraryW, the executable's folder first
// (by its full path), then the system's search.
#include "platform/shared_library.h"

#include "platform/program_folder.h"
#include "platform/wide_text.h"

namespace platform {

SharedLibrary::~SharedLibrary() { Unload(); }

bool SharedLibrary::Load(const std::string& fileName) {
  Unload();
  HMODULE module = nullptr;
  if (LastSeparator(fileName) == std::string::npos)
    module = ::LoadLibraryW(Widen(JoinPath(ExecutableFolder(), fileName)).c_str());
  if (!module) module = ::LoadLibraryW(Widen(fileName).c_str());
  if (!module) {
    error_ = "error " + std::to_string(::GetLastError());
    return false;
  }
  handle_ = reinterpret_cast<void*>(module);
  error_.clear();
  return true;
}

void SharedLibrary::Unload() {
  if (handle_) ::FreeLibrary(reinterpret_cast<HMODULE>(handle_));
  handle_ = nullptr;
}

void* SharedLibrary::Resolve(const char* name) const {
  return handle_ ? reinterpret_cast<void*>(::GetProcAddress(reinterpret_cast<HMODULE>(handle_), name)) : nullptr;
}

}  // namespace platform
