// SPDX-License-Identifier: MIT
#include "session/replay_log.h"

namespace kelpa {

void ReplayLog::AddLine(const std::string& text, TColor colour) {
  if (!diverted_) {
    file_.AddLine(text, colour);
    return;
  }
  kept_.emplace_back(TLogWriter::Stamped(clock_.Now(), text), colour);
  if (kept_.size() > capacity_) {
    kept_.pop_front();
  }
}

void ReplayLog::Divert(std::size_t capacity) {
  diverted_ = true;
  capacity_ = capacity;
  kept_.clear();
}

std::vector<LogLine> ReplayLog::Restore() {
  diverted_ = false;
  std::vector<LogLine> lines(std::make_move_iterator(kept_.begin()),
                             std::make_move_iterator(kept_.end()));
  kept_.clear();
  return lines;
}

}  // namespace kelpa
