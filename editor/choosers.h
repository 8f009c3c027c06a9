// The editor's three file choosers as plain data: their titles, filter
// lists and default suffixes, the proposed "New" name of the save chooser,
// and the filter list in label/pattern pairs for a platform dialog.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "editor/sinks.h"

namespace editor {

inline constexpr const char* kFontFilter = "TrueType Font (*.ttf)|*.ttf|TrueType Comp (*.ttc)|*.ttc|All Files (*.*)|*.*|";
inline constexpr const char* kTableFileFilter = "All Files (*.*)|*.*|";
inline constexpr const char* kSaveFilter = "All Files (*.*)|*.*|TrueType Font (*.ttf)|*.ttf|TrueType Comp (*.ttc)|*.ttc|";

// The proposed name of the save chooser: the source path up to and including
// its last '/', "New", the rest of the source path, and "." and the suffix
// when there is one. "New" alone for an empty source path.
std::string ProposedSaveName(const std::string& sourcePath, const std::string& suffix);

// (label, pattern) pairs of a bar-separated filter list.
std::vector<std::pair<std::string, std::string>> FilterPairs(const std::string& filterList);

// What each chooser is asked.
ChooserRequest FontChooserRequest();
ChooserRequest TableFileChooserRequest();
ChooserRequest SaveChooserRequest(const std::string& sourcePath, const std::string& suffix);

// A chooser that always answers with the same path (or always cancels), and
// remembers the last request it was asked: the headless commands and tests.
class AnsweringChooser : public FileChooser {
 public:
  explicit AnsweringChooser(std::optional<std::string> answer) : answer_(std::move(answer)) {}
  std::optional<std::string> Choose(const ChooserRequest& request) override {
    last_ = request;
    ++asked_;
    return answer_;
  }
  const ChooserRequest& last() const { return last_; }
  int asked() const { return asked_; }

 private:
  std::optional<std::string> answer_;
  ChooserRequest last_;
  int asked_ = 0;
};

}  // namespace editor
