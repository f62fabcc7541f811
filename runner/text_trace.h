// SPDX-License-Identifier: MIT
// The text format: the log as a reader sees it, with the tick and virtual time in front.
#pragma once

#include "catalogue/messages.h"
#include "exports/output_buffer.h"
#include "exports/statistic_rows.h"
#include "exports/trace_writer.h"

namespace kelpa {

class TextTrace final : public TraceWriter {
 public:
  TextTrace(OutputBuffer& out, const TMessages& msg, const StatisticsCaptionTexts& captions)
      : out_(out), msg_(msg), captions_(captions) {}
  void Begin(const RunHeader& header) override;
  void Event(const SimEvent& event, std::int64_t tick, std::int64_t ms) override;
  void End(const RunFigures& figures) override;

 private:
  void WriteProcesses(const std::vector<ProcessFigures>& processes);
  // Each process's life in ticks, then the means over the ended processes and the totals.
  void WriteTicks(const std::vector<ProcessFigures>& processes);

  OutputBuffer& out_;
  const TMessages& msg_;
  const StatisticsCaptionTexts& captions_;
};

}  // namespace kelpa
