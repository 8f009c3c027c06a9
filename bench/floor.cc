// The floor of a headless command: what any program doing the same job must
// pay. `floor read IN` starts, reads IN once and ends; `floor copy IN OUT N`
// also writes N bytes (IN's bytes, again from the start where N is larger)
// to the new file OUT and flushes it to disk, as the suite flushes every
// output before moving it into place.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

int Fail(const char* what, const char* path) {
  std::fprintf(stderr, "floor: %s %s: %s\n", what, path, std::strerror(errno));
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  bool copy = argc == 5 && std::strcmp(argv[1], "copy") == 0;
  if (!copy && !(argc == 3 && std::strcmp(argv[1], "read") == 0)) {
    std::fputs("usage: floor read IN | floor copy IN OUT BYTES\n", stderr);
    return 2;
  }
  int in = ::open(argv[2], O_RDONLY | O_CLOEXEC);
  if (in < 0) return Fail("open", argv[2]);
  int out = -1;
  unsigned long long wanted = 0;
  if (copy) {
    wanted = std::strtoull(argv[4], nullptr, 10);
    out = ::open(argv[3], O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (out < 0) return Fail("create", argv[3]);
  }
  // One block, reused: the input is read once, and what is written goes out
  // as it comes in.
  std::vector<char> block(1 << 18);
  bool again = false;  // the input has ended once and is read from its start again
  for (;;) {
    ssize_t got = ::read(in, block.data(), block.size());
    if (got < 0) return Fail("read", argv[2]);
    if (got == 0) {
      if (!copy || wanted == 0 || again) break;
      again = true;
      ::lseek(in, 0, SEEK_SET);
      continue;
    }
    again = false;
    if (!copy) continue;
    size_t part = wanted < static_cast<unsigned long long>(got) ? static_cast<size_t>(wanted) : static_cast<size_t>(got);
    for (size_t done = 0; done < part;) {
      ssize_t put = ::write(out, block.data() + done, part - done);
      if (put < 0) return Fail("write", argv[3]);
      done += static_cast<size_t>(put);
    }
    wanted -= part;
    if (wanted == 0) break;
  }
  ::close(in);
  if (!copy) return 0;
  if (::fsync(out) != 0) return Fail("flush", argv[3]);
  return ::close(out) == 0 ? 0 : Fail("close", argv[3]);
}
