// SPDX-License-Identifier: MIT
// Long seeded runs of the whole simulation with the user acting at random: creations, kills,
// suspensions, priority and settings changes between processor cycles and wait-service passes.
// The whole state is checked after every single step, and at the end every process is ended and
// memory and page file must be whole and empty again.
#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <sstream>

#include "memory_fixture.h"
#include "simulation/hand_action.h"
#include "support/recording_events.h"

namespace kelpa::test {
namespace {

constexpr int kSteps = 10000;

// The events only some policies report: the priority kernel's raises and caps, each textbook
// policy's rule, and the feedback queue's levels.
const std::vector<std::pair<EventKind, std::vector<SchedulingPolicy>>> kPolicyEvents = {
    {EventKind::PriorityRaised, {SchedulingPolicy::Priority}},
    {EventKind::PriorityCapped, {SchedulingPolicy::Priority}},
    {EventKind::Preempted, {SchedulingPolicy::Priority, SchedulingPolicy::Mlfq}},
    {EventKind::SliceEnded,
     {SchedulingPolicy::Priority, SchedulingPolicy::RoundRobin, SchedulingPolicy::Mlfq}},
    {EventKind::PreemptedForShorter, {SchedulingPolicy::Srtf}},
    {EventKind::ChosenFirstCome, {SchedulingPolicy::Fcfs}},
    {EventKind::ChosenInTurn, {SchedulingPolicy::RoundRobin}},
    {EventKind::ChosenShortestBurst, {SchedulingPolicy::Sjf}},
    {EventKind::ChosenShortestRemaining, {SchedulingPolicy::Srtf}},
    {EventKind::ChosenTopLevel, {SchedulingPolicy::Mlfq}},
    {EventKind::LevelLowered, {SchedulingPolicy::Mlfq}},
    {EventKind::LevelsBoosted, {SchedulingPolicy::Mlfq}},
};

// A seed, and the policy the kernel schedules with: under a textbook policy half the processes
// run programs of their own, finite or looping, drawn at random.
struct RunParam {
  unsigned Seed = 0;
  SchedulingPolicy Policy = SchedulingPolicy::Priority;
  friend void PrintTo(const RunParam& p, std::ostream* out) {
    *out << "seed " << p.Seed << ", policy " << static_cast<int>(p.Policy);
  }
};

class RandomRunTest : public MemoryTest, public ::testing::WithParamInterface<RunParam> {
 protected:
  // Raw engine output only: the standard distributions differ between libraries.
  int Pick(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }

  TProcesso* AnyProcess() {
    const auto& table = sim.Kernel.Processes;
    return table.empty() ? nullptr : table[Pick(static_cast<int>(table.size()))].get();
  }

  // One action of the user or one tick of a thread; returns its name for failure messages.
  std::string Act() {
    const int roll = Pick(100);
    if (roll < 40) {
      ts.Cycle();
      return "cycle";
    }
    if (roll < 75) {
      ts.Pass();
      return "pass";
    }
    if (roll < 82) {
      const std::size_t live = sim.Kernel.Processes.size();
      TProcesso* created = IsTextbookPolicy(GetParam().Policy) && Pick(2) == 0
                               ? CreateWithProgram()
                               : ts.Create(Pick(kProcessKindCount), Pick(16), 1 + Pick(5),
                                           static_cast<TColor>(rng_() & 0xFFFFFF));
      // The page file holds exactly twenty shares.
      EXPECT_EQ(created == nullptr, live == 20);
      return "create";
    }
    std::lock_guard lock(sim.Lock);
    return ChangeSomething(roll);
  }

  TProcesso* CreateWithProgram() {
    static constexpr std::int32_t kCodes[] = {
        kCompute, kCompute, 1, 2, 3, kWrite, kReadBase + 1, kReadBase + 3, kWriteBase + 4};
    ProcessProgram program;
    program.Codes.resize(static_cast<std::size_t>(1 + Pick(kInstructionCount)));
    for (std::int32_t& code : program.Codes) {
      code = kCodes[Pick(static_cast<int>(std::size(kCodes)))];
    }
    program.Repeats = Pick(2) == 0;
    std::lock_guard lock(sim.Lock);
    return AddNewProcess(sim, pkCPU, Pick(16), 1 + Pick(5), 0x00FF00, program);
  }

  std::string ChangeSomething(int roll) {
    TProcesso* p = AnyProcess();
    if (roll < 83) {
      if (p != nullptr) {
        p->RequestKill();
      }
      return "kill";
    }
    if (roll < 91) {
      if (p != nullptr) {
        p->SetSuspendRequest(!p->SuspendRequested);
      }
      return "suspend toggle";
    }
    if (roll < 93) {
      sim.Kernel.SetPriority(p, Pick(16));
      return "priority";
    }
    if (roll < 95) {
      // Mostly low, sometimes high enough to keep the swapper busy.
      mem.MinFreePercent = Pick(3) == 0 ? Pick(101) : Pick(30);
      return "min free";
    }
    if (roll < 96) {
      mem.FrameLimitEnabled = !mem.FrameLimitEnabled;
      mem.Replacement = static_cast<ReplacementPolicy>(Pick(4));
      return "frame limit and replacement";
    }
    if (roll < 97) {
      mem.AnticipatedFetch = !mem.AnticipatedFetch;
      return "fetch";
    }
    if (roll < 98) {
      sim.Espera.SetWaitLength(1 + Pick(8));
      return "wait length";
    }
    if (roll < 99) {
      sim.Kernel.Quantum = 1000 * (1 + Pick(3));
      return "quantum";
    }
    sim.Settings.PreemptionEnabled = Pick(2) == 0;
    sim.Settings.DynamicPriorityEnabled = Pick(2) == 0;
    sim.Settings.RealTimeThreshold = Pick(17);
    return "scheduling";
  }

  // Asks every process to end and runs until none is left.
  void EndEverything() {
    for (int i = 0; i < 20000; ++i) {
      {
        std::lock_guard lock(sim.Lock);
        if (sim.Kernel.Processes.empty()) {
          return;
        }
        for (const auto& p : sim.Kernel.Processes) {
          p->RequestKill();
          p->SetSuspendRequest(false);
        }
      }
      ts.Cycle();
      ts.Pass();
      std::lock_guard lock(sim.Lock);
      ASSERT_INVARIANTS(sim) << "while ending everything, step " << i;
    }
    FAIL() << "processes still alive";
  }

  int LinesContaining(const std::string& text) const {
    int count = 0;
    for (const std::string& line : ts.log.Texts()) {
      count += line.find(text) != std::string::npos ? 1 : 0;
    }
    return count;
  }

  // Follows every process's state from the events alone and compares it with the table.
  void ExpectStatesFollowFromEvents() {
    for (; followed_ < events_.events.size(); ++followed_) {
      const SimEvent& e = events_.events[followed_];
      if (e.Kind == EventKind::Created || e.Kind == EventKind::StateChanged) {
        states_[e.Pid] = e.To;
      } else if (e.Kind == EventKind::Eliminated) {
        states_.erase(e.Pid);
      }
    }
    std::map<std::int32_t, ProcessState> actual;
    for (const auto& p : sim.Kernel.Processes) {
      actual[p->PID] = p->State;
    }
    ASSERT_EQ(states_, actual);
  }

  // Each log line is the formatting of exactly one event, in the same order and colour.
  void ExpectLinesAreTheEvents() {
    std::vector<LoggedLine> fromEvents;
    for (const SimEvent& e : events_.events) {
      if (const auto line = EventLine(e, sim.Msg)) {
        fromEvents.push_back({*line, e.Color});
      }
    }
    const std::vector<LoggedLine> logged = ts.log.Lines();
    ASSERT_EQ(logged.size(), fromEvents.size());
    for (std::size_t i = 0; i < logged.size(); ++i) {
      ASSERT_EQ(logged[i].Text, fromEvents[i].Text) << "line " << i;
      ASSERT_EQ(logged[i].Colour, fromEvents[i].Colour) << "line " << i;
    }
  }

  void SetUp() override {
    MemoryTest::SetUp();
    sim.SetEvents(&events_);
  }

  std::mt19937 rng_{GetParam().Seed};
  RecordingEvents events_;
  std::map<std::int32_t, ProcessState> states_;
  std::size_t followed_ = 0;
};

TEST_P(RandomRunTest, EveryStepKeepsTheWholeStateConsistent) {
  const SchedulingPolicy policy = GetParam().Policy;
  Locked([&] {
    sim.Espera.SetWaitLength(4);
    sim.Kernel.SetPolicy(policy);
    sim.Kernel.Mlfq.BoostPeriod = 50;
  });
  for (int step = 0; step < kSteps; ++step) {
    const std::string action = Act();
    std::lock_guard lock(sim.Lock);
    ASSERT_INVARIANTS(sim) << "step " << step << ": " << action;
    ASSERT_NO_FATAL_FAILURE(ExpectStatesFollowFromEvents()) << "step " << step << ": " << action;
  }
  EndEverything();
  ExpectLinesAreTheEvents();
  std::set<EventKind> seenKinds;
  for (const SimEvent& e : events_.events) {
    seenKinds.insert(e.Kind);
  }
  // Every kind of the policy, but a fault that finds no frame at all (a balanced pool never
  // meets one) and, in some seeds, a soft fault from the free list (the modified list's are the
  // common ones).
  std::set<EventKind> missing;
  for (int kind = 0; kind <= static_cast<int>(EventKind::LevelsBoosted); ++kind) {
    missing.insert(static_cast<EventKind>(kind));
  }
  for (const EventKind kind : seenKinds) {
    missing.erase(kind);
  }
  missing.erase(EventKind::SoftFaultFromFreeList);
  std::set<EventKind> expectedMissing = {EventKind::NoFreeFrame};
  for (const auto& [kind, policies] : kPolicyEvents) {
    if (std::find(policies.begin(), policies.end(), policy) == policies.end()) {
      expectedMissing.insert(kind);
    }
  }
  EXPECT_EQ(missing, expectedMissing);

  EXPECT_EQ(mem.FreePageCount(), kFrameCount);
  EXPECT_EQ(mem.ModifiedPageCount(), 0);
  EXPECT_EQ(mem.FreeBlocks.size(), static_cast<std::size_t>(kBlockCount));
  for (const TFrameEntry& frame : mem.FrameTable) {
    EXPECT_EQ(frame.Owner, nullptr);
  }

  // The run went through the paths it is meant to shake.
  std::ostringstream seen;
  for (const char* text : {"Iniciando Swap", "Gravando lista", " swap in", " HwPF - Pagefile ",
                           "Falta de espaco no PF", " liberando pagefile reservado"}) {
    const int count = LinesContaining(text);
    seen << text << ": " << count << "\n";
    EXPECT_GT(count, 0) << text;
  }
  EXPECT_GT(LinesContaining(" SwPF - LPL ") + LinesContaining(" SwPF - LPM "), 0);
  RecordProperty("paths", seen.str());
}

using enum SchedulingPolicy;
INSTANTIATE_TEST_SUITE_P(Seeds, RandomRunTest,
                         ::testing::Values(RunParam{1, Priority}, RunParam{7, Priority},
                                           RunParam{2024, Priority}, RunParam{9, Fcfs},
                                           RunParam{14, RoundRobin}, RunParam{5, Sjf},
                                           RunParam{6, Srtf}, RunParam{8, Mlfq}));

}  // namespace
}  // namespace kelpa::test
