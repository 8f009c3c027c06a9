#include "macconv/engine/unicode_segments.h"

#include "core/text/shift_jis.h"
#include "macconv/engine/message_text.h"
#include "shell/text.h"

namespace macconv {
namespace {

constexpr uint32_t kFirstCode = 0x20;
constexpr uint32_t kLastCode = 0xFFFF;

// The Shift-JIS codes of the three Unicode codes just below the current one.
struct PreviousCodes {
  uint32_t prev1 = 0, prev2 = 0, prev3 = 0;

  bool AllUnmapped() const { return prev1 == 0 && prev2 == 0 && prev3 == 0; }
  // An unmapped code after two unmapped ones whose predecessor was mapped:
  // the segment ended three codes back.
  bool EndsSegment(uint32_t code) const { return code == 0 && prev1 == 0 && prev2 == 0 && prev3 != 0; }
  void Shift(uint32_t code) {
    prev3 = prev2;
    prev2 = prev1;
    prev1 = code;
  }
};

}  // namespace

UnicodeSegments ComputeUnicodeSegments(ProgressThrottle& progress) {
  const std::span<const uint32_t> shiftJis = core::UnicodeToShiftJisTable();
  // Pass "Counting Segments".
  int counted = 0;
  PreviousCodes previous;
  for (uint32_t u = kFirstCode; u <= kLastCode; ++u) {
    uint32_t s = shiftJis[u];
    if (s != 0 && previous.AllUnmapped()) ++counted;
    previous.Shift(s);
    if (progress.Due()) {
      progress.Show(shell::FormatText("\n     Counting Segments     \n     UNICODE = 0x%x     \n     Number of Segments = %d     ",
                               u, counted));
    }
  }
  progress.Final(shell::FormatText("\n     Counting Segments     \n     UNICODE = 0x%x     \n     Number of Segments = %d     ",
                            kLastCode, counted));
  const int segCount = counted + 1;  // the closing segment

  UnicodeSegments segments;
  segments.startCode.assign(segCount, 0);
  segments.endCode.assign(segCount, 0);
  segments.idRangeOffset.assign(segCount, 0);
  progress.Clear();

  // Pass "Recording Segments".
  int k = 0;
  uint32_t lastMapped = 0;
  previous = PreviousCodes();
  auto recordingText = [&](uint32_t u) {
    return shell::FormatText(
        "\n     Number of Segments = %d     \n     Recording Segments     \n     UNICODE = 0x%x     \n     Count of Segments = %d     ",
        segCount, u, k);
  };
  for (uint32_t u = kFirstCode; u <= kLastCode; ++u) {
    uint32_t s = shiftJis[u];
    if (s != 0 && previous.AllUnmapped()) segments.startCode[k++] = static_cast<uint16_t>(u);
    if (previous.EndsSegment(s)) segments.endCode[k - 1] = static_cast<uint16_t>(u - 3);
    if (s != 0) lastMapped = u;
    previous.Shift(s);
    if (progress.Due()) progress.Show(recordingText(u));
  }
  // A segment still open at the end of the codes ends at the last mapped code.
  if (k > 0 && segments.endCode[k - 1] < segments.startCode[k - 1]) {
    segments.endCode[k - 1] = static_cast<uint16_t>(lastMapped);
  }
  progress.Final(recordingText(kLastCode));
  progress.Hold(1000);

  // The closing segment.
  segments.startCode[k] = segments.endCode[k] = 0xFFFF;
  progress.Clear();

  // Pass "Count glyphs".
  uint32_t glyphs = 0;
  for (int j = 0; j < segCount; ++j) {
    segments.idRangeOffset[j] = static_cast<uint16_t>(2 * (segCount - j + glyphs));
    glyphs += uint32_t{segments.endCode[j]} - segments.startCode[j] + 1;
    if (progress.Due()) progress.Show(shell::FormatText("\n     Count glyphs     \n     Number of glyphs = %d     \n", static_cast<int>(glyphs)));
  }
  progress.Final(shell::FormatText("\n     Count glyphs     \n     Number of glyphs = %d     \n", static_cast<int>(glyphs)));
  segments.glyphCount = glyphs;
  return segments;
}

}  // namespace macconv
