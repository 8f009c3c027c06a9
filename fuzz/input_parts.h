// Inputs that stand for more than one file: the parts are separated by a
// marker line, so that a mutation inside one part leaves the others in place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace fuzzsupport {

// Between two parts of an input.
inline constexpr std::string_view kPartMarker = "\n--next file--\n";

// The input cut at each marker, at most maxParts parts (the last one keeps
// any further markers).
inline std::vector<std::string_view> SplitParts(const uint8_t* data, size_t size, size_t maxParts) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> parts;
  while (parts.size() + 1 < maxParts) {
    size_t at = rest.find(kPartMarker);
    if (at == std::string_view::npos) break;
    parts.push_back(rest.substr(0, at));
    rest.remove_prefix(at + kPartMarker.size());
  }
  parts.push_back(rest);
  return parts;
}

}  // namespace fuzzsupport
