// SPDX-License-Identifier: MIT
// One run of the simulator, without any window: the clock, the message catalogue, the log, the
// scheduling settings and the simulation. The windows and a command-line runner both start from
// it; the Qt shell adds only the display and the windows around it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/messages.h"
#include "platform/clock.h"
#include "platform/error_reporter.h"
#include "scenario/scenario_player.h"
#include "session/log_writer.h"
#include "session/replay_log.h"
#include "session/settings.h"
#include "simulation/display.h"
#include "simulation/event_fan_out.h"
#include "simulation/simulation.h"
#include "simulation/switchable_clock.h"
#include "simulation/switchable_display.h"

namespace kelpa {

class Session {
 public:
  // Reports file errors through reporter; reads the time from clock (the system clock when none).
  explicit Session(IErrorReporter& reporter, std::unique_ptr<IClock> clock = nullptr);
  // Ends the simulation's threads before anything they report to goes.
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Start-up, in the order the program runs it. Each step needs the ones before it.
  // Creates the log file.
  void OpenLog();
  // Reads the run-time texts from kelpa.ini over the built-in ones.
  void LoadCatalogue();
  // Builds the simulation, which shows what happens through display (kept by the caller, alive
  // until the session is shut down).
  void CreateSimulation(IDisplay& display);
  // Loads or saves the scheduling settings; false only when a save failed (already reported).
  bool SaveLoadSettings(SettingsMode mode);
  // The windows' zoom as kelpa.ini says now (100 when it says nothing valid), and its save;
  // false when the save failed (already reported).
  int Zoom() const;
  bool SaveZoom(int percent);
  // The windows' look as kelpa.ini says now, and its save; false when the save failed.
  Look CurrentLook() const;
  bool SaveLook(Look look);
  // Starts the wait, processor and clock threads.
  void StartThreads();
  // The end of start-up: the statistics count from now, and the ready line says when.
  void MarkReady();

  // Ends the threads and waits for them; safe to call again. The display must already refuse to
  // make threads wait for it.
  void Shutdown();
  // "Fim": the threads end first, so that no line of theirs can follow the shutdown line.
  void Finish();

  // A line about the whole system, in black.
  void LogSystemLine(const std::string& text);

  // --- what the windows ask of the running simulation ---
  // How many processes exist now.
  int ProcessCount() const;
  // Run/stop: the simulation runs on, or its threads wait at their next pass until it runs again.
  void SetRunning(bool running);

  // --- a scenario in the windows ---
  // Ends the previous processes, parks the threads and enters virtual time for good, starts the
  // scenario at tick 0 and logs its title.
  void OpenScenario(Scenario scenario);
  bool VirtualTime() const { return clock_->VirtualTime(); }
  // Null before the simulation exists.
  ScenarioPlayer* Player() const { return player_.get(); }
  // One tick by hand, the run stopped: the scenario's next tick, or in real time the passes due
  // and one processor cycle.
  void StepOneTick();
  // Replays the scenario to `tick` with the log file left alone; returns the lines of the run up
  // to there (its title line first, at most `capacity` in all) for the view.
  std::vector<LogLine> BackTo(std::int64_t tick, std::size_t capacity);
  // Runs the scenario on to `tick` (not back), logging as it goes; with `wanted`, stops after the
  // first tick in which an event it wants happens. True when it stopped for such an event.
  bool RunTo(std::int64_t tick, const std::function<bool(const SimEvent&)>& wanted = {});
  // The jumps above run with the display set aside and then show the state once; the windows
  // that draw from the simulation themselves refresh after them.
  // The log notes the jump back to the tick the run stands at.
  void NoteJump();

  const IClock& Clock() const { return *clock_; }
  const TMessages& Msg() const { return msg_; }
  TLogWriter& Log() const { return *log_; }
  Simulation& Sim() const { return *sim_; }
  // The clock's period now, in ms: the pace of a scenario played in the windows.
  int ClockPeriodMs() const;
  // Every view that follows the simulation's events adds itself here, before the threads start,
  // and removes itself (with the lock held) before it goes.
  EventFanOut& Events() { return events_; }
  // kelpa.ini in the current folder: the settings, the catalogue and the windows' captions.
  std::string IniPath() const;
  // The files beneath it, lowest precedence first: the shipped catalogue of the desktop's
  // language (English when the locale is) and the lab's defaults (/etc/kelpa/kelpa.ini).
  std::vector<std::string> IniLayersBeneath() const;

 private:
  // The time of day now, as the ready and shutdown lines show it.
  std::string TimeNow() const;

  IErrorReporter& reporter_;
  std::unique_ptr<SwitchableClock> clock_;
  TMessages msg_;
  std::unique_ptr<TLogWriter> log_;
  EventFanOut events_;  // outlives the simulation that reports to it
  std::unique_ptr<ReplayLog> simLog_;
  std::unique_ptr<SwitchableDisplay> display_;  // outlives the simulation that shows through it
  std::unique_ptr<Simulation> sim_;
  std::unique_ptr<ScenarioPlayer> player_;
  LogLine titleLine_;
};

}  // namespace kelpa
