// SPDX-License-Identifier: MIT
#include "runner/trace_formats.h"

#include "exports/csv_trace.h"
#include "runner/json_trace.h"
#include "runner/scenario_recorder.h"
#include "runner/states_trace.h"
#include "runner/text_trace.h"

namespace kelpa {
namespace {

std::unique_ptr<TraceWriter> MakeTraceWriter(TraceFormat format, OutputBuffer& out,
                                             const TMessages& msg,
                                             const StatisticsCaptionTexts& captions) {
  switch (format) {
    case TraceFormat::Csv:
      return std::make_unique<CsvTrace>(out, msg, captions);
    case TraceFormat::Json:
      return std::make_unique<JsonTrace>(out, msg, captions);
    case TraceFormat::States:
      return std::make_unique<StatesTrace>(out, msg, captions);
    case TraceFormat::Text:
      break;
  }
  return std::make_unique<TextTrace>(out, msg, captions);
}

}  // namespace

void WriteRun(OutputBuffer& out, TraceFormat format, const RunHeader& header,
              const Scenario& scenario, const TMessages& msg,
              const StatisticsCaptionTexts& captions, TimelineModel* timeline) {
  const auto writer = MakeTraceWriter(format, out, msg, captions);
  writer->Begin(header);
  writer->End(RunScenario(scenario, msg, writer.get(), timeline));
}

}  // namespace kelpa
