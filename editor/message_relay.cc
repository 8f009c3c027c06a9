#include "editor/message_relay.h"

#include <utility>

namespace editor {

RelayedMessages::RelayedMessages(MessageSink& shown, Post post)
    : shown_(shown), post_(std::move(post)), owner_(std::this_thread::get_id()) {}

RelayedMessages::~RelayedMessages() { Close(); }

void RelayedMessages::Show(const Message& message) {
  if (std::this_thread::get_id() == owner_) {
    bool closed;
    {
      std::lock_guard<std::mutex> hold(state_->lock);
      closed = state_->closed;
    }
    if (!closed) shown_.Show(message);
    return;
  }
  // The task may run late, or the relay may go away while this thread still
  // waits after Close: both keep the shared state alive.
  std::shared_ptr<State> state = state_;
  auto done = std::make_shared<bool>(false);
  {
    std::lock_guard<std::mutex> hold(state->lock);
    if (state->closed) return;
  }
  MessageSink* shown = &shown_;
  post_([state, shown, message, done] {
    bool closed;
    {
      std::lock_guard<std::mutex> hold(state->lock);
      closed = state->closed;
    }
    // Close happens on this same thread, so `shown` stays valid while it is used.
    if (!closed) shown->Show(message);
    {
      std::lock_guard<std::mutex> hold(state->lock);
      *done = true;
    }
    state->answered.notify_all();
  });
  std::unique_lock<std::mutex> hold(state->lock);
  state->answered.wait(hold, [&] { return *done || state->closed; });
}

void RelayedMessages::Close() {
  {
    std::lock_guard<std::mutex> hold(state_->lock);
    state_->closed = true;
  }
  state_->answered.notify_all();
}

}  // namespace editor
