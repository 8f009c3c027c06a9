// The analysis thread behind the Open command. One run at a time: a second
// Start while a run is under way is refused. The run's text reaches the
// window through the log sink it is given (a locked LogBuffer), its result
// is published under a lock when it ends, and the ready flag goes up then,
// whatever the outcome, and never comes down again.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "editor/analysis_run.h"
#include "editor/font_analysis.h"
#include "editor/sinks.h"

namespace editor {

class AnalysisWorker {
 public:
  AnalysisWorker() = default;
  ~AnalysisWorker();  // waits for a run under way
  AnalysisWorker(const AnalysisWorker&) = delete;
  AnalysisWorker& operator=(const AnalysisWorker&) = delete;

  // Logs the opening line, drops the previous analysis and starts the run on
  // its own thread; `finished` (if set) is called on that thread after the
  // result is published. False, with nothing logged or started, while a
  // run is under way. The sinks must outlive the run. Not to be called from
  // `finished` itself (that thread is the one a new Start joins).
  bool Start(const AnalysisRequest& request, LogSink& log, MessageSink& messages,
             std::function<void()> finished = {});

  bool running() const;
  // Blocks until no run is under way.
  void Wait();
  // 1 once the first run has ended.
  bool ready() const { return ready_.load(std::memory_order_acquire); }
  // The last finished run's analysis; null before the first run ends and
  // while a run is under way, so a partly built analysis is never seen.
  std::shared_ptr<const FontAnalysis> analysis() const;

 private:
  mutable std::mutex lock_;
  std::condition_variable idle_;
  std::thread thread_;
  bool running_ = false;
  std::shared_ptr<const FontAnalysis> analysis_;
  std::atomic<bool> ready_{false};
};

}  // namespace editor
