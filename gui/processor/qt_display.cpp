// SPDX-License-Identifier: MIT
#include "gui/processor/qt_display.h"

#include <QThread>
#include <algorithm>
#include <utility>

#include "gui/processor/disc_board.h"

namespace kelpa {

QtDisplay::QtDisplay() = default;

QtDisplay::~QtDisplay() {
  Stop();
}

void QtDisplay::SetProcessorWindow(DiscBoard* window) {
  if (window != nullptr) {
    window->FollowDisplay(*this);
  }
}

void QtDisplay::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopped_ = true;
  }
  shown_.notify_all();
}

void QtDisplay::Post(std::function<void()> update) {
  // Queued calls to one receiver run in the order they were posted; they are dropped if this
  // object is deleted first.
  requested_.fetch_add(1);
  QMetaObject::invokeMethod(
      this,
      [this, update = std::move(update)] {
        update();
        carried_.fetch_add(1);
      },
      Qt::QueuedConnection);
}

void QtDisplay::CreateShape(ShapeId shape, std::int32_t pid, TColor color) {
  Post([this, shape, pid, color] { emit discCreated(shape, pid, color); });
}

void QtDisplay::AttachShape(ShapeId shape) {
  Post([this, shape] { emit discAttached(shape); });
}

void QtDisplay::ReleaseShape(ShapeId shape) {
  Post([this, shape] { emit discReleased(shape); });
}

void QtDisplay::ShowOnCpu(const DiscPlace& place) {
  Post([this, place] { emit discOnProcessor(place); });
}

void QtDisplay::RefreshWaitArea(const std::vector<DiscPlace>& places) {
  // Nothing to place: the wait service's pass over empty lists wakes nobody.
  if (places.empty()) {
    return;
  }
  Post([this, places] { emit waitAreaChanged(places); });
}

void QtDisplay::AdvanceWaitCounter(int value) {
  Post([this, value] { emit waitCounterChanged(value); });
}

void QtDisplay::RedrawPageFile() {
  Post([this] {
    if (OnRedrawPageFile) {
      OnRedrawPageFile();
    }
  });
}

void QtDisplay::MarkShown(std::uint64_t ticket) {
  {
    std::lock_guard lock(mutex_);
    done_ = std::max(done_, ticket);
  }
  shown_.notify_all();
}

void QtDisplay::WaitUntilShown() {
  // The user-interface thread cannot wait for itself: its own updates run when it returns to
  // its event loop.
  if (QThread::currentThread() == thread()) {
    return;
  }
  // Every update requested so far (this thread's among them) has been carried out: no need to
  // wake the user-interface thread. Carried never passes requested, and is read first.
  if (carried_.load() == requested_.load()) {
    return;
  }
  std::uint64_t ticket = 0;
  {
    std::lock_guard lock(mutex_);
    if (stopped_) {
      return;
    }
    ticket = ++posted_;
  }
  Post([this, ticket] { MarkShown(ticket); });
  std::unique_lock lock(mutex_);
  shown_.wait(lock, [&] { return stopped_ || done_ >= ticket; });
}

}  // namespace kelpa
