#include "macconv/background_command.h"

#include <chrono>
#include <utility>

namespace macconv {

// The sinks the work writes to; both queue into the command.
class BackgroundCommand::QueueSinks : public MessageSink, public ProgressSink {
 public:
  explicit QueueSinks(BackgroundCommand& command) : command_(command) {}

  void Show(const std::string& caption, const std::string& text) override {
    command_.Queue({CommandReport::Kind::kMessage, caption, text});
  }
  void ShowProgress(const std::string& text) override { command_.Queue({CommandReport::Kind::kProgress, {}, text}); }
  void ClearProgress() override { command_.Queue({CommandReport::Kind::kClear, {}, {}}); }
  void HoldProgress(int milliseconds) override { command_.Hold(milliseconds); }

 private:
  BackgroundCommand& command_;
};

BackgroundCommand::BackgroundCommand(std::function<void()> wake) : wake_(std::move(wake)) {}

BackgroundCommand::~BackgroundCommand() { Stop(); }

bool BackgroundCommand::Start(Work work) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (busy_) return false;
    busy_ = true;
    stopping_ = false;
    queued_.clear();
    outcome_.reset();
  }
  // An earlier worker has finished its work; it may still be on its way out.
  if (worker_.joinable()) worker_.join();
  worker_ = std::thread([this, work = std::move(work)] {
    QueueSinks sinks(*this);
    Outcome outcome = work(sinks, sinks);
    Finish(outcome);
  });
  return true;
}

void BackgroundCommand::Queue(CommandReport report) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    queued_.push_back(std::move(report));
  }
  if (wake_) wake_();
}

void BackgroundCommand::Hold(int milliseconds) {
  std::unique_lock<std::mutex> lock(mutex_);
  stopped_.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return stopping_; });
}

void BackgroundCommand::Finish(Outcome outcome) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    outcome_ = outcome;
  }
  if (wake_) wake_();
}

BackgroundCommand::Taken BackgroundCommand::Take() {
  std::lock_guard<std::mutex> lock(mutex_);
  Taken taken;
  taken.reports.swap(queued_);
  if (outcome_) {
    taken.finished = outcome_;
    outcome_.reset();
    busy_ = false;
  }
  return taken;
}

bool BackgroundCommand::Busy() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return busy_;
}

void BackgroundCommand::Stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  stopped_.notify_all();
  if (worker_.joinable()) worker_.join();
}

}  // namespace macconv
