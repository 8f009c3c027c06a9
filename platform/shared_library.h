// Loading a shared library by file name at run time and resolving exports
// by name. The executable's own folder is searched first.
#pragma once

#include <string>

namespace platform {

class SharedLibrary {
 public:
  SharedLibrary() = default;
  ~SharedLibrary();
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;

  // fileName without a folder is sought beside the executable first, then by
  // the system's usual search.
  bool Load(const std::string& fileName);
  void Unload();
  bool loaded() const { return handle_ != nullptr; }
  const std::string& error() const { return error_; }

  void* Resolve(const char* name) const;
  template <typename Function>
  Function ResolveAs(const char* name) const {
    return reinterpret_cast<Function>(Resolve(name));
  }

 private:
  void* handle_ = nullptr;
  std::string error_;
};

}  // namespace platform
