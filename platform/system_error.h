// The error codes the suite keeps and prints: errno on POSIX; on Windows the
// code GetLastError() gives, except that a name which exists already is kept
// as EEXIST, the one code that callers act upon (they refuse to replace).
#pragma once

#include <cerrno>

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif

namespace platform {

#if defined(_WIN32)
inline int SystemErrorCode(DWORD code) {
  if (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS) return EEXIST;
  return code != 0 ? static_cast<int>(code) : EIO;
}
inline int LastSystemError() { return SystemErrorCode(::GetLastError()); }
#else
inline int LastSystemError() { return errno; }
#endif

}  // namespace platform
