// SPDX-License-Identifier: MIT
#include "gui/processor/disc_positions.h"

namespace kelpa {
namespace {

// One disc's width: discs of a row stand side by side.
constexpr int kDiscStep = 12;

// Inside the processor box.
constexpr QPoint kProcessor{185, 35};
// Inside the I/O device box; the rest of the wait list queues to its right.
constexpr QPoint kIoDevice{55, 200};
constexpr QPoint kFirstWaiting{90, 200};
// The suspended row, below the wait list.
constexpr QPoint kFirstSuspended{43, 240};
// The j-th of the ready queue of priority p: left 355 + 12j, top 245 - 12p (the ladder's rows).
constexpr QPoint kFirstReadyAtPriorityZero{355, 245};

}  // namespace

QPoint DiscPosition(const DiscPlace& place) {
  const int along = kDiscStep * place.Index;
  switch (place.Where) {
    case DiscLocation::Processor:
      return kProcessor;
    case DiscLocation::IoDevice:
      return kIoDevice;
    case DiscLocation::WaitList:
      return kFirstWaiting + QPoint(along, 0);
    case DiscLocation::Suspended:
      return kFirstSuspended + QPoint(along, 0);
    case DiscLocation::Ready:
      break;
  }
  return kFirstReadyAtPriorityZero + QPoint(along, -kDiscStep * place.Queue);
}

}  // namespace kelpa
