// SPDX-License-Identifier: MIT
// The windows' csv exports: the events of a run a window followed give, byte for byte, what
// `--run --format csv` prints for it; the statistics rows keep their keys and quote captions.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "exports/csv_exports.h"
#include "exports/program_version.h"
#include "platform/sha256.h"
#include "runner/command_line.h"
#include "runner/scenario_recorder.h"
#include "scenario/scenario_reader.h"
#include "support/temp_working_directory.h"

namespace kelpa {
namespace {

TEST(CsvExports, EventsOfAFollowedRunAreTheRunnersCsv) {
  test::TempWorkingDirectory folder;  // no kelpa.ini: the built-in texts, as below
  for (const char* lesson : {"01-prioridade-e-fatia.ini", "05-swapping.ini"}) {
    SCOPED_TRACE(lesson);
    const std::string file = std::string(KELPA_LESSONS_DIR) + "/" + lesson;
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunRunner({"--run", file, "--format", "csv"}, out, err), 0) << err.str();

    const TMessages msg;
    const Scenario scenario = *ReadScenarioFile(file, msg).Value;
    TimelineModel model;
    const RunFigures figures = RunScenario(scenario, msg, nullptr, &model);
    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const RunHeader header{std::string(ProgramVersion()), file, Sha256Hex(bytes), false, &scenario};
    // Up to each scenario process's life in ticks, which only the runner names.
    const std::string runner = out.str();
    const std::size_t ticks = runner.find("\n# process_");
    ASSERT_NE(ticks, std::string::npos);
    EXPECT_EQ(
        EventsCsv(header, model.Events(), figures.Statistics, msg, LoadStatisticsCaptions(false)),
        runner.substr(0, ticks + 1));
  }
}

TEST(CsvExports, StatisticsRowsKeyCaptionValue) {
  const std::string plain = "Processos";
  const std::string comma = "Tempo, médio";
  const std::vector<StatisticRow> rows = {{"processes", &plain, "3", true, false},
                                          {"mean_time", &comma, std::nullopt, true, false}};
  EXPECT_EQ(StatisticsCsv(rows),
            "key,caption,value\nprocesses,Processos,3\nmean_time,\"Tempo, médio\",\n");
}

}  // namespace
}  // namespace kelpa
