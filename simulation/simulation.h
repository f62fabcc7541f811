// SPDX-License-Identifier: MIT
// The simulation object: owns the kernel, the memory manager, the wait service, the processor,
// the clock, the scheduling settings and the one lock, and wires their references. Windows and
// threads receive it; there are no mutable globals.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "catalogue/messages.h"
#include "platform/clock.h"
#include "simulation/command.h"
#include "simulation/cpu.h"
#include "simulation/display.h"
#include "simulation/event.h"
#include "simulation/hand_action.h"
#include "simulation/hclock.h"
#include "simulation/kernel.h"
#include "simulation/log.h"
#include "simulation/memory_manager.h"
#include "simulation/run_options.h"
#include "simulation/scheduling_settings.h"
#include "simulation/sim_event.h"
#include "simulation/sim_lock.h"
#include "simulation/wait_service.h"

namespace kelpa {

class Simulation {
 public:
  Simulation(const IClock& clock, ILog& log, IDisplay& display, const TMessages& messages);
  ~Simulation();
  Simulation(const Simulation&) = delete;
  Simulation& operator=(const Simulation&) = delete;

  // Guards all simulation state. A simulation thread holds it for one whole cycle or pass; a
  // window for one whole action or refresh. Never held while waiting for the user-interface thread.
  SimLock Lock;

  const IClock& Clock;
  ILog& Log;
  IDisplay& Display;
  const TMessages& Msg;

  SchedulingSettings Settings;
  TEvent StopRunEvent{true, true};  // "StopRun": manual reset, set = the simulation runs
  TEvent ClockEvent{false, true};   // "Clock": automatic reset, one tick

  TKernel Kernel;
  TMemoReal Memoria;
  TEspera Espera;
  TCPU Cpu;
  THClock HClock;

  // Statistics of ended processes.
  std::int32_t FinishedCount = 0;
  double TotalTurnaroundTime = 0;
  // End of start-up; the statistics measure elapsed time from it.
  TDateTime StartTime = 0;

  // Called by the processor and wait threads right after each cycle or pass, still holding the
  // lock (the stress test checks its invariants here). Set before StartThreads.
  std::function<void()> AfterStep;

  // Receives every event after its log line is written; null for none. Set before StartThreads.
  void SetEvents(IEventSink* sink) { events_ = sink; }
  IEventSink* Events() const { return events_; }

  // Takes one change from a window: the lock is taken here (a step holds it for its tick), and
  // each option set and hand action is reported as one event. Returns the disc of the process a
  // creation made (0 for none).
  ShapeId Apply(const Command& command);
  // The same for whoever drives the run tick by tick and holds the lock: options and hand actions.
  ShapeId ApplyLocked(const Command& command);
  // The options in force. The lock must be held.
  RunOptions Options() const;
  // The last hand action taken (the lock must be held): what a HandActionTaken event reports,
  // with the disc of the process it made or asked of.
  const HandAction& LastHandAction() const { return lastHand_; }

  // Set (under the lock) while one thread drives the run tick by tick in virtual time: the
  // processor and wait threads then run no cycle and no pass even if they were already past the
  // run/stop event when the run stopped.
  bool ThreadsParked = false;
  // Parks the threads for good and stops the run. Takes the lock.
  void ParkThreads();
  // The statistics measure elapsed time from now (the end of start-up, a scenario's tick 0). The
  // lock must be held.
  void MarkStart() { StartTime = Now(); }

  // A fresh start, the lock held: every process gone (its disc released, no log line), the
  // queues, interrupts, lists, frames, page file, wait counter and counters as a new simulation
  // has them. The options and the threads are left as they are; discs never repeat, so shapes
  // go on counting.
  void ReturnToStart();
  ShapeId LastShapeId() const { return lastShape_; }

  // Stamps an event with the time, writes its log line (if it has one) and passes it on to Events.
  // The lock must be held.
  void Report(SimEvent event);
  // An event about a process, in its colour. The lock must be held.
  void ReportProcess(EventKind kind, const TProcesso& p, int page = -1, int value = 0);
  // Reports the end of a tick (the live processor's cycle, or a virtual tick with its passes).
  // The lock must be held.
  void ReportTickEnded();
  // Sets a process's state, reporting the change. The lock must be held.
  void ChangeState(TProcesso& p, ProcessState to);

  // Whether anything receives events: a run with the log discarded and no sink skips them.
  bool Listened() const { return events_ != nullptr || !logDiscards_; }

  TDateTime Now() const { return Clock.Now(); }
  ShapeId NextShapeId() { return ++lastShape_; }

  // Starts the wait, processor and clock threads, in that order.
  void StartThreads();
  // Asks the three threads to end, wakes every wait, joins them and closes the events. Safe to call
  // more than once and from the user-interface thread (the display must already refuse to make
  // threads wait for it).
  void Shutdown();
  // True from the first call of Shutdown on: nothing new may enter the simulation then, so the
  // shutdown line stays the log's last.
  bool ShuttingDown() const { return shutDown_.load(); }

 private:
  void SetOptionLocked(const SetOption& option);
  ShapeId TakeHandActionLocked(const HandAction& action);

  IEventSink* events_ = nullptr;
  const bool logDiscards_;  // read once: asked of every event
  HandAction lastHand_;
  ShapeId lastShape_ = 0;
  bool started_ = false;
  std::atomic<bool> shutDown_{false};
};

}  // namespace kelpa
