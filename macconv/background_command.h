// Runs one long command (the cmap conversion) on a worker thread so that the
// window keeps painting while it works. What the command reports (progress
// texts, clears and messages) is queued under a lock; the window's thread
// takes it in order. The worker never touches the window: it only calls the
// wake-up function, which tells the window that something waits.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "macconv/sinks.h"

namespace macconv {

// One thing a running command reported.
struct CommandReport {
  enum class Kind { kProgress, kClear, kMessage };
  Kind kind = Kind::kProgress;
  std::string caption;  // messages only
  std::string text;     // the progress text or the message text
};

class BackgroundCommand {
 public:
  // The work gets a message sink and a progress sink that queue what they are
  // told. Messages are shown by the window in order; the work does not wait
  // for them.
  using Work = std::function<Outcome(MessageSink& messages, ProgressSink& progress)>;

  // `wake` is called on the worker thread (never under the lock) after
  // something was queued and once more when the work has ended. It must be
  // safe to call from any thread, for instance by posting a queued call.
  explicit BackgroundCommand(std::function<void()> wake);
  ~BackgroundCommand();  // Stop()
  BackgroundCommand(const BackgroundCommand&) = delete;
  BackgroundCommand& operator=(const BackgroundCommand&) = delete;

  // Starts the work on a new thread. Refused (false) while earlier work runs
  // or its end has not been taken yet.
  bool Start(Work work);

  struct Taken {
    std::vector<CommandReport> reports;  // in the order they were made
    std::optional<Outcome> finished;     // set once, with the work's outcome
    bool empty() const { return reports.empty() && !finished; }
  };
  // Takes what has been queued since the last call (window's thread).
  Taken Take();

  // Whether work has been started and its end not yet taken.
  bool Busy() const;

  // Cuts a progress hold short and waits for the worker to end. What it
  // queued stays to be taken.
  void Stop();

 private:
  class QueueSinks;

  void Queue(CommandReport report);
  void Hold(int milliseconds);
  void Finish(Outcome outcome);

  std::function<void()> wake_;
  mutable std::mutex mutex_;
  std::condition_variable stopped_;
  std::vector<CommandReport> queued_;
  std::optional<Outcome> outcome_;
  bool busy_ = false;
  bool stopping_ = false;
  std::thread worker_;
};

}  // namespace macconv
