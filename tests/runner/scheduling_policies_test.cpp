// SPDX-License-Identifier: MIT
// The textbook scheduling policies on finite jobs of their own: worked examples done by hand
// first, then properties over drawn workloads.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "runner/scenario_recorder.h"
#include "simulation/scheduling_policy.h"

namespace kelpa {
namespace {

using enum SchedulingPolicy;

struct Job {
  std::int64_t Arrival = 0;
  std::string Program;  // PROGRAMA=
};

Scenario Jobs(const std::vector<Job>& jobs, SchedulingPolicy policy, int slice = 1) {
  Scenario s;
  s.Ticks = 400;
  s.Options.Scheduler = static_cast<int>(policy);
  s.Options.SlicePosition = slice;
  s.Options.IoWaitPosition = 1;
  for (const Job& job : jobs) {
    ScenarioProcess p;
    p.Number = static_cast<int>(s.Processes.size()) + 1;
    p.Arrival = job.Arrival;
    p.Program.Codes = ParseProgram(job.Program, kInstructionCount, kPagesPerProcess).Codes;
    p.Program.Repeats = false;
    s.Processes.push_back(p);
  }
  return s;
}

struct JobFigures {
  std::int64_t End, Waiting, Response;
  friend bool operator==(const JobFigures&, const JobFigures&) = default;
  friend void PrintTo(const JobFigures& f, std::ostream* out) {
    *out << "end " << f.End << ", waiting " << f.Waiting << ", response " << f.Response;
  }
};

std::vector<JobFigures> Figures(const Scenario& s) {
  const RunFigures run = RunScenario(s, TMessages{}, nullptr);
  std::vector<JobFigures> figures;
  for (const ProcessFigures& p : run.Processes) {
    EXPECT_TRUE(p.End.has_value()) << "job " << p.Number << " did not end";
    figures.push_back({p.End.value_or(-1), WaitingTicks(p), ResponseTicks(p).value_or(-1)});
  }
  return figures;
}

// Worked by hand, one instruction a tick, a switch at no cost. A: 7 ticks from 0; B: 4 from 2;
// C: 1 from 4; D: 4 from 5.
//   FCFS A 0-7, B 7-11, C 11-12, D 12-16.
//   SJF  A 0-7 (alone at 0), then the shortest: C 7-8, B 8-12 (B before D: it came first), D 12-16.
//   SRTF A 0-2, B 2-4, C 4-5, B 5-7, D 7-11, A 11-16.
//   RR, slice 2 (a job whose slice ends goes behind those that arrived meanwhile):
//        A 0-2, B 2-4, A 4-6, C 6-7, B 7-9, D 9-11, A 11-13, D 13-15, A 15-16.
//   MLFQ, 3 levels, allotment 2, slice 1: A 0-2 at the top, then level 1; B 2-4 at the top, C 4-5,
//        D 5-7; level 1 by turns: A 7, B 8, D 9, A 10 (A goes to level 0), B 11 (B ends), D 12
//        (D ends); A alone 13-16.
TEST(SchedulingPolicies, WorkedExamplesGiveTheTablesDoneByHand) {
  const std::vector<Job> jobs = {{0, "C*7"}, {2, "C*4"}, {4, "C"}, {5, "C*4"}};
  const struct {
    SchedulingPolicy Policy;
    int Slice;
    std::vector<JobFigures> Expected;  // A, B, C, D
  } table[] = {
      {Fcfs, 1, {{7, 0, 0}, {11, 5, 5}, {12, 7, 7}, {16, 7, 7}}},
      {Sjf, 1, {{7, 0, 0}, {12, 6, 6}, {8, 3, 3}, {16, 7, 7}}},
      {Srtf, 1, {{16, 9, 0}, {7, 1, 0}, {5, 0, 0}, {11, 2, 2}}},
      {RoundRobin, 2, {{16, 9, 0}, {9, 3, 0}, {7, 2, 2}, {15, 6, 4}}},
      {Mlfq, 1, {{16, 9, 0}, {12, 6, 0}, {5, 0, 0}, {13, 4, 0}}},
  };
  for (const auto& c : table) {
    Scenario s = Jobs(jobs, c.Policy, c.Slice);
    s.Options.MlfqAllotment = 2;
    EXPECT_EQ(Figures(s), c.Expected) << "policy " << static_cast<int>(c.Policy);
  }
}

// Jobs of compute only, all at tick 0, drawn at random.
std::vector<Job> DrawnJobs(std::mt19937& rng) {
  std::vector<Job> jobs(2 + rng() % 4);
  for (Job& job : jobs) {
    job.Program = "C*" + std::to_string(1 + rng() % 12);
  }
  return jobs;
}

double MeanWaiting(const std::vector<JobFigures>& figures) {
  double sum = 0;
  for (const JobFigures& f : figures) {
    sum += static_cast<double>(f.Waiting);
  }
  return sum / static_cast<double>(figures.size());
}

// The least mean waiting of any order run one job after the other: what no non-preemptive policy
// can beat on jobs that all arrive together.
double BestOrderWaiting(const std::vector<Job>& jobs) {
  std::vector<int> lengths;
  for (const Job& job : jobs) {
    lengths.push_back(
        static_cast<int>(ParseProgram(job.Program, kInstructionCount, 1).Codes.size()));
  }
  std::sort(lengths.begin(), lengths.end());
  double best = 1e9;
  do {
    double waiting = 0;
    int clock = 0;
    for (const int length : lengths) {
      waiting += clock;
      clock += length;
    }
    best = std::min(best, waiting / static_cast<double>(lengths.size()));
  } while (std::next_permutation(lengths.begin(), lengths.end()));
  return best;
}

TEST(SchedulingPolicies, OnJobsThatArriveTogetherSjfWaitsTheLeastOfTheNonPreemptive) {
  std::mt19937 rng(2026);
  for (int draw = 0; draw < 60; ++draw) {
    const std::vector<Job> jobs = DrawnJobs(rng);
    const double sjf = MeanWaiting(Figures(Jobs(jobs, Sjf)));
    EXPECT_DOUBLE_EQ(sjf, BestOrderWaiting(jobs)) << "draw " << draw;
    EXPECT_LE(sjf, MeanWaiting(Figures(Jobs(jobs, Fcfs)))) << "draw " << draw;
  }
}

// Every policy, on drawn jobs with I/O and arrivals spread out: each job's ticks in its states
// add up to its lifetime, and its processor ticks are its compute instructions.
TEST(SchedulingPolicies, UnderEveryPolicyTheTicksOfAJobAddUpToItsLifetime) {
  std::mt19937 rng(7);
  for (int draw = 0; draw < 20; ++draw) {
    std::vector<Job> jobs(2 + rng() % 4);
    for (Job& job : jobs) {
      job.Arrival = rng() % 6;
      job.Program =
          "C*" + std::to_string(1 + rng() % 6) + ", E1, C*" + std::to_string(1 + rng() % 6);
    }
    for (int policy = 0; policy < kSchedulingPolicyCount; ++policy) {
      const RunFigures run =
          RunScenario(Jobs(jobs, static_cast<SchedulingPolicy>(policy), 2), TMessages{}, nullptr);
      for (const ProcessFigures& p : run.Processes) {
        ASSERT_TRUE(p.End.has_value()) << "policy " << policy << ", draw " << draw;
        const std::int64_t sum =
            std::accumulate(p.TicksIn.begin(), p.TicksIn.end(), std::int64_t{0});
        EXPECT_EQ(sum, *p.End - p.Arrival) << "policy " << policy << ", draw " << draw;
      }
    }
  }
}

}  // namespace
}  // namespace kelpa
