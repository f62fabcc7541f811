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
  waitLength_ = std::max(1, m);
  // A wait already longer than the new length ends at the next pass.
  if (WaitCounter >= waitLength_) {
    WaitCounter = waitLength_ - 1;
  }
}

void TEspera::Enqueue(TProcesso* P, std::uint8_t state) {
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
  P->State = state;
  arrival_.Set();
}

void TEspera::Pass() {
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
  for (TProcesso* p : SuspendedList) {
    if (p->State == psSuspended) {
      p->State = psSuspendedOut;
      return p;
    }
  }
  return nullptr;
}

TProcesso* TEspera::TakeIOVictim() {
  for (auto it = WaitList.rbegin(); it != WaitList.rend(); ++it) {
    if ((*it)->State == psIO) {
      (*it)->State = psIOOut;
      return *it;
    }
  }
  return nullptr;
}

TProcesso* TEspera::TakePageFaultVictim() {
  for (auto it = WaitList.rbegin(); it != WaitList.rend(); ++it) {
    if ((*it)->State == psPageFault && *it != ServingPageFault) {
      (*it)->State = psPageFaultOut;
      return *it;
    }
  }
  return nullptr;
}

void TEspera::FillPlacements(std::vector<ShapePlacement>& placements) const {
  placements.clear();
  placements.reserve(WaitList.size() + SuspendedList.size());
  for (std::size_t i = 0; i < WaitList.size(); ++i) {
    const TProcesso* p = WaitList[i];
    const int left = i == 0 ? 55 : 90 + 12 * static_cast<int>(i - 1);
    placements.push_back({p->Shape, p->Color, left, 200});
  }
  for (std::size_t k = 0; k < SuspendedList.size(); ++k) {
    const TProcesso* p = SuspendedList[k];
    placements.push_back({p->Shape, p->Color, 43 + 12 * static_cast<int>(k), 240});
  }
}

std::vector<ShapePlacement> TEspera::WaitAreaPlacements() const {
  std::vector<ShapePlacement> placements;
  FillPlacements(placements);
  return placements;
}

void TEspera::RefreshDisplay() {
  FillPlacements(placements_);
  // Only a process entering or leaving the lists moves a disc of the wait area; the discs stay
  // where they were put until then.
  if (placements_ != shown_) {
    sim_.Display.RefreshWaitArea(placements_);
    shown_.swap(placements_);
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
