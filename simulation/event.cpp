// SPDX-License-Identifier: MIT
#include "simulation/event.h"

namespace kelpa {

void TEvent::Set() {
  {
    std::lock_guard lock(mutex_);
    set_ = true;
  }
  if (manual_) {
    changed_.notify_all();
  } else {
    changed_.notify_one();
  }
}

void TEvent::Reset() {
  std::lock_guard lock(mutex_);
  set_ = false;
}

bool TEvent::Wait() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return set_ || closed_; });
  if (closed_) {
    return false;
  }
  if (!manual_) {
    set_ = false;
  }
  return true;
}

void TEvent::Close() {
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
  }
  changed_.notify_all();
}

bool TEvent::IsSet() const {
  std::lock_guard lock(mutex_);
  return set_;
}

bool TEvent::IsClosed() const {
  std::lock_guard lock(mutex_);
  return closed_;
}

}  // namespace kelpa
