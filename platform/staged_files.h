// Staged files: the named files in which a writer builds a file beside its
// destination, where the file system cannot make a file without a name
// (AtomicOutput) or where a set of files is replaced together
// (ReplacementSet). A killed writer leaves its staged file behind; the next
// run that stages a file in the same folder removes those whose writer is
// provably gone.
//
// A staged file is named
//   "." NAME ".part-" HOST "." KIND PROCESS "." RANDOM
// HOST being this machine's name (letters, digits and '-'; every other byte
// '_'), PROCESS the writer's process number in decimal, RANDOM six letters
// and digits, and KIND 'h' when the writer holds a lock on the file from
// just after making it until it has its final name, or 'p' when the file is
// closed before that (the files of a replacement set, too many to keep
// open). A staged file is stale when
//   - HOST is this machine, PROCESS is not this process and has ended, and
//     nobody holds a lock on the file; or
//   - it is of kind 'h', HOST is another machine, and nobody holds its lock
//     (a process number of another machine tells nothing here).
// A writer that finds, once it holds the lock, that its name no longer
// leads to its file (another machine's sweep removed it before it was
// locked) makes another. Names without these parts (the plain
// ".NAME.part-RANDOM" of earlier versions, and of Windows, where the file
// system keeps a file that is open from being removed and no sweep runs)
// are never removed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

enum class StagedKind : char { kHeld = 'h', kClosed = 'p' };

struct StagedFileParts {
  std::string host;
  uint64_t process = 0;
  StagedKind kind = StagedKind::kClosed;
};

// The name of a staged file (no folder part).
std::string StagedFileName(std::string_view destinationName, StagedKind kind, std::string_view host,
                           uint64_t process, std::string_view random);

// The parts of a staged file's name; nothing when the name is not one.
std::optional<StagedFileParts> ParseStagedFileName(std::string_view fileName);

// Removes the stale staged files of `folder`; returns how many went.
size_t SweepStaleStagedFiles(const std::string& folder);

// The same, the first time it is asked for `folder` in this process.
void SweepStaleStagedFilesOnce(const std::string& folder);

}  // namespace platform
