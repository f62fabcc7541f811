// The wait service: the one I/O device and the pager's disk. It keeps the wait list (I/O and
// page-fault waits, served one at a time in arrival order) and the suspended list. Its pass runs
// about ten times a second on its own thread while the simulation runs.
#pragma once

#include <atomic>
#include <deque>
#include <mutex>
#include <vector>

#include "core/display.h"
#include "core/process.h"
#include "core/sim_thread.h"

namespace kelpa {

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
  void ServeWaitList();
  void ServeSuspended();
  TProcesso* TakeSuspendedVictim();
  TProcesso* TakeIOVictim();
  TProcesso* TakePageFaultVictim();
  // Positions of the wait-list and suspended-list discs.
  std::vector<ShapePlacement> WaitAreaPlacements() const;
  void RefreshDisplay();

  // --- thread ---
  // Milliseconds between passes (100; tests make it shorter).
  std::atomic<int> SleepMs{100};
  void Start();
  void RequestTerminate();
  void Join();
  bool Terminated() const { return thread_.TerminateRequested(); }
  // Number of passes run by the thread (tests and benchmarks).
  std::atomic<long> PassCount{0};

 private:
  void Run();

  Simulation& sim_;
  int waitLength_ = 100;
  TSimThread thread_;
};

}  // namespace kelpa
