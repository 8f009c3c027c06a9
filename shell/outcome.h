// How a command ended: the headless runner turns it into an exit status, a
// dialog into whether it closes.
#pragma once

namespace shell {

enum class Outcome { kDone, kFailed, kCancelled };

enum class DialogStep { kClose, kStayOpen };

// A command that runs in a dialog: its end, and whether the dialog closes or
// stays open for another try.
struct CommandOutcome {
  Outcome end = Outcome::kFailed;
  DialogStep dialog = DialogStep::kClose;
  bool done() const { return end == Outcome::kDone; }
};

}  // namespace shell
