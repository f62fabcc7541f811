#include "gui/processor/qt_display.h"

#include <QProgressBar>
#include <QThread>
#include <utility>

#include "gui/processor/process_shape.h"
#include "gui/processor/processor_window.h"

namespace kelpa {

QtDisplay::QtDisplay() = default;

QtDisplay::~QtDisplay() {
  Stop();
  // Discs on the window are deleted with it; the QPointers of those are already null.
  for (auto& [id, shape] : shapes_) {
    delete shape.data();
  }
}

void QtDisplay::SetProcessorWindow(TfrmGP* window) {
  window_ = window;
  // The window's timer places the ready discs that this display keeps.
  if (window != nullptr) {
    window->SetDisplay(this);
  }
}

void QtDisplay::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopped_ = true;
  }
  shown_.notify_all();
}

TShpProcesso* QtDisplay::Shape(ShapeId shape) const {
  const auto found = shapes_.find(shape);
  return found == shapes_.end() ? nullptr : found->second.data();
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
  Post([this, shape, pid, color] {
    if (shape == 0 || shapes_.count(shape) != 0) {
      return;
    }
    // No parent until the process first becomes ready; a parentless widget would be a window of
    // its own, so it stays hidden until then.
    auto* disc = new TShpProcesso();
    disc->hide();
    disc->SetPid(pid);
    disc->SetFillColor(color);
    shapes_[shape] = disc;
  });
}

void QtDisplay::AttachShape(ShapeId shape) {
  Post([this, shape] {
    TShpProcesso* disc = Shape(shape);
    if (disc == nullptr || window_ == nullptr) {
      return;
    }
    if (disc->parentWidget() != window_->ClientArea()) {
      disc->setParent(window_->ClientArea());
    }
    disc->show();
    disc->raise();
  });
}

void QtDisplay::ReleaseShape(ShapeId shape) {
  Post([this, shape] {
    const auto found = shapes_.find(shape);
    if (found == shapes_.end()) {
      return;
    }
    if (TShpProcesso* disc = found->second.data()) {
      disc->hide();
      delete disc;
    }
    shapes_.erase(found);
  });
}

void QtDisplay::Place(const ShapePlacement& placement) {
  TShpProcesso* disc = Shape(placement.Shape);
  if (disc == nullptr) {
    return;
  }
  disc->move(placement.Left, placement.Top);
  disc->SetFillColor(placement.Color);
  if (disc->parentWidget() != nullptr) {
    disc->show();
  }
}

void QtDisplay::ShowOnCpu(const ShapePlacement& placement) {
  ShapePlacement onCpu = placement;
  onCpu.Left = kCpuLeft;
  onCpu.Top = kCpuTop;
  Post([this, onCpu] {
    Place(onCpu);
    // The running disc is drawn over one that has not yet been moved away from the processor.
    if (TShpProcesso* disc = Shape(onCpu.Shape)) {
      disc->raise();
    }
  });
}

void QtDisplay::RefreshWaitArea(const std::vector<ShapePlacement>& placements) {
  // Nothing to place: the wait service's pass over empty lists wakes nobody.
  if (placements.empty()) {
    return;
  }
  Post([this, placements] {
    for (const ShapePlacement& placement : placements) {
      Place(placement);
    }
  });
}

void QtDisplay::AdvanceWaitCounter(int value) {
  Post([this, value] {
    if (window_ != nullptr) {
      window_->WaitProgress()->setValue(value);
    }
  });
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
