// The worker's hand-over: tasks run on the owner's thread in the order they
// were handed, the end last; a message box waits until the owner has shown
// it; Close releases a waiting or pausing run and lets nothing more through.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "shell/worker.h"
#include "tests/support/doubles.h"

namespace {

using namespace std::chrono_literals;

// The owner's event loop in miniature: wake-ups from any thread, Deliver on
// the test's own thread.
class Owner {
 public:
  std::function<void()> wake() {
    return [this] {
      std::lock_guard<std::mutex> hold(lock_);
      woken_ = true;
      changed_.notify_all();
    };
  }
  void DeliverUntil(shell::Worker& worker, const std::function<bool()>& done) {
    auto give_up = std::chrono::steady_clock::now() + 30s;
    while (!done()) {
      ASSERT_LT(std::chrono::steady_clock::now(), give_up);
      {
        std::unique_lock<std::mutex> hold(lock_);
        changed_.wait_for(hold, 10ms, [this] { return woken_; });
        woken_ = false;
      }
      worker.Deliver();
    }
  }

 private:
  std::mutex lock_;
  std::condition_variable changed_;
  bool woken_ = false;
};

TEST(Worker, HandsTasksOverInOrderWithTheEndLast) {
  Owner owner;
  shell::Worker worker(owner.wake());
  std::vector<int> seen;
  bool ended = false;
  ASSERT_TRUE(worker.Start(
      [&] {
        for (int i = 0; i < 500; ++i) worker.Hand([&seen, i] { seen.push_back(i); });
      },
      [&] {
        EXPECT_EQ(seen.size(), 500u);
        EXPECT_FALSE(worker.busy());
        ended = true;
      }));
  EXPECT_TRUE(worker.busy());
  EXPECT_FALSE(worker.Start([] {}));
  owner.DeliverUntil(worker, [&] { return ended; });
  for (int i = 0; i < 500; ++i) ASSERT_EQ(seen[i], i);

  ended = false;
  ASSERT_TRUE(worker.Start([] {}, [&] { ended = true; }));  // a second run once the first has ended
  owner.DeliverUntil(worker, [&] { return ended; });
}

TEST(Worker, MessagesWaitForTheOwnerAndCloseReleasesTheRun) {
  Owner owner;
  shell::Worker worker(owner.wake());
  testsupport::RecordedMessages shown;
  shell::HandedMessages messages(worker, shown);
  messages.Show({"Owner", "at once"});  // on the owner's thread it needs no hand-over
  ASSERT_EQ(shown.count(), 1u);

  std::atomic<int> step{0};
  ASSERT_TRUE(worker.Start([&] {
    messages.Show({"ERROR", "one"});
    step = 1;
    messages.Show({"Message", "two"});
    step = 2;
    worker.Pause(60000);
    messages.Show({"Message", "after Close"});
    step = 3;
  }));
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(step.load(), 0);  // the first box has not been shown yet
  owner.DeliverUntil(worker, [&] { return step.load() == 2; });
  worker.Close();  // cuts the pause short; the last box is never shown
  worker.Join();
  EXPECT_EQ(step.load(), 3);
  EXPECT_EQ(shown.lines(), (std::vector<std::string>{"Owner: at once", "ERROR: one", "Message: two"}));
  // Every box was shown on the owner's thread.
  EXPECT_EQ(shown.threads(), std::vector<std::thread::id>(3, std::this_thread::get_id()));
  EXPECT_FALSE(worker.Start([] {}));
}

}  // namespace
