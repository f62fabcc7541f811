// SPDX-License-Identifier: MIT
// A log that keeps every line in memory, for tests.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "simulation/log.h"

namespace kelpa::test {

struct LoggedLine {
  std::string Text;
  TColor Colour;
};

class RecordingLog final : public ILog {
 public:
  void AddLine(const std::string& text, TColor colour) override {
    std::lock_guard lock(mutex_);
    lines_.push_back({text, colour});
  }
  std::vector<LoggedLine> Lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
  }
  std::vector<std::string> Texts() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> texts;
    for (const auto& line : lines_) {
      texts.push_back(line.Text);
    }
    return texts;
  }
  void Clear() {
    std::lock_guard lock(mutex_);
    lines_.clear();
  }
  std::size_t Size() const {
    std::lock_guard lock(mutex_);
    return lines_.size();
  }

 private:
  mutable std::mutex mutex_;
  std::vector<LoggedLine> lines_;
};

}  // namespace kelpa::test
