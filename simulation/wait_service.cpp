// SPDX-License-Identifier: MIT
#include "simulation/wait_service.h"

#include <algorithm>
#include <limits>

#include "simulation/simulation.h"

namespace kelpa {

TEspera::TEspera(Simulation& sim) : sim_(sim) {}

TEspera::~TEspera() {
  RequestTerminate();
  Join();
}

void TEspera::SetWaitLength(int m) {
  sim_.Lock.AssertHeld();
  waitLength_ = std::max(1, m);
  // A wait already longer than the new length ends at the next pass.
  if (WaitCounter >= waitLength_) {
    WaitCounter = waitLength_ - 1;
  }
}

void TEspera::Enqueue(TProcesso* P, ProcessState state) {
  sim_.Lock.AssertHeld();
  if (P == nullptr) {
    return;
  }
  if (state == psIO || state == psPageFault) {
    WaitList.push_back(P);
  } else if (state == psSuspended) {
    SuspendedList.push_back(P);
  } else {
    return;
  }
  listsChanged_ = true;
  sim_.ChangeState(*P, state);
  arrival_.Set();
}

void TEspera::Pass() {
  sim_.Lock.AssertHeld();
  if (!WaitList.empty()) {
    ServeWaitList();
  }
  if (!SuspendedList.empty()) {
    ServeSuspended();
  }
  // Only a process entering or leaving the lists moves a disc of the wait area.
  if (listsChanged_) {
    RefreshDisplay();
  }
}

int TEspera::QuietPassesAhead() const {
  // A pass just ran: it resumed every suspended process whose request was cleared and refreshed
  // the display, so until something else changes only the counter moves, until the pass that
  // takes it round to 0 and serves the head of the wait list.
  if (WaitList.empty()) {
    return std::numeric_limits<int>::max();
  }
  return waitLength_ - 1 - WaitCounter;
}

void TEspera::SkipQuietPasses(int count) {
  sim_.Lock.AssertHeld();
  if (count <= 0 || WaitList.empty()) {
    return;
  }
  WaitCounter += count;
  sim_.Display.AdvanceWaitCounter(WaitCounter);
}

void TEspera::ServeWaitList() {
  TProcesso* head = WaitList.front();
  // WaitCounter stays within 0..M-1 (SetWaitLength), so this is (WaitCounter + 1) mod M without
  // a division, which a pass ten times per tick would otherwise pay for.
  if (++WaitCounter >= waitLength_) {
    WaitCounter = 0;
  }
  sim_.Display.AdvanceWaitCounter(WaitCounter);
  if (WaitCounter != 0) {
    return;
  }
  // A finite program whose last instruction was this I/O request ends with it.
  if (head->ProgramDone()) {
    WaitList.pop_front();
    listsChanged_ = true;
    sim_.Kernel.RemoveProcess(head);
    return;
  }
  // Priorities only count under the priority kernel.
  if (sim_.Settings.DynamicPriorityEnabled.load() &&
      sim_.Kernel.Policy == SchedulingPolicy::Priority) {
    head->BoostPriority(sim_);
  }
  if (head->State == psPageFault) {
    // While its page is served the process must not be chosen to be swapped out: the frame it is
    // about to receive would be lost.
    ServingPageFault = head;
    sim_.Memoria.ServePageFault(head);
    ServingPageFault = nullptr;
  }
  sim_.Kernel.MakeReady(head);
  WaitList.erase(std::find(WaitList.begin(), WaitList.end(), head));
  listsChanged_ = true;
}

void TEspera::ServeSuspended() {
  // Most passes resume nobody; those cost no copy of the list.
  if (std::all_of(SuspendedList.begin(), SuspendedList.end(),
                  [](const TProcesso* p) { return p->SuspendRequested; })) {
    return;
  }
  listsChanged_ = true;
  std::deque<TProcesso*> stay;
  std::deque<TProcesso*> resumed;
  for (TProcesso* p : SuspendedList) {
    (p->SuspendRequested ? stay : resumed).push_back(p);
  }
  SuspendedList = std::move(stay);
  for (TProcesso* p : resumed) {
    sim_.Kernel.MakeReady(p);
  }
}

TProcesso* TEspera::TakeSuspendedVictim() {
  sim_.Lock.AssertHeld();
  for (TProcesso* p : SuspendedList) {
    if (p->State == psSuspended) {
      sim_.ChangeState(*p, psSuspendedOut);
      return p;
    }
  }
  return nullptr;
}

TProcesso* TEspera::TakeIOVictim() {
  sim_.Lock.AssertHeld();
  for (auto it = WaitList.rbegin(); it != WaitList.rend(); ++it) {
    if ((*it)->State == psIO) {
      sim_.ChangeState(**it, psIOOut);
      return *it;
    }
  }
  return nullptr;
}

TProcesso* TEspera::TakePageFaultVictim() {
  sim_.Lock.AssertHeld();
  for (auto it = WaitList.rbegin(); it != WaitList.rend(); ++it) {
    if ((*it)->State == psPageFault && *it != ServingPageFault) {
      sim_.ChangeState(**it, psPageFaultOut);
      return *it;
    }
  }
  return nullptr;
}

void TEspera::FillPlaces(std::vector<DiscPlace>& places) const {
  sim_.Lock.AssertHeld();
  places.clear();
  places.reserve(WaitList.size() + SuspendedList.size());
  for (std::size_t i = 0; i < WaitList.size(); ++i) {
    const TProcesso* p = WaitList[i];
    if (i == 0) {
      places.push_back({p->Shape, p->Color, DiscLocation::IoDevice});
    } else {
      places.push_back({p->Shape, p->Color, DiscLocation::WaitList, 0, static_cast<int>(i - 1)});
    }
  }
  for (std::size_t k = 0; k < SuspendedList.size(); ++k) {
    const TProcesso* p = SuspendedList[k];
    places.push_back({p->Shape, p->Color, DiscLocation::Suspended, 0, static_cast<int>(k)});
  }
}

std::vector<DiscPlace> TEspera::WaitAreaPlaces() const {
  std::vector<DiscPlace> places;
  FillPlaces(places);
  return places;
}

void TEspera::Clear() {
  sim_.Lock.AssertHeld();
  WaitList.clear();
  SuspendedList.clear();
  WaitCounter = 0;
  ServingPageFault = nullptr;
  listsChanged_ = true;
  RefreshDisplay();
  sim_.Display.AdvanceWaitCounter(0);
}

void TEspera::RefreshDisplay() {
  listsChanged_ = false;
  FillPlaces(places_);
  // Only a process entering or leaving the lists moves a disc of the wait area; the discs stay
  // where they were put until then.
  if (places_ != shown_) {
    sim_.Display.RefreshWaitArea(places_);
    shown_.swap(places_);
  }
}

void TEspera::Start() {
  thread_.Start([this] { Run(); });
}

void TEspera::RequestTerminate() {
  thread_.RequestTerminate();
  arrival_.Close();
}

void TEspera::Join() {
  thread_.Join();
}

bool TEspera::PassAndCheckIdle() {
  std::lock_guard lock(sim_.Lock);
  if (sim_.ThreadsParked) {
    // Another thread drives the run: no pass, and no sleep until an arrival that may not come.
    return false;
  }
  Pass();
  if (sim_.AfterStep) {
    sim_.AfterStep();
  }
  const bool idle = WaitList.empty() && SuspendedList.empty();
  if (idle) {
    // Under the lock: an Enqueue after this check sets the event again.
    arrival_.Reset();
  }
  return idle;
}

void TEspera::Run() {
  while (!thread_.TerminateRequested()) {
    if (!sim_.StopRunEvent.Wait() || thread_.TerminateRequested()) {
      break;
    }
    const bool idle = PassAndCheckIdle();
    PassCount.fetch_add(1);
    sim_.Display.WaitUntilShown();
    if (idle) {
      // Nothing to serve: sleep until a process waits or is suspended instead of waking ten times
      // a second. Its first pass still comes one pace later, as it would have.
      IdleCount.fetch_add(1);
      if (!arrival_.Wait()) {
        break;
      }
    }
    if (PaceSleep) {
      PaceSleep();
    } else {
      thread_.SleepFor(std::chrono::milliseconds(SleepMs.load()));
    }
  }
}

}  // namespace kelpa
