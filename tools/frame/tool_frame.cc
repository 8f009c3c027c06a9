#include "tools/frame/tool_frame.h"

#include "core/io/readable_file.h"

#include <utility>

#include "platform/program_folder.h"

namespace tools {

std::string ToolFolder() { return platform::SettingsFolder(); }

std::string ToolFilePath(const std::string& toolFolder, const std::string& fileName) {
  if (fileName.empty()) return toolFolder.empty() || toolFolder.back() == '/' ? toolFolder : toolFolder + "/";
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
  if (error == core::kNotRegularFile) console.Printf("%s is not a regular file.\n", name.c_str());
}

void PrintCannotRead(Console& console, const std::string& name, int error) {
  console.Printf("Can not read a file %s: error %d\n", name.c_str(), error);
}

void PrintExists(Console& console, const std::string& name) { console.Printf("File  %s exists.\n", name.c_str()); }

bool LoadMergeProfile(const std::string& profilePath, Console& console, platform::Profile* profile) {
  if (platform::FileExists(profilePath) && profile->Load(profilePath)) return true;
  PrintCannotOpen(console, profilePath);
  return false;
}

bool BeginTableFile(const ToolPlace& place, const std::string& tableName, const std::string& profilePath,
                    Console& console, platform::AtomicOutput* output) {
  std::string tablePath = WorkFilePath(place, tableName);
  if (!tableName.empty() && platform::FileExists(tablePath)) {
    PrintExists(console, tableName);
    return false;
  }
  if (tableName.empty() || !output->Begin(tablePath)) {
    PrintCannotOpen(console, profilePath);
    return false;
  }
  return true;
}

bool LoadToolProfile(platform::Profile* profile, const std::string& path, Console& console) {
  if (profile->Load(path)) return true;
  PrintCannotOpen(console, path);
  return false;
}

bool SaveToolProfile(platform::Profile* profile, const std::string& path, Console& console) {
  if (profile->Save(path)) return true;
  PrintCannotOpen(console, path);
  return false;
}

void SwapBytePairs(std::span<uint8_t> bytes) {
  for (size_t at = 0; at + 1 < bytes.size(); at += 2) std::swap(bytes[at], bytes[at + 1]);
}

}  // namespace tools
