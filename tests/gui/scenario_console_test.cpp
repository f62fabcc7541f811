// SPDX-License-Identifier: MIT
// Scenarios in the windows: opened from the console and stepped, they log what the runner
// prints; "Passo" runs one tick only while stopped; "Voltar" shows an earlier tick again; a bad
// file changes nothing; a saved run is a file the runner accepts, with the options changed on the
// way, which the track bars show as they change.
#include <QAction>
#include <QSlider>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <sstream>

#include "console_handle.h"
#include "gui/console/log_window.h"
#include "gui/console/scenario_controls.h"
#include "gui/processor/processor_window.h"
#include "gui/timeline/timeline_view.h"
#include "gui/timeline/timeline_window.h"
#include "runner/command_line.h"
#include "simulation/snapshots.h"
#include "support/temp_working_directory.h"

using namespace kelpa;

namespace {

const std::filesystem::path kLessons =
    std::filesystem::path(__FILE__).parent_path() / ".." / ".." / "examples" / "scenarios";

std::vector<std::string> Split(const std::string& text, const std::string& end) {
  std::vector<std::string> lines;
  for (std::size_t begin = 0, stop; (stop = text.find(end, begin)) != std::string::npos;
       begin = stop + end.size()) {
    lines.push_back(text.substr(begin, stop - begin));
  }
  return lines;
}

// The runner's trace of the first `ticks` ticks, without the tick and the time in front.
std::vector<std::string> RunnerLines(const std::string& file, int ticks) {
  std::ostringstream out;
  std::ostringstream err;
  if (RunRunner({"--run", file, "--ticks", std::to_string(ticks), "--format", "text"}, out, err) !=
      0) {
    return {err.str()};
  }
  std::vector<std::string> texts;
  for (const std::string& line : Split(out.str(), "\n")) {
    if (line.empty()) {
      break;
    }
    if (line.front() != '#') {
      texts.push_back(line.substr(line.find(' ', line.find(' ') + 1) + 1));
    }
  }
  return texts;
}

TimelineWindow* TheTimeline() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* timeline = dynamic_cast<TimelineWindow*>(widget)) {
      return timeline;
    }
  }
  return nullptr;
}

std::string ReadAll(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

class ScenarioConsoleTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void steppingLogsWhatTheRunnerPrints();
  void stepRunsOneTickOnlyWhileStopped();
  void goingBackShowsThatTickAgain();
  void theTimelineFollowsTheScenarioAndGoesBack();
  void aBadFileChangesNothing();
  void savedRunsAreFilesTheRunnerAccepts();
  void changesOfOptionsAreShownReplayedAndSaved();

 private:
  void Start();
  void Open(const std::string& lesson);
  // The log file's lines from the scenario's title on, without their times.
  std::vector<std::string> LogFromTitle();
  std::string Rows();

  std::unique_ptr<test::TempWorkingDirectory> dir_;
  ConsoleHandle console_;
  QStringList messages_;
  QString chosen_;
};

void ScenarioConsoleTest::init() {
  dir_ = std::make_unique<test::TempWorkingDirectory>();
  messages_.clear();
  Start();
}

void ScenarioConsoleTest::cleanup() {
  console_.reset();
  dir_.reset();
}

void ScenarioConsoleTest::Start() {
  TConsoleHooks hooks;
  hooks.ShowMessage = [this](const QString& text) { messages_ << text; };
  hooks.ChooseScenarioFile = [this](bool) { return chosen_; };
  console_ = ConsoleHandle::Started(std::move(hooks));
}

void ScenarioConsoleTest::Open(const std::string& lesson) {
  std::filesystem::copy_file(kLessons / lesson, lesson);
  chosen_ = QString::fromStdString(lesson);
  console_->findChild<QAction*>("AbrirCenario1")->trigger();
  QVERIFY(console_->ScenarioControls().VirtualTime());
  // Opened playing: the play timer has not fired, as no event loop ran; stop it.
  if (console_->ScenarioControls().Playing()) {
    console_->SpeedButton1Click();
  }
  QVERIFY(!console_->ScenarioControls().Playing());
}

std::vector<std::string> ScenarioConsoleTest::LogFromTitle() {
  console_->Log()->Flush();
  std::vector<std::string> texts;
  bool title = false;
  for (const std::string& line : Split(ReadAll(console_->Log()->FileName()), "\r\n")) {
    const std::string text = line.substr(15);
    title = title || text.starts_with(console_->Msg().MsgCenarioAberto);
    if (title) {
      texts.push_back(text);
    }
  }
  return texts;
}

std::string ScenarioConsoleTest::Rows() {
  std::ostringstream out;
  for (const ProcessRow& row : SnapshotProcessRows(console_->Sim())) {
    out << row.PID << ':' << static_cast<int>(row.State) << ':' << row.Priority << ':'
        << row.CpuTime << ' ';
  }
  const StatisticsInputs s = SnapshotStatistics(console_->Sim());
  out << s.Now << ' ' << s.DispatchCount << ' ' << s.FreePages << ' ' << s.HardFaults;
  return out.str();
}

void ScenarioConsoleTest::steppingLogsWhatTheRunnerPrints() {
  constexpr int kTicks = 40;
  for (const char* lesson : {"02-preempcao.ini", "05-swapping.ini"}) {
    cleanup();
    init();
    Open(lesson);
    for (int i = 0; i < kTicks; ++i) {
      console_->SpeedButton2Click();
    }
    QCOMPARE(console_->ScenarioControls().Tick(), std::int64_t{kTicks});
    QCOMPARE(console_->TickText(), QStringLiteral("Tick %1").arg(kTicks));
    std::vector<std::string> session = LogFromTitle();
    QVERIFY(!session.empty());
    QVERIFY(session.front().starts_with(console_->Msg().MsgCenarioAberto + " "));
    session.erase(session.begin());
    const std::vector<std::string> runner = RunnerLines(lesson, kTicks);
    QVERIFY(!runner.empty());
    QCOMPARE(session, runner);
  }
}

void ScenarioConsoleTest::stepRunsOneTickOnlyWhileStopped() {
  // In real time, stopped: one step is one instruction of the one process.
  console_->SpeedButton1Click();
  QVERIFY(!console_->SimulationRunning);
  {
    Simulation& sim = console_->Sim();
    std::lock_guard lock(sim.Lock);
    sim.Kernel.AddProcess(TProcesso::Create(sim, pkCPU, 4, 5, 0x0000FF));
  }
  auto* step = console_->findChild<QToolButton*>("SpeedButton2");
  QVERIFY(step->isEnabled());
  const auto timelineTicks = [this] {
    std::lock_guard lock(console_->Sim().Lock);
    return TheTimeline()->Model().Ticks();
  };
  const std::int64_t ticksBefore = timelineTicks();
  step->click();
  {
    Simulation& sim = console_->Sim();
    std::lock_guard lock(sim.Lock);
    QCOMPARE(sim.Kernel.Processes.front()->PC, 1);
    QCOMPARE(sim.Kernel.DispatchCount, 1);
  }
  // The step is a tick of the live run for the timeline too.
  QCOMPARE(timelineTicks(), ticksBefore + 1);
  console_->SpeedButton1Click();
  QVERIFY(!step->isEnabled());

  // In virtual time: one tick per step while paused, none while playing.
  Open("01-prioridade-e-fatia.ini");
  QVERIFY(step->isEnabled());
  step->click();
  QCOMPARE(console_->ScenarioControls().Tick(), std::int64_t{1});
  console_->SpeedButton1Click();
  QVERIFY(console_->ScenarioControls().Playing());
  QVERIFY(!step->isEnabled());
  console_->SpeedButton2Click();
  QCOMPARE(console_->ScenarioControls().Tick(), std::int64_t{1});
}

void ScenarioConsoleTest::goingBackShowsThatTickAgain() {
  Open("03-prioridade-dinamica.ini");
  for (int i = 0; i < 20; ++i) {
    console_->SpeedButton2Click();
  }
  const std::string at20 = Rows();
  const std::vector<std::string> logAt20 = LogFromTitle();
  for (int i = 0; i < 15; ++i) {
    console_->SpeedButton2Click();
  }
  QVERIFY(Rows() != at20);
  console_->ScenarioControls().BackTo(20);
  QCOMPARE(console_->ScenarioControls().Tick(), std::int64_t{20});
  QCOMPARE(Rows(), at20);
  QCOMPARE(console_->TickText(), QStringLiteral("Tick 20"));
  // The file gets one line for the jump; the view shows the run up to tick 20, then that line.
  const std::vector<std::string> log = LogFromTitle();
  QCOMPARE(log.back(), console_->Msg().MsgVoltaAoTick + " 20");
  QCoreApplication::processEvents();
  const QStringList view =
      console_->LogWindow()->findChild<QTextEdit*>()->toPlainText().split('\n');
  QCOMPARE(view.size(), qsizetype(logAt20.size() + 1));
  for (std::size_t i = 0; i < logAt20.size(); ++i) {
    QCOMPARE(view[static_cast<int>(i)].mid(15).toStdString(), logAt20[i]);
  }
}

// The lanes of the timeline as text: each process's runs of states and its markers.
static std::string LanesText(const TimelineModel& model) {
  std::ostringstream out;
  for (const TimelineLane& lane : model.Lanes()) {
    out << lane.Pid << '@' << lane.Created << ':';
    for (const StateRun& run : lane.Runs) {
      out << run.First << '-' << run.Last << '=' << static_cast<int>(run.State) << ' ';
    }
    out << lane.Markers.size() << '\n';
  }
  return out.str();
}

void ScenarioConsoleTest::theTimelineFollowsTheScenarioAndGoesBack() {
  TimelineWindow* timeline = TheTimeline();
  QVERIFY(timeline != nullptr);
  Open("03-prioridade-dinamica.ini");
  for (int i = 0; i < 20; ++i) {
    console_->SpeedButton2Click();
  }
  std::string at20;
  {
    std::lock_guard lock(console_->Sim().Lock);
    // The scenario's ticks, not the parked processor's cycles, end the timeline's.
    QCOMPARE(timeline->Model().Ticks(), std::int64_t{20});
    QVERIFY(!timeline->Model().Lanes().empty());
    at20 = LanesText(timeline->Model());
    const std::vector<std::string> header = timeline->Header();
    QVERIFY(std::any_of(header.begin(), header.end(), [](const std::string& line) {
      return line.find("Prioridade dinâmica") != std::string::npos;
    }));
  }
  for (int i = 0; i < 15; ++i) {
    console_->SpeedButton2Click();
  }
  // A click on tick 19 goes back to its end: the timeline is the first twenty ticks again.
  timeline->View()->TickClicked(19);
  QCOMPARE(console_->ScenarioControls().Tick(), std::int64_t{20});
  std::lock_guard lock(console_->Sim().Lock);
  QCOMPARE(timeline->Model().Ticks(), std::int64_t{20});
  QCOMPARE(LanesText(timeline->Model()), at20);
}

void ScenarioConsoleTest::aBadFileChangesNothing() {
  {
    std::ofstream bad("bad.ini");
    bad << "[CENARIO]\nTICKS=10\n\n[GLOBAL]\nFATIA=11\n";
  }
  const std::string before = Rows();
  chosen_ = "bad.ini";
  console_->AbrirCenario1Click();
  QCOMPARE(messages_.size(), qsizetype{1});
  QVERIFY2(messages_.front().startsWith("bad.ini:5: "), qPrintable(messages_.front()));
  QVERIFY(!console_->ScenarioControls().VirtualTime());
  QVERIFY(console_->SimulationRunning);
  QVERIFY(LogFromTitle().empty());
  QCOMPARE(Rows().substr(0, Rows().find(' ')), before.substr(0, before.find(' ')));
}

void ScenarioConsoleTest::savedRunsAreFilesTheRunnerAccepts() {
  std::ostringstream out;
  std::ostringstream err;
  // Live: the processes alive now, at tick 0.
  {
    Simulation& sim = console_->Sim();
    std::lock_guard lock(sim.Lock);
    sim.Kernel.AddProcess(TProcesso::Create(sim, pkMIX2, 9, 3, 0x123456));
  }
  chosen_ = "live.ini";
  console_->SalvarCenario1Click();
  QVERIFY(messages_.isEmpty());
  QCOMPARE(RunRunner({"--check", "live.ini"}, out, err), 0);
  QVERIFY(out.str().find("TIPO=MIX_2\nPRIORIDADE=9\nFRAMES=3\nCOR=#563412\n") != std::string::npos);

  // A scenario with a process created by hand at tick 4.
  Open("02-preempcao.ini");
  for (int i = 0; i < 4; ++i) {
    console_->SpeedButton2Click();
  }
  {
    Simulation& sim = console_->Sim();
    std::lock_guard lock(sim.Lock);
    auto p = TProcesso::Create(sim, pkIO1, 2, 4, 0x00FF00);
    const ShapeId shape = p->Shape;
    sim.Kernel.AddProcess(std::move(p));
    sim.NoteHandAction({HandActionKind::Create, shape, pkIO1, 2, 4, 0x00FF00});
  }
  console_->SpeedButton2Click();
  chosen_ = "run.ini";
  console_->SalvarCenario1Click();
  out.str("");
  QCOMPARE(RunRunner({"--check", "run.ini"}, out, err), 0);
  QVERIFY(out.str().find("TIPO=IO_1\nPRIORIDADE=2\nFRAMES=4\nCOR=#00FF00\nCHEGADA=4\n") !=
          std::string::npos);
  QVERIFY(out.str().find("TICKS=5\n") != std::string::npos);

  // A folder where the file should be: the user is told, nothing is written.
  std::filesystem::create_directory("folder.ini");
  chosen_ = "folder.ini";
  console_->SalvarCenario1Click();
  QCOMPARE(messages_.size(), qsizetype{1});
  QVERIFY(messages_.front().endsWith("folder.ini"));
}

void ScenarioConsoleTest::changesOfOptionsAreShownReplayedAndSaved() {
  std::filesystem::copy_file(kLessons / "02-preempcao.ini", "changes.ini");
  std::ofstream("changes.ini", std::ios::app) << "\n[MUDANCA 1]\nTICK=2\nFATIA=7\nESPERA_IO=3\n";
  chosen_ = "changes.ini";
  console_->findChild<QAction*>("AbrirCenario1")->trigger();
  QVERIFY(messages_.isEmpty());
  console_->ScenarioControls().SetPlaying(false);
  auto* slice = console_->ProcessorWindow()->findChild<QSlider*>("tcbQuantum");
  auto* wait = console_->ProcessorWindow()->findChild<QSlider*>("TrackBar1");
  const int sliceBefore = slice->value();
  const auto stepTo = [this](std::int64_t tick) {
    while (console_->ScenarioControls().Tick() < tick) {
      console_->SpeedButton2Click();
    }
  };
  stepTo(2);
  QCOMPARE(slice->value(), sliceBefore);
  stepTo(3);  // tick 2 ran, and its change with it
  QCOMPARE(slice->value(), 7);
  QCOMPARE(wait->value(), 3);
  slice->setValue(4);  // by hand, standing at tick 3
  stepTo(5);
  console_->ScenarioControls().BackTo(1);
  QCOMPARE(slice->value(), sliceBefore);
  stepTo(5);  // the change made by hand is taken again, and shown
  QCOMPARE(slice->value(), 4);

  chosen_ = "saved.ini";
  console_->SalvarCenario1Click();
  QVERIFY(messages_.isEmpty());
  std::ostringstream out;
  std::ostringstream err;
  QCOMPARE(RunRunner({"--check", "saved.ini"}, out, err), 0);
  QVERIFY2(out.str().find("[MUDANCA 1]\nTICK=2\nFATIA=7\nESPERA_IO=3\n\n[MUDANCA 2]\nTICK=3\n"
                          "FATIA=4\n") != std::string::npos,
           out.str().c_str());
}

QTEST_MAIN(ScenarioConsoleTest)
#include "scenario_console_test.moc"
