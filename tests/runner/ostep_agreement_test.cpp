// SPDX-License-Identifier: MIT
// The scenarios of ostep/ give the figures that OSTEP's homework scripts (scheduler.py, mlfq.py,
// paging-policy.py, run with -c) print for the same workloads; each case names the command line
// that gave its numbers. Where the two models differ, docs/scenarios.en.md says how.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exports/process_ticks.h"
#include "runner/scenario_recorder.h"
#include "scenario/scenario_reader.h"

namespace kelpa {
namespace {

RunFigures RunWith(const std::string& file, const std::vector<std::string>& sets) {
  std::vector<ScenarioOverride> overrides;
  for (const std::string& set : sets) {
    overrides.push_back(ParseOverride(set).value());
  }
  const TMessages msg;
  const ScenarioReading reading =
      ReadScenarioFile(std::string(KELPA_OSTEP_DIR) + "/" + file, msg, overrides);
  EXPECT_TRUE(reading.Value) << (reading.Error ? reading.Error->Text() : file);
  return reading.Value ? RunScenario(*reading.Value, msg, nullptr) : RunFigures{};
}

// Every job arrives at tick 0, so its end is its turnaround. mlfq.py prints no waiting (-1).
struct Job {
  std::int64_t Turnaround, Response, Waiting;
};

TEST(OstepAgreement, SchedulingFiguresOfEachJob) {
  struct Case {
    const char* Command;
    const char* File;
    std::vector<std::string> Sets;
    std::vector<Job> Jobs;
  };
  const Case cases[] = {
      {"scheduler.py -p FIFO -l 24,3,3 -c",
       "jobs-24-3-3.ini",
       {"GLOBAL.ESCALONADOR=FCFS"},
       {{24, 0, 0}, {27, 24, 24}, {30, 27, 27}}},
      {"scheduler.py -p SJF -l 24,3,3 -c",
       "jobs-24-3-3.ini",
       {"GLOBAL.ESCALONADOR=SJF"},
       {{30, 6, 6}, {3, 0, 0}, {6, 3, 3}}},
      {"scheduler.py -p RR -q 1 -l 24,3,3 -c",
       "jobs-24-3-3.ini",
       {"GLOBAL.ESCALONADOR=RR", "GLOBAL.FATIA=1"},
       {{30, 0, 6}, {8, 1, 5}, {9, 2, 6}}},
      {"scheduler.py -p FIFO -l 30,7,2,13 -c",
       "jobs-30-7-2-13.ini",
       {"GLOBAL.ESCALONADOR=FCFS"},
       {{30, 0, 0}, {37, 30, 30}, {39, 37, 37}, {52, 39, 39}}},
      {"scheduler.py -p SJF -l 30,7,2,13 -c",
       "jobs-30-7-2-13.ini",
       {"GLOBAL.ESCALONADOR=SJF"},
       {{52, 22, 22}, {9, 2, 2}, {2, 0, 0}, {22, 9, 9}}},
      {"scheduler.py -p RR -q 4 -l 30,7,2,13 -c",
       "jobs-30-7-2-13.ini",
       {"GLOBAL.ESCALONADOR=RR", "GLOBAL.FATIA=4"},
       {{52, 0, 22}, {21, 4, 14}, {10, 8, 8}, {38, 10, 25}}},
      {"mlfq.py -l 0,20,0:0,10,0:0,5,0 -n 3 -q 2 -a 1 -c",
       "mlfq-20-10-5.ini",
       {},
       {{35, 0, -1}, {25, 2, -1}, {17, 4, -1}}},
      {"mlfq.py -l 0,24,0:0,15,3 -n 3 -q 4 -a 1 -i 3 -S -c",
       "mlfq-io.ini",
       {},
       {{39, 0, -1}, {31, 4, -1}}},
      {"mlfq.py -l 0,20,0:0,10,0 -n 3 -q 2 -a 1 -B 12 -c",
       "mlfq-boost.ini",
       {},
       {{30, 0, -1}, {20, 2, -1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Command);
    const RunFigures run = RunWith(c.File, c.Sets);
    ASSERT_EQ(run.Processes.size(), c.Jobs.size());
    for (std::size_t i = 0; i < c.Jobs.size(); ++i) {
      SCOPED_TRACE("job " + std::to_string(i));
      const ProcessFigures& p = run.Processes[i];
      EXPECT_EQ(p.Arrival, 0);
      EXPECT_EQ(p.End, c.Jobs[i].Turnaround);
      EXPECT_EQ(TurnaroundTicks(p), c.Jobs[i].Turnaround);
      EXPECT_EQ(ResponseTicks(p), c.Jobs[i].Response);
      if (c.Jobs[i].Waiting >= 0) {
        EXPECT_EQ(WaitingTicks(p), c.Jobs[i].Waiting);
      }
    }
  }
}

// paging-policy.py -p POLICY -C FRAMES -c -a STRING, the string being what the program
// references: each instruction's fetch page (PC/8), then its data page. OSTEP's CLOCK scans at
// random and is left out.
TEST(OstepAgreement, FaultsOfTheProgramsReferenceString) {
  struct Case {
    const char* Program;
    const char* String;
    int Frames;
    std::int64_t Fifo, Lru, Optimal;
  };
  const Case cases[] = {
      {"L1,L2,L3,L1,L2,L4,L1,L2", "0,1,0,2,0,3,0,1,0,2,0,4,0,1,0,2", 3, 11, 9, 7},
      {"L1,L2,L3,L1,L2,L4,L1,L2", "0,1,0,2,0,3,0,1,0,2,0,4,0,1,0,2", 4, 8, 5, 5},
      {"L4,L3,L2,L1,L4,L3,L4,L1", "0,4,0,3,0,2,0,1,0,4,0,3,0,4,0,1", 3, 10, 8, 7},
      {"L4,L3,L2,L1,L4,L3,L4,L1", "0,4,0,3,0,2,0,1,0,4,0,3,0,4,0,1", 4, 8, 7, 5},
      {"C*6,L3,L4,L2,L3,L4,L2,C*6,L4,L3,L2,L4",
       "0,0,0,0,0,0,0,3,0,4,1,2,1,3,1,4,1,2,1,1,1,1,2,2,2,4,2,3,2,2,2,4", 3, 11, 9, 7},
      {"C*6,L3,L4,L2,L3,L4,L2,C*6,L4,L3,L2,L4",
       "0,0,0,0,0,0,0,3,0,4,1,2,1,3,1,4,1,2,1,1,1,1,2,2,2,4,2,3,2,2,2,4", 4, 5, 6, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Program) + " in " + std::to_string(c.Frames) + " frames: -a " +
                 c.String);
    const std::string program = std::string("PROCESSO 1.PROGRAMA=") + c.Program;
    const std::string frames = "PROCESSO 1.FRAMES=" + std::to_string(c.Frames);
    const auto faults = [&](const char* policy) {
      const RunFigures run =
          RunWith("paging.ini", {program, frames, std::string("MEMORIA.SUBSTITUICAO=") + policy});
      EXPECT_TRUE(run.Processes.at(0).End.has_value()) << "the program did not end";
      return run.Processes.at(0).Faults;
    };
    EXPECT_EQ(faults("FIFO"), c.Fifo);
    EXPECT_EQ(faults("LRU"), c.Lru);
    EXPECT_EQ(faults("OTIMA"), c.Optimal);
  }
}

}  // namespace
}  // namespace kelpa
