// The log's own handling of its navigation keys, as plain logic the log
// view carries out. Page Down and Down with the caret at the very end of the
// log move the caret to the start of its line instead of paging on; a Page
// Up or Up right after such a Page Down first goes back to the line's start.
#pragma once

namespace editor {

enum class LogKey { kNone, kHome, kPageUp, kUp, kPageDown, kDown, kOther };

struct LogKeyStep {
  bool consume = false;            // the key stops here; otherwise it goes on to the text view
  bool sendHome = false;           // a Home key-down, carried out at once
  bool postHome = false;           // a Home key-down, carried out after this key
  bool scrollNearEnd = false;      // apply PageDownScroll before the key goes on
  LogKey lastKey = LogKey::kNone;  // what the log remembers as its last key
};

// `atEnd`: the selection starts at or beyond the end of the text.
LogKeyStep StepForKey(LogKey key, bool atEnd, LogKey lastKey);

// Lines to scroll down before a Page Down within two pages of the end, so
// that the page ends with the last line; 0 elsewhere.
int PageDownScroll(int lineCount, int firstVisibleLine, int visibleLines);

}  // namespace editor
