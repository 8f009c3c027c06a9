// Where a program keeps its settings: the folder of its executable, or the
// per-user folder $XDG_CONFIG_HOME/marlowby when that folder is not writable.
#pragma once

#include <string>

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

// The folder part of a program token as a command line gives it: a leading
// double quote takes the text up to the next one, otherwise the text up to
// the first blank; remaining double quotes become blanks; the token is cut at
// its last separator ('/' always, '\\' too when backslashIsSeparator).
// Returns false when the token has no separator (no folder). A quote that is
// never closed gives no token and false.
bool FolderOfProgramToken(const std::string& commandLine, bool backslashIsSeparator, std::string* folder);

// Joins a folder and a name with '/'.
std::string JoinPath(const std::string& folder, const std::string& name);

}  // namespace platform
