// SPDX-License-Identifier: MIT
// The csv format: every event, one row each (RFC 4180, '.' decimals).
#pragma once

#include "catalogue/messages.h"
#include "exports/output_buffer.h"
#include "exports/statistic_rows.h"
#include "exports/trace_writer.h"

namespace kelpa {

class CsvTrace final : public TraceWriter {
 public:
  CsvTrace(OutputBuffer& out, const TMessages& msg, const StatisticsCaptionTexts& captions)
      : out_(out), msg_(msg), captions_(captions) {}
  void Begin(const RunHeader& header) override;
  void Event(const SimEvent& event, std::int64_t tick, std::int64_t ms) override;
  void End(const RunFigures& figures) override;

 private:
  OutputBuffer& out_;
  const TMessages& msg_;
  const StatisticsCaptionTexts& captions_;
};

}  // namespace kelpa
