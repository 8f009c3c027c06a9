#include "platform/shared_library.h"

#include <dlfcn.h>

#include "platform/program_folder.h"

namespace platform {

SharedLibrary::~SharedLibrary() { Unload(); }

bool SharedLibrary::Load(const std::string& fileName) {
  Unload();
  if (fileName.find('/') == std::string::npos) {
    std::string beside = JoinPath(ExecutableFolder(), fileName);
    handle_ = ::dlopen(beside.c_str(), RTLD_NOW | RTLD_LOCAL);
  }
  if (!handle_) handle_ = ::dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) {
    const char* message = ::dlerror();
    error_ = message ? message : "unknown error";
    return false;
  }
  error_.clear();
  return true;
}

void SharedLibrary::Unload() {
  if (handle_) ::dlclose(handle_);
  handle_ = nullptr;
}

void* SharedLibrary::Resolve(const char* name) const { return handle_ ? ::dlsym(handle_, name) : nullptr; }

}  // namespace platform
