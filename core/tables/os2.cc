#include "core/tables/os2.h"

#include <array>

namespace core {
namespace {

constexpr const auto& kList = kFieldList<Os2>;

constexpr size_t LayoutSize(uint32_t version) { return core::LayoutSize(kList, version); }
static_assert(LayoutSize(0) == 78 && LayoutSize(1) == kOs2Version1Size && LayoutSize(2) == 96 &&
                  LayoutSize(4) == 96 && LayoutSize(5) == kOs2RecordSize,
              "the OS/2 layouts end where the format's versions end");

// Every field is listed exactly once.
constexpr bool ListsEachFieldOnce() {
  std::array<int, kList.size()> seen{};
  for (uint8_t index : kOs2ListOrder) ++seen[index];
  for (int count : seen)
    if (count != 1) return false;
  return true;
}
static_assert(ListsEachFieldOnce());

}  // namespace

size_t Os2LayoutSize(uint16_t version) { return LayoutSize(Os2LayoutVersion(version)); }

}  // namespace core
