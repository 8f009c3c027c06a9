#include "editor/session/log_buffer.h"

#include <algorithm>

namespace editor {

void AppendTrimmed(std::string& log, std::string_view text) {
  if (text.size() > kLogTextLimit) {
    log.assign(text.substr(text.size() - kLogTextLimit));
    return;
  }
  if (log.size() + text.size() >= kLogBufferSize) log.erase(0, std::min(text.size(), log.size()));
  log.append(text);
}

LogBuffer::LogBuffer(std::string_view initial) { AppendTrimmed(text_, initial); }

void LogBuffer::Append(std::string_view text) {
  std::lock_guard<std::mutex> hold(lock_);
  AppendTrimmed(text_, text);
  ++version_;
}

std::string LogBuffer::Text() const {
  std::lock_guard<std::mutex> hold(lock_);
  return text_;
}

size_t LogBuffer::size() const {
  std::lock_guard<std::mutex> hold(lock_);
  return text_.size();
}

uint64_t LogBuffer::version() const {
  std::lock_guard<std::mutex> hold(lock_);
  return version_;
}

void LogBufferSink::Append(std::string_view text) {
  buffer_.Append(text);
  if (changed_) changed_();
}

}  // namespace editor
