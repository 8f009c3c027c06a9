#include "macconv/engine/progress_throttle.h"

namespace macconv {

ProgressThrottle::ProgressThrottle(ProgressSink* sink, std::chrono::milliseconds interval)
    : sink_(sink), interval_(interval) {}

ProgressThrottle::~ProgressThrottle() { Finish(); }

bool ProgressThrottle::IntervalPassed() { return !last_ || Clock::now() - *last_ >= interval_; }

void ProgressThrottle::Deliver() {
  if (clearWaiting_) sink_->ClearProgress();
  if (textWaiting_) sink_->ShowProgress(*textWaiting_);
  clearWaiting_ = false;
  textWaiting_.reset();
  last_ = Clock::now();
  steps_ = 0;
}

void ProgressThrottle::Show(const std::string& text) {
  if (!sink_) return;
  textWaiting_ = text;
  Deliver();
}

void ProgressThrottle::Final(const std::string& text) {
  if (!sink_) return;
  textWaiting_ = text;
  if (IntervalPassed()) Deliver();
}

void ProgressThrottle::Clear() {
  if (!sink_) return;
  clearWaiting_ = true;
  textWaiting_.reset();
  if (IntervalPassed()) Deliver();
}

void ProgressThrottle::Hold(int milliseconds) {
  if (!sink_) return;
  Finish();
  sink_->HoldProgress(milliseconds);
}

void ProgressThrottle::Finish() {
  if (sink_ && (clearWaiting_ || textWaiting_)) Deliver();
}

}  // namespace macconv
