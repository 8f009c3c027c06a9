// What the four console tools share: exit statuses, the usage block, the
// swap flag of the name tools, where a tool finds its folder and its profile
// file, the common messages, and the byte-pair exchange of Unicode strings.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/output_file.h"
#include "platform/profile.h"
#include "tools/frame/console.h"

namespace tools {

// A complete run ends with 1, every failure (the usage case included) with -1.
constexpr int kExitComplete = 1;
constexpr int kExitFailure = -1;

// Where a run finds its files: the tool folder holds the profile file; names
// read from the profile file or formed by the tool (table and text files) are
// relative to the work folder. An empty work folder is the current directory.
struct ToolPlace {
  std::string toolFolder;
  std::string workFolder;
};

// The folder of the running executable, or the per-user stand-in when that
// folder is not writable; every tool picks the same one.
std::string ToolFolder();

// The profile file of a tool: `fileName` joined to the tool folder, even
// when it holds a folder part of its own, unless it is an absolute path; an
// empty name gives the folder and a separator alone.
std::string ToolFilePath(const std::string& toolFolder, const std::string& fileName);

// A name from the profile file or formed by the tool, as opened: relative
// names are taken in the work folder.
std::string WorkFilePath(const ToolPlace& place, const std::string& name);

// The usage block: the tool's lines, the maker's lines, "--", and an empty
// line, each ended by a newline.
std::string UsageText(std::span<const char* const> toolLines);
void PrintUsage(Console& console, std::span<const char* const> toolLines);

// The optional second argument of the name tools. A first character 'u' or
// 'U' turns byte-swap mode on; in byte-swap mode a second character '2' also
// turns skip-two mode on (corvin alone asks for it).
struct SwapModes {
  bool byteSwap = false;
  bool skipTwo = false;
};
SwapModes TakeSwapFlag(const std::string& argument, bool allowSkipTwo, Console& console);

// "Can not open a file %s\n"
void PrintCannotOpen(Console& console, const std::string& name);
// The same, followed by "%s is not a regular file.\n" when Open refused one
// and by "%s: <the system's reason>\n" for any other error.
void PrintCannotOpen(Console& console, const std::string& name, int error);
// "Can not read a file %s: error %d (<reason>)\n": a read failed before the file's end.
void PrintCannotRead(Console& console, const std::string& name, int error);
// "Can not write a file %s: <the system's reason>\n".
void PrintCannotWrite(Console& console, const std::string& name, int error);
// "File  %s exists.\n"
void PrintExists(Console& console, const std::string& name);

// A merge tool's profile file: it must exist (a missing one is not an empty
// profile here) and be readable; otherwise prints the cannot-open line with
// its path and returns false.
bool LoadMergeProfile(const std::string& profilePath, Console& console, platform::Profile* profile);

// A merge tool's table file: the no-overwrite rule, then the file begun
// beside its destination so that it appears under its name only once it is
// complete. Prints "File  %s exists." or the cannot-open line with the
// profile path, and returns false, when the file cannot be begun.
bool BeginTableFile(const ToolPlace& place, const std::string& tableName, const std::string& profilePath,
                    Console& console, platform::AtomicOutput* output);

// Loads a tool's profile file so that entries of earlier runs survive; on a
// read failure prints the cannot-open line with its path.
bool LoadToolProfile(platform::Profile* profile, const std::string& path, Console& console);
// Writes a tool's profile file once, at the end of a run (or where a run
// stops after setting entries); on failure prints the cannot-open line with
// its path.
bool SaveToolProfile(platform::Profile* profile, const std::string& path, Console& console);

// Strings of platform 3 (Windows), encoding 1 (Unicode BMP) are the only ones
// the swap mode touches.
inline bool IsWindowsUnicode(uint16_t platformID, uint16_t encodingID) { return platformID == 3 && encodingID == 1; }
// Exchanges the two bytes of every pair; a last odd byte stays in place.
void SwapBytePairs(std::span<uint8_t> bytes);

}  // namespace tools
