// Message boxes asked for on the analysis thread and shown on the window's
// thread: the asking thread waits until its message has been shown, and
// closing the relay lets a waiting thread go without showing anything.
#include "editor/message_relay.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// The window's thread in miniature: tasks posted from anywhere, run here.
class TaskQueue {
 public:
  void Post(std::function<void()> task) {
    {
      std::lock_guard<std::mutex> hold(lock_);
      tasks_.push_back(std::move(task));
    }
    posted_.notify_all();
  }
  void WaitUntilQueued() {
    std::unique_lock<std::mutex> hold(lock_);
    posted_.wait(hold, [this] { return !tasks_.empty(); });
  }
  // Waits for one task and runs it on the calling thread.
  void RunOne() {
    std::function<void()> task;
    {
      std::unique_lock<std::mutex> hold(lock_);
      posted_.wait(hold, [this] { return !tasks_.empty(); });
      task = std::move(tasks_.front());
      tasks_.pop_front();
    }
    task();
  }

 private:
  std::mutex lock_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> tasks_;
};

// Records each message with the thread it was shown on. Used on one thread.
class ShownMessages : public editor::MessageSink {
 public:
  void Show(const editor::Message& message) override {
    texts.push_back(message.caption + ": " + message.text);
    threads.push_back(std::this_thread::get_id());
  }
  std::vector<std::string> texts;
  std::vector<std::thread::id> threads;
};

TEST(RelayedMessages, ShowsOnTheOwnersThreadAndWaitsForIt) {
  TaskQueue queue;
  ShownMessages shown;
  editor::RelayedMessages relay(shown, [&](std::function<void()> task) { queue.Post(std::move(task)); });

  relay.Show({"Information", "on the owner's thread"});  // at once, nothing posted
  ASSERT_EQ(shown.texts.size(), 1u);

  std::mutex lock;
  bool returned = false;
  std::thread run([&] {
    relay.Show({"ERROR", "Could not load libsumkit.so"});
    std::lock_guard<std::mutex> hold(lock);
    returned = true;
  });
  queue.RunOne();  // the message is shown here, on this thread
  run.join();
  EXPECT_TRUE(returned);
  EXPECT_EQ(shown.texts,
            (std::vector<std::string>{"Information: on the owner's thread", "ERROR: Could not load libsumkit.so"}));
  EXPECT_EQ(shown.threads, std::vector<std::thread::id>(2, std::this_thread::get_id()));
}

TEST(RelayedMessages, CloseLetsAWaitingThreadGoWithoutShowing) {
  TaskQueue queue;
  ShownMessages shown;
  auto relay = std::make_unique<editor::RelayedMessages>(
      shown, [&](std::function<void()> task) { queue.Post(std::move(task)); });
  std::thread run([&] { relay->Show({"ERROR", "never shown"}); });
  queue.WaitUntilQueued();  // the run has posted its message and waits for it
  relay->Close();
  run.join();
  relay.reset();
  queue.RunOne();  // the message's task runs late, after the relay is gone
  EXPECT_TRUE(shown.texts.empty());

  // After Close even the owner's own thread shows nothing.
  editor::RelayedMessages closed(shown, [](std::function<void()>) {});
  closed.Close();
  closed.Show({"ERROR", "after close"});
  std::thread off([&] { closed.Show({"ERROR", "after close, elsewhere"}); });
  off.join();
  EXPECT_TRUE(shown.texts.empty());
}

}  // namespace
