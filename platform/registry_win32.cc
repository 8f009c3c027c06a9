#include "platform/registry.h"

#include <cstring>
#include <vector>

#include "platform/wide_text.h"

namespace platform::registry {
namespace {

// The key, made when missing: non-volatile, full access, no class.
HKEY OpenKey(const char* key) {
  HKEY handle = nullptr;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, Widen(key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &handle, nullptr) != ERROR_SUCCESS)
    return nullptr;
  return handle;
}

bool SetValue(const char* key, const char* name, DWORD type, const void* data, DWORD size) {
  HKEY handle = OpenKey(key);
  if (!handle) return false;
  bool ok = ::RegSetValueExW(handle, Widen(name).c_str(), 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
  ::RegCloseKey(handle);
  return ok;
}

// The value's bytes when it has the type asked for.
std::optional<std::vector<BYTE>> QueryValue(const char* key, const char* name, DWORD wanted) {
  HKEY handle = OpenKey(key);
  if (!handle) return std::nullopt;
  std::wstring wideName = Widen(name);
  DWORD type = 0, size = 0;
  std::optional<std::vector<BYTE>> value;
  if (::RegQueryValueExW(handle, wideName.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == wanted) {
    std::vector<BYTE> bytes(size);
    if (::RegQueryValueExW(handle, wideName.c_str(), nullptr, &type, bytes.data(), &size) == ERROR_SUCCESS) {
      bytes.resize(size);
      value = std::move(bytes);
    }
  }
  ::RegCloseKey(handle);
  return value;
}

}  // namespace

bool WriteText(const char* key, const char* name, const std::string& value) {
  std::wstring wide = Widen(value);
  return SetValue(key, name, REG_SZ, wide.c_str(), static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
}

std::optional<std::string> ReadText(const char* key, const char* name) {
  std::optional<std::vector<BYTE>> bytes = QueryValue(key, name, REG_SZ);
  if (!bytes) return std::nullopt;
  std::wstring wide(bytes->size() / sizeof(wchar_t), L'\0');
  std::memcpy(wide.data(), bytes->data(), wide.size() * sizeof(wchar_t));
  while (!wide.empty() && wide.back() == L'\0') wide.pop_back();
  return Narrow(wide);
}

bool WriteNumber(const char* key, const char* name, uint32_t value) {
  DWORD number = value;
  return SetValue(key, name, REG_DWORD, &number, sizeof number);
}

std::optional<uint32_t> ReadNumber(const char* key, const char* name) {
  std::optional<std::vector<BYTE>> bytes = QueryValue(key, name, REG_DWORD);
  if (!bytes || bytes->size() != sizeof(DWORD)) return std::nullopt;
  DWORD number = 0;
  std::memcpy(&number, bytes->data(), sizeof number);
  return number;
}

}  // namespace platform::registry
