#include "platform/interrupts.h"

#include <poll.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "platform/temporary_files.h"

namespace quillmar {
namespace {

sigset_t WatchedSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGHUP);
  return signals;
}

}  // namespace

InterruptWatcher::InterruptWatcher(std::function<void(int)> on_first_signal)
    : on_first_signal_(std::move(on_first_signal)) {
  ::signal(SIGPIPE, SIG_IGN);
  ::signal(SIGXFSZ, SIG_IGN);  // a write past the file size limit fails instead
  const sigset_t signals = WatchedSignals();
  ::pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  signal_fd_ = ::signalfd(-1, &signals, SFD_CLOEXEC);
  stop_fd_ = ::eventfd(0, EFD_CLOEXEC);
  if (signal_fd_ >= 0 && stop_fd_ >= 0) thread_ = std::thread(&InterruptWatcher::Watch, this);
}

InterruptWatcher::~InterruptWatcher() {
  if (thread_.joinable()) {
    const std::uint64_t one = 1;
    while (::write(stop_fd_, &one, sizeof one) < 0 && errno == EINTR) {
    }
    thread_.join();
  }
  if (signal_fd_ >= 0) ::close(signal_fd_);
  if (stop_fd_ >= 0) ::close(stop_fd_);
}

void InterruptWatcher::Watch() {
  for (;;) {
    pollfd waits[2] = {{signal_fd_, POLLIN, 0}, {stop_fd_, POLLIN, 0}};
    if (::poll(waits, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (waits[1].revents != 0) return;
    signalfd_siginfo info{};
    if (::read(signal_fd_, &info, sizeof info) != static_cast<ssize_t>(sizeof info)) continue;
    const int signal = static_cast<int>(info.ssi_signo);
    int none = 0;
    if (!signal_.compare_exchange_strong(none, signal)) RemoveTemporariesAndExit(128 + signal);
    if (on_first_signal_) on_first_signal_(signal);
  }
}

}  // namespace quillmar
