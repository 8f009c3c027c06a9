#include "tests/support/doubles.h"

namespace testsupport {

void RecordedMessages::Show(const shell::Message& message) {
  std::lock_guard<std::mutex> hold(lock_);
  shown_.push_back(message);
  threads_.push_back(std::this_thread::get_id());
}

std::vector<std::string> RecordedMessages::lines() const {
  std::lock_guard<std::mutex> hold(lock_);
  std::vector<std::string> lines;
  for (const shell::Message& message : shown_) lines.push_back(message.caption + ": " + message.text);
  return lines;
}

std::vector<std::string> RecordedMessages::details() const {
  std::lock_guard<std::mutex> hold(lock_);
  std::vector<std::string> details;
  for (const shell::Message& message : shown_) details.push_back(message.detail);
  return details;
}

shell::Message RecordedMessages::last() const {
  std::lock_guard<std::mutex> hold(lock_);
  return shown_.empty() ? shell::Message{} : shown_.back();
}

size_t RecordedMessages::count() const {
  std::lock_guard<std::mutex> hold(lock_);
  return shown_.size();
}

std::vector<std::thread::id> RecordedMessages::threads() const {
  std::lock_guard<std::mutex> hold(lock_);
  return threads_;
}

void RecordedMessages::Clear() {
  std::lock_guard<std::mutex> hold(lock_);
  shown_.clear();
  threads_.clear();
}

}  // namespace testsupport
