// SPDX-License-Identifier: MIT
// Scenarios in the windows: opened from the console and stepped, they log what the runner
// prints; "Passo" runs one tick only while stopped; "Voltar" shows an earlier tick again; a bad
// file changes nothing; a saved run is a file the runner accepts, with the options changed on the
// way, which the track bars show as they change, and never over a file that is not a scenario;
// "Ir para o tick" goes back or on and "Próximo evento" on, the discs shown as stepping shows
// them; the csv of the events is headed with the scenario.
#include <QAction>
#include <QSlider>
#include <QTableWidget>
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
#include "gui/console/lessons_folder.h"
#include "gui/console/log_window.h"
#include "gui/console/scenario_controls.h"
#include "gui/console/window_set.h"
#include "gui/process/process_ticks_window.h"
#include "gui/process/statistics_window.h"
#include "gui/processor/process_shape.h"
#include "gui/processor/processor_window.h"
#include "gui/timeline/timeline_view.h"
#include "gui/timeline/timeline_window.h"
#include "platform/sha256.h"
#include "runner/command_line.h"
#include "runner/scenario_recorder.h"
#include "scenario/scenario_reader.h"
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
  void savingNeverReplacesWhatIsNotAScenario();
  void goingToATickShowsTheDiscsSteppingThereShows();
  void nextEventStopsAfterTheTickItHappensIn();
  void theEventsCsvIsHeadedWithTheScenario();
  void eachProcessInTicksIsTheRunnersAfterGoingBack();
  void aScenarioNamedAtStartOpensWhenTheSplashEnds();
  void theOpenDialogStartsInTheLessonsUntilTheUserHasAScenario();

 private:
  void Start();
  void Open(const std::string& lesson);
  // The log file's lines from the scenario's title on, without their times.
  std::vector<std::string> LogFromTitle();
  std::string Rows();
  // Each process's disc on the processor window, once the window has caught up: by process,
  // whether it is on the window and where; and the discs on the window in all.
  std::string Discs();

  std::unique_ptr<test::TempWorkingDirectory> dir_;
  ConsoleHandle console_;
  QStringList messages_;
  QString chosen_;
  std::optional<QString> typed_;
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
  hooks.AskTickText = [this](std::int64_t) { return typed_; };
  hooks.AskEventKind = [](const QStringList& kinds) {
    return std::optional<int>(static_cast<int>(kinds.indexOf(QStringLiteral("Preempção"))));
  };
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

std::string ScenarioConsoleTest::Discs() {
  QCoreApplication::processEvents();
  TfrmGP* gp = console_->ProcessorWindow();
  gp->Timer1Timer();
  std::ostringstream out;
  for (const ProcessRow& row : SnapshotProcessRows(console_->Sim())) {
    const TShpProcesso* disc = gp->Disc(row.Shape);
    out << row.PID << ':';
    if (disc != nullptr) {
      out << (disc->parentWidget() == gp->ClientArea()) << disc->isVisibleTo(gp->ClientArea())
          << '@' << disc->x() << ',' << disc->y() << ':' << disc->FillColor();
    }
    out << ' ';
  }
  const auto onWindow = gp->ClientArea()->findChildren<TShpProcesso*>();
  out << "in all " << onWindow.size();
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
  console_->Sim().Apply(HandAction{HandActionKind::Create, 0, pkIO1, 2, 4, 0x00FF00});
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

void ScenarioConsoleTest::savingNeverReplacesWhatIsNotAScenario() {
  const std::filesystem::path english = kLessons / ".." / "en" / "kelpa.ini";
  std::filesystem::copy_file(english, "kelpa.ini",
                             std::filesystem::copy_options::overwrite_existing);
  const std::string catalogue = ReadAll("kelpa.ini");
  std::ofstream("notes.ini") << "[ANOTACOES]\nTEXTO=a teacher's notes\n";
  Open("02-preempcao.ini");
  for (int i = 0; i < 3; ++i) {
    console_->SpeedButton2Click();
  }
  // The name offered is never the settings file's.
  const QString suggested = console_->ScenarioControls().SuggestedFileName();
  QVERIFY(suggested.endsWith(".ini") && !suggested.endsWith("kelpa.ini"));
  for (const char* other : {"kelpa.ini", "notes.ini"}) {
    const std::string before = ReadAll(other);
    messages_.clear();
    chosen_ = other;
    console_->SalvarCenario1Click();
    QCOMPARE(messages_.size(), qsizetype{1});
    QVERIFY(messages_.front().startsWith(QString::fromStdString(console_->Msg().MsgNaoECenario)));
    QCOMPARE(ReadAll(other), before);
  }
  QCOMPARE(ReadAll("kelpa.ini"), catalogue);
  // A scenario is replaced by the run so far, and so is nothing at all.
  messages_.clear();
  for (const QString& file : {QStringLiteral("02-preempcao.ini"), suggested}) {
    chosen_ = file;
    console_->SalvarCenario1Click();
    std::ostringstream out;
    std::ostringstream err;
    QCOMPARE(RunRunner({"--check", file.toStdString()}, out, err), 0);
    QVERIFY(out.str().find("TICKS=3\n") != std::string::npos);
  }
  QVERIFY(messages_.isEmpty());
}

void ScenarioConsoleTest::goingToATickShowsTheDiscsSteppingThereShows() {
  Open("05-swapping.ini");
  for (int i = 0; i < 45; ++i) {
    console_->SpeedButton2Click();
  }
  const std::string rows = Rows();
  const std::string discs = Discs();
  QVERIFY(discs.find("in all 0") == std::string::npos);
  auto& controls = console_->ScenarioControls();
  // On, then back, then on from the start: each time the state and the discs of tick 45.
  for (const char* tick : {"120", " 45", "0", "45"}) {
    QVERIFY(controls.GoTo(tick));
    QCOMPARE(controls.Tick(), QString(tick).trimmed().toLongLong());
  }
  QCOMPARE(Rows(), rows);
  QCOMPARE(Discs(), discs);
  QCOMPARE(console_->TickText(), QStringLiteral("Tick 45"));
  // Through the menu, as typed; what is not a tick of the scenario changes nothing and says so.
  for (const char* typed : {"abc", "-1", "", "12.5", "201", "99999999999999999999"}) {
    messages_.clear();
    typed_ = QString(typed);
    console_->findChild<QAction*>("IrParaTick1")->trigger();
    QCOMPARE(messages_.size(), qsizetype{1});
    QVERIFY2(messages_.front().contains("200"), qPrintable(messages_.front()));
    QCOMPARE(controls.Tick(), std::int64_t{45});
  }
}

void ScenarioConsoleTest::nextEventStopsAfterTheTickItHappensIn() {
  TimelineWindow* timeline = TheTimeline();
  Open("02-preempcao.ini");
  auto& controls = console_->ScenarioControls();
  // The ticks in which the timeline marks a preemption, from a run stepped to the end.
  const std::int64_t last = controls.LastTick();
  controls.GoTo(QString::number(last));
  std::vector<std::int64_t> marked;
  {
    std::lock_guard lock(console_->Sim().Lock);
    for (const TimelineLane& lane : timeline->Model().Lanes()) {
      for (const TimelineMarker& marker : lane.Markers) {
        if (marker.Mark == TimelineMark::Preempted) {
          marked.push_back(marker.Tick);
        }
      }
    }
  }
  std::sort(marked.begin(), marked.end());
  marked.erase(std::unique(marked.begin(), marked.end()), marked.end());
  QVERIFY(marked.size() >= 2);
  controls.GoTo("0");
  messages_.clear();
  // Through the menu, the kind chosen by its place in the list, as the timeline's legend has it.
  for (std::size_t i = 0; i < 2; ++i) {
    console_->findChild<QAction*>("ProximoEvento1")->trigger();
    QCOMPARE(controls.Tick(), marked[i] + 1);
  }
  QVERIFY(messages_.isEmpty());
  // None left: the run stops at the scenario's end and says so.
  controls.GoTo(QString::number(marked.back() + 1));
  QVERIFY(!controls.RunToNext(TimelineMark::Preempted));
  QCOMPARE(controls.Tick(), last);
  QCOMPARE(messages_.size(), qsizetype{1});
}

void ScenarioConsoleTest::theEventsCsvIsHeadedWithTheScenario() {
  Open("02-preempcao.ini");
  auto* slice = console_->ProcessorWindow()->findChild<QSlider*>("tcbQuantum");
  const int atStart = slice->value();
  for (int i = 0; i < 4; ++i) {
    console_->SpeedButton2Click();
  }
  slice->setValue(atStart == 9 ? 8 : 9);
  console_->SpeedButton2Click();
  const std::string csv = TheTimeline()->EventsCsvText();
  const auto has = [&csv](const std::string& text) { return csv.find(text) != std::string::npos; };
  QVERIFY2(has("# " + console_->Msg().MsgRunCenario + ": 02-preempcao.ini\n"), csv.c_str());
  QVERIFY(has("# SHA-256: " + Sha256Hex(ReadAll("02-preempcao.ini")) + "\n"));
  QVERIFY(has("# TICKS=5\n"));
  QVERIFY(has("# [PROCESSO 2]\n"));
  // The options at the start, and the change made on the way.
  QVERIFY(has("# FATIA=" + std::to_string(atStart) + "\n"));
  QVERIFY(has("# [MUDANCA 1]\n"));
}

// Opened from the statistics window, the table of each process in ticks shows the runner's
// figures for the ticks run, also after going back (a replay starts the count again).
void ScenarioConsoleTest::eachProcessInTicksIsTheRunnersAfterGoingBack() {
  constexpr int kTicks = 100;
  const std::string lesson = "01-prioridade-e-fatia.ini";
  Open(lesson);
  TScenarioControls& controls = console_->ScenarioControls();
  while (controls.Tick() < kTicks + 20) {
    controls.Step();
  }
  controls.BackTo(kTicks);
  QCOMPARE(controls.Tick(), std::int64_t{kTicks});
  auto* open = console_->StatisticsWindow()->findChild<QAction*>("ProcessosEmTicks1");
  QVERIFY(open != nullptr);
  open->trigger();
  TProcessTicks* window = nullptr;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    window = window != nullptr ? window : dynamic_cast<TProcessTicks*>(widget);
  }
  QVERIFY(window != nullptr && window->isVisible());
  window->Locale = QLocale::c();
  window->Timer1Timer();

  const TMessages msg;
  ScenarioReading reading = ReadScenarioFile(lesson, msg);
  QVERIFY(reading.Value);
  reading.Value->Ticks = kTicks;
  const RunFigures run = RunScenario(*reading.Value, msg, nullptr);
  QTableWidget* grid = window->Grid();
  QCOMPARE(grid->rowCount(), static_cast<int>(run.Processes.size()) + 2);
  const auto cell = [&](int row, int column) { return grid->item(row, column)->text(); };
  std::vector<const ProcessTicks*> all;
  for (std::size_t i = 0; i < run.Processes.size(); ++i) {
    const int row = static_cast<int>(i);
    all.push_back(&run.Processes[i]);
    QCOMPARE(cell(row, 0), QString::number(run.Processes[i].Pid));
    int column = 1;
    for (const TickField& field : ProcessTickFields(run.Processes[i], msg)) {
      QCOMPARE(cell(row, column++), QString::fromStdString(field.Value.value_or("-")));
    }
  }
  const std::vector<TickField> summary = SummaryTickFields(SummariseTicks(all), msg);
  const int means = grid->rowCount() - 2;
  QCOMPARE(cell(means, 5), QString::fromStdString(summary[1].Value.value_or("-")));  // turnaround
  QCOMPARE(cell(means + 1, 8), QString::fromStdString(*summary[5].Value));           // references
}

void ScenarioConsoleTest::aScenarioNamedAtStartOpensWhenTheSplashEnds() {
  // A file that cannot be read: told as "Abrir cenário..." tells it, and the program goes on.
  chosen_ = QStringLiteral("missing.ini");
  console_->findChild<QAction*>("AbrirCenario1")->trigger();
  QCOMPARE(messages_.size(), 1);
  console_->OpenScenarioWhenShown(chosen_);
  QCOMPARE(messages_.size(), 2);
  QCOMPARE(messages_.back(), messages_.front());
  QVERIFY(!console_->ScenarioControls().VirtualTime());

  // A lesson, named while the credits are still up: opened only once the splash has ended.
  console_.reset();
  std::filesystem::copy_file(kLessons / "02-preempcao.ini", "lesson.ini");
  TConsoleHooks hooks;
  hooks.SplashMs = 60 * 60 * 1000;
  hooks.ShowMessage = [this](const QString& text) { messages_ << text; };
  hooks.Beep = [] {};
  console_ = ConsoleHandle(std::move(hooks));
  console_->FormCreate();
  console_->CreateProcessWindows();
  console_->OpenScenarioWhenShown(QDir::current().absoluteFilePath(QStringLiteral("lesson.ini")));
  QVERIFY(!console_->ScenarioControls().VirtualTime());
  console_->Timer2Timer();
  QVERIFY(console_->ScenarioControls().VirtualTime());
  QCOMPARE(messages_.size(), 2);
  const std::vector<std::string> log = LogFromTitle();
  QVERIFY(!log.empty());
}

void ScenarioConsoleTest::theOpenDialogStartsInTheLessonsUntilTheUserHasAScenario() {
  const QString working = QDir::currentPath();
  const QString lessons = QString::fromStdString(kLessons.string());
  std::ofstream("kelpa.ini") << "[CONSOLE]\n";
  QCOMPARE(OpenDialogStartFolder(working, QStringLiteral("kelpa.ini"), lessons), lessons);
  QCOMPARE(OpenDialogStartFolder(working, QStringLiteral("kelpa.ini"), QString()), working);
  std::ofstream("aula.ini") << "[CENARIO]\n";
  QCOMPARE(OpenDialogStartFolder(working, QStringLiteral("kelpa.ini"), lessons), working);
}

QTEST_MAIN(ScenarioConsoleTest)
#include "scenario_console_test.moc"
