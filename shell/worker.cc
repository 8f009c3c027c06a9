#include "shell/worker.h"

#include <chrono>
#include <utility>

namespace shell {

Worker::Worker(std::function<void()> wake) : owner_(std::this_thread::get_id()), wake_(std::move(wake)) {}

Worker::~Worker() {
  Close();
  Join();
}

bool Worker::Start(Task work, Task ended) {
  {
    std::lock_guard<std::mutex> hold(lock_);
    if (busy_ || closed_) return false;
    busy_ = true;
  }
  // An earlier thread has handed over its end; it may still be on its way out.
  Join();
  thread_ = std::thread([this, work = std::move(work), ended = std::move(ended)]() mutable {
    work();
    Queue([this, ended = std::move(ended)] {
      {
        std::lock_guard<std::mutex> hold(lock_);
        busy_ = false;
      }
      if (ended) ended();
    });
  });
  return true;
}

bool Worker::busy() const {
  std::lock_guard<std::mutex> hold(lock_);
  return busy_;
}

void Worker::Queue(Task task) {
  {
    std::lock_guard<std::mutex> hold(lock_);
    if (closed_) return;
    queued_.push_back(std::move(task));
    ++handed_;
  }
  if (wake_) wake_();
}

void Worker::Hand(Task task) { Queue(std::move(task)); }

void Worker::Deliver() {
  std::unique_lock<std::mutex> hold(lock_);
  if (delivering_) return;
  delivering_ = true;
  while (!closed_ && !queued_.empty()) {
    Task task = std::move(queued_.front());
    queued_.pop_front();
    hold.unlock();
    task();
    hold.lock();
    ++run_;
    changed_.notify_all();
  }
  delivering_ = false;
}

void Worker::HandAndWait(Task task) {
  if (std::this_thread::get_id() == owner_) {
    bool closed;
    {
      std::lock_guard<std::mutex> hold(lock_);
      closed = closed_;
    }
    if (!closed) task();
    return;
  }
  uint64_t mine;
  {
    std::lock_guard<std::mutex> hold(lock_);
    if (closed_) return;
    queued_.push_back(std::move(task));
    mine = ++handed_;
  }
  if (wake_) wake_();
  std::unique_lock<std::mutex> hold(lock_);
  changed_.wait(hold, [&] { return closed_ || run_ >= mine; });
}

void Worker::Pause(int milliseconds) {
  std::unique_lock<std::mutex> hold(lock_);
  changed_.wait_for(hold, std::chrono::milliseconds(milliseconds), [this] { return closed_; });
}

void Worker::Close() {
  {
    std::lock_guard<std::mutex> hold(lock_);
    closed_ = true;
    queued_.clear();
  }
  changed_.notify_all();
}

void Worker::Join() {
  if (thread_.joinable()) thread_.join();
}

}  // namespace shell
