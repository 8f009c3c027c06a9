// Message boxes asked for on the analysis thread but shown on the window's
// thread. Show, called on another thread, hands the message to the owner's
// thread through `post` and waits until it has been shown there; called on
// the owner's thread it shows the message at once. Close releases a waiting
// caller and lets no further message through, so the window can be torn down
// while a run still wants to show one.
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "editor/sinks.h"

namespace editor {

class RelayedMessages : public MessageSink {
 public:
  // Runs a task later on the owner's thread (a queued call of the window).
  using Post = std::function<void(std::function<void()>)>;

  // The thread that constructs the relay is its owner. `shown` is used only
  // on that thread and only until Close.
  RelayedMessages(MessageSink& shown, Post post);
  ~RelayedMessages() override;
  RelayedMessages(const RelayedMessages&) = delete;
  RelayedMessages& operator=(const RelayedMessages&) = delete;

  void Show(const Message& message) override;
  // On the owner's thread, before `shown` goes away.
  void Close();

 private:
  struct State {
    std::mutex lock;
    std::condition_variable answered;
    bool closed = false;
  };

  MessageSink& shown_;
  Post post_;
  std::thread::id owner_;
  std::shared_ptr<State> state_ = std::make_shared<State>();
};

}  // namespace editor
