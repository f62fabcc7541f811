// SPDX-License-Identifier: MIT
// The log the live simulation writes to: the log file (through the log writer), except while a
// run is replayed to go back to an earlier tick. The replayed lines are already in the file, so
// they are then kept here, stamped as the file has them, for the log view to show again.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "session/log_writer.h"

namespace kelpa {

using LogLine = std::pair<std::string, TColor>;

class ReplayLog final : public ILog {
 public:
  ReplayLog(TLogWriter& file, const IClock& clock) : file_(file), clock_(clock) {}

  void AddLine(const std::string& text, TColor colour) override;
  // From now on lines are kept (the last `capacity` of them) instead of logged; the lock of the
  // simulation must be held, so that no thread logs meanwhile.
  void Divert(std::size_t capacity);
  // Lines go to the file again; returns those kept, oldest first.
  std::vector<LogLine> Restore();

 private:
  TLogWriter& file_;
  const IClock& clock_;
  bool diverted_ = false;
  std::size_t capacity_ = 0;
  std::deque<LogLine> kept_;
};

}  // namespace kelpa
