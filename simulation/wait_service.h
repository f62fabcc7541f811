// SPDX-License-Identifier: MIT
// The wait service: the one I/O device and the pager's disk. It keeps the wait list (I/O and
// page-fault waits, served one at a time in arrival order) and the suspended list. Its pass runs
// about ten times a second on its own thread while the simulation runs and a process waits or is
// suspended; with both lists empty the thread sleeps until a process enters one.
#pragma once

#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

#include "simulation/display.h"
#include "simulation/event.h"
#include "simulation/process.h"
#include "simulation/sim_thread.h"

namespace kelpa {

// Milliseconds between two wait-service passes, in real and in virtual time.
inline constexpr int kPassPeriodMs = 100;

class Simulation;

class TEspera {
 public:
  explicit TEspera(Simulation& sim);
  ~TEspera();
  TEspera(const TEspera&) = delete;
  TEspera& operator=(const TEspera&) = delete;

  std::deque<TProcesso*> WaitList;
  std::deque<TProcesso*> SuspendedList;
  int WaitCounter = 0;
  // The process whose page-fault service is running (it must not be chosen as a swap victim).
  TProcesso* ServingPageFault = nullptr;

  // Wait length M (10..100); the lock must be held. Keeps WaitCounter inside 0..M-1.
  void SetWaitLength(int m);
  int WaitLength() const { return waitLength_; }

  // --- operations; the simulation lock must be held ---
  void Enqueue(TProcesso* P, ProcessState state);
  // One whole pass of the service: the head of the wait list, the suspended list, the display.
  void Pass();
  // Right after a pass, and with nothing else changed since, how many passes in a row would only
  // advance the wait counter: none of them serves a wait, resumes a process or moves a disc.
  // With the wait list empty they would do nothing at all (the largest int).
  int QuietPassesAhead() const;
  // Has the effect of `count` such passes (count no more than QuietPassesAhead()).
  void SkipQuietPasses(int count);
  void ServeWaitList();
  void ServeSuspended();
  TProcesso* TakeSuspendedVictim();
  TProcesso* TakeIOVictim();
  TProcesso* TakePageFaultVictim();
  // Where the wait-list and suspended-list discs stand: the head of the wait list on the I/O
  // device, the rest of it in order behind, then the suspended list in order.
  std::vector<DiscPlace> WaitAreaPlaces() const;
  // Hands the places to the display when they differ from those it was last given.
  void RefreshDisplay();
  // Both lists emptied and the counter at 0, as at a fresh start; the display shows it. The
  // processes are not ended here (the caller does that).
  void Clear();

  // --- thread ---
  // Milliseconds between passes (tests make it shorter).
  std::atomic<int> SleepMs{kPassPeriodMs};
  // Replaces the sleep between passes (tests count the paces instead of sleeping). Set before
  // Start.
  std::function<void()> PaceSleep;
  void Start();
  void RequestTerminate();
  void Join();
  bool Terminated() const { return thread_.TerminateRequested(); }
  // Number of passes run by the thread (tests and benchmarks).
  std::atomic<long> PassCount{0};
  // Number of times the thread found both lists empty and slept until a process entered one.
  std::atomic<long> IdleCount{0};

 private:
  void Run();
  // Runs one pass under the lock; true when both lists are empty afterwards.
  bool PassAndCheckIdle();
  void FillPlaces(std::vector<DiscPlace>& places) const;

  Simulation& sim_;
  int waitLength_ = 100;
  // Set when a process entered or left either list since the display was last refreshed.
  bool listsChanged_ = true;
  // Set when a process enters either list (under the simulation lock), so an idle thread wakes.
  TEvent arrival_{false, false};
  // The places being built and those the display was last given; both kept to reuse their room,
  // since a pass runs ten times a second.
  std::vector<DiscPlace> places_;
  std::vector<DiscPlace> shown_;
  TSimThread thread_;
};

}  // namespace kelpa
