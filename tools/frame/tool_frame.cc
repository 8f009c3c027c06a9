#include "tools/frame/tool_frame.h"

#include "core/io/readable_file.h"

#include <cerrno>
#include <cstdint>
#include <utility>

#include "platform/program_folder.h"

namespace tools {

std::string ToolFolder() { return platform::SettingsFolder(); }

std::string ToolFilePath(const std::string& toolFolder, const std::string& fileName) {
  if (fileName.empty()) return toolFolder.empty() || toolFolder.back() == '/' ? toolFolder : toolFolder + "/";
  if (platform::IsAbsolutePath(fileName)) return fileName;
  return platform::JoinPath(toolFolder, fileName);
}

std::string WorkFilePath(const ToolPlace& place, const std::string& name) {
  if (place.workFolder.empty() || name.empty() || name.front() == '/') return name;
  return platform::JoinPath(place.workFolder, name);
}

namespace {
// The maker's lines of every usage block.
constexpr const char* kMakerLines[] = {
    "Marlowby font tools, console edition.",
    "Questions and reports: the Marlowby font tools maintainers.",
};
}  // namespace

std::string UsageText(std::span<const char* const> toolLines) {
  std::string text;
  for (const char* line : toolLines) text.append(line).append("\n");
  for (const char* line : kMakerLines) text.append(line).append("\n");
  text.append("--\n");
  text.append("\n");
  return text;
}

void PrintUsage(Console& console, std::span<const char* const> toolLines) { console.Write(UsageText(toolLines)); }

SwapModes TakeSwapFlag(const std::string& argument, bool allowSkipTwo, Console& console) {
  SwapModes modes;
  console.Printf("argv[2] = %s\n", argument.c_str());
  if (!argument.empty() && (argument[0] == 'u' || argument[0] == 'U')) {
    modes.byteSwap = true;
    console.Write("Unicode High/Low bytes swap mode\n");
    if (allowSkipTwo && argument.size() > 1 && argument[1] == '2') modes.skipTwo = true;
  }
  return modes;
}

void PrintCannotOpen(Console& console, const std::string& name) {
  console.Printf("Can not open a file %s\n", name.c_str());
}

void PrintCannotOpen(Console& console, const std::string& name, int error) {
  PrintCannotOpen(console, name);
  if (error == core::kNotRegularFile)
    console.Printf("%s is not a regular file.\n", name.c_str());
  else if (error != 0)
    console.Printf("%s: %s\n", name.c_str(), core::ErrorReason(error).c_str());
}

void PrintCannotRead(Console& console, const std::string& name, int error) {
  console.Printf("Can not read a file %s: error %d%s\n", name.c_str(), error, core::ReasonNote(error).c_str());
}

void PrintCannotWrite(Console& console, const std::string& name, int error) {
  console.Printf("Can not write a file %s: %s\n", name.c_str(),
                 error != 0 ? core::ErrorReason(error).c_str() : "the write failed.");
}

void PrintExists(Console& console, const std::string& name) { console.Printf("File  %s exists.\n", name.c_str()); }

namespace {

// Why a profile file could not be loaded, after the cannot-open line.
void PrintLoadFailure(Console& console, const std::string& path, int error) {
  if (error != EFBIG) {
    PrintCannotOpen(console, path, error);
    return;
  }
  PrintCannotOpen(console, path);
  console.Printf("%s is larger than %llu MiB, too large for a profile file; it is left alone.\n", path.c_str(),
                 static_cast<unsigned long long>(platform::Profile::kLargestProfile >> 20));
}

// A profile file saved as UTF-16 (with its byte order mark, or ASCII with a
// zero after each byte) reads as no keys at all.
bool LooksLikeUtf16(const std::string& path) {
  core::ReadableFile file;
  if (!file.Open(path)) return false;
  uint8_t head[2] = {};
  if (file.ReadAt(0, head, 2) != 2) return false;
  return (head[0] == 0xFF && head[1] == 0xFE) || (head[0] == 0xFE && head[1] == 0xFF) ||
         (head[0] != 0 && head[1] == 0) || (head[0] == 0 && head[1] != 0);
}

}  // namespace

bool LoadMergeProfile(const std::string& profilePath, Console& console, platform::Profile* profile) {
  if (!platform::FileExists(profilePath)) {
    PrintCannotOpen(console, profilePath);
    return false;
  }
  if (!profile->Load(profilePath)) {
    PrintLoadFailure(console, profilePath, profile->error());
    return false;
  }
  if (LooksLikeUtf16(profilePath)) {
    PrintCannotOpen(console, profilePath);
    console.Printf("%s is UTF-16 text; save it as ANSI or UTF-8 text and run again.\n", profilePath.c_str());
    return false;
  }
  if (!profile->HasSection("SUMMARY")) {
    PrintCannotOpen(console, profilePath);
    console.Printf("%s has no [SUMMARY] section.\n", profilePath.c_str());
    return false;
  }
  return true;
}

bool BeginTableFile(const ToolPlace& place, const std::string& tableName, const std::string& profilePath,
                    Console& console, platform::AtomicOutput* output) {
  if (tableName.empty()) {
    PrintCannotOpen(console, profilePath);
    console.Printf("%s names no table file: FileName in [SUMMARY] is missing or empty.\n", profilePath.c_str());
    return false;
  }
  std::string tablePath = WorkFilePath(place, tableName);
  if (platform::FileExists(tablePath)) {
    PrintExists(console, tableName);
    return false;
  }
  // The table file is what cannot be made here, not the profile file.
  if (!output->Begin(tablePath)) {
    PrintCannotOpen(console, tablePath, output->error());
    return false;
  }
  return true;
}

bool LoadToolProfile(platform::Profile* profile, const std::string& path, Console& console) {
  if (profile->Load(path)) return true;
  PrintLoadFailure(console, path, profile->error());
  return false;
}

bool SaveToolProfile(platform::Profile* profile, const std::string& path, Console& console) {
  if (profile->Save(path)) return true;
  PrintCannotOpen(console, path, profile->error());
  return false;
}

void SwapBytePairs(std::span<uint8_t> bytes) {
  for (size_t at = 0; at + 1 < bytes.size(); at += 2) std::swap(bytes[at], bytes[at + 1]);
}

}  // namespace tools
