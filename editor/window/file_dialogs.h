// The editor's three choosers as Qt file dialogs: each request's title,
// filter list, proposed name and default suffix. A pattern the user types
// into a chooser's name field ("*.otf" and Enter) filters that chooser and is
// kept as its custom filter, offered again at the top of its list the next
// time the same chooser runs, and in no other chooser.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "editor/session/choosers.h"
#include "shell/chooser.h"
#include "shell/sinks.h"

class QWidget;

namespace editor::gui {

// A bar-separated filter list ("label|pattern|...|") in the dialog's form,
// "label (pattern ...)", led by the custom filter when there is one. The
// pattern "*.*" becomes "*", so that names without a dot show too.
std::vector<std::string> DialogNameFilters(const std::string& filterList, const std::string& customFilter);

class QtFileChooser : public shell::FileChooser {
 public:
  // Dialogs belong to the modal window in front, else to `owner`.
  explicit QtFileChooser(QWidget* owner) : owner_(owner) {}
  std::optional<std::string> Choose(const shell::ChooserRequest& request) override;

  std::string customFilter(ChooserKind kind) const {
    auto found = custom_.find(static_cast<int>(kind));
    return found == custom_.end() ? std::string() : found->second;
  }

 private:
  QWidget* owner_;
  std::map<int, std::string> custom_;  // by the request's memory
};

}  // namespace editor::gui
