/* Preloaded into a program to make it run as on a file system without
 * unnamed temporary files (NFS, CIFS): every open with O_TMPFILE fails with
 * EOPNOTSUPP, so that each output goes through a named staged file. */
#ifndef _GNU_SOURCE
#define _GNU_SOURCE
#endif
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <sys/types.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int (*open_fn)(const char*, int, ...);
typedef int (*openat_fn)(int, const char*, int, ...);

static int is_tmpfile(int flags) { return (flags & O_TMPFILE) == O_TMPFILE; }

static mode_t mode_of(int flags, va_list args) {
  return (flags & O_CREAT) || is_tmpfile(flags) ? va_arg(args, mode_t) : 0;
}

#define SHIM_OPEN(name)                                                      \
  int name(const char* path, int flags, ...) {                               \
    va_list args;                                                            \
    va_start(args, flags);                                                   \
    mode_t mode = mode_of(flags, args);                                      \
    va_end(args);                                                            \
    if (is_tmpfile(flags)) {                                                 \
      errno = EOPNOTSUPP;                                                    \
      return -1;                                                             \
    }                                                                        \
    return ((open_fn)dlsym(RTLD_NEXT, #name))(path, flags, mode);            \
  }

#define SHIM_OPENAT(name)                                                    \
  int name(int dir, const char* path, int flags, ...) {                      \
    va_list args;                                                            \
    va_start(args, flags);                                                   \
    mode_t mode = mode_of(flags, args);                                      \
    va_end(args);                                                            \
    if (is_tmpfile(flags)) {                                                 \
      errno = EOPNOTSUPP;                                                    \
      return -1;                                                             \
    }                                                                        \
    return ((openat_fn)dlsym(RTLD_NEXT, #name))(dir, path, flags, mode);     \
  }

SHIM_OPEN(open)
SHIM_OPEN(open64)
SHIM_OPENAT(openat)
SHIM_OPENAT(openat64)

#ifdef __cplusplus
}
#endif
