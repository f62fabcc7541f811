// SPDX-License-Identifier: MIT
// The json format: one document with the scenario (its timed changes too), the events, each
// process's figures and the statistics; one event per line.
#pragma once

#include "catalogue/messages.h"
#include "exports/output_buffer.h"
#include "exports/statistic_rows.h"
#include "exports/trace_writer.h"

namespace kelpa {

class JsonTrace final : public TraceWriter {
 public:
  JsonTrace(OutputBuffer& out, const TMessages& msg, const StatisticsCaptionTexts& captions)
      : out_(out), msg_(msg), captions_(captions) {}
  void Begin(const RunHeader& header) override;
  void Event(const SimEvent& event, std::int64_t tick, std::int64_t ms) override;
  void End(const RunFigures& figures) override;

 private:
  void WriteScenario(const Scenario& s);
  void WriteChange(const OptionChange& c);
  void Option(const OptionRow& row, int value);
  void WriteProcess(const ScenarioProcess& p);
  void WriteFigures(const ProcessFigures& f);
  void TickFields(const std::vector<TickField>& fields);
  void Key(std::string_view key);
  void Ticks(const std::vector<std::int64_t>& ticks);

  OutputBuffer& out_;
  const TMessages& msg_;
  const StatisticsCaptionTexts& captions_;
  bool firstEvent_ = true;
};

}  // namespace kelpa
