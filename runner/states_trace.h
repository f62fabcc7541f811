// SPDX-License-Identifier: MIT
// The states format, the answer key: one row per tick, one column per scenario process, and one
// for what the processor did in the tick.
#pragma once

#include "catalogue/messages.h"
#include "exports/output_buffer.h"
#include "exports/statistic_rows.h"
#include "exports/trace_writer.h"

namespace kelpa {

class StatesTrace final : public TraceWriter {
 public:
  StatesTrace(OutputBuffer& out, const TMessages& msg, const StatisticsCaptionTexts& captions)
      : out_(out), msg_(msg), captions_(captions) {}
  void Begin(const RunHeader& header) override;
  void Event(const SimEvent&, std::int64_t, std::int64_t) override {}
  bool WantsTicks() const override { return true; }
  void Tick(std::int64_t tick, const std::vector<ProcessFigures>& processes,
            const TCPU::CycleOutcome& cycle) override;
  void End(const RunFigures& figures) override;

 private:
  void WriteRow(const std::vector<std::string>& cells);

  OutputBuffer& out_;
  const TMessages& msg_;
  const StatisticsCaptionTexts& captions_;
};

}  // namespace kelpa
