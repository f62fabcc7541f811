// SPDX-License-Identifier: MIT
// A class session from start to "Fim", in-process: the program's own start-up in a temporary
// current folder, then a teacher's script through the windows' own menus, buttons, track bars and
// dialogs, then the log file, the settings file and the statistics checked against what must have
// happened. The slots run in order and share the one running program.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "console_handle.h"
#include "gui/about/credits_window.h"
#include "gui/common/qt_convert.h"
#include "gui/common/readable_text.h"
#include "gui/console/console_window.h"
#include "gui/console/log_window.h"
#include "gui/console/scenario_controls.h"
#include "gui/memory/memory_options_window.h"
#include "gui/memory/memory_window.h"
#include "gui/process/creation_window.h"
#include "gui/process/pcb_window.h"
#include "gui/process/process_cell_delegate.h"
#include "gui/process/process_list_window.h"
#include "gui/process/statistics_window.h"
#include "gui/processor/processor_window.h"
#include "gui/processor/scheduling_options_window.h"
#include "gui/timeline/timeline_window.h"
#include "session/log_writer.h"
#include "session_log_audit.h"
#include "simulation/simulation.h"

using namespace kelpa;
using kelpa::acceptance::ProcessTrack;
using kelpa::acceptance::SessionLogAudit;

namespace {

// Waits are generous: the machine is shared and the build may carry sanitizers.
constexpr int kLongWait = 180000;

class RecordingReporter final : public IErrorReporter {
 public:
  void ShowError(const std::string& message) override { Messages.push_back(message); }
  std::vector<std::string> Messages;
};

template <class Window>
Window* TopLevel() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* window = qobject_cast<Window*>(widget)) {
      return window;
    }
  }
  return nullptr;
}

// How the creation window is filled in for one batch.
struct Batch {
  int Kind = pkCPU;
  int Priority = 0;
  int FrameLimit = 5;
  int Count = 1;
};

// A process the session created, with what the creation window asked for. Its disc tells it
// from the processes created before: two batches opened back to back can create processes in the
// same millisecond, whose identifiers the time alone would not tell apart.
struct Created {
  ShapeId Shape = 0;
  int PID = 0;
  int Kind = pkCPU;
  int Priority = 0;
  int FrameLimit = 5;
  bool Demand = false;
  TColor Color = 0;
};

const char* const kKindNames[kProcessKindCount] = {"CPU", "IO_1", "IO_2", "IO_3", "MIX_1", "MIX_2"};

QString ProcessLine(int pid, const char* event) {
  return QStringLiteral("Processo %1%2").arg(pid).arg(QString::fromUtf8(event));
}

QByteArray ReadFile(const QString& name) {
  QFile file(name);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class AcceptanceTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void startUp();
  void speedControls();
  void createProcesses();
  void processListControls();
  void schedulingOptions();
  void demandFetchAndSwapping();
  void pcbOfSwappedOutProcessWhileStopped();
  void pageFileFull();
  void everyProcessRuns();
  void statisticsAgreeWithCounters();
  void timelineFollowsTheRunAndExports();
  void fim();
  void logFile();
  void logWindowMatchesTheFile();
  void settingsFile();
  void scenarioLesson();
  void cleanupTestCase();

 private:
  Simulation& Sim() const { return form_->Sim(); }
  QAction* Item(const char* name) const { return form_->findChild<QAction*>(name); }
  QToolButton* RunButton() const { return form_->findChild<QToolButton*>("SpeedButton1"); }
  QTableWidget* ListGrid() const;
  SessionLogAudit AuditSoFar() const;
  QStringList LogTexts() const;

  void CreateBatch(const Batch& batch, bool demand, int expectedNew);
  void FillCreationWindow(TForm2* creation, const Batch& batch);
  int CollectNewProcesses(const Batch& batch, bool demand);
  const Created* FirstOfKind(int kind, int skip = 0) const;

  int RowOf(int pid);
  void ClickOnRow(int pid, const char* button);
  QString ListCell(int pid, int column);
  bool IsLive(int pid);
  int DispatchCount();
  bool DispatchedAfter(int pid, const char* event) const;

  bool PcbShowsSwappedOutProcess(QString& why);
  QStringList PcbTexts() const;
  QStringList HeldPcbTexts(const TProcesso& p) const;
  bool StatisticsMatch(QString& why);
  bool EveryProcessSeen(QString& why) const;

  QTemporaryDir folder_;
  RecordingReporter reporter_;
  QStringList consoleMessages_;
  QStringList listMessages_;
  QStringList asked_;
  int beeps_ = 0;
  int finished_ = 0;
  ConsoleHandle form_;
  std::vector<Created> created_;
  int suspendedPid_ = 0;
  int raisedPid_ = 0;
  int killedPid_ = 0;

  // Read once the threads have ended.
  int finalDispatches_ = 0;
  int finalHardFaults_ = 0;
  int finalSoftFaults_ = 0;
  int finalFinished_ = 0;
  std::set<int> finalLive_;
  QByteArray logBytes_;
};

// --- the session ---

void AcceptanceTest::initTestCase() {
  QVERIFY(folder_.isValid());
  QVERIFY(QDir::setCurrent(folder_.path()));
  TConsoleHooks hooks;
  hooks.SplashMs = 200;
  hooks.Reporter = &reporter_;
  hooks.ShowMessage = [this](const QString& text) { consoleMessages_ << text; };
  hooks.Beep = [this] { ++beeps_; };
  hooks.OnFinished = [this] { ++finished_; };
  // As the program entry does it.
  form_ = ConsoleHandle(std::move(hooks));
  form_->FormCreate();
  form_->CreateProcessWindows();
  form_->show();
  // Test knob: the wait service's pause between passes goes from 100 ms to 20 ms, so that an I/O
  // or page-fault wait ends five times sooner and the session fits in a minute or two.
  Sim().Espera.SleepMs = 20;
}

void AcceptanceTest::startUp() {
  // Start-up finishes when the splash ends, in the message loop.
  QTRY_VERIFY(form_->IsReady() && form_->isVisible());
  QCOMPARE(form_->windowTitle(), QString("Console Kelpa"));
  QCOMPARE(RunButton()->text(), QString("Parar"));
  QVERIFY(Sim().StopRunEvent.IsSet());
  QVERIFY(form_->ProcessorWindow()->isVisible());
  QVERIFY(form_->MemoryWindow()->isVisible());
  QVERIFY(!form_->CreditsWindow()->isVisible());
  const QStringList texts = LogTexts();
  QVERIFY2(texts.size() == 2, qPrintable(texts.join('\n')));
  QVERIFY(QFile::exists("kelpa.ini"));

  // Before any process exists the list only beeps and says so.
  Item("Selecionar1")->trigger();
  QCOMPARE(beeps_, 1);
  QCOMPARE(consoleMessages_, QStringList({"Nenhum processo foi criado."}));
  QVERIFY(form_->ProcessListWindow() == nullptr);

  // The class watches the log as it grows.
  Item("Log1")->trigger();
  QVERIFY(form_->LogWindow()->isVisible() && Item("Log1")->isChecked());
}

void AcceptanceTest::speedControls() {
  TfrmGP* gp = form_->ProcessorWindow();
  auto* wait = gp->findChild<QSlider*>("TrackBar1");
  auto* quantum = gp->findChild<QSlider*>("tcbQuantum");
  auto* clock = gp->findChild<QSlider*>("tbClock");
  QVERIFY(wait && quantum && clock);
  QCOMPARE(wait->value(), 10);
  QCOMPARE(quantum->value(), 1);
  QCOMPARE(clock->value(), 1);

  wait->triggerAction(QAbstractSlider::SliderToMinimum);
  quantum->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  quantum->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  clock->triggerAction(QAbstractSlider::SliderToMaximum);

  {
    std::lock_guard lock(Sim().Lock);
    QCOMPARE(Sim().Espera.WaitLength(), 10);
  }
  QCOMPARE(gp->WaitProgress()->maximum(), 10);
  QCOMPARE(Sim().Kernel.Quantum.load(), 3000);
  QCOMPARE(Sim().Kernel.SliceLength(), 3);
  QCOMPARE(Sim().HClock.Period.load(), 100);
}

void AcceptanceTest::createProcesses() {
  // Anticipated fetch: every kind the class uses, at several priorities and frame limits. The
  // CPU-bound ones get the lowest priority so that they cannot starve the others.
  const Batch batches[] = {
      {pkCPU, 0, 5, 3}, {pkIO1, 3, 2, 3}, {pkIO2, 5, 3, 2}, {pkMIX1, 2, 1, 2}, {pkMIX2, 9, 4, 2}};
  for (const Batch& batch : batches) {
    CreateBatch(batch, false, batch.Count);
    if (QTest::currentTestFailed()) {
      return;
    }
  }
  QCOMPARE(created_.size(), std::size_t{12});

  // Each process took the next palette colour: the offered one, then the following ones.
  TForm2* creation = TopLevel<TForm2>();
  for (std::size_t i = 0; i < created_.size(); ++i) {
    QCOMPARE(created_[i].Color, creation->Palette[i % TForm2::kPaletteSize]);
  }
  std::lock_guard lock(Sim().Lock);
  for (const auto& process : Sim().Kernel.Processes) {
    const auto wanted = std::find_if(created_.begin(), created_.end(),
                                     [&](const Created& c) { return c.PID == process->PID; });
    QVERIFY(wanted != created_.end());
    QCOMPARE(process->BasePriority, wanted->Priority);
    QCOMPARE(process->FrameLimit, wanted->FrameLimit);
    QVERIFY(process->Instructions == ProgramTemplates[wanted->Kind]);
  }
}

void AcceptanceTest::processListControls() {
  Item("Selecionar1")->trigger();
  TfrmAlteraProcessos* list = form_->ProcessListWindow();
  QVERIFY(list && list->isVisible());
  list->ShowMessage = [this](const QString& text) { listMessages_ << text; };
  list->AskText = [this](const QString& title, const QString& prompt, const QString& initial) {
    asked_ << title << prompt << initial;
    return QStringLiteral("6");
  };
  suspendedPid_ = FirstOfKind(pkCPU)->PID;
  killedPid_ = FirstOfKind(pkCPU, 1)->PID;
  raisedPid_ = FirstOfKind(pkIO1)->PID;

  // Suspend: the processor takes it off when it next runs; the list shows it suspended until
  // "Resume" lets it run again.
  ClickOnRow(suspendedPid_, "Button3");
  QTRY_VERIFY_WITH_TIMEOUT(
      LogTexts().contains(ProcessLine(suspendedPid_, " Executando -> Suspenso")), kLongWait);
  QTRY_VERIFY_WITH_TIMEOUT(ListCell(suspendedPid_, 3).startsWith("Susp"), 10000);
  ClickOnRow(suspendedPid_, "Button4");
  QTRY_VERIFY_WITH_TIMEOUT(DispatchedAfter(suspendedPid_, " Executando -> Suspenso"), kLongWait);

  // A higher base priority, typed in the input box.
  ClickOnRow(raisedPid_, "Button1");
  QCOMPARE(asked_, QStringList({QStringLiteral("Prioridade base do processo %1").arg(raisedPid_),
                                "Digite a nova prioridade:", "3"}));
  const int raisedRow = RowOf(raisedPid_);
  {
    std::lock_guard lock(Sim().Lock);
    QCOMPARE(Sim().Kernel.Processes[static_cast<std::size_t>(raisedRow)]->BasePriority, 6);
  }
  QVERIFY(ListCell(raisedPid_, 2).startsWith("6/"));

  // Terminate: the colour cell turns black at once, the processor ends the process later.
  ClickOnRow(killedPid_, "Button2");
  // (Unless the processor has already ended it.)
  if (const QTableWidgetItem* cell = ListGrid()->item(RowOf(killedPid_), 0)) {
    QVERIFY(cell->data(ProcessCellDelegate::KillRole).toBool());
  }
  QTRY_VERIFY_WITH_TIMEOUT(!IsLive(killedPid_), kLongWait);
  list->Timer1Timer();
  QCOMPARE(ListGrid()->rowCount(), 11);
  QVERIFY(listMessages_.isEmpty());
}

void AcceptanceTest::schedulingOptions() {
  TfrmGP* gp = form_->ProcessorWindow();
  gp->findChild<QAction*>("Opcoes1")->trigger();
  auto* options = TopLevel<Tfrm_Opt>();
  QVERIFY(options && options->isVisible());
  auto* threshold = options->findChild<QSlider*>("TrackBar1");
  QCOMPARE(threshold->value(), 8);
  threshold->setValue(10);
  options->findChild<QToolButton*>("SpeedButton1")->click();
  QVERIFY(!options->isVisible());
  QCOMPARE(Sim().Settings.RealTimeThreshold.load(), 10);
  QVERIFY(Sim().Settings.PreemptionEnabled.load());
  QVERIFY(Sim().Settings.DynamicPriorityEnabled.load());
  QCOMPARE(gp->PriorityLabel(9)->palette().color(QPalette::WindowText), QColor(Qt::black));
  QCOMPARE(gp->PriorityLabel(10)->palette().color(QPalette::WindowText), QColor(Qt::red));
}

void AcceptanceTest::demandFetchAndSwapping() {
  form_->MemoryWindow()->findChild<QAction*>("Opes1")->trigger();
  auto* options = TopLevel<Tfrm_Opt_MV>();
  QVERIFY(options && options->isVisible());
  auto* fetch = options->findChild<QComboBox*>("ComboBox1");
  auto* minFree = options->findChild<QSpinBox*>("SpinEdit1");
  QCOMPARE(fetch->currentText(), QString("Antecipada"));
  QCOMPARE(minFree->value(), 80);
  QVERIFY(options->findChild<QCheckBox*>("CheckBox1")->isChecked());
  fetch->setCurrentIndex(1);
  minFree->setValue(100);
  options->findChild<QPushButton*>("SpeedButton1")->click();
  QVERIFY(!options->isVisible());
  {
    std::lock_guard lock(Sim().Lock);
    QVERIFY(!Sim().Memoria.AnticipatedFetch);
    QVERIFY(Sim().Memoria.FrameLimitEnabled);
    QCOMPARE(Sim().Memoria.MinFreePercent, 100);
  }

  CreateBatch({pkCPU, 0, 2, 3}, true, 3);
  if (QTest::currentTestFailed()) {
    return;
  }
  // With every frame wanted free, each frame handed out swaps someone out; a swapped-out process
  // comes back in at its next dispatch.
  const auto swappedBackIn = [this] {
    for (const auto& [pid, track] : AuditSoFar().Processes) {
      if (track.SwapIns > 0) {
        return true;
      }
    }
    return false;
  };
  QTRY_VERIFY_WITH_TIMEOUT(swappedBackIn(), kLongWait);
}

void AcceptanceTest::pcbOfSwappedOutProcessWhileStopped() {
  const auto anySwappedOut = [this] {
    std::lock_guard lock(Sim().Lock);
    const auto& processes = Sim().Kernel.Processes;
    return std::any_of(processes.begin(), processes.end(),
                       [](const auto& p) { return IsSwappedOut(p->State); });
  };
  QTRY_VERIFY_WITH_TIMEOUT(anySwappedOut(), kLongWait);

  RunButton()->click();
  QCOMPARE(RunButton()->text(), QString("Executar"));
  QVERIFY(!form_->SimulationRunning);
  QVERIFY(!Sim().StopRunEvent.IsSet());
  // A cycle or pass already under way when the run stopped may still finish: compare again until
  // window and simulation agree.
  QString why;
  QTRY_VERIFY2_WITH_TIMEOUT(PcbShowsSwappedOutProcess(why), qPrintable(why), 30000);

  RunButton()->click();
  QCOMPARE(RunButton()->text(), QString("Parar"));
  QVERIFY(Sim().StopRunEvent.IsSet());
  const int before = DispatchCount();
  QTRY_VERIFY_WITH_TIMEOUT(DispatchCount() > before, kLongWait);
}

void AcceptanceTest::pageFileFull() {
  // Eleven processes hold 55 of the 100 blocks: six more fit, the seventh is refused and the batch
  // goes on without it.
  CreateBatch({pkMIX1, 3, 2, 7}, true, 6);
  if (QTest::currentTestFailed()) {
    return;
  }
  {
    std::lock_guard lock(Sim().Lock);
    QCOMPARE(Sim().Kernel.Processes.size(), std::size_t{20});
    QVERIFY(Sim().Memoria.FreeBlocks.empty());
  }
  const SessionLogAudit audit = AuditSoFar();
  QCOMPARE(audit.RefusedPids.size(), qsizetype{1});
  QVERIFY(audit.Processes.count(audit.RefusedPids.first()) == 0);
}

void AcceptanceTest::everyProcessRuns() {
  QString why;
  QTRY_VERIFY2_WITH_TIMEOUT(EveryProcessSeen(why), qPrintable(why), kLongWait);
}

void AcceptanceTest::statisticsAgreeWithCounters() {
  Item("Estatsticas1")->trigger();
  TEstatisticas* statistics = form_->StatisticsWindow();
  QVERIFY(statistics->isVisible());
  QVERIFY(Item("Estatsticas1")->isChecked());
  statistics->Locale = QLocale::c();
  // Stopped, so that figures and counters hold still while they are compared.
  RunButton()->click();
  QString why;
  QTRY_VERIFY2_WITH_TIMEOUT(StatisticsMatch(why), qPrintable(why), 30000);
}

// Still stopped: the timeline has seen every event of the run since start-up, its lanes end in
// the processes' states, and it exports the run as pictures and PDF and the log as csv.
void AcceptanceTest::timelineFollowsTheRunAndExports() {
  Item("LinhaDoTempo1")->trigger();
  TimelineWindow* timeline = nullptr;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->objectName() == "frmLinhaDoTempo") {
      timeline = dynamic_cast<TimelineWindow*>(widget);
    }
  }
  QVERIFY(timeline != nullptr && timeline->isVisible());
  std::size_t events = 0;
  {
    std::lock_guard lock(Sim().Lock);
    const TimelineModel& model = timeline->Model();
    QVERIFY(model.Ticks() > 0);
    int dispatches = 0;
    for (const RecordedEvent& e : model.Events()) {
      dispatches += e.Event.Kind == EventKind::Dispatched ? 1 : 0;
    }
    QCOMPARE(dispatches, Sim().Kernel.DispatchCount);
    for (const auto& process : Sim().Kernel.Processes) {
      const auto lane = std::find_if(model.Lanes().begin(), model.Lanes().end(),
                                     [&](auto& l) { return l.Pid == process->PID && !l.Ended; });
      QVERIFY(lane != model.Lanes().end());
      QCOMPARE(int(lane->Runs.back().State), int(process->State));
    }
    events = model.Events().size();
  }
  for (const char* name : {"run.svg", "run.png"}) {
    QVERIFY(timeline->ExportTo(folder_.filePath(name), true));
    QVERIFY(QFileInfo(folder_.filePath(name)).size() > 0);
  }
  QVERIFY(form_->LogWindow()->ExportCsvTo(folder_.filePath("events.csv")));
  const QStringList rows = QString::fromUtf8(ReadFile(folder_.filePath("events.csv")))
                               .split('\n', Qt::SkipEmptyParts)
                               .filter(QRegularExpression("^[^#]"));
  QVERIFY(qsizetype(events) + 1 <= rows.size());  // the column names, then every event so far
  // The statistics window's "Exportar PDF..." writes the run the timeline keeps.
  TEstatisticas* statistics = form_->StatisticsWindow();
  statistics->Export.ChooseFile = [this](const QString&) { return folder_.filePath("run"); };
  statistics->findChild<QAction*>("ExportarPdf1")->trigger();
  QProcess text;
  text.start("pdftotext", {folder_.filePath("run.pdf"), "-"});
  QVERIFY(text.waitForFinished(60000) && text.exitCode() == 0);
  const QString read = QString::fromUtf8(text.readAllStandardOutput());
  const TMessages& msg = Sim().Msg;
  for (const std::string* heading : {&msg.MsgTitLinhaDoTempo, &msg.MsgTicksTitulo,
                                     &msg.MsgTitEstatisticas, &msg.MsgPdfEstados}) {
    QVERIFY2(read.contains(ToQString(*heading)), heading->c_str());
  }
  timeline->close();
  QVERIFY(!Item("LinhaDoTempo1")->isChecked());
}

void AcceptanceTest::fim() {
  const std::string logName = form_->LogWindow()->FileName();
  Item("Fim1")->trigger();
  QVERIFY(!form_->isVisible());
  QCOMPARE(finished_, 1);
  QVERIFY(Sim().StopRunEvent.IsClosed());
  {
    // The threads have ended: these are the run's final counts.
    std::lock_guard lock(Sim().Lock);
    finalDispatches_ = Sim().Kernel.DispatchCount;
    finalHardFaults_ = Sim().Memoria.HardFaultCount;
    finalSoftFaults_ = Sim().Memoria.SoftFaultCount;
    finalFinished_ = Sim().FinishedCount;
    for (const auto& process : Sim().Kernel.Processes) {
      finalLive_.insert(process->PID);
    }
  }
  QVERIFY(reporter_.Messages.empty());
  QCOMPARE(beeps_, 1);

  // The one log file of the run, named by the start's month, day, hour and minute.
  const QStringList logs = QDir(folder_.path()).entryList({"log*.txt"}, QDir::Files);
  QCOMPARE(logs.size(), qsizetype{1});
  QVERIFY(QRegularExpression("^log\\d{8}\\.txt$").match(logs.first()).hasMatch());
  QCOMPARE(QFileInfo(QString::fromStdString(logName)).fileName(), logs.first());
  form_->Log()->Flush();
  logBytes_ = ReadFile(logs.first());
  QVERIFY(!logBytes_.isEmpty());
}

void AcceptanceTest::logFile() {
  const SessionLogAudit audit(logBytes_);
  QVERIFY2(audit.Errors.isEmpty(), qPrintable(audit.Errors.join('\n')));

  // Exactly the processes the session created appear, and no other.
  QCOMPARE(audit.Processes.size(), created_.size());
  int dispatches = 0;
  int ended = 0;
  for (const Created& c : created_) {
    const auto found = audit.Processes.find(c.PID);
    QVERIFY2(found != audit.Processes.end(), qPrintable(QString::number(c.PID)));
    const ProcessTrack& p = found->second;
    const QString pid = QString::number(c.PID);
    QVERIFY2(p.Created && p.Dispatches > 0, qPrintable(pid));
    dispatches += p.Dispatches;
    ended += p.Ended ? 1 : 0;
    if (c.Demand) {
      // Nothing loaded at creation: the first dispatch faults on page 0.
      QVERIFY2(p.PagesAtCreation.isEmpty(), qPrintable(pid));
      QCOMPARE(p.AfterFirstDispatch, QString(" Exec -> Page Fault 0"));
    } else {
      QList<int> firstPages;
      for (int page = 0; page < c.FrameLimit; ++page) {
        firstPages << page;
      }
      QCOMPARE(p.PagesAtCreation, firstPages);
    }
    if (c.Kind == pkCPU) {
      QVERIFY2(p.IOs == 0, qPrintable(pid));
    } else if (!c.Demand) {
      // Its first instruction is an I/O, on a page loaded at creation.
      QCOMPARE(p.AfterFirstDispatch, QString(" Executando -> IO "));
    }
    QCOMPARE(p.Ended, c.PID == killedPid_);
    QCOMPARE(p.ReleasedAtEnd, c.PID == killedPid_);
    QCOMPARE(finalLive_.count(c.PID) == 1, c.PID != killedPid_);
  }
  QVERIFY(audit.Processes.at(suspendedPid_).Suspensions > 0);
  QVERIFY(std::any_of(audit.Processes.begin(), audit.Processes.end(),
                      [](const auto& entry) { return entry.second.SwapIns > 0; }));

  // The log tells the same story as the counters.
  QCOMPARE(dispatches, finalDispatches_);
  QCOMPARE(audit.Count(" HwPF - "), finalHardFaults_);
  QCOMPARE(audit.Count(" SwPF - "), finalSoftFaults_);
  QCOMPARE(ended, finalFinished_);
  QCOMPARE(ended, 1);

  QCOMPARE(audit.RefusedPids.size(), qsizetype{1});
  QVERIFY(audit.FreeShareLines.contains(80));
  QVERIFY(audit.FreeShareLines.contains(100));
  QVERIFY(audit.Count("Iniciando Swap") > 0);
}

// The log window shows the same lines as the file, in the same order, each in its colour: a
// process's lines in the process's colour, the system's in black.
void AcceptanceTest::logWindowMatchesTheFile() {
  const auto* view = form_->LogWindow()->findChild<QTextEdit*>("memLog");
  const QStringList lines = QString::fromUtf8(logBytes_).split("\r\n", Qt::SkipEmptyParts);
  QTRY_COMPARE(qsizetype{view->document()->blockCount()}, lines.size());
  std::map<int, TColor> colours;
  for (const Created& c : created_) {
    colours[c.PID] = c.Color;
  }
  const QRegularExpression process("^Processo (\\d+) ");
  QTextBlock block = view->document()->begin();
  for (qsizetype i = 0; i < lines.size(); ++i, block = block.next()) {
    QCOMPARE(block.text(), lines[i]);
    const QString text = lines[i].mid(QStringLiteral("hh:nn:ss:zzz : ").size());
    const QRegularExpressionMatch match = process.match(text);
    QColor wanted(Qt::black);
    if (match.hasMatch()) {
      wanted = ToQColor(colours.at(match.captured(1).toInt()));
    } else if (text.startsWith("Tempo de UCP: ")) {
      wanted = ToQColor(colours.at(killedPid_));
    } else if (text.startsWith("Erro: ")) {
      continue;  // the colour the refused process would have had
    }
    // The line's own colour; its text may be drawn in a darker shade of it.
    QCOMPARE(block.begin().fragment().charFormat().colorProperty(TfrmLog::kLineColourProperty),
             wanted);
  }
}

void AcceptanceTest::settingsFile() {
  // The scheduling options were confirmed once, with the real-time threshold moved to 10.
  const QString ini = QString::fromUtf8(ReadFile("kelpa.ini"));
  QCOMPARE(ini.split(QRegularExpression("\r?\n"), Qt::SkipEmptyParts),
           QStringList({"[GLOBAL]", "PREEMPCAO=1", "PRIORIDADE_DINAMICA=1", "TEMPO_REAL=10"}));
}

// The next class opens a prepared scenario: it plays by itself to its pause, the teacher steps
// one tick with F10 and goes back two ticks through "Voltar".
void AcceptanceTest::scenarioLesson() {
  {
    QFile lesson("aula.ini");
    QVERIFY(lesson.open(QIODevice::WriteOnly));
    lesson.write(
        "[CENARIO]\nTITULO=Aula\nTICKS=50\nPAUSAS=3\n\n[GLOBAL]\nRELOGIO=10\n"
        "FATIA=2\n\n[PROCESSO 1]\nTIPO=IO_1\nPRIORIDADE=6\n\n[PROCESSO 2]\n"
        "TIPO=CPU\nCHEGADA=1\n");
  }
  form_.reset();
  TConsoleHooks hooks;
  hooks.Reporter = &reporter_;
  hooks.ShowMessage = [this](const QString& text) { consoleMessages_ << text; };
  hooks.ChooseScenarioFile = [](bool) { return QStringLiteral("aula.ini"); };
  hooks.AskTick = [](std::int64_t last) { return std::optional<std::int64_t>(last - 2); };
  form_ = ConsoleHandle::Started(std::move(hooks));
  form_->show();
  consoleMessages_.clear();

  Item("AbrirCenario1")->trigger();
  QVERIFY(consoleMessages_.isEmpty());
  QCOMPARE(form_->ProcessorWindow()->findChild<QSlider*>("tbClock")->value(), 10);
  QCOMPARE(form_->ProcessorWindow()->findChild<QSlider*>("tcbQuantum")->value(), 2);
  // Played at the clock control's pace until the pause tick stops it.
  QTRY_VERIFY_WITH_TIMEOUT(!form_->ScenarioControls().Playing(), kLongWait);
  QCOMPARE(form_->ScenarioControls().Tick(), std::int64_t{3});
  QCOMPARE(RunButton()->text(), QString("Executar"));
  auto* step = form_->findChild<QToolButton*>("SpeedButton2");
  QVERIFY(step->isEnabled());
  QTest::keyClick(form_.get(), Qt::Key_F10);
  QCOMPARE(form_->ScenarioControls().Tick(), std::int64_t{4});
  QCOMPARE(form_->TickText(), QString("Tick 4"));
  QCOMPARE(SnapshotProcessCount(Sim()), 2);

  Item("Voltar1")->trigger();
  QCOMPARE(form_->ScenarioControls().Tick(), std::int64_t{2});
  form_->Log()->Flush();
  const QStringList texts = LogTexts();
  QVERIFY(texts.contains("Cenário aberto: Aula"));
  QCOMPARE(texts.back(), QString("Volta ao tick 2"));
  QVERIFY(reporter_.Messages.empty());
}

void AcceptanceTest::cleanupTestCase() {
  form_.reset();
}

// --- creation window ---

void AcceptanceTest::CreateBatch(const Batch& batch, bool demand, int expectedNew) {
  TForm2* creation = TopLevel<TForm2>();
  QVERIFY(creation);
  bool filled = false;
  // The menu opens the window modally; the test answers it from inside its event loop.
  QTimer::singleShot(0, creation, [&] {
    FillCreationWindow(creation, batch);
    filled = true;
    creation->findChild<QPushButton*>("Button1")->click();
  });
  Item("Criar1")->trigger();
  QVERIFY(filled);
  QVERIFY(!creation->isVisible());
  QCOMPARE(CollectNewProcesses(batch, demand), expectedNew);
}

void AcceptanceTest::FillCreationWindow(TForm2* creation, const Batch& batch) {
  creation->findChild<QSpinBox*>("SpinEdit1")->setValue(batch.Priority);
  creation->findChild<QSpinBox*>("SpinEdit2")->setValue(batch.FrameLimit);
  creation->findChild<QSpinBox*>("SpinEdit3")->setValue(batch.Count);
  const auto kinds = creation->findChild<QGroupBox*>("RadioGroup1")->findChildren<QRadioButton*>();
  for (QRadioButton* kind : kinds) {
    if (kind->text() == QLatin1String(kKindNames[batch.Kind])) {
      kind->click();
    }
  }
}

int AcceptanceTest::CollectNewProcesses(const Batch& batch, bool demand) {
  std::set<ShapeId> known;
  for (const Created& c : created_) {
    known.insert(c.Shape);
  }
  int added = 0;
  std::lock_guard lock(Sim().Lock);
  for (const auto& process : Sim().Kernel.Processes) {
    if (known.count(process->Shape) == 0) {
      created_.push_back({process->Shape, process->PID, batch.Kind, batch.Priority,
                          batch.FrameLimit, demand, process->Color});
      ++added;
    }
  }
  return added;
}

const Created* AcceptanceTest::FirstOfKind(int kind, int skip) const {
  for (const Created& c : created_) {
    if (c.Kind == kind && skip-- == 0) {
      return &c;
    }
  }
  return nullptr;
}

// --- process list ---

QTableWidget* AcceptanceTest::ListGrid() const {
  TfrmAlteraProcessos* list = form_->ProcessListWindow();
  return list ? list->findChild<QTableWidget*>("stg1") : nullptr;
}

int AcceptanceTest::RowOf(int pid) {
  std::lock_guard lock(Sim().Lock);
  const auto& processes = Sim().Kernel.Processes;
  for (std::size_t i = 0; i < processes.size(); ++i) {
    if (processes[i]->PID == pid) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

// Selects the process's row as the user would and presses one of the list's buttons.
void AcceptanceTest::ClickOnRow(int pid, const char* button) {
  TfrmAlteraProcessos* list = form_->ProcessListWindow();
  QVERIFY(list);
  list->Timer1Timer();
  const int row = RowOf(pid);
  QVERIFY(row >= 0);
  ListGrid()->setCurrentCell(row, 1);
  list->findChild<QPushButton*>(button)->click();
}

QString AcceptanceTest::ListCell(int pid, int column) {
  form_->ProcessListWindow()->Timer1Timer();
  const QTableWidgetItem* item = ListGrid()->item(RowOf(pid), column);
  return item ? item->text() : QString();
}

bool AcceptanceTest::IsLive(int pid) {
  return RowOf(pid) >= 0;
}

int AcceptanceTest::DispatchCount() {
  std::lock_guard lock(Sim().Lock);
  return Sim().Kernel.DispatchCount;
}

SessionLogAudit AcceptanceTest::AuditSoFar() const {
  form_->Log()->Flush();
  return SessionLogAudit(ReadFile(QString::fromStdString(form_->LogWindow()->FileName())));
}

// The texts of the lines written so far, without their stamps.
QStringList AcceptanceTest::LogTexts() const {
  form_->Log()->Flush();
  const QByteArray bytes = ReadFile(QString::fromStdString(form_->LogWindow()->FileName()));
  QStringList texts;
  for (const QString& line : QString::fromUtf8(bytes).split("\r\n", Qt::SkipEmptyParts)) {
    texts << line.mid(QStringLiteral("hh:nn:ss:zzz : ").size());
  }
  return texts;
}

bool AcceptanceTest::DispatchedAfter(int pid, const char* event) const {
  const QStringList texts = LogTexts();
  const qsizetype at = texts.lastIndexOf(ProcessLine(pid, event));
  return at >= 0 && texts.indexOf(ProcessLine(pid, " Pronto -> Exec "), at) > at;
}

// --- PCB window ---

// Opens the PCB from the list on a swapped-out process and compares every box and page-table cell
// with the process as the simulation holds it.
bool AcceptanceTest::PcbShowsSwappedOutProcess(QString& why) {
  TfrmAlteraProcessos* list = form_->ProcessListWindow();
  TPCB* pcb = TopLevel<TPCB>();
  list->Timer1Timer();
  int row = -1;
  {
    std::lock_guard lock(Sim().Lock);
    const auto& processes = Sim().Kernel.Processes;
    for (std::size_t i = 0; i < processes.size() && row < 0; ++i) {
      row = IsSwappedOut(processes[i]->State) ? static_cast<int>(i) : -1;
    }
  }
  if (row < 0) {
    why = QStringLiteral("no process is swapped out");
    return false;
  }
  ListGrid()->setCurrentCell(row, 1);
  list->findChild<QPushButton*>("Button5")->click();
  if (!pcb->isVisible() || pcb->ProcessIndex != row || list->SelectedIndex != row) {
    why = QStringLiteral("the PCB window does not show row %1").arg(row);
    return false;
  }
  const QStringList shown = PcbTexts();
  QStringList held;
  QString stateName;
  {
    std::lock_guard lock(Sim().Lock);
    const TProcesso& p = *Sim().Kernel.Processes[static_cast<std::size_t>(row)];
    held = HeldPcbTexts(p);
    stateName = ToQString(StateName(Sim().Msg, p.State));
  }
  if (shown != held || ListGrid()->item(row, 3)->text() != stateName) {
    why = QStringLiteral("shown %1, held %2").arg(shown.join('|'), held.join('|'));
    return false;
  }
  return true;
}

QStringList AcceptanceTest::PcbTexts() const {
  TPCB* pcb = TopLevel<TPCB>();
  QStringList texts;
  for (int box = 1; box <= 8; ++box) {
    texts << pcb->findChild<QLabel*>(QStringLiteral("StaticText%1").arg(box))->text();
  }
  const auto* pages = pcb->findChild<QTableWidget*>("stg1");
  for (int row = 1; row <= kPagesPerProcess; ++row) {
    for (int column = 0; column < 5; ++column) {
      const QTableWidgetItem* item = pages->item(row, column);
      texts << (item ? item->text() : QString());
    }
  }
  return texts;
}

// The PCB's boxes and page table as they must read for the process; the resident pages of a
// swapped-out process are all in the page file.
QStringList AcceptanceTest::HeldPcbTexts(const TProcesso& p) const {
  const TMessages& msg = Sim().Msg;
  QStringList texts = {QString::number(p.PID),
                       QString::number(p.BasePriority),
                       QString::number(p.Priority),
                       ToQString(StateName(msg, p.State)),
                       ToQString(FormatTimeOfDay(p.CreatedAt)),
                       ToQString(FormatTimeOfDay(Sim().Cpu.CpuTimeSoFar(p))),
                       QString::number(p.FrameLimit),
                       QString::number(p.PC)};
  for (int page = 0; page < kPagesPerProcess; ++page) {
    const TPageEntry& entry = p.PageTable[static_cast<std::size_t>(page)];
    const bool resident = std::find(p.Frames.begin(), p.Frames.end(), page) != p.Frames.end();
    texts << QString::number(page) << QString::number(entry.Frame)
          << QString::number(entry.Valid ? 1 : 0) << QString::number(entry.Modified ? 1 : 0)
          << (resident ? QStringLiteral("PFile") : ToQString(LocationName(msg, entry.Location)));
  }
  return texts;
}

// --- statistics ---

// Refreshes the statistics window and compares its figures with the counters read right after.
bool AcceptanceTest::StatisticsMatch(QString& why) {
  TEstatisticas* statistics = form_->StatisticsWindow();
  statistics->Timer1Timer();
  const auto box = [statistics](int number) {
    return statistics->findChild<QLabel*>(QStringLiteral("StaticText%1").arg(number))->text();
  };
  QMap<int, QString> held;
  {
    std::lock_guard lock(Sim().Lock);
    Simulation& sim = Sim();
    int running = 0;
    int ready = 0;
    int waiting = 0;
    sim.Kernel.CountStates(running, ready, waiting);
    const int freePages = sim.Memoria.FreePageCount();
    const int hard = sim.Memoria.HardFaultCount;
    const int soft = sim.Memoria.SoftFaultCount;
    const int dispatches = sim.Kernel.DispatchCount;
    held[3] = QString::number(sim.Kernel.Processes.size());
    held[5] = QString::number(WholeSeconds(sim.Cpu.BusyTimeSoFar()));
    held[7] = QString::number(ready);
    held[8] = QString::number(running);
    held[9] = QString::number(waiting);
    held[10] = QString::number(
        static_cast<double>(WholeSeconds(sim.TotalTurnaroundTime)) / sim.FinishedCount, 'f', 2);
    held[11] = QString::number(
        static_cast<double>(WholeSeconds(sim.Kernel.TotalReadyWaitTime)) / dispatches, 'f', 2);
    held[14] = QString::number(hard + soft);
    held[15] = QString::number(dispatches);
    held[17] = QStringLiteral("800");
    held[18] = QString::number(800 - 8 * freePages);
    held[19] = QStringLiteral("%1%").arg(freePages);
    held[20] = QString::number(hard);
    held[21] = QString::number(soft);
  }
  QStringList differences;
  for (auto it = held.cbegin(); it != held.cend(); ++it) {
    if (box(it.key()) != it.value()) {
      differences << QStringLiteral("StaticText%1 shows %2, counters give %3")
                         .arg(it.key())
                         .arg(box(it.key()), it.value());
    }
  }
  why = differences.join("; ");
  return differences.isEmpty();
}

// Every process has been dispatched, every process of an I/O kind created with its first pages
// has started an I/O, and every process created under demand fetch has faulted. (With every frame
// wanted free, a process waiting for its page is swapped out before it is served, so the demand
// fetched ones may never get as far as an I/O.)
bool AcceptanceTest::EveryProcessSeen(QString& why) const {
  const SessionLogAudit audit = AuditSoFar();
  QStringList missing;
  for (const Created& c : created_) {
    const auto found = audit.Processes.find(c.PID);
    const bool seen = found != audit.Processes.end() && found->second.Dispatches > 0 &&
                      (c.Kind == pkCPU || c.Demand || found->second.IOs > 0) &&
                      (!c.Demand || found->second.Faults > 0);
    if (!seen) {
      missing << QString::number(c.PID);
    }
  }
  why = QStringLiteral("not yet seen at work: ") + missing.join(' ');
  return missing.isEmpty();
}

QTEST_MAIN(AcceptanceTest)
#include "acceptance_test.moc"
