// SPDX-License-Identifier: MIT
// An error reporter that keeps the messages, for tests.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "platform/error_reporter.h"

namespace kelpa::test {

class RecordingReporter final : public IErrorReporter {
 public:
  void ShowError(const std::string& message) override {
    std::lock_guard lock(mutex_);
    messages_.push_back(message);
  }
  std::vector<std::string> Messages() const {
    std::lock_guard lock(mutex_);
    return messages_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> messages_;
};

}  // namespace kelpa::test
