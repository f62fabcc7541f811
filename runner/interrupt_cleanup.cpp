// SPDX-License-Identifier: MIT
#include "runner/interrupt_cleanup.h"

#include <signal.h>
#include <unistd.h>

#include <array>

namespace kelpa {
namespace {

constexpr std::array<int, 3> kSignals = {SIGTERM, SIGINT, SIGHUP};

// Read by the handler: changed only with the signals blocked, so it never sees half a change.
std::string& Message() {
  static std::string message;
  return message;
}
std::string& TempFile() {
  static std::string path;
  return path;
}

class SignalsBlocked {
 public:
  SignalsBlocked() {
    sigset_t set;
    sigemptyset(&set);
    for (const int s : kSignals) {
      sigaddset(&set, s);
    }
    sigprocmask(SIG_BLOCK, &set, &old_);
  }
  ~SignalsBlocked() { sigprocmask(SIG_SETMASK, &old_, nullptr); }
  SignalsBlocked(const SignalsBlocked&) = delete;
  SignalsBlocked& operator=(const SignalsBlocked&) = delete;

 private:
  sigset_t old_;
};

extern "C" void OnInterruption(int signal) {
  // Only async-signal-safe calls here.
  if (!TempFile().empty()) {
    ::unlink(TempFile().c_str());
  }
  const std::string& message = Message();
  [[maybe_unused]] const ssize_t ignored = ::write(STDERR_FILENO, message.data(), message.size());
  ::_exit(128 + signal);
}

}  // namespace

void CatchInterruptions(const std::string& message) {
  {
    const SignalsBlocked blocked;
    Message() = message;
    TempFile().reserve(4096);
  }
  struct sigaction action {};
  action.sa_handler = OnInterruption;
  sigemptyset(&action.sa_mask);
  for (const int s : kSignals) {
    sigaddset(&action.sa_mask, s);
  }
  for (const int s : kSignals) {
    // A signal the runner was started with set to be ignored (nohup) stays ignored.
    struct sigaction current {};
    if (sigaction(s, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) {
      continue;
    }
    sigaction(s, &action, nullptr);
  }
}

void SetInterruptedTempFile(const std::string& path) {
  const SignalsBlocked blocked;
  TempFile() = path;
}

void ClearInterruptedTempFile() {
  const SignalsBlocked blocked;
  TempFile().clear();
}

}  // namespace kelpa
