// SPDX-License-Identifier: MIT
#include "gui/console/termination_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <cstddef>
#include <utility>

#include "gui/console/console_window.h"

namespace kelpa {
namespace {

// The pipe's write end for the handler; -1 while no instance handles the signals.
std::atomic<int> gWriteEnd{-1};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler reads it");

void OnSignal(int signal) {
  // Only async-signal-safe calls here. A full pipe already holds a wake-up, so a failed write
  // loses nothing.
  const int savedErrno = errno;
  const int writeEnd = gWriteEnd.load();
  if (writeEnd >= 0) {
    const auto byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(writeEnd, &byte, 1);
  }
  errno = savedErrno;
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void()> onSignal, QObject* parent)
    : QObject(parent), onSignal_(std::move(onSignal)) {
  if (gWriteEnd.load() >= 0 || ::pipe2(pipe_.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
    pipe_ = {-1, -1};
    return;
  }
  notifier_ = new QSocketNotifier(pipe_[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::ReadPipe);
  gWriteEnd.store(pipe_[1]);
  Install();
}

TerminationSignals::~TerminationSignals() {
  for (std::size_t i = 0; i < kSignals.size(); ++i) {
    if (installed_[i]) {
      ::sigaction(kSignals[i], &previous_[i], nullptr);
    }
  }
  if (pipe_[1] >= 0) {
    gWriteEnd.store(-1);
  }
  delete notifier_;
  for (int end : pipe_) {
    if (end >= 0) {
      ::close(end);
    }
  }
}

void TerminationSignals::Install() {
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < kSignals.size(); ++i) {
    if (::sigaction(kSignals[i], nullptr, &previous_[i]) != 0 ||
        previous_[i].sa_handler == SIG_IGN) {
      continue;
    }
    installed_[i] = ::sigaction(kSignals[i], &action, nullptr) == 0;
  }
}

bool TerminationSignals::Handles(int signal) const {
  for (std::size_t i = 0; i < kSignals.size(); ++i) {
    if (kSignals[i] == signal) {
      return installed_[i];
    }
  }
  return false;
}

void TerminationSignals::ReadPipe() {
  unsigned char bytes[16];
  bool signalled = false;
  while (::read(pipe_[0], bytes, sizeof bytes) > 0) {
    signalled = true;
  }
  if (signalled && onSignal_) {
    onSignal_();
  }
}

void EndOnTerminationSignals(TForm1& console) {
  new TerminationSignals(
      [&console] {
        if (!console.IsShutDown()) {
          console.Fim1Click();
        }
      },
      &console);
}

}  // namespace kelpa
