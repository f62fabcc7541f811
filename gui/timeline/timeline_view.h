// SPDX-License-Identifier: MIT
// The timeline's drawing area: the rows over the ticks the window shows, drawn from the model
// under the simulation lock, with a tooltip telling the tick, state and priority under the mouse.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>

#include "timeline/timeline_picture.h"

namespace kelpa {

class Simulation;

class TimelineView : public QWidget {
 public:
  TimelineView(Simulation& sim, const TimelineModel& model, const TimelineTexts& texts,
               QWidget* parent = nullptr);

  // The first tick shown and the pixels per tick.
  void SetView(std::int64_t first, double tickWidth);
  std::int64_t First() const { return first_; }
  double TickWidth() const { return tickWidth_; }
  // How many ticks fit in the width.
  std::int64_t VisibleTicks() const;
  // The width in the picture's own pixels: a zoom chosen while running scales the picture.
  double PictureWidth() const;
  // The frame painted now; the lock must be held (the number of lanes may change).
  TimelineFrame Frame() const;
  // The height the rows and the legend take; the lock must be held.
  int HeightNeeded() const;

  // Ctrl+wheel: +1 zooms in, -1 out. The plain wheel scrolls by ticks.
  std::function<void(int steps)> ZoomRequested;
  std::function<void(std::int64_t ticks)> ScrollRequested;
  // A click on an ended tick.
  std::function<void(std::int64_t tick)> TickClicked;

  // The tooltip's text at a point; empty over nothing. Takes the lock.
  QString TextAt(QPointF at) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool event(QEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  Simulation& sim_;
  const TimelineModel& model_;
  const TimelineTexts& texts_;
  std::int64_t first_ = 0;
  double tickWidth_ = 4;
};

}  // namespace kelpa
