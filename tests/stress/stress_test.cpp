// SPDX-License-Identifier: MIT
// The real processor, wait and clock threads at full pace against one simulation, while a driver
// thread does what the windows do, at random and under the lock like them. After every cycle and
// every pass the whole state is checked. Bounded in time and in operations; it stops by itself.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "simulation/simulation.h"
#include "simulation/snapshots.h"
#include "support/invariants.h"

namespace kelpa::test {
namespace {

// A log that checks each line arrives whole and counts the lines of the events the test tallies.
class TallyLog final : public ILog {
 public:
  explicit TallyLog(const TMessages& msg) : msg_(msg) {}
  void AddLine(const std::string& text, TColor) override {
    std::lock_guard lock(mutex_);
    ++lines;
    if (text.empty() || text.find('\n') != std::string::npos) {
      ++broken;
    }
    if (EndsWith(text, msg_.MsgLogCriado)) {
      ++created;
    } else if (EndsWith(text, msg_.MsgLogEliminado)) {
      ++eliminated;
    } else if (text.find(msg_.MsgLogErroCriacao) == 0) {
      ++refused;
    }
  }
  std::mutex mutex_;
  long lines = 0, broken = 0, created = 0, eliminated = 0, refused = 0;

 private:
  static bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
  }
  const TMessages& msg_;
};

int EnvInt(const char* name, int fallback) {
  const char* value = std::getenv(name);
  return value ? std::atoi(value) : fallback;
}

class Driver {
 public:
  Driver(Simulation& sim, unsigned seed) : sim_(sim), random_(seed) {}

  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  TProcesso* AnyProcess() {
    auto& table = sim_.Kernel.Processes;
    return table.empty() ? nullptr : table[Pick(0, static_cast<int>(table.size()) - 1)].get();
  }

  void Create() {
    auto p = TProcesso::Create(sim_, Pick(0, kProcessKindCount - 1), Pick(0, 15), Pick(1, 5),
                               MakeColor(Pick(0, 255), Pick(0, 255), Pick(0, 255)));
    if (p) {
      sim_.Kernel.AddProcess(std::move(p));
      ++creations;
    } else {
      ++refusals;
    }
  }

  // Reads everything the windows' timers read, the way they read it: each snapshot takes the
  // lock itself, between the threads' cycles and passes.
  void ReadLikeTheWindows() {
    const StatisticsInputs in = SnapshotStatistics(sim_);
    const PageListSizes lists = SnapshotPageLists(sim_);
    long seen = in.Running + in.Ready + in.Waiting + in.ReadyWaitCount + in.HardFaults +
                in.SoftFaults + in.DispatchCount + in.FinishedCount + in.FreePages + lists.Free +
                lists.Modified + static_cast<long>(SnapshotReadyDiscs(sim_).size());
    {
      std::lock_guard lock(sim_.Lock);
      seen += static_cast<long>(sim_.Espera.WaitAreaPlaces().size());
    }
    for (const FrameView& frame : SnapshotFrames(sim_)) {
      seen += frame.OwnerColor && !frame.Free ? static_cast<long>(*frame.OwnerColor & 1) : 0;
    }
    for (const BlockView& block : SnapshotBlocks(sim_)) {
      seen += block.OwnerColor ? static_cast<long>(*block.OwnerColor & 1) : 0;
    }
    for (const ProcessRow& p : SnapshotProcessRows(sim_)) {
      seen += p.PID + static_cast<int>(p.State) + p.Priority;
    }
    const int count = SnapshotProcessCount(sim_);
    if (const std::optional<ProcessDetail> detail = SnapshotProcess(sim_, count - 1)) {
      seen += static_cast<int>(detail->Pages[0].Location);
    }
    checksum += seen;
  }

  void Operate() {
    const int choice = Pick(0, 99);
    std::unique_lock lock(sim_.Lock);
    if (!sim_.StopRunEvent.IsSet() && Pick(0, 9) == 0) {
      sim_.StopRunEvent.Set();  // a stop lasts a few operations, as a teacher's pause would
    }
    if (choice < 12) {
      Create();
    } else if (choice < 18) {
      if (TProcesso* p = AnyProcess())
        p->RequestKill();
    } else if (choice < 26) {
      if (TProcesso* p = AnyProcess())
        p->SetSuspendRequest(Pick(0, 1) == 1);
    } else if (choice < 32) {
      if (TProcesso* p = AnyProcess())
        sim_.Kernel.SetPriority(p, Pick(0, 15));
    } else if (choice < 35) {
      sim_.Settings.PreemptionEnabled = Pick(0, 1) == 1;
    } else if (choice < 38) {
      sim_.Settings.DynamicPriorityEnabled = Pick(0, 1) == 1;
    } else if (choice < 41) {
      sim_.Settings.RealTimeThreshold = Pick(0, 16);
    } else if (choice < 44) {
      sim_.Memoria.FrameLimitEnabled = Pick(0, 1) == 1;
    } else if (choice < 47) {
      sim_.Memoria.AnticipatedFetch = Pick(0, 1) == 1;
    } else if (choice < 51) {
      static constexpr int kShares[] = {0, 80, 100};
      sim_.Memoria.MinFreePercent = kShares[Pick(0, 2)];
    } else if (choice < 54) {
      sim_.Kernel.Quantum = 1000 * Pick(1, 10);
    } else if (choice < 57) {
      sim_.Espera.SetWaitLength(10 * Pick(1, 10));
    } else if (choice < 59) {
      sim_.HClock.Period = Pick(0, 1);
      sim_.HClock.PeriodChanged();
    } else if (choice < 61) {
      if (sim_.StopRunEvent.IsSet()) {
        sim_.StopRunEvent.Reset();
      } else {
        sim_.StopRunEvent.Set();
      }
    } else {
      lock.unlock();
      ReadLikeTheWindows();
    }
    ++operations;
  }

  long operations = 0, creations = 0, refusals = 0, checksum = 0;

 private:
  Simulation& sim_;
  std::mt19937 random_;
};

TEST(Stress, ThreadsAndWindowsAtFullPaceKeepEveryInvariant) {
  const int seconds = EnvInt("KELPA_STRESS_SECONDS", 10);
  const long maxOperations = EnvInt("KELPA_STRESS_OPERATIONS", 400000);
  const unsigned seed = static_cast<unsigned>(EnvInt("KELPA_STRESS_SEED", 20261207));

  SystemClock clock;
  TMessages messages;
  TallyLog log(messages);
  NullDisplay display;
  Simulation sim(clock, log, display, messages);
  sim.HClock.Period = 1;
  sim.Espera.SleepMs = 1;

  std::atomic<long> checks{0};
  std::mutex failuresMutex;
  std::vector<std::string> failures;
  sim.AfterStep = [&] {
    checks.fetch_add(1);
    auto broken = CheckInvariants(sim);
    if (!broken.empty()) {
      std::lock_guard lock(failuresMutex);
      if (failures.size() < 20) {
        failures.insert(failures.end(), broken.begin(), broken.end());
      }
    }
  };

  Driver driver(sim, seed);
  {
    std::lock_guard lock(sim.Lock);
    for (int i = 0; i < 20; ++i) {
      driver.Create();
    }
  }
  sim.StartThreads();
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (std::chrono::steady_clock::now() < end && driver.operations < maxOperations) {
    driver.Operate();
    {
      std::lock_guard lock(failuresMutex);
      if (!failures.empty()) {
        break;
      }
    }
    std::this_thread::sleep_for(std::chrono::microseconds(50));
  }
  sim.StopRunEvent.Set();
  sim.Shutdown();

  std::lock_guard simLock(sim.Lock);
  for (const auto& failure : failures) {
    ADD_FAILURE() << failure;
  }
  EXPECT_INVARIANTS(sim);
  std::lock_guard logLock(log.mutex_);
  EXPECT_EQ(log.broken, 0);
  EXPECT_EQ(log.created, driver.creations);
  EXPECT_EQ(log.refused, driver.refusals);
  EXPECT_EQ(log.eliminated, sim.FinishedCount);
  EXPECT_EQ(log.created - log.eliminated, static_cast<long>(sim.Kernel.Processes.size()));
  std::printf(
      "stress: %d s, seed %u, %ld cycles, %ld passes, %ld driver operations (%ld creations, %ld "
      "refused), %ld invariant checks, %ld log lines, %d processes ended\n",
      seconds, seed, sim.Cpu.CycleCount.load(), sim.Espera.PassCount.load(), driver.operations,
      driver.creations, driver.refusals, checks.load(), log.lines, sim.FinishedCount);
}

}  // namespace
}  // namespace kelpa::test
