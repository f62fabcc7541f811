// SPDX-License-Identifier: MIT
// A timeline that keeps only its newest ticks answers for those ticks exactly as one that keeps
// them all: the same states, priorities, rows, events, tick sums and the same picture, while
// what it holds stays bounded. Both are fed the same made-up run, with processes created and
// ended all along, and compared every few ticks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "timeline/svg_canvas.h"

namespace kelpa {
namespace {

class MadeUpRun {
 public:
  explicit MadeUpRun(std::vector<TimelineModel*> models) : models_(std::move(models)) {}

  void Tick() {
    const std::int64_t tick = models_.front()->Ticks();
    if (live_.size() < 6 && Next(3) == 0) {
      // Identifiers come back once free, lanes do not.
      std::int32_t pid = 1;
      while (std::any_of(live_.begin(), live_.end(), [&](const Live& p) { return p.Pid == pid; })) {
        ++pid;
      }
      live_.push_back({pid, 0});
      Report(EventKind::Created, pid, psReady);
    }
    for (std::size_t i = 0; i < live_.size(); ++i) {
      const std::uint32_t roll = Next(40);
      if (roll == 0) {
        Report(EventKind::TimesReported, live_[i].Pid, psReady);
        live_.erase(live_.begin() + std::ptrdiff_t(i--));
      } else if (roll < 12) {
        Report(EventKind::StateChanged, live_[i].Pid, static_cast<ProcessState>(Next(kStateCount)));
        if (roll < 4) {
          Report(roll < 2 ? EventKind::SliceEnded : EventKind::HardFaultFromImage, live_[i].Pid,
                 psReady);
        }
      } else if (roll < 14) {
        ++live_[i].Priority;
      }
    }
    TickSample sample;
    if (!live_.empty() && Next(4) != 0) {
      sample.Processor = ProcessorUse::Process;
      sample.ProcessorPid = live_[Next(std::uint32_t(live_.size()))].Pid;
      sample.ProcessorColor = kProcessPalette[std::size_t(sample.ProcessorPid)];
    } else if (tick % 5 == 0) {
      sample.Processor = ProcessorUse::Interrupt;
    }
    if (!live_.empty() && Next(2) == 0) {
      sample.DevicePid = live_.front().Pid;
    }
    for (const Live& p : live_) {
      sample.Priorities.emplace_back(p.Pid, p.Priority);
    }
    for (TimelineModel* model : models_) {
      model->EndTick(sample);
    }
  }

 private:
  struct Live {
    std::int32_t Pid = 0;
    int Priority = 0;
  };

  std::uint32_t Next(std::uint32_t below) {
    seed_ = seed_ * 1664525u + 1013904223u;
    return (seed_ >> 8) % below;
  }

  void Report(EventKind kind, std::int32_t pid, ProcessState to) {
    SimEvent event;
    event.Kind = kind;
    event.Pid = pid;
    event.Color = kProcessPalette[std::size_t(pid)];
    event.To = to;
    for (TimelineModel* model : models_) {
      model->Report(event, model->Ticks() * 100);
    }
  }

  std::vector<TimelineModel*> models_;
  std::vector<Live> live_;
  std::uint32_t seed_ = 2024;
};

const TimelineLane* Numbered(const TimelineModel& model, std::int64_t number) {
  for (const TimelineLane& lane : model.Lanes()) {
    if (lane.Number == number) {
      return &lane;
    }
  }
  return nullptr;
}

void ExpectSameWindow(const TimelineModel& kept, const TimelineModel& all) {
  const std::int64_t first = kept.FirstTick();
  ASSERT_EQ(kept.Ticks(), all.Ticks());
  TimelineFrame frame;
  frame.First = first;
  frame.Last = kept.Ticks() - 1;
  frame.TickWidth = 3;
  for (const std::size_t index : LanesShown(all, frame)) {
    const TimelineLane& whole = all.Lanes()[index];
    const TimelineLane* lane = Numbered(kept, whole.Number);
    ASSERT_NE(lane, nullptr) << "lane " << whole.Number << " from tick " << first;
    EXPECT_EQ(TimelineModel::TicksPerState(*lane, first),
              TimelineModel::TicksPerState(whole, first));
    for (std::int64_t t = first; t < kept.Ticks(); ++t) {
      ASSERT_EQ(TimelineModel::StateAt(*lane, t), TimelineModel::StateAt(whole, t)) << t;
      ASSERT_EQ(TimelineModel::PriorityAt(*lane, t), TimelineModel::PriorityAt(whole, t)) << t;
    }
  }
  for (std::int64_t t = first; t < kept.Ticks(); ++t) {
    for (const auto row : {&TimelineModel::Processor, &TimelineModel::Device}) {
      const auto a = TimelineModel::RunAt((kept.*row)(), t);
      const auto b = TimelineModel::RunAt((all.*row)(), t);
      ASSERT_EQ(a.has_value(), b.has_value()) << t;
      ASSERT_EQ(std::tuple(a->Use, a->Pid, a->Color), std::tuple(b->Use, b->Pid, b->Color)) << t;
    }
  }
  std::vector<std::int64_t> events;
  for (const RecordedEvent& e : all.Events()) {
    if (e.Tick >= first) {
      events.push_back(e.Tick * 100 + std::int64_t(e.Event.Kind));
    }
  }
  std::vector<std::int64_t> keptEvents;
  for (const RecordedEvent& e : kept.Events()) {
    keptEvents.push_back(e.Tick * 100 + std::int64_t(e.Event.Kind));
  }
  EXPECT_EQ(keptEvents, events);
  const TimelineTexts texts = TimelineTextsFrom(TMessages());
  EXPECT_EQ(TimelineSvg(kept, frame, texts), TimelineSvg(all, frame, texts));
}

TEST(TimelineKeptTicks, TheNewestTicksAnswerAsInAModelKeepingThemAll) {
  for (const std::int64_t kept : {1, 13, 120}) {
    SCOPED_TRACE(kept);
    TimelineModel window(TimelineEvents::Kept, kept);
    TimelineModel all(TimelineEvents::Kept);
    MadeUpRun run({&window, &all});
    for (int t = 1; t <= 900; ++t) {
      run.Tick();
      EXPECT_EQ(window.FirstTick(), std::max<std::int64_t>(0, t - kept));
      if (t % 37 == 0) {
        ExpectSameWindow(window, all);
      }
      // Bounded: a span, a lane and an event cannot outlast the ticks kept by more than one.
      ASSERT_LE(window.Processor().size(), std::size_t(kept) + 1);
      ASSERT_LE(window.Lanes().size(), 6 + std::size_t(kept));
    }
    EXPECT_GT(all.Lanes().size(), 40u);
  }
}

}  // namespace
}  // namespace kelpa
