#include "editor/session/log_keys.h"

namespace editor {

LogKeyStep StepForKey(LogKey key, bool atEnd, LogKey lastKey) {
  LogKeyStep step;
  step.lastKey = lastKey;
  switch (key) {
    case LogKey::kPageUp:
    case LogKey::kUp:
      step.postHome = atEnd && lastKey == LogKey::kPageDown;
      step.lastKey = key;
      break;
    case LogKey::kPageDown:
      if (atEnd) {
        step.sendHome = true;
        step.consume = true;
        step.lastKey = LogKey::kHome;
      } else {
        step.scrollNearEnd = true;
        step.lastKey = LogKey::kPageDown;
      }
      break;
    case LogKey::kDown:
      if (atEnd) {
        step.sendHome = true;
        step.consume = true;
        step.lastKey = LogKey::kHome;
      } else {
        step.lastKey = LogKey::kDown;
      }
      break;
    default:
      break;
  }
  return step;
}

int PageDownScroll(int lineCount, int firstVisibleLine, int visibleLines) {
  int below = lineCount - firstVisibleLine;
  if (visibleLines <= 0 || below > 2 * visibleLines) return 0;
  int scroll = below - visibleLines;
  return scroll > 0 ? scroll : 0;
}

}  // namespace editor
