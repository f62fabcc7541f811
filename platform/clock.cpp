// SPDX-License-Identifier: MIT
#include "platform/clock.h"

#include <chrono>

namespace kelpa {

TDateTime SystemClock::Now() const {
  using namespace std::chrono;
  const auto ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
  std::lock_guard lock(mutex_);
  return local_.Local(ms);
}

}  // namespace kelpa
