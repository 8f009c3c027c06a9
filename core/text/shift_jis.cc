#include "core/text/shift_jis.h"

#include <array>

namespace core {
namespace {

#include "core/text/shift_jis_table.inc"

static_assert(std::size(kShiftJisPairs) == kCodeListLength);
static_assert(std::size(kUnicodePairs) == kCodeListLength);

constexpr size_t kLookupSize = 0x10000;
constexpr uint32_t kNoUnicode = 0x20;
constexpr uint32_t kNoShiftJis = 0;

// A lookup array over 16-bit keys: every entry starts as the default, then
// each pair of a list up to its end pair (0, 0) sets the entry of its key.
class LookupArray {
 public:
  constexpr LookupArray(std::span<const CodePair> list, uint32_t fallback) : entries_(), fallback_(fallback) {
    entries_.fill(fallback);
    for (const CodePair& pair : list) {
      if (pair.key == 0 && pair.value == 0) break;
      if (pair.key < kLookupSize) entries_[pair.key] = pair.value;
    }
  }

  constexpr uint32_t Find(uint32_t key) const { return key < kLookupSize ? entries_[key] : fallback_; }
  constexpr std::span<const uint32_t> entries() const { return entries_; }

 private:
  std::array<uint32_t, kLookupSize> entries_;
  uint32_t fallback_;
};

// Both arrays are built by the compiler: they lie in the program's read-only
// data, and a lookup costs no start-up work and no page of its own memory.
constexpr LookupArray kShiftJisToUnicode(kShiftJisPairs, kNoUnicode);
constexpr LookupArray kUnicodeToShiftJis(kUnicodePairs, kNoShiftJis);

}  // namespace

std::span<const CodePair> ShiftJisList() { return kShiftJisPairs; }

std::span<const CodePair> UnicodeList() { return kUnicodePairs; }

uint32_t ShiftJisToUnicode(uint32_t code) { return kShiftJisToUnicode.Find(code); }

uint32_t UnicodeToShiftJis(uint32_t value) { return kUnicodeToShiftJis.Find(value); }

std::span<const uint32_t> UnicodeToShiftJisTable() { return kUnicodeToShiftJis.entries(); }

}  // namespace core
