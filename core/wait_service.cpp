#include "core/wait_service.h"

#include <algorithm>

#include "core/simulation.h"

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
  sim_.ChangeState(*P, state);
}

void TEspera::Pass() {
  sim_.Lock.AssertHeld();
  if (!WaitList.empty()) {
    ServeWaitList();
  }
  if (!SuspendedList.empty()) {
    ServeSuspended();
  }
  RefreshDisplay();
}

void TEspera::ServeWaitList() {
  TProcesso* head = WaitList.front();
  WaitCounter = (WaitCounter + 1) % waitLength_;
  sim_.Display.AdvanceWaitCounter(WaitCounter);
  if (WaitCounter != 0) {
    return;
  }
  if (sim_.Settings.DynamicPriorityEnabled.load()) {
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
}

void TEspera::ServeSuspended() {
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

std::vector<ShapePlacement> TEspera::WaitAreaPlacements() const {
  sim_.Lock.AssertHeld();
  std::vector<ShapePlacement> placements;
  for (std::size_t i = 0; i < WaitList.size(); ++i) {
    const TProcesso* p = WaitList[i];
    const int left = i == 0 ? 55 : 90 + 12 * static_cast<int>(i - 1);
    placements.push_back({p->Shape, p->Color, left, 200});
  }
  for (std::size_t k = 0; k < SuspendedList.size(); ++k) {
    const TProcesso* p = SuspendedList[k];
    placements.push_back({p->Shape, p->Color, 43 + 12 * static_cast<int>(k), 240});
  }
  return placements;
}

void TEspera::RefreshDisplay() {
  sim_.Display.RefreshWaitArea(WaitAreaPlacements());
}

void TEspera::Start() {
  thread_.Start([this] { Run(); });
}

void TEspera::RequestTerminate() {
  thread_.RequestTerminate();
}

void TEspera::Join() {
  thread_.Join();
}

void TEspera::Run() {
  while (!thread_.TerminateRequested()) {
    if (!sim_.StopRunEvent.Wait() || thread_.TerminateRequested()) {
      break;
    }
    {
      std::lock_guard lock(sim_.Lock);
      Pass();
      if (sim_.AfterStep) {
        sim_.AfterStep();
      }
    }
    PassCount.fetch_add(1);
    sim_.Display.WaitUntilShown();
    thread_.SleepFor(std::chrono::milliseconds(SleepMs.load()));
  }
}

}  // namespace kelpa
