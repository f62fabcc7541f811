// SPDX-License-Identifier: MIT
#include "timeline/timeline_picture.h"

#include <algorithm>
#include <cmath>

namespace kelpa {
namespace {

constexpr TColor kInterruptColour = MakeColor(64, 64, 64);
constexpr TColor kTextColour = kBlack;
constexpr double kTextDrop = 13;  // from a row's top to its text's baseline
constexpr double kMarkHalf = 4;
constexpr double kSwatch = 10;
constexpr double kMinDashedWidth = 4;

// One box per pixel column at most, however many spans fall in it: a long run at a small zoom
// costs as much to draw as the width of the window, not as its number of spans.
class SpanPainter {
 public:
  SpanPainter(TimelineCanvas& canvas, double top, double height)
      : canvas_(canvas), top_(top), height_(height) {}
  ~SpanPainter() { Flush(); }
  SpanPainter(const SpanPainter&) = delete;
  SpanPainter& operator=(const SpanPainter&) = delete;

  // The first pixel no box covers yet.
  double End() const { return end_; }

  void Add(double x1, double x2, SpanFill fill, TColor colour, bool dashed) {
    double from = std::floor(x1);
    const double to = std::max(std::floor(x2), from + 1);
    from = std::max(from, end_);
    if (to <= from) {
      return;
    }
    if (open_ && from == end_ && fill == fill_ && colour == colour_ && dashed == dashed_) {
      end_ = to;
      return;
    }
    Flush();
    open_ = true;
    start_ = from;
    end_ = to;
    fill_ = fill;
    colour_ = colour;
    dashed_ = dashed;
  }

 private:
  void Flush() {
    if (open_) {
      // A dashed border needs room for a dash or two; on a sliver it would only blacken it.
      const bool dashed = dashed_ && end_ - start_ >= kMinDashedWidth;
      canvas_.Box(start_, top_, end_ - start_, height_, fill_, colour_, dashed);
      open_ = false;
    }
  }

  TimelineCanvas& canvas_;
  double top_;
  double height_;
  bool open_ = false;
  double start_ = 0;
  double end_ = -1e300;
  SpanFill fill_ = SpanFill::Solid;
  TColor colour_ = kBlack;
  bool dashed_ = false;
};

// The next span of a sorted row that can still show: one that ends within the pixels already
// drawn would add nothing, and a fitted run of 100,000 ticks has tens of thousands of those per
// row, so they are passed over in one search instead of one by one.
template <typename It>
It NextShowing(It next, It end, const TimelineLayout& layout, const SpanPainter& spans) {
  if (spans.End() <= TimelineLayout::kLabelWidth) {
    return next;
  }
  const std::int64_t covered = layout.TicksBefore(spans.End());
  return std::partition_point(next, end,
                              [covered](const auto& r) { return r.Last + 1 <= covered; });
}

// The spans of a sorted row that touch first..last: the first one's position.
template <typename Row>
auto FirstVisible(const Row& runs, std::int64_t first) {
  return std::partition_point(runs.begin(), runs.end(),
                              [first](const auto& r) { return r.Last < first; });
}

// A marker's shape, centred on (x, y): each mark has its own outline as well as its colour.
void DrawMark(TimelineCanvas& canvas, TimelineMark mark, double x, double y) {
  const double h = kMarkHalf;
  std::vector<CanvasPoint> points;
  TColor fill = kBlack;
  switch (mark) {
    case TimelineMark::Created:  // a triangle pointing right
      points = {{x - h, y - h}, {x + h, y}, {x - h, y + h}};
      fill = MakeColor(0, 160, 0);
      break;
    case TimelineMark::Ended:  // a square
      points = {{x - h, y - h}, {x + h, y - h}, {x + h, y + h}, {x - h, y + h}};
      break;
    case TimelineMark::PriorityRaised:  // a triangle pointing up
      points = {{x - h, y + h}, {x, y - h}, {x + h, y + h}};
      fill = MakeColor(255, 200, 0);
      break;
    case TimelineMark::SliceEnded:  // a thin bar
      points = {{x - 1, y - h}, {x + 1, y - h}, {x + 1, y + h}, {x - 1, y + h}};
      fill = MakeColor(0, 0, 200);
      break;
    case TimelineMark::Preempted:  // a triangle pointing down
      points = {{x - h, y - h}, {x + h, y - h}, {x, y + h}};
      fill = MakeColor(220, 0, 0);
      break;
    case TimelineMark::HardFault:  // a filled diamond
      points = {{x, y - h}, {x + h, y}, {x, y + h}, {x - h, y}};
      fill = MakeColor(160, 0, 160);
      break;
    case TimelineMark::SoftFault:  // a hollow diamond
      points = {{x, y - h}, {x + h, y}, {x, y + h}, {x - h, y}};
      fill = kWhite;
      break;
    case TimelineMark::SwappedOut:  // an arrow down
      points = {{x - h, y - h}, {x + h, y - h}, {x + h, y}, {x, y + h}, {x - h, y}};
      fill = MakeColor(0, 150, 200);
      break;
    case TimelineMark::SwappedIn:  // an arrow up
      points = {{x - h, y + h}, {x + h, y + h}, {x + h, y}, {x, y - h}, {x - h, y}};
      fill = MakeColor(0, 150, 200);
      break;
  }
  canvas.Shape(points, fill, kBlack);
}

// 1, 2 or 5 times a power of ten ticks between labels, at least 60 pixels apart.
std::int64_t AxisStep(double tickWidth) {
  for (std::int64_t power = 1;; power *= 10) {
    for (const std::int64_t m : {1, 2, 5}) {
      if (double(m * power) * tickWidth >= 60 || power > 1'000'000'000'000) {
        return m * power;
      }
    }
  }
}

class Painter {
 public:
  Painter(const TimelineModel& model, const TimelineFrame& frame, const TimelineTexts& texts,
          TimelineCanvas& canvas)
      : model_(model),
        frame_(frame),
        texts_(texts),
        canvas_(canvas),
        shown_(LanesShown(model, frame)),
        layout_(frame, shown_.size()),
        last_(std::min(frame.Last, model.Ticks() - 1)) {}

  void Draw() {
    DrawHeader();
    DrawAxis();
    canvas_.BeginGroup("processor");
    DrawUseRow(0, texts_.Processor, model_.Processor(), true);
    canvas_.EndGroup();
    canvas_.BeginGroup("device");
    DrawUseRow(1, texts_.Device, model_.Device(), false);
    canvas_.EndGroup();
    for (std::size_t row = 0; row < shown_.size(); ++row) {
      const std::size_t i = shown_[row];
      // Identifiers can repeat over a run, lanes cannot.
      std::string name = "lane-";
      name += std::to_string(model_.Lanes()[i].Number);
      name += "-pid-";
      name += std::to_string(model_.Lanes()[i].Pid);
      canvas_.BeginGroup(name);
      DrawLane(row + 2, model_.Lanes()[i]);
      canvas_.EndGroup();
    }
    canvas_.BeginGroup("legend");
    DrawLegend();
    canvas_.EndGroup();
  }

 private:
  void DrawHeader() {
    double y = TimelineLayout::kMargin + kPictureFontPx;
    for (std::size_t i = 0; i < frame_.Header.size(); ++i) {
      canvas_.Text(TimelineLayout::kMargin, y, frame_.Header[i], i == 0);
      y += TimelineLayout::kHeaderLine;
    }
  }

  void DrawAxis() {
    const double top = layout_.AxisTop();
    const double bottom = layout_.RowTop(shown_.size() + 2);
    canvas_.Text(TimelineLayout::kMargin, top + kTextDrop, texts_.Tick, false);
    const std::int64_t step = AxisStep(frame_.TickWidth);
    for (std::int64_t t = (frame_.First + step - 1) / step * step; t <= frame_.Last; t += step) {
      const double x = layout_.X(t);
      canvas_.Line(x, top + TimelineLayout::kAxisHeight - 4, x, bottom, kGridGrey);
      canvas_.Text(x + 2, top + kTextDrop, std::to_string(t), false);
    }
  }

  void DrawUseRow(std::size_t row, const std::string& label, const UseRow& runs, bool processor) {
    const double top = layout_.RowTop(row);
    canvas_.Text(TimelineLayout::kMargin, top + kTextDrop, label, false);
    SpanPainter spans(canvas_, top, TimelineLayout::kRowHeight);
    for (auto it = FirstVisible(runs, frame_.First); it != runs.end() && it->First <= last_;
         it = NextShowing(it + 1, runs.end(), layout_, spans)) {
      const double x1 = layout_.X(std::max(it->First, frame_.First));
      const double x2 = layout_.X(std::min(it->Last, last_) + 1);
      if (it->Use == ProcessorUse::Process) {
        spans.Add(x1, x2, SpanFill::Solid, it->Color, false);
      } else if (it->Use == ProcessorUse::Interrupt) {
        spans.Add(x1, x2, SpanFill::Solid, kInterruptColour, false);
      } else if (processor) {
        spans.Add(x1, x2, SpanFill::Diagonal, kIdleGrey, false);
      }
    }
  }

  void DrawLane(std::size_t row, const TimelineLane& lane) {
    const double top = layout_.RowTop(row);
    canvas_.Box(TimelineLayout::kMargin, top + 4, kSwatch, kSwatch, SpanFill::Solid, lane.Color,
                false);
    canvas_.Text(TimelineLayout::kMargin + kSwatch + 6, top + kTextDrop, std::to_string(lane.Pid),
                 false);
    {
      SpanPainter spans(canvas_, top, TimelineLayout::kRowHeight);
      for (auto it = FirstVisible(lane.Runs, frame_.First);
           it != lane.Runs.end() && it->First <= last_;
           it = NextShowing(it + 1, lane.Runs.end(), layout_, spans)) {
        if (it->Last < it->First) {
          continue;
        }
        const ProcessState state = it->State;
        spans.Add(layout_.X(std::max(it->First, frame_.First)),
                  layout_.X(std::min(it->Last, last_) + 1), FillOf(state), lane.Color,
                  IsSwappedOut(state));
      }
    }
    DrawMarkers(lane, top + TimelineLayout::kRowHeight / 2);
  }

  void DrawMarkers(const TimelineLane& lane, double y) {
    auto it =
        std::partition_point(lane.Markers.begin(), lane.Markers.end(),
                             [this](const TimelineMarker& m) { return m.Tick < frame_.First; });
    double lastX = -1e300;
    for (; it != lane.Markers.end() && it->Tick <= frame_.Last; ++it) {
      const double x = layout_.X(it->Tick) + frame_.TickWidth / 2;
      // Marks closer than their own width would only hide each other.
      if (x - lastX >= 2 * kMarkHalf) {
        DrawMark(canvas_, it->Mark, x, y);
        lastX = x;
      }
    }
  }

  void LegendCell(std::size_t index, double& x, double& y) const {
    const std::size_t columns = layout_.LegendColumns();
    x = TimelineLayout::kMargin + double(index % columns) * TimelineLayout::kLegendColumn;
    y = layout_.LegendTop() + double(index / columns) * TimelineLayout::kLegendLine;
  }

  void DrawLegend() {
    constexpr TColor sample = MakeColor(0, 110, 220);
    std::size_t index = 0;
    double x = 0;
    double y = 0;
    for (std::size_t s = 0; s < texts_.States.size(); ++s, ++index) {
      const auto state = static_cast<ProcessState>(s);
      LegendCell(index, x, y);
      canvas_.Box(x, y, 24, 12, FillOf(state), sample, IsSwappedOut(state));
      canvas_.Text(x + 30, y + 10, texts_.States[s], false);
    }
    LegendCell(index++, x, y);
    canvas_.Box(x, y, 24, 12, SpanFill::Diagonal, kIdleGrey, false);
    canvas_.Text(x + 30, y + 10, texts_.Idle, false);
    LegendCell(index++, x, y);
    canvas_.Box(x, y, 24, 12, SpanFill::Solid, kInterruptColour, false);
    canvas_.Text(x + 30, y + 10, texts_.Interrupt, false);
    for (std::size_t m = 0; m < texts_.Marks.size(); ++m, ++index) {
      LegendCell(index, x, y);
      DrawMark(canvas_, static_cast<TimelineMark>(m), x + 12, y + 6);
      canvas_.Text(x + 30, y + 10, texts_.Marks[m], false);
    }
  }

  const TimelineModel& model_;
  const TimelineFrame& frame_;
  const TimelineTexts& texts_;
  TimelineCanvas& canvas_;
  std::vector<std::size_t> shown_;
  TimelineLayout layout_;
  std::int64_t last_;  // the last tick drawn that has ended
};

constexpr std::size_t kLegendEntries = kStateCount + 2 + kTimelineMarkCount;

}  // namespace

TimelineTexts TimelineTextsFrom(const TMessages& msg) {
  TimelineTexts t;
  t.Processor = msg.MsgLinhaProcessador;
  t.Device = msg.MsgLinhaDispositivo;
  t.Idle = msg.MsgLinhaOcioso;
  t.Interrupt = msg.MsgLinhaInterrupcao;
  t.Tick = msg.MsgLinhaTick;
  t.Priority = msg.MsgLinhaPrioridade;
  for (std::size_t s = 0; s < t.States.size(); ++s) {
    t.States[s] = msg.StateName(static_cast<int>(s));
  }
  t.Marks = {msg.MsgLinhaCriacao,    msg.MsgLinhaFim,       msg.MsgLinhaAumento,
             msg.MsgLinhaFatia,      msg.MsgLinhaPreempcao, msg.MsgLinhaFaltaDura,
             msg.MsgLinhaFaltaSuave, msg.MsgLinhaSaiDisco,  msg.MsgLinhaVoltaDisco};
  return t;
}

TimelineLayout::TimelineLayout(const TimelineFrame& frame, std::size_t lanes)
    : first_(frame.First), last_(frame.Last), tickWidth_(frame.TickWidth) {
  const double ticks = double(std::max<std::int64_t>(0, frame.Last - frame.First + 1));
  // Never narrower than two legend columns.
  width_ = std::max(std::ceil(kLabelWidth + ticks * tickWidth_ + kMargin),
                    2 * kLegendColumn + 2 * kMargin);
  axisTop_ = frame.Header.empty() ? 0 : kMargin + double(frame.Header.size()) * kHeaderLine;
  rowsTop_ = axisTop_ + kAxisHeight;
  legendTop_ = RowTop(lanes + 2) + kMargin;
  legendColumns_ = std::max<std::size_t>(1, std::size_t((width_ - 2 * kMargin) / kLegendColumn));
  const std::size_t rows = (kLegendEntries + legendColumns_ - 1) / legendColumns_;
  height_ = std::ceil(legendTop_ + (double(rows) * kLegendLine + kMargin));
}

TimelineLayout::TimelineLayout(const TimelineFrame& frame, const TimelineModel& model)
    : TimelineLayout(frame, LanesShown(model, frame).size()) {}

std::vector<std::size_t> LanesShown(const TimelineModel& model, const TimelineFrame& frame) {
  std::vector<std::size_t> shown;
  const auto& lanes = model.Lanes();
  for (std::size_t i = 0; i < lanes.size(); ++i) {
    if (lanes[i].Created <= frame.Last && (!lanes[i].Ended || *lanes[i].Ended > frame.First)) {
      shown.push_back(i);
    }
  }
  return shown;
}

std::optional<std::int64_t> TimelineLayout::TickAt(double x, std::int64_t ticks) const {
  if (x < kLabelWidth || tickWidth_ <= 0) {
    return std::nullopt;
  }
  const std::int64_t tick = TicksBefore(x);
  if (tick > last_ || tick >= ticks) {
    return std::nullopt;
  }
  return tick;
}

std::optional<std::size_t> TimelineLayout::RowAt(double y, std::size_t rows) const {
  if (y < rowsTop_) {
    return std::nullopt;
  }
  const auto row = static_cast<std::size_t>((y - rowsTop_) / (kRowHeight + kRowGap));
  if (row >= rows || y > RowTop(row) + kRowHeight) {
    return std::nullopt;
  }
  return row;
}

SpanFill FillOf(ProcessState state) {
  switch (state) {
    case psRunning:
      return SpanFill::Solid;
    case psReady:
    case psReadyOut:
      return SpanFill::Tint;
    case psIO:
    case psIOOut:
      return SpanFill::Diagonal;
    case psPageFault:
    case psPageFaultOut:
      return SpanFill::Cross;
    case psSuspended:
    case psSuspendedOut:
      return SpanFill::Grey;
  }
  return SpanFill::Solid;
}

void DrawTimeline(const TimelineModel& model, const TimelineFrame& frame,
                  const TimelineTexts& texts, TimelineCanvas& canvas) {
  Painter(model, frame, texts, canvas).Draw();
}

}  // namespace kelpa
