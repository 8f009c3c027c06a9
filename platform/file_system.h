// The system calls under the platform's file writing (output_file.cc) and
// the work files written through descriptors, one set per system
// (file_system_posix.cc, file_system_win32.cc). Errors come back as the
// codes of system_error.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform::files {

// Writes all of [data, data + size) at `offset` of an open file.
bool WriteAllAt(int fd, const uint8_t* data, size_t size, uint64_t offset, int* error);

// A new, empty file that nobody else has opened, at exactly `path`; -1 with
// EEXIST when the name is taken.
int CreateNew(const std::string& path, int* error);

// A file in `folder` without a name, given one only when it is linked into
// place (so that a killed run leaves nothing behind); -1 where the system
// cannot make one.
int CreateUnnamedIn(const std::string& folder);
// Gives an unnamed file the name `to`, which must not exist.
bool LinkUnnamed(int fd, const std::string& to, int* error);

// Flushes a file's content to the disk; 0 or the error.
int SyncToDisk(int fd);
// Closes a descriptor; 0 or the error.
int CloseFile(int fd);
void RemoveFile(const std::string& path);
bool IsFolder(const std::string& path);
// A regular file itself, not a link to one.
bool IsPlainFile(const std::string& path);
// Whether an open failed only because the file (or a folder on its way) is not there.
bool IsMissing(int error);
// Gives the new file `fd` the permissions of the regular file at `path`,
// where there is one (a replaced settings file keeps them).
void KeepPermissionsOf(const std::string& path, int fd);
// Moves `from` to `to`, replacing a file there.
bool MoveReplacing(const std::string& from, const std::string& to, int* error);

// A descriptor of its own for the open file `fd`, emptied; -1 on failure.
int DuplicateEmptied(int fd, int* error);

// 64 bits from the system's random source, for unique file names.
uint64_t RandomBits();

// What staged files (staged_files.h) need of the system.
// This machine's name as staged files carry it: letters, digits and '-'
// kept, every other byte '_', at most 64. Empty where staged files keep
// their plain names (Windows) and no sweep runs.
const std::string& StagingHostName();
uint64_t CurrentProcessId();
// Whether process `id` of this machine has ended; false while it runs, and
// when that cannot be told.
bool ProcessEnded(uint64_t id);
// The names in `folder` that begin with '.' and hold ".part-".
std::vector<std::string> HiddenPartNames(const std::string& folder);
// Takes the writer's lock on the staged file `fd` it has just made at
// `path`, waiting while a sweep holds it for a moment, then checks that the
// name still leads to the file. False with ENOENT when it does not (a sweep
// removed it first). A file system without locks leaves it unlocked.
bool HoldStaged(int fd, const std::string& path, int* error);
// Removes the regular file at `path` unless a lock on it is held; false
// when it stays (held, gone, or the lock cannot be tried).
bool RemoveUnlessHeld(const std::string& path);

}  // namespace platform::files
