// SPDX-License-Identifier: MIT
// The timeline of a run agrees with the run: every lesson is run once with a timeline and a
// writer that records each process's state after every tick and each dispatch, and the lanes,
// the processor row and the per-state tick sums must match them. The pictures made from it are
// checked for what a reader of the file relies on.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "exports/timeline_file.h"
#include "runner/command_line.h"
#include "runner/scenario_recorder.h"
#include "scenario/scenario_reader.h"
#include "support/temp_working_directory.h"
#include "timeline/svg_canvas.h"

namespace kelpa {
namespace {

struct Dispatch {
  std::int64_t Tick = 0;
  std::int32_t Pid = 0;
};

// Each process's state after each tick (by identifier), and the dispatches.
class StateRecorder final : public TraceWriter {
 public:
  void Begin(const RunHeader&) override {}
  void Event(const SimEvent& event, std::int64_t tick, std::int64_t) override {
    if (event.Kind == EventKind::Dispatched) {
      Dispatches.push_back({tick, event.Pid});
    }
  }
  bool WantsTicks() const override { return true; }
  void Tick(std::int64_t, const std::vector<ProcessFigures>& processes,
            const TCPU::CycleOutcome& cycle) override {
    Processor.push_back(ProcessorCode(cycle));
    auto& states = States.emplace_back();
    for (const ProcessFigures& p : processes) {
      if (p.State) {
        states[p.Pid] = *p.State;
      }
    }
  }
  void End(const RunFigures&) override {}

  std::vector<std::map<std::int32_t, ProcessState>> States;  // per tick
  std::vector<std::string> Processor;                        // per tick, as the states format
  std::vector<Dispatch> Dispatches;
};

// The lane of the process alive at tick with identifier pid.
const TimelineLane* LaneAt(const TimelineModel& model, std::int32_t pid, std::int64_t tick) {
  for (const TimelineLane& lane : model.Lanes()) {
    if (lane.Pid == pid && lane.Created <= tick && (!lane.Ended || tick < *lane.Ended)) {
      return &lane;
    }
  }
  return nullptr;
}

struct LessonRun {
  Scenario Lesson;
  TimelineModel Model;
  StateRecorder Recorded;
  RunFigures Figures;
};

LessonRun RunLesson(const std::string& file) {
  const TMessages msg;
  LessonRun run;
  run.Lesson = *ReadScenarioFile(std::string(KELPA_LESSONS_DIR) + "/" + file, msg).Value;
  run.Figures = RunScenario(run.Lesson, msg, &run.Recorded, &run.Model);
  return run;
}

const char* const kLessons[] = {"01-prioridade-e-fatia.ini", "02-preempcao.ini",
                                "03-prioridade-dinamica.ini", "04-busca-por-demanda.ini",
                                "05-swapping.ini"};

TEST(TimelineModel, LanesProcessorRowAndTickSumsAgreeWithTheRun) {
  for (const char* lesson : kLessons) {
    SCOPED_TRACE(lesson);
    const LessonRun run = RunLesson(lesson);
    const TimelineModel& model = run.Model;
    ASSERT_EQ(model.Ticks(), run.Lesson.Ticks);
    ASSERT_EQ(std::int64_t(run.Recorded.States.size()), run.Lesson.Ticks);

    // Each live process's state after each tick is its lane's state at that tick, and the
    // process that ended a tick running is the one the processor row shows.
    std::size_t alive = 0;
    for (std::int64_t tick = 0; tick < model.Ticks(); ++tick) {
      for (const auto& [pid, state] : run.Recorded.States[std::size_t(tick)]) {
        const TimelineLane* lane = LaneAt(model, pid, tick);
        ASSERT_NE(lane, nullptr) << "pid " << pid << " tick " << tick;
        EXPECT_EQ(TimelineModel::StateAt(*lane, tick), state) << "pid " << pid << " tick " << tick;
        EXPECT_TRUE(TimelineModel::PriorityAt(*lane, tick).has_value());
        if (state == psRunning) {
          const std::optional<UseRun> cpu = TimelineModel::RunAt(model.Processor(), tick);
          ASSERT_TRUE(cpu.has_value());
          EXPECT_EQ(cpu->Use, ProcessorUse::Process) << "tick " << tick;
          EXPECT_EQ(cpu->Pid, pid) << "tick " << tick;
        }
        ++alive;
      }
    }
    EXPECT_GT(alive, 0u);

    // The answer key's processor column is the processor row.
    std::set<std::string> uses;
    for (std::int64_t tick = 0; tick < model.Ticks(); ++tick) {
      const std::optional<UseRun> cpu = TimelineModel::RunAt(model.Processor(), tick);
      ASSERT_TRUE(cpu.has_value());
      const std::string& code = run.Recorded.Processor[std::size_t(tick)];
      if (cpu->Use == ProcessorUse::Interrupt) {
        EXPECT_TRUE(code.starts_with("INT_")) << code << " tick " << tick;
      } else {
        EXPECT_EQ(code, cpu->Use == ProcessorUse::Idle ? "IDLE" : std::to_string(cpu->Pid));
      }
      uses.insert(code.starts_with("INT_") ? code : "");
    }
    EXPECT_GT(uses.size(), 1u) << "no interrupt served";  // INT_SLICE at least

    // A dispatch gives the processor to its process in the tick it happens.
    ASSERT_FALSE(run.Recorded.Dispatches.empty());
    for (const Dispatch& d : run.Recorded.Dispatches) {
      const std::optional<UseRun> cpu = TimelineModel::RunAt(model.Processor(), d.Tick);
      ASSERT_TRUE(cpu.has_value());
      EXPECT_EQ(cpu->Use, ProcessorUse::Process) << "tick " << d.Tick;
      EXPECT_EQ(cpu->Pid, d.Pid) << "tick " << d.Tick;
    }

    // A process's processor time is its ticks running, the last tick of the run included, and
    // the statistics' processor time is theirs.
    std::int64_t busyMs = 0;
    for (const ProcessFigures& f : run.Figures.Processes) {
      EXPECT_EQ(f.CpuMs, f.TicksIn[std::size_t(psRunning)] * run.Lesson.ClockPeriodMs())
          << "pid " << f.Pid;
      busyMs += f.CpuMs;
    }
    EXPECT_EQ(run.Figures.Statistics.CpuSeconds, busyMs / 1000);

    // Ticks per state, lane by lane, are the runner's figures.
    std::size_t matched = 0;
    for (const ProcessFigures& f : run.Figures.Processes) {
      if (!f.Created) {
        continue;
      }
      for (const TimelineLane& lane : model.Lanes()) {
        if (lane.Pid == f.Pid) {
          const std::vector<std::int64_t> ticks = TimelineModel::TicksPerState(lane);
          EXPECT_EQ(std::vector<std::int64_t>(f.TicksIn.begin(), f.TicksIn.end()), ticks)
              << "pid " << f.Pid;
          ++matched;
        }
      }
    }
    EXPECT_EQ(matched, model.Lanes().size());
  }
}

TEST(TimelineModel, RunsStaySpansAndMarksFollowTheEvents) {
  std::map<TimelineMark, int> all;
  for (const char* lesson : kLessons) {
    SCOPED_TRACE(lesson);
    const LessonRun run = RunLesson(lesson);
    std::map<TimelineMark, int> marks;
    for (const TimelineLane& lane : run.Model.Lanes()) {
      for (std::size_t i = 0; i < lane.Runs.size(); ++i) {
        EXPECT_LE(lane.Runs[i].First, lane.Runs[i].Last);
        if (i > 0) {
          EXPECT_EQ(lane.Runs[i - 1].Last + 1, lane.Runs[i].First);
          EXPECT_NE(lane.Runs[i - 1].State, lane.Runs[i].State);
        }
      }
      for (const TimelineMarker& m : lane.Markers) {
        ++marks[m.Mark];
      }
    }
    // The pages a process is created with are loaded before it exists: they mark no lane.
    std::map<TimelineMark, int> expected;
    std::set<std::int32_t> alive;
    for (const RecordedEvent& e : run.Model.Events()) {
      if (e.Event.Kind == EventKind::Created) {
        alive.insert(e.Event.Pid);
      }
      if (const auto mark = MarkOf(e.Event.Kind); mark && alive.contains(e.Event.Pid)) {
        ++expected[*mark];
        ++all[*mark];
      }
      if (e.Event.Kind == EventKind::TimesReported) {
        alive.erase(e.Event.Pid);
      }
    }
    EXPECT_EQ(marks, expected);
  }
  // The lessons between them leave every kind of mark.
  EXPECT_EQ(all.size(), std::size_t(kTimelineMarkCount));
}

// A hand-written run: two states within one tick leave the second, a state that returns within
// its tick joins the span before, an ended process's identifier can come back on a new lane, and
// a frame shows the lanes that live within it.
TEST(TimelineModel, ScriptedTicks) {
  TimelineModel model;
  const auto event = [&](EventKind kind, ProcessState to = psReady) {
    SimEvent e;
    e.Kind = kind;
    e.Pid = 7;
    e.To = to;
    model.Report(e, model.Ticks() * 100);
  };
  const auto tick = [&](std::optional<std::int32_t> running = std::nullopt) {
    TickSample sample;
    if (running) {
      sample.Processor = ProcessorUse::Process;
      sample.ProcessorPid = *running;
    }
    model.EndTick(sample);
  };
  event(EventKind::Created);  // tick 0
  tick();
  event(EventKind::StateChanged, psRunning);  // tick 1
  tick(7);
  event(EventKind::StateChanged, psIO);  // tick 2
  event(EventKind::StateChanged, psReady);
  tick();
  event(EventKind::TimesReported);  // tick 3
  event(EventKind::Created);
  tick();
  event(EventKind::StateChanged, psRunning);  // tick 4
  event(EventKind::StateChanged, psReady);
  tick();

  ASSERT_EQ(model.Lanes().size(), 2u);
  const auto runs = [&](std::size_t lane) {
    std::vector<std::tuple<std::int64_t, std::int64_t, ProcessState>> out;
    for (const StateRun& r : model.Lanes()[lane].Runs) {
      out.emplace_back(r.First, r.Last, r.State);
    }
    return out;
  };
  using Run = std::tuple<std::int64_t, std::int64_t, ProcessState>;
  EXPECT_EQ(runs(0), (std::vector<Run>{{0, 0, psReady}, {1, 1, psRunning}, {2, 2, psReady}}));
  EXPECT_EQ(model.Lanes()[0].Ended, 3);
  EXPECT_EQ(runs(1), (std::vector<Run>{{3, 4, psReady}}));
  EXPECT_EQ(TimelineModel::StateAt(model.Lanes()[0], 3), std::nullopt);
  const std::optional<UseRun> cpu = TimelineModel::RunAt(model.Processor(), 1);
  ASSERT_TRUE(cpu.has_value());
  EXPECT_EQ(cpu->Pid, 7);
  EXPECT_EQ(TimelineModel::RunAt(model.Processor(), 2)->Use, ProcessorUse::Idle);
  EXPECT_FALSE(TimelineModel::RunAt(model.Processor(), 5).has_value());

  struct Case {
    std::int64_t First;
    std::int64_t Last;
    std::vector<std::size_t> Shown;
  };
  for (const Case& c : {Case{0, 2, {0}}, Case{2, 3, {0, 1}}, Case{3, 4, {1}}}) {
    TimelineFrame frame;
    frame.First = c.First;
    frame.Last = c.Last;
    EXPECT_EQ(LanesShown(model, frame), c.Shown) << c.First << ".." << c.Last;
  }
}

// Every element closed in order, and the names of the groups.
std::vector<std::string> CheckedGroups(const std::string& svg) {
  static const std::regex tag(R"(<(/?)([A-Za-z]+)([^>]*?)(/?)>)");
  static const std::regex id(R"re(id="([^"]+)")re");
  std::vector<std::string> open;
  std::vector<std::string> groups;
  const std::string body = svg.substr(svg.find("?>") + 2);
  for (auto it = std::sregex_iterator(body.begin(), body.end(), tag); it != std::sregex_iterator();
       ++it) {
    const std::smatch& m = *it;
    if (m[1].length() > 0) {
      EXPECT_FALSE(open.empty());
      if (open.empty()) {
        return {};
      }
      EXPECT_EQ(open.back(), m[2].str());
      open.pop_back();
      continue;
    }
    std::smatch named;
    const std::string attributes = m[3].str();
    if (m[2] == "g" && std::regex_search(attributes, named, id)) {
      groups.push_back(named[1]);
    }
    if (m[4].length() == 0) {
      open.push_back(m[2]);
    }
  }
  EXPECT_TRUE(open.empty());
  return groups;
}

TEST(TimelineSvg, WellFormedWithALanePerProcessAndTheWholeRun) {
  test::TempWorkingDirectory folder;
  std::ostringstream out;
  std::ostringstream err;
  const std::string lesson = std::string(KELPA_LESSONS_DIR) + "/05-swapping.ini";
  ASSERT_EQ(RunRunner({"--run", lesson, "--timeline", "run.svg"}, out, err), 0) << err.str();
  std::ifstream in("run.svg", std::ios::binary);
  const std::string svg{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};

  const LessonRun run = RunLesson("05-swapping.ini");
  std::vector<std::string> expected = {"processor", "device"};
  for (std::size_t i = 0; i < run.Model.Lanes().size(); ++i) {
    expected.push_back("lane-" + std::to_string(i + 1) + "-pid-" +
                       std::to_string(run.Model.Lanes()[i].Pid));
  }
  expected.push_back("legend");
  EXPECT_EQ(CheckedGroups(svg), expected);
  EXPECT_EQ(run.Model.Lanes().size(), run.Lesson.Processes.size());
  // Never cut to a window: the width holds every tick at the zoom, and the title heads it.
  const TimelineFrame frame = WholeRunFrame(run.Model, run.Lesson, TMessages());
  const TimelineLayout layout(frame, run.Model.Lanes().size());
  EXPECT_EQ(layout.Width(),
            std::ceil(TimelineLayout::kLabelWidth + double(run.Lesson.Ticks) * frame.TickWidth +
                      TimelineLayout::kMargin));
  EXPECT_NE(svg.find("width=\"" + std::to_string(int(layout.Width())) + "\""), std::string::npos);
  EXPECT_NE(svg.find(run.Lesson.Title), std::string::npos);
}

TEST(TimelineSvg, RunnerRefusesOtherPicturesAndReportsAFailedWrite) {
  test::TempWorkingDirectory folder;
  const std::string lesson = std::string(KELPA_LESSONS_DIR) + "/01-prioridade-e-fatia.ini";
  std::filesystem::create_directory("taken.svg");
  struct Case {
    std::vector<std::string> Args;
    int Status;
  };
  const Case cases[] = {
      {{"--run", lesson, "--timeline", "run.gif"}, 2},
      {{"--check", lesson, "--timeline", "run.svg"}, 2},
      {{"--run", lesson, "--timeline", "a.svg", "--timeline", "b.svg"}, 2},
      {{"--run", lesson, "--timeline", "taken.svg"}, 3},  // a folder where the file should be
      {{"--run", lesson, "--timeline", "run.png"}, 3},    // no painter handed in
  };
  for (const Case& c : cases) {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunRunner(c.Args, out, err), c.Status) << c.Args.back();
    EXPECT_FALSE(err.str().empty());
  }
  // A PNG goes to the painter with the same picture an SVG gets.
  std::ostringstream out;
  std::ostringstream err;
  std::string painted;
  std::int64_t ticks = 0;
  const TimelinePngPainter png = [&](const TimelineModel& model, const TimelineFrame& frame,
                                     const TimelineTexts&, const std::string& file) {
    painted = file;
    ticks = frame.Last - frame.First + 1;
    EXPECT_EQ(model.Ticks(), ticks);
    return true;
  };
  EXPECT_EQ(RunRunner({"--run", lesson, "--timeline", "run.PNG"}, out, err, png), 0);
  // Through a temporary file beside it, renamed over it once painted.
  EXPECT_TRUE(std::filesystem::path(painted).filename().string().starts_with("run.PNG.tmp"));
  EXPECT_EQ(ticks, 150);
}

// A PNG the runner could not make is refused before the run, with the size it would have: the
// width is fitted whatever the ticks, the lanes make the height. An SVG has no such limit.
TEST(TimelineSvg, APngTooLargeIsRefusedUpFrontWithItsSize) {
  const TMessages msg;
  Scenario scenario;
  scenario.Ticks = 10'000'000;
  scenario.Processes.resize(900);
  EXPECT_EQ(TimelineRefusal("run.png", scenario, msg), std::nullopt);
  scenario.Processes.resize(2000);
  EXPECT_EQ(TimelineRefusal("run.svg", scenario, msg), std::nullopt);
  const auto refusal = TimelineRefusal("run.png", scenario, msg);
  ASSERT_TRUE(refusal.has_value());
  const TimelineLayout layout(WholeRunFrame(scenario.Ticks, scenario, msg), 2000);
  EXPECT_GT(layout.Height(), kMaxImageSide);
  EXPECT_NE(refusal->find(std::to_string(int(layout.Width())) + " x " +
                          std::to_string(int(layout.Height()))),
            std::string::npos)
      << *refusal;
}

// A whole run at a high zoom reaches millions of pixels: its positions must not round to tens of
// pixels, while shorter pictures keep their six digits.
TEST(TimelineSvg, CoordinatesAreWrittenWithoutAnExponentAndParseBack) {
  struct Case {
    double X;
    std::string Text;
  };
  const Case cases[] = {
      {12.5, "12.5"}, {123456.7, "123457"}, {3200000.5, "3200000.5"}, {-1500000.25, "-1500000.25"}};
  for (const Case& c : cases) {
    SvgCanvas canvas(10, 10);
    canvas.Line(c.X, 0, 0, 0, kBlack);
    std::smatch m;
    const std::string svg = canvas.Document();
    ASSERT_TRUE(std::regex_search(svg, m, std::regex("x1=\"([^\"]*)\""))) << svg;
    EXPECT_EQ(m[1].str(), c.Text);
    EXPECT_NEAR(std::stod(m[1].str()), c.X, std::fabs(c.X) < 1e6 ? 1 : 0.01) << c.Text;
  }
}

// The texts come from a hand-edited settings file: whatever bytes they hold, the picture stays
// XML 1.0, with the markup escaped and the rest of each text kept.
TEST(TimelineSvg, TextsKeepTheDocumentValidXml) {
  const std::pair<std::string, std::string> cases[] = {
      {std::string("a\x01"
                   "b\x1F\0c\x7F\td",
                   9),
       "abc\x7F\td"},
      {"<b>&\"", "&lt;b&gt;&amp;&quot;"},
      {"\xC3\xA7\xF0\x9F\x98\x80", "\xC3\xA7\xF0\x9F\x98\x80"},
      {"\xEF\xBF\xBE|\xEF\xBF\xBF", "|"},                     // U+FFFE, U+FFFF
      {"x\xE7y\xED\xA0\x80", "x\xEF\xBF\xBDy\xEF\xBF\xBD"}};  // a stray byte, a surrogate
  for (const auto& [text, written] : cases) {
    SvgCanvas canvas(10, 10);
    canvas.Text(1, 2, text, false);
    const std::string svg = canvas.Document();
    const std::string open = "<text x=\"1\" y=\"2\">";
    const auto begin = svg.find(open) + open.size();
    EXPECT_EQ(svg.substr(begin, svg.find("</text>", begin) - begin), written);
  }
}

}  // namespace
}  // namespace kelpa
