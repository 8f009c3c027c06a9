// How an editing command ended: whether it wrote its file, and whether the
// dialog it runs in closes or stays open for another try.
#pragma once

namespace editor {

enum class DialogStep { kClose, kStayOpen };

struct CommandOutcome {
  bool written = false;
  DialogStep dialog = DialogStep::kClose;
};

}  // namespace editor
