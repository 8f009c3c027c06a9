// The tool folder and work folder of a console tool run inside the scratch
// folder, made fresh for every input.
#pragma once

#include <filesystem>
#include <string>

#include "fuzz/scratch_folder.h"
#include "tools/frame/tool_frame.h"

namespace fuzzsupport {

inline tools::ToolPlace FreshToolPlace() {
  const ScratchFolder& scratch = ScratchFolder::Get();
  scratch.Clear();
  tools::ToolPlace place{scratch.File("tool"), scratch.File("work")};
  std::filesystem::create_directory(place.toolFolder);
  std::filesystem::create_directory(place.workFolder);
  return place;
}

}  // namespace fuzzsupport
