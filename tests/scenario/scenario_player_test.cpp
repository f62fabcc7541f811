// SPDX-License-Identifier: MIT
// The scenario player: a fresh start is a new simulation, going back by replay is exact with the
// actions taken by hand on the way, pause ticks, and the run so far saved as a scenario.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/messages.h"
#include "lesson_run.h"
#include "scenario/scenario_player.h"
#include "scenario/scenario_reader.h"
#include "simulation/snapshots.h"
#include "simulation/switchable_display.h"
#include "support/recording_display.h"
#include "support/recording_log.h"

namespace kelpa {
namespace {

// Everything the windows show of a simulation, and the queues and lists behind it, as text:
// two states are the same when their texts are.
std::string Picture(Simulation& sim) {
  std::ostringstream out;
  for (int i = 0; i < SnapshotProcessCount(sim); ++i) {
    const ProcessDetail p = *SnapshotProcess(sim, i);
    out << "P" << p.PID << " " << p.Color << " " << p.BasePriority << "/" << p.Priority << " s"
        << static_cast<int>(p.State) << " pc" << p.PC << " cpu" << p.CpuTime << " at" << p.CreatedAt
        << " fl" << p.FrameLimit << " pages";
    for (const TPageEntry& e : p.Pages) {
      out << " " << e.Frame << e.Valid << e.Modified << static_cast<int>(e.Location);
    }
    out << "\n";
  }
  const StatisticsInputs s = SnapshotStatistics(sim);
  out << "now" << s.Now << " d" << s.DispatchCount << " w" << s.TotalReadyWaitTime << " f"
      << s.FinishedCount << " t" << s.TotalTurnaroundTime << " b" << s.BusyTime << " free"
      << s.FreePages << " hf" << s.HardFaults << " sf" << s.SoftFaults << "\n";
  for (const FrameView& f : SnapshotFrames(sim)) {
    out << f.Free << f.Modified << f.OwnerColor.value_or(-1) << ",";
  }
  out << "\n";
  for (const BlockView& b : SnapshotBlocks(sim)) {
    out << static_cast<int>(b.State) << b.Modified << b.OwnerColor.value_or(-1) << ",";
  }
  std::lock_guard lock(sim.Lock);
  out << "\nready";
  for (const DiscPlace& place : sim.Kernel.ReadyDiscs()) {
    out << " " << place.Queue << ":" << sim.Kernel.FindByShape(place.Shape)->PID;
  }
  out << "\nwait";
  for (const TProcesso* p : sim.Espera.WaitList) {
    out << " " << p->PID;
  }
  out << " susp";
  for (const TProcesso* p : sim.Espera.SuspendedList) {
    out << " " << p->PID;
  }
  out << " counter" << sim.Espera.WaitCounter << " cpu"
      << (sim.Cpu.RunningProcess ? sim.Cpu.RunningProcess->PID : -1) << " slice"
      << sim.Cpu.SliceCounter << " int";
  for (const auto& queue : sim.Kernel.InterruptQueues) {
    out << queue.size();
  }
  out << " opts" << sim.Settings.PreemptionEnabled << sim.Memoria.AnticipatedFetch
      << sim.Memoria.MinFreePercent << " q" << sim.Kernel.Quantum;
  return out.str();
}

Scenario Lesson(const std::string& name) {
  const TMessages msg;
  ScenarioReading read = ReadScenarioFile((test::LessonFolder() / name).string(), msg);
  EXPECT_TRUE(read.Value) << (read.Error ? read.Error->Text() : name);
  return read.Value.value_or(Scenario{});
}

// A simulation played by a player on a log that keeps each line, and the hands of a user.
struct Played {
  Played() : sim(clock, log, display, msg), player(sim, clock, events) { sim.SetEvents(&events); }

  void Create(int kind, int priority, int frames, TColor colour) {
    sim.Apply(HandAction{HandActionKind::Create, 0, kind, priority, frames, colour});
  }
  // A request on the n-th live process of the table, as the process list asks it.
  void Request(std::size_t n, HandActionKind kind, int priority = 0) {
    ShapeId shape = 0;
    {
      std::lock_guard lock(sim.Lock);
      shape = sim.Kernel.Processes.at(n)->Shape;
    }
    sim.Apply(HandAction{kind, shape, 0, priority});
  }
  void FetchOnDemand() { sim.Apply(SetOption{OptionId::AnticipatedFetch, 0}); }
  // Options as their windows and track bars set them, one after the other.
  void SetOptions(std::initializer_list<SetOption> options) {
    for (const SetOption& option : options) {
      sim.Apply(option);
    }
  }
  void StepTo(std::int64_t tick) {
    while (player.Tick() < tick) {
      player.Step();
    }
  }

  TMessages msg;
  VirtualClock clock;
  test::RecordingLog log;
  test::RecordingDisplay display;
  EventFanOut events;
  Simulation sim;
  ScenarioPlayer player;
};

// What the user does by hand, at which tick, in each run below.
void HandsAt(Played& run, std::int64_t tick) {
  switch (tick) {
    case 3:
      run.Create(pkIO2, 7, 2, 0x0000FF);
      break;
    case 9:
      run.Request(0, HandActionKind::Suspend);
      run.FetchOnDemand();
      run.Create(pkMIX1, 3, 1, 0x00FFFF);
      break;
    case 14:
      run.Request(1, HandActionKind::SetPriority, 12);
      run.Request(0, HandActionKind::Resume);
      break;
    case 20:
      run.Request(2, HandActionKind::End);
      break;
    default:
      break;
  }
}

TEST(ScenarioPlayerTest, AFreshStartIsANewSimulation) {
  Played run;
  run.player.Open(Lesson("05-swapping.ini"));
  run.StepTo(60);
  {
    std::lock_guard lock(run.sim.Lock);
    run.sim.ReturnToStart();
  }
  Played fresh;
  {
    // The options are the scenario's; only the state is compared.
    RunOptions options;
    {
      std::lock_guard lock(run.sim.Lock);
      options = run.sim.Options();
    }
    for (const OptionRow& row : kOptionTable) {
      fresh.sim.Apply(SetOption{row.Id, row.Get(options)});
    }
  }
  fresh.clock.SetMs(run.clock.Ms());
  EXPECT_EQ(Picture(run.sim), Picture(fresh.sim));
  // Every disc of the run was released.
  EXPECT_FALSE(run.display.created.empty());
  EXPECT_EQ(run.display.created, run.display.released);
  EXPECT_TRUE(run.display.waitArea.empty());
  EXPECT_EQ(run.display.waitCounter.back(), 0);
}

// From tick N back to K and forward to N again: the same state and the same log lines from K
// on, hand actions included, whichever the K.
TEST(ScenarioPlayerTest, GoingBackAndForwardAgainGivesTheSameRun) {
  constexpr std::int64_t kN = 30;
  for (const char* lesson : {"03-prioridade-dinamica.ini", "05-swapping.ini"}) {
    Played run;
    run.player.Open(Lesson(lesson));
    std::vector<std::size_t> linesAt;  // log lines before each tick
    while (run.player.Tick() < kN) {
      HandsAt(run, run.player.Tick());
      linesAt.push_back(run.log.Texts().size());
      run.player.Step();
    }
    const std::string first = Picture(run.sim);
    const std::vector<std::string> firstLines = run.log.Texts();
    for (const std::int64_t k : {0, 3, 9, 10, 14, 21, 29, 30}) {
      run.player.BackTo(k);
      EXPECT_EQ(run.player.Tick(), k);
      const std::size_t replayEnd = run.log.Texts().size();
      run.StepTo(kN);
      EXPECT_EQ(Picture(run.sim), first) << lesson << " back to " << k;
      const std::vector<std::string> all = run.log.Texts();
      // A tick's lines start after what was done by hand at it, which the replay took already.
      const std::size_t from = static_cast<std::size_t>(k) < linesAt.size() ? linesAt[k] : 0;
      if (static_cast<std::size_t>(k) < linesAt.size() && from > 0) {
        const std::vector<std::string> again(all.begin() + static_cast<long>(replayEnd), all.end());
        const std::vector<std::string> once(firstLines.begin() + static_cast<long>(from),
                                            firstLines.end());
        ASSERT_LE(again.size(), once.size());
        EXPECT_TRUE(std::equal(again.rbegin(), again.rend(), once.rbegin()))
            << lesson << " back to " << k;
      }
    }
  }
}

// The processor window's discs as the display's requests leave them (a disc is created once,
// shown once attached, and stays where it was last put), with its timer having placed the ready
// ones; and how many requests it was sent.
class Board final : public IDisplay {
 public:
  void CreateShape(ShapeId shape, std::int32_t pid, TColor color) override {
    ++requests;
    discs_.try_emplace(shape, Disc{pid, color, false, {}});
  }
  void AttachShape(ShapeId shape) override {
    ++requests;
    if (discs_.count(shape) != 0) {
      discs_[shape].Attached = true;
    }
  }
  void ReleaseShape(ShapeId shape) override {
    ++requests;
    discs_.erase(shape);
  }
  void ShowOnCpu(const DiscPlace& place) override { RefreshWaitArea({place}); }
  void RefreshWaitArea(const std::vector<DiscPlace>& places) override {
    ++requests;
    for (const DiscPlace& place : places) {
      if (discs_.count(place.Shape) != 0) {
        discs_[place.Shape].Place = place;
      }
    }
  }
  void AdvanceWaitCounter(int value) override {
    ++requests;
    counter_ = value;
  }
  void RedrawPageFile() override { ++requests; }

  // By process: shapes differ from run to run.
  std::string Text(Simulation& sim) {
    for (const DiscPlace& place : SnapshotReadyDiscs(sim)) {
      if (discs_.count(place.Shape) != 0 && discs_[place.Shape].Attached) {
        discs_[place.Shape].Place = place;
      }
    }
    std::multimap<std::int32_t, std::string> byPid;
    for (const auto& [shape, d] : discs_) {
      std::ostringstream out;
      out << d.Color << (d.Attached ? " on " : " off ");
      if (d.Place) {
        out << static_cast<int>(d.Place->Where) << ':' << d.Place->Queue << ':' << d.Place->Index
            << ':' << d.Place->Color;
      }
      byPid.emplace(d.Pid, out.str());
    }
    std::string text = "counter " + std::to_string(counter_) + "\n";
    for (const auto& [pid, disc] : byPid) {
      text += std::to_string(pid) + " " + disc + "\n";
    }
    return text;
  }
  int requests = 0;

 private:
  struct Disc {
    std::int32_t Pid = 0;
    TColor Color = 0;
    bool Attached = false;
    std::optional<DiscPlace> Place;
  };
  std::map<ShapeId, Disc> discs_;
  int counter_ = 0;
};

// A player whose display is set aside for its jumps, as the windows' is.
struct Jumping {
  Jumping() : display(board), sim(clock, log, display, msg), player(sim, clock, events) {
    sim.SetEvents(&events);
  }
  void Jump(std::int64_t tick) {
    {
      std::lock_guard lock(sim.Lock);
      display.SetAside();
    }
    if (tick < player.Tick()) {
      player.BackTo(tick);
    } else {
      player.RunTo(tick);
    }
    std::lock_guard lock(sim.Lock);
    display.ShowAgain(sim);
  }

  TMessages msg;
  VirtualClock clock;
  test::RecordingLog log;
  Board board;
  SwitchableDisplay display;
  EventFanOut events;
  Simulation sim;
  ScenarioPlayer player;
};

// A jump back or on made unseen reaches the state stepping reaches, and leaves the discs where
// the requests of every tick, shown one by one, would have left them; the display is told that
// once, not tick by tick.
TEST(ScenarioPlayerTest, AJumpMadeUnseenShowsWhatSteppingThereShows) {
  for (const char* lesson : {"03-prioridade-dinamica.ini", "05-swapping.ini"}) {
    for (const auto& [from, to] : std::vector<std::pair<std::int64_t, std::int64_t>>{
             {70, 17}, {0, 60}, {25, 90}, {90, 33}, {50, 0}}) {
      Jumping stepped;
      stepped.player.Open(Lesson(lesson));
      while (stepped.player.Tick() < to) {
        stepped.player.Step();
      }
      Jumping jumped;
      jumped.player.Open(Lesson(lesson));
      while (jumped.player.Tick() < from) {
        jumped.player.Step();
      }
      const int before = jumped.board.requests;
      jumped.Jump(to);
      const std::string where =
          std::string(lesson) + " " + std::to_string(from) + "->" + std::to_string(to);
      EXPECT_EQ(jumped.player.Tick(), to) << where;
      EXPECT_EQ(Picture(jumped.sim), Picture(stepped.sim)) << where;
      EXPECT_EQ(jumped.board.Text(jumped.sim), stepped.board.Text(stepped.sim)) << where;
      EXPECT_LT(jumped.board.requests - before, std::abs(to - from)) << where;
    }
  }
}

// Something new done by hand after going back starts a new history: what was recorded for later
// ticks is dropped.
TEST(ScenarioPlayerTest, AHandActionAfterGoingBackDropsTheLaterRecord) {
  Played run;
  run.player.Open(Lesson("03-prioridade-dinamica.ini"));
  while (run.player.Tick() < 25) {
    HandsAt(run, run.player.Tick());
    run.player.Step();
  }
  const std::size_t recorded = run.player.RecordedCount();
  run.player.BackTo(9);
  EXPECT_EQ(run.player.RecordedCount(), recorded);
  run.Create(pkCPU, 1, 5, 0x808080);
  // The creation at 3, the three actions and the change of fetch at 9, and the new creation.
  EXPECT_EQ(run.player.RecordedCount(), 5u);
  run.StepTo(25);
  // Made by hand: the creations at 3 and 9, taken again by the replay, then the new one.
  EXPECT_EQ(run.player.WithHandActions().Processes.at(2).Color, 0x808080u);
}

TEST(ScenarioPlayerTest, APlayStopsAtEachPauseTickAndAtTheEnd) {
  Played run;
  Scenario s = Lesson("01-prioridade-e-fatia.ini");
  s.PauseAt = {0, 4, 7};
  s.Ticks = 10;
  run.player.Open(s);
  std::vector<std::int64_t> stops;
  for (std::int64_t tick = 0; tick <= 10; ++tick) {
    if (run.player.AtPause()) {
      stops.push_back(tick);
    }
    run.player.Step();
  }
  EXPECT_EQ(stops, (std::vector<std::int64_t>{0, 4, 7, 10}));
}

// With no hand action the player runs the ticks a scenario run runs.
TEST(ScenarioPlayerTest, StepsLogWhatTheScenarioRunLogs) {
  const Scenario s = Lesson("04-busca-por-demanda.ini");
  Played run;
  run.player.Open(s);
  run.StepTo(s.Ticks);
  const std::vector<std::string> lesson =
      test::RunLesson((test::LessonFolder() / "04-busca-por-demanda.ini").string());
  ASSERT_EQ(run.log.Texts().size(), lesson.size());
  for (std::size_t i = 0; i < lesson.size(); ++i) {
    EXPECT_EQ(lesson[i].substr(lesson[i].find(' ') + 1), run.log.Texts()[i]);
  }
}

// Another user: a process made before the first tick, beside the lesson's own arrivals; the wait
// length taken through a shorter one (the counter is pulled back on the way); options changed at
// the ticks the scenario changes its own.
void OtherHandsAt(Played& run, std::int64_t tick) {
  switch (tick) {
    case 0:
      run.Create(pkCPU, 4, 3, 0x123456);
      run.SetOptions({{OptionId::Preemption, 0}, {OptionId::IoWaitPosition, 10}});
      break;
    case 15:
      run.Request(1, HandActionKind::SetPriority, 9);
      break;
    case 22:  // the wait counter stands past 10 here
      run.SetOptions({{OptionId::IoWaitPosition, 1}, {OptionId::IoWaitPosition, 10}});
      break;
    case 18:
      run.SetOptions({{OptionId::SlicePosition, 5}, {OptionId::MinFreePercent, 30}});
      run.Create(pkIO1, 2, 2, 0x654321);
      break;
    default:
      break;
  }
}

// The run so far as a scenario: each hand creation a process arriving at its tick, each request
// and change of options at its tick; the file reads back and runs to the same state and the same
// log, whatever was done by hand.
TEST(ScenarioPlayerTest, TheRunSoFarIsSavedWithItsHandActions) {
  Scenario withChanges = Lesson("03-prioridade-dinamica.ini");
  withChanges.Changes.resize(2);
  withChanges.Changes[0].Number = 1;
  withChanges.Changes[0].Tick = 15;
  withChanges.Changes[0].Options.Set(OptionId::SlicePosition, 1);
  withChanges.Changes[1].Number = 2;
  withChanges.Changes[1].Tick = 18;
  withChanges.Changes[1].Options.Set(OptionId::MinFreePercent, 50);
  // A homework whose states table reaches past the tick saved at: its range ends with the run.
  Scenario homework = Lesson("11-tarefa-sjf.ini");
  homework.Homework->Ticks = {20, 30};
  const struct {
    const char* Name;
    Scenario Opened;
    void (*Hands)(Played&, std::int64_t);
  } cases[] = {{"lesson 03, first hands", Lesson("03-prioridade-dinamica.ini"), HandsAt},
               {"lesson 05, first hands", Lesson("05-swapping.ini"), HandsAt},
               {"lesson 03 with changes, other hands", withChanges, OtherHandsAt},
               {"lesson 11, its homework, no hands", homework, [](Played&, std::int64_t) {}}};
  const TMessages msg;
  for (const auto& c : cases) {
    Played run;
    run.player.Open(c.Opened);
    while (run.player.Tick() < 25) {
      c.Hands(run, run.player.Tick());
      run.player.Step();
    }
    const Scenario saved = run.player.WithHandActions();
    EXPECT_EQ(saved.Ticks, 25) << c.Name;
    EXPECT_EQ(saved.Homework.has_value(), c.Opened.Homework.has_value()) << c.Name;
    if (saved.Homework) {
      EXPECT_EQ(saved.Homework->Ticks, (std::pair<std::int64_t, std::int64_t>{20, 24}));
    }
    const ScenarioReading back = ParseScenario(WriteScenario(saved), "saved.ini", msg);
    ASSERT_TRUE(back.Value) << back.Error->Text();
    EXPECT_EQ(*back.Value, saved) << c.Name;
    Played again;
    again.player.Open(*back.Value);
    again.StepTo(25);
    EXPECT_EQ(Picture(again.sim), Picture(run.sim)) << c.Name;
    EXPECT_EQ(again.log.Texts(), run.log.Texts()) << c.Name;
  }
}

}  // namespace
}  // namespace kelpa
