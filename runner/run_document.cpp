// SPDX-License-Identifier: MIT
#include "runner/run_document.h"

#include <memory>

#include "exports/run_header.h"
#include "exports/run_print.h"
#include "exports/states_table.h"
#include "exports/timeline_file.h"
#include "runner/scenario_recorder.h"

namespace kelpa {

PrintDocument ScenarioRunDocument(const RunHeader& header, const std::string& name,
                                  const TMessages& msg, const StatisticsCaptionTexts& captions) {
  const Scenario& scenario = *header.Resolved;
  StatesTableRecorder recorder;
  auto timeline = std::make_shared<TimelineModel>(TimelineEvents::Dropped);
  recorder.Begin(header);
  recorder.End(RunScenario(scenario, msg, &recorder, timeline.get()));
  RunPrint run;
  run.Name = name;
  run.Header = HeaderLines(header, msg);
  run.Timeline = timeline;
  run.Frame = WholeRunFrame(*timeline, scenario, msg);
  run.Statistics = &recorder.Figures().Statistics;
  for (const ProcessFigures& f : recorder.Figures().Processes) {
    run.Processes.emplace_back(std::to_string(f.Number), &f);
  }
  run.States = std::move(recorder.Table());
  return RunPrintDocument(run, msg, captions);
}

}  // namespace kelpa
