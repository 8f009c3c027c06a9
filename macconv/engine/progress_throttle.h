// Keeps a progress sink from being told more than a few dozen times a second
// while a conversion steps through tens of thousands of codes. The pass asks
// Due() at every step and formats its text only when the answer is yes; the
// text that ends a pass, and a clear, wait for their turn and are delivered at
// the latest by Finish(), so the window always ends up showing the last text.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "macconv/engine/sinks.h"

namespace macconv {

// The shortest time between two deliveries to the sink.
inline constexpr std::chrono::milliseconds kProgressInterval{40};

class ProgressThrottle {
 public:
  // A null sink makes every call a no-op (and Due() always false).
  explicit ProgressThrottle(ProgressSink* sink, std::chrono::milliseconds interval = kProgressInterval);
  ~ProgressThrottle();  // Finish()
  ProgressThrottle(const ProgressThrottle&) = delete;
  ProgressThrottle& operator=(const ProgressThrottle&) = delete;

  // Whether a step's text should be drawn now: at the first step, then once
  // the interval has passed (the clock is read every 256 steps). Inline:
  // the conversions ask at every code.
  bool Due() {
    if (!sink_) return false;
    if (!last_) return true;
    if ((++steps_ & 0xFF) != 0) return false;
    return IntervalPassed();
  }
  // Draws the text now (after any clear still waiting). Meant for a step that
  // was Due().
  void Show(const std::string& text);
  // The text that ends a pass: drawn now if the interval has passed, else
  // kept until the next delivery or Finish().
  void Final(const std::string& text);
  // Clears the text area (now, or with the next delivery).
  void Clear();
  // Delivers what waits and lets the last text stay for `milliseconds`.
  void Hold(int milliseconds);
  // Delivers what waits.
  void Finish();

 private:
  using Clock = std::chrono::steady_clock;
  bool IntervalPassed();
  void Deliver();

  ProgressSink* sink_;
  std::chrono::milliseconds interval_;
  std::optional<Clock::time_point> last_;
  uint32_t steps_ = 0;
  bool clearWaiting_ = false;
  std::optional<std::string> textWaiting_;
};

}  // namespace macconv
