#include "editor/analysis_worker.h"

#include <utility>

namespace editor {

// Threads are joined outside the lock: a finished callback may still be
// running on them and may ask the worker for its analysis.
AnalysisWorker::~AnalysisWorker() {
  Wait();
  std::thread last;
  {
    std::lock_guard<std::mutex> hold(lock_);
    last = std::move(thread_);
  }
  if (last.joinable()) last.join();
}

bool AnalysisWorker::Start(const AnalysisRequest& request, LogSink& log, MessageSink& messages,
                           std::function<void()> finished) {
  std::thread previous;
  {
    std::lock_guard<std::mutex> hold(lock_);
    if (running_) return false;
    running_ = true;
    analysis_.reset();
    previous = std::move(thread_);
  }
  // The previous thread has published its result and is at its end.
  if (previous.joinable()) previous.join();
  log.Append(OpeningLine(request.fontPath));
  std::lock_guard<std::mutex> hold(lock_);
  thread_ = std::thread([this, request, &log, &messages, finished = std::move(finished)] {
    auto result = std::make_shared<FontAnalysis>();
    AnalysisRun(request, result.get(), log, messages);
    {
      std::lock_guard<std::mutex> publish(lock_);
      analysis_ = std::move(result);
      running_ = false;
      ready_.store(true, std::memory_order_release);
    }
    idle_.notify_all();
    if (finished) finished();
  });
  return true;
}

bool AnalysisWorker::running() const {
  std::lock_guard<std::mutex> hold(lock_);
  return running_;
}

void AnalysisWorker::Wait() {
  std::unique_lock<std::mutex> hold(lock_);
  idle_.wait(hold, [this] { return !running_; });
}

std::shared_ptr<const FontAnalysis> AnalysisWorker::analysis() const {
  std::lock_guard<std::mutex> hold(lock_);
  return analysis_;
}

}  // namespace editor
