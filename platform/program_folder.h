// Where a program keeps its settings: the folder of its executable, or the
// per-user folder $XDG_CONFIG_HOME/marlowby when that folder is not writable.
#pragma once

#include <string>

#include "platform/paths.h"

namespace platform {

// The running executable's path (/proc/self/exe).
std::string ExecutablePath();

// The folder of the running executable, without a trailing separator.
std::string ExecutableFolder();

// The per-user stand-in folder, created on demand.
std::string UserSettingsFolder();

// The folder for the settings files: the executable's folder when it is
// writable, else the per-user folder. Every tool of the suite picks the same.
std::string SettingsFolder();

}  // namespace platform
