// The per-user values of the two windowed programs in the Windows registry,
// under HKEY_CURRENT_USER: text values as REG_SZ (stored with their
// terminating zero), numbers as REG_DWORD. Keys are made when missing. On
// other systems the windows keep the same values with QSettings.
#pragma once

#if defined(_WIN32)
#include <cstdint>
#include <optional>
#include <string>

namespace platform::registry {

// The editor's key: "myself", its path.
inline constexpr const char* kQuilletKey = "Software\\Marlowby\\quillet";
// The converter's window: "X", "Y", "nWidth", "nHeight" and "hWnd".
inline constexpr const char* kDrumlinKey = "Software\\Marlowby\\Drumlin";
// The converter's path: "myself".
inline constexpr const char* kTolvaKey = "Software\\Marlowby\\tolva";

bool WriteText(const char* key, const char* name, const std::string& value);
std::optional<std::string> ReadText(const char* key, const char* name);
bool WriteNumber(const char* key, const char* name, uint32_t value);
std::optional<uint32_t> ReadNumber(const char* key, const char* name);

}  // namespace platform::registry
#endif
