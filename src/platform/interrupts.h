#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

namespace quillmar {

// Catches SIGINT, SIGTERM and SIGHUP for the whole process. The first of them is recorded
// and handed to the callback, which asks the work to stop at its next safe point; a second
// one removes the process's temporary files and folders and ends it at once with 128 plus
// the signal's number. A broken pipe and a file grown past its size limit are ignored, so
// that they make the write fail (and be reported) instead of ending the process mid-write.
//
// Make it before any other thread starts: the signals are blocked in the making thread and
// in every thread started after it, and taken by the watcher's own thread.
class InterruptWatcher {
 public:
  explicit InterruptWatcher(std::function<void(int)> on_first_signal);
  // Stops watching; signals that come later stay pending and are not acted on.
  ~InterruptWatcher();
  InterruptWatcher(const InterruptWatcher&) = delete;
  InterruptWatcher& operator=(const InterruptWatcher&) = delete;

  // The first signal caught, or 0.
  int Signal() const { return signal_.load(); }

 private:
  void Watch();

  std::function<void(int)> on_first_signal_;
  std::atomic<int> signal_{0};
  int signal_fd_ = -1;
  int stop_fd_ = -1;
  std::thread thread_;
};

}  // namespace quillmar
