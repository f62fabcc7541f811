// SPDX-License-Identifier: MIT
// The simulation's display carried to the user-interface thread: every request is posted as a
// queued call to this object and emitted there as a signal, in the order it was requested. The
// processor window (a DiscBoard) connects to the signals and owns the discs and their positions.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include <QObject>

#include "simulation/display.h"

namespace kelpa {

class DiscBoard;

class QtDisplay : public QObject, public IDisplay {
  Q_OBJECT

 public:
  // Create on the user-interface thread: that is where the updates run.
  QtDisplay();
  ~QtDisplay() override;

  // The window that shows the discs and the wait counter follows this display from now on.
  void SetProcessorWindow(DiscBoard* window);
  // Called (on the user-interface thread) whenever the page file changed.
  std::function<void()> OnRedrawPageFile;

  // From now on WaitUntilShown returns at once, and every waiting thread is released.
  void Stop();

  void CreateShape(ShapeId shape, std::int32_t pid, TColor color) override;
  void AttachShape(ShapeId shape) override;
  void ReleaseShape(ShapeId shape) override;
  void ShowOnCpu(const DiscPlace& place) override;
  void RefreshWaitArea(const std::vector<DiscPlace>& places) override;
  void AdvanceWaitCounter(int value) override;
  void RedrawPageFile() override;
  void WaitUntilShown() override;

 signals:
  // Emitted on the user-interface thread, in the order the simulation asked.
  void discCreated(kelpa::ShapeId shape, std::int32_t pid, kelpa::TColor color);
  void discAttached(kelpa::ShapeId shape);
  void discReleased(kelpa::ShapeId shape);
  void discOnProcessor(const kelpa::DiscPlace& place);
  void waitAreaChanged(const std::vector<kelpa::DiscPlace>& places);
  void waitCounterChanged(int value);

 private:
  void Post(std::function<void()> update);
  void MarkShown(std::uint64_t ticket);

  // Updates posted, and updates carried out on the user-interface thread.
  std::atomic<std::uint64_t> requested_{0};
  std::atomic<std::uint64_t> carried_{0};

  std::mutex mutex_;
  std::condition_variable shown_;
  std::uint64_t posted_ = 0;
  std::uint64_t done_ = 0;
  bool stopped_ = false;
};

}  // namespace kelpa
