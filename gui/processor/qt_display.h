// The simulation's display carried out on the user-interface thread: every update is posted as a
// queued call to this object and runs there in the order it was requested.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>

#include <QObject>
#include <QPointer>

#include "simulation/display.h"

namespace kelpa {

class TfrmGP;
class TShpProcesso;

class QtDisplay : public QObject, public IDisplay {
  Q_OBJECT

 public:
  // Create on the user-interface thread: that is where the updates run.
  QtDisplay();
  ~QtDisplay() override;

  // Also makes this the display whose discs the window's timer places.
  void SetProcessorWindow(TfrmGP* window);
  // Called (on the user-interface thread) whenever the page file changed.
  std::function<void()> OnRedrawPageFile;

  // From now on WaitUntilShown returns at once, and every waiting thread is released.
  void Stop();

  // The disc of a shape, or null when it does not exist (yet or any more). UI thread only.
  TShpProcesso* Shape(ShapeId shape) const;

  void CreateShape(ShapeId shape, std::int32_t pid, TColor color) override;
  void AttachShape(ShapeId shape) override;
  void ReleaseShape(ShapeId shape) override;
  void ShowOnCpu(const ShapePlacement& placement) override;
  void RefreshWaitArea(const std::vector<ShapePlacement>& placements) override;
  void AdvanceWaitCounter(int value) override;
  void RedrawPageFile() override;
  void WaitUntilShown() override;

  // Position of the running process's disc, inside the processor box.
  static constexpr int kCpuLeft = 185;
  static constexpr int kCpuTop = 35;

 private:
  void Post(std::function<void()> update);
  void Place(const ShapePlacement& placement);
  void MarkShown(std::uint64_t ticket);

  std::map<ShapeId, QPointer<TShpProcesso>> shapes_;
  QPointer<TfrmGP> window_;

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
