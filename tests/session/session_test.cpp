// SPDX-License-Identifier: MIT
// A whole run without any window: the session built as the program builds it, on a manual clock
// and a display that shows nothing, driven cycle by cycle; what happened is read from its events
// and its log file.
#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "scenario/scenario_reader.h"
#include "session/session.h"
#include "support/recording_events.h"
#include "support/recording_reporter.h"
#include "support/temp_working_directory.h"

namespace kelpa {
namespace {

using test::ReadBytes;
using test::RecordingEvents;
using test::RecordingReporter;
using test::TempWorkingDirectory;

std::vector<std::string> LogTexts(const std::string& bytes) {
  std::vector<std::string> texts;
  for (std::size_t begin = 0, end; (end = bytes.find("\r\n", begin)) != std::string::npos;
       begin = end + 2) {
    texts.push_back(bytes.substr(begin + 15, end - begin - 15));  // without "hh:nn:ss:zzz : "
  }
  return texts;
}

TEST(Session, RunsWithoutWindowsAndReportsEveryEvent) {
  TempWorkingDirectory dir;
  RecordingReporter reporter;
  auto clock = std::make_unique<ManualClock>();
  ManualClock& time = *clock;
  NullDisplay display;
  RecordingEvents events;
  std::string logName;
  {
    Session session(reporter, std::move(clock));
    session.OpenLog();
    session.LoadCatalogue();
    session.CreateSimulation(display);
    ASSERT_TRUE(session.SaveLoadSettings(SettingsMode::Load));
    session.MarkReady();
    logName = session.Log().FileName();
    Simulation& sim = session.Sim();
    sim.SetEvents(&events);
    {
      std::lock_guard lock(sim.Lock);
      for (int kind : {pkCPU, pkIO1}) {
        sim.Kernel.AddProcess(TProcesso::Create(sim, kind, 4, 5, MakeColor(0, 128, 0)));
        time.AdvanceMs(1);
      }
    }
    for (int tick = 0; tick < 30; ++tick) {
      std::lock_guard lock(sim.Lock);
      sim.Cpu.Cycle();
      sim.Espera.Pass();
      time.AdvanceMs(100);
    }
    session.Finish();
  }
  EXPECT_TRUE(reporter.Messages().empty());

  // Both processes were created, dispatched, and the I/O one went to its device and came back.
  std::vector<EventKind> kinds;
  for (const SimEvent& e : events.events) {
    kinds.push_back(e.Kind);
  }
  const auto count = [&kinds](EventKind kind) {
    return std::count(kinds.begin(), kinds.end(), kind);
  };
  EXPECT_EQ(count(EventKind::Created), 2);
  EXPECT_GE(count(EventKind::Dispatched), 2);
  EXPECT_GE(count(EventKind::StartedIO), 1);
  EXPECT_GE(count(EventKind::StateChanged), 4);

  // The file holds the start-up line, one line per event that has one, and the shutdown line last.
  const std::vector<std::string> texts = LogTexts(ReadBytes(dir.File(logName)));
  ASSERT_GE(texts.size(), 2u);
  EXPECT_EQ(texts.front().rfind("Kelpa pronto as ", 0), 0u);
  EXPECT_EQ(texts.back().rfind("Kelpa desativado as ", 0), 0u);
  std::vector<std::string> fromEvents;
  for (const SimEvent& e : events.events) {
    if (const auto line = EventLine(e, TMessages{})) {
      fromEvents.push_back(*line);
    }
  }
  EXPECT_EQ(std::vector<std::string>(texts.begin() + 1, texts.end() - 1), fromEvents);
}

// A scenario's log is stamped in virtual time, but the file began in real time and its shutdown
// line tells when the program really ended: the log says each time its clock changes.
TEST(Session, TheLogSaysWhenItsTimesTurnVirtualAndEndsOnTheComputersClock) {
  TempWorkingDirectory dir;
  RecordingReporter reporter;
  NullDisplay display;
  std::string logName;
  {
    Session session(reporter, std::make_unique<ManualClock>());  // 09:00:00 all along
    session.OpenLog();
    session.LoadCatalogue();
    session.CreateSimulation(display);
    session.MarkReady();
    ScenarioReading reading = ParseScenario("[PROCESSO 1]\nTIPO=CPU\n", "s.ini", TMessages{});
    ASSERT_TRUE(reading.Value);
    session.OpenScenario(std::move(*reading.Value));
    session.StepOneTick();
    session.Finish();
    logName = session.Log().FileName();
  }
  // Every line is in the file once the session has ended.
  const std::string logBytes = ReadBytes(dir.File(logName));
  const std::string virtualLine = "A partir daqui, os horários são do tempo virtual do cenário.";
  const std::string realLine =
      "A partir daqui, os horários voltam a ser os do relógio do computador.";
  const std::size_t toVirtual =
      logBytes.find("09:00:00:000 : " + virtualLine + "\r\n00:00:00:000 : Cenário aberto:");
  EXPECT_NE(toVirtual, std::string::npos) << logBytes;
  const std::string ending =
      "09:00:00:000 : " + realLine + "\r\n09:00:00:000 : Kelpa desativado as  09:00:00:000\r\n";
  EXPECT_TRUE(logBytes.size() >= ending.size() &&
              logBytes.compare(logBytes.size() - ending.size(), ending.size(), ending) == 0)
      << logBytes;
}

// What the console asks of the running simulation, it asks the session.
TEST(Session, CountsTheProcessesAndStopsAndRunsTheSimulation) {
  TempWorkingDirectory dir;
  RecordingReporter reporter;
  NullDisplay display;
  Session session(reporter, std::make_unique<ManualClock>());
  session.OpenLog();
  session.LoadCatalogue();
  session.CreateSimulation(display);
  Simulation& sim = session.Sim();
  EXPECT_EQ(session.ProcessCount(), 0);
  {
    std::lock_guard lock(sim.Lock);
    for (int kind : {pkCPU, pkIO1}) {
      sim.Kernel.AddProcess(TProcesso::Create(sim, kind, 4, 5, MakeColor(0, 128, 0)));
    }
  }
  EXPECT_EQ(session.ProcessCount(), 2);
  ASSERT_TRUE(sim.StopRunEvent.IsSet());
  session.SetRunning(false);
  EXPECT_FALSE(sim.StopRunEvent.IsSet());
  session.SetRunning(true);
  EXPECT_TRUE(sim.StopRunEvent.IsSet());
  session.Finish();
}

}  // namespace
}  // namespace kelpa
