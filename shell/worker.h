// One long command on a thread of its own, so that a window keeps painting
// while it works, and the hand-over of what the command shows back to the
// window's thread. The work never touches the window: it hands tasks over
// (log text, progress, message boxes), which the owner's thread runs in the
// order they were handed, the end of the work last. The worker itself only
// calls `wake`, which tells the owner's thread that something waits.
//
// The thread that constructs the worker is its owner.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "shell/sinks.h"

namespace shell {

class Worker {
 public:
  using Task = std::function<void()>;

  // `wake` is called on any thread (never under the worker's lock) after a
  // task was handed over; it must make the owner's thread call Deliver()
  // soon, for instance by posting a queued call.
  explicit Worker(std::function<void()> wake);
  ~Worker();  // Close(), then waits for the thread
  Worker(const Worker&) = delete;
  Worker& operator=(const Worker&) = delete;

  // Starts `work` on a new thread; `ended` runs on the owner's thread after
  // every task the work handed over. Refused (false) while earlier work runs
  // or its end has not been delivered yet, and after Close.
  bool Start(Task work, Task ended = {});
  // Started and its end not yet delivered.
  bool busy() const;

  // On the owner's thread: runs what has been handed over, in order. A call
  // made while tasks run (a message box's own event loop) returns at once;
  // the outer call runs what arrives meanwhile.
  void Deliver();

  // From the work: `task` is to run on the owner's thread.
  void Hand(Task task);
  // From the work: the same, and waits until it has run there or the worker
  // was closed. Called on the owner's thread, runs the task at once.
  void HandAndWait(Task task);
  // From the work: waits this long, or less when the worker is closed.
  void Pause(int milliseconds);

  // On the owner's thread, before what the tasks use goes away: nothing
  // handed over runs any more, and the work no longer waits in HandAndWait or
  // Pause. The work itself runs to its end.
  void Close();
  // On the owner's thread: waits until the work's thread has ended.
  void Join();

 private:
  void Queue(Task task);

  const std::thread::id owner_;
  std::function<void()> wake_;
  mutable std::mutex lock_;
  std::condition_variable changed_;
  std::deque<Task> queued_;
  uint64_t handed_ = 0;  // tasks handed over so far
  uint64_t run_ = 0;     // of those, taken off the queue by Deliver
  bool busy_ = false;
  bool closed_ = false;
  bool delivering_ = false;
  std::thread thread_;
};

// Message boxes asked for on the worker's thread and shown by `shown` on the
// owner's: each call waits until its box was closed (or the worker closed).
class HandedMessages : public MessageSink {
 public:
  HandedMessages(Worker& worker, MessageSink& shown) : worker_(worker), shown_(shown) {}
  void Show(const Message& message) override {
    worker_.HandAndWait([this, message] { shown_.Show(message); });
  }

 private:
  Worker& worker_;
  MessageSink& shown_;
};

}  // namespace shell
