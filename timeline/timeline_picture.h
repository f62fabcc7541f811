// SPDX-License-Identifier: MIT
// The timeline as a picture: a header, a tick axis, the processor and I/O device rows, a lane
// per process and a legend, laid out in pixels and drawn onto any canvas. The window, the PNG
// and the SVG exports all draw through here.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/messages.h"
#include "timeline/timeline_canvas.h"
#include "timeline/timeline_model.h"

namespace kelpa {

// The largest side a PNG picture may have (QImage's own limit is near it).
inline constexpr int kMaxImageSide = 32000;

// The picture's words, from the catalogue.
struct TimelineTexts {
  std::string Processor;
  std::string Device;
  std::string Idle;
  std::string Interrupt;
  std::string Tick;
  std::string Priority;
  std::array<std::string, kStateCount> States;
  std::array<std::string, kTimelineMarkCount> Marks;
};
TimelineTexts TimelineTextsFrom(const TMessages& msg);

struct TimelineFrame {
  std::int64_t First = 0;  // the ticks drawn
  std::int64_t Last = -1;
  double TickWidth = 4;             // pixels per tick: the zoom
  std::vector<std::string> Header;  // lines above the axis; none in the window
};

// Where everything goes, in pixels.
struct TimelineLayout {
  static constexpr double kLabelWidth = 120;
  static constexpr double kRowHeight = 18;
  static constexpr double kRowGap = 4;
  static constexpr double kAxisHeight = 20;
  static constexpr double kHeaderLine = 16;
  static constexpr double kLegendLine = 18;
  static constexpr double kLegendColumn = 190;
  static constexpr double kMargin = 8;

  TimelineLayout(const TimelineFrame& frame, std::size_t lanes);
  // With a row for each lane the frame shows.
  TimelineLayout(const TimelineFrame& frame, const TimelineModel& model);
  double X(std::int64_t tick) const { return kLabelWidth + double(tick - first_) * tickWidth_; }
  // The ticks that end at or before x: every tick before the one returned.
  std::int64_t TicksBefore(double x) const {
    return first_ + static_cast<std::int64_t>(std::floor((x - kLabelWidth) / tickWidth_));
  }
  double Width() const { return width_; }
  double Height() const { return height_; }
  double AxisTop() const { return axisTop_; }
  // Row 0 is the processor, 1 the device, 2 onwards the lanes.
  double RowTop(std::size_t row) const { return rowsTop_ + double(row) * (kRowHeight + kRowGap); }
  double LegendTop() const { return legendTop_; }
  std::size_t LegendColumns() const { return legendColumns_; }
  // The ended tick under x, if x is over the ticks drawn.
  std::optional<std::int64_t> TickAt(double x, std::int64_t ticks) const;
  // The row under y: 0 processor, 1 device, 2 + lane index.
  std::optional<std::size_t> RowAt(double y, std::size_t rows) const;

 private:
  std::int64_t first_ = 0;
  std::int64_t last_ = -1;
  double tickWidth_ = 4;
  double axisTop_ = 0;
  double rowsTop_ = 0;
  double legendTop_ = 0;
  std::size_t legendColumns_ = 1;
  double width_ = 0;
  double height_ = 0;
};

// The lanes that live within the frame's ticks, in creation order: a long run in the window
// does not pile up the lanes of processes long ended.
std::vector<std::size_t> LanesShown(const TimelineModel& model, const TimelineFrame& frame);

// The fill and border a lane shows for a state.
SpanFill FillOf(ProcessState state);

// The whole picture; only the frame's ticks are drawn, whatever the model holds.
void DrawTimeline(const TimelineModel& model, const TimelineFrame& frame,
                  const TimelineTexts& texts, TimelineCanvas& canvas);

}  // namespace kelpa
