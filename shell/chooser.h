// File choosers as plain requests: everything a platform dialog needs, with
// an explicit flag for saving, and a chooser that answers from a script for
// the headless runs and the tests.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace shell {

struct ChooserRequest {
  std::string title;
  std::string filterList;     // "label|pattern|label|pattern|"; empty: all files
  int filterShownFirst = 1;   // 1-based index into the filter pairs
  std::string proposedName;   // the name the chooser starts with; may be empty
  std::string defaultSuffix;  // added to a name typed without one; may be empty
  bool saving = false;        // a save chooser accepts names that do not exist
  bool folder = false;        // chooses an existing folder instead of a file
  // Choosers with the same memory share what the user typed into them (a
  // custom filter); 0 is the first.
  int memory = 0;
};

class FileChooser {
 public:
  virtual ~FileChooser() = default;
  // The accepted path, or nothing when the user cancelled.
  virtual std::optional<std::string> Choose(const ChooserRequest& request) = 0;
};

// Gives its answers in order, then cancels; keeps every request it was asked.
class ScriptedChooser : public FileChooser {
 public:
  explicit ScriptedChooser(std::vector<std::string> answers) : answers_(answers.begin(), answers.end()) {}
  // Adds an answer after the ones given so far; nullopt cancels that request.
  void Answer(std::optional<std::string> answer) { answers_.push_back(std::move(answer)); }
  std::optional<std::string> Choose(const ChooserRequest& request) override {
    requests_.push_back(request);
    if (next_ >= answers_.size()) return std::nullopt;
    return answers_[next_++];
  }
  const std::vector<ChooserRequest>& requests() const { return requests_; }
  int asked() const { return static_cast<int>(requests_.size()); }
  const ChooserRequest& last() const { return requests_.back(); }

 private:
  std::vector<std::optional<std::string>> answers_;
  size_t next_ = 0;
  std::vector<ChooserRequest> requests_;
};

// (label, pattern) pairs of a bar-separated filter list.
std::vector<std::pair<std::string, std::string>> FilterPairs(const std::string& filterList);

// "New" put in front of the file name, in the same folder:
// /fonts/cmap.bin gives /fonts/Newcmap.bin, "" gives "New".
std::string NewNameBeside(const std::string& path);

// A file beside `path`: /fonts/cmap.bin and "junk.txt" give /fonts/junk.txt.
std::string NameBeside(const std::string& path, const std::string& name);

}  // namespace shell
