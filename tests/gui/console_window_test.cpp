// SPDX-License-Identifier: MIT
// The console's start-up, run/stop, window toggles, process list command and shutdown, with the
// whole simulator built for real in a temporary current directory.
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScreen>
#include <QSet>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "console_handle.h"
#include "gui/about/credits_window.h"
#include "gui/about/guide_window.h"
#include "gui/about/help_window.h"
#include "gui/common/app_look.h"
#include "gui/console/console_window.h"
#include "gui/console/log_window.h"
#include "gui/memory/memory_window.h"
#include "gui/process/creation_window.h"
#include "gui/process/process_list_window.h"
#include "gui/process/statistics_window.h"
#include "gui/processor/processor_window.h"
#include "session/log_writer.h"
#include "simulation/simulation.h"
#include "simulation/snapshots.h"

using namespace kelpa;

namespace {

class RecordingReporter final : public IErrorReporter {
 public:
  void ShowError(const std::string& message) override { Messages.push_back(message); }
  std::vector<std::string> Messages;
};

// A started console whose splash ends at once and whose dialogs are recorded.
struct Console {
  explicit Console(int splashMs = 0) {
    TConsoleHooks hooks;
    hooks.SplashMs = splashMs;
    hooks.Reporter = &reporter;
    hooks.ShowMessage = [this](const QString& text) { shownMessages << text; };
    hooks.Beep = [this] { ++beeps; };
    hooks.OnFinished = [this] { ++finished; };
    form = ConsoleHandle(std::move(hooks));
    form->FormCreate();
    form->CreateProcessWindows();
  }

  QAction* Item(const char* name) const { return form->findChild<QAction*>(name); }
  QToolButton* Button() const { return form->findChild<QToolButton*>("SpeedButton1"); }

  QStringList FileLines() const {
    form->Log()->Flush();
    QFile file(QString::fromStdString(form->LogWindow()->FileName()));
    if (!file.open(QIODevice::ReadOnly)) {
      return {};
    }
    QStringList lines = QString::fromUtf8(file.readAll()).split("\r\n");
    if (!lines.isEmpty() && lines.last().isEmpty()) {
      lines.removeLast();
    }
    return lines;
  }

  void AddProcess() {
    Simulation& sim = form->Sim();
    std::lock_guard lock(sim.Lock);
    sim.Kernel.AddProcess(TProcesso::Create(sim, 0, 4, 5, 0x0000FF));
  }

  int ListWindowCount() const {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (qobject_cast<TfrmAlteraProcessos*>(widget) && widget->isVisible()) {
        ++count;
      }
    }
    return count;
  }

  RecordingReporter reporter;
  QStringList shownMessages;
  int beeps = 0;
  int finished = 0;
  ConsoleHandle form;
};

const QString kStamp = "\\d\\d:\\d\\d:\\d\\d:\\d\\d\\d";

bool IsStamped(const QString& line, const QString& text) {
  return QRegularExpression("^" + kStamp + " : " + QRegularExpression::escape(text) + "$")
      .match(line)
      .hasMatch();
}

bool IsStampedWithTime(const QString& line, const QString& text) {
  return QRegularExpression("^" + kStamp + " : " + QRegularExpression::escape(text) + kStamp + "$")
      .match(line)
      .hasMatch();
}

int CountContaining(const QStringList& lines, const QString& text) {
  int count = 0;
  for (const QString& line : lines) {
    count += line.contains(text) ? 1 : 0;
  }
  return count;
}

void WriteFile(const QString& name, const QByteArray& bytes) {
  QFile file(name);
  QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
}

QByteArray ReadFile(const QString& name) {
  QFile file(name);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class ConsoleWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(folder_.isValid());
    QVERIFY(QDir::setCurrent(folder_.path()));
  }

  void init() {
    QDir here(folder_.path());
    for (const QString& name : here.entryList({"kelpa.ini", "log*.txt"}, QDir::Files)) {
      QVERIFY(here.remove(name));
    }
  }

  void startUpLogsCreatesSettingsAndRuns() {
    Console console;
    const QStringList lines = console.FileLines();
    QVERIFY2(lines.size() >= 2, qPrintable(lines.join('\n')));
    QVERIFY2(IsStamped(lines.first(), "Inicializando Kelpa ..."), qPrintable(lines.first()));
    // The catalogue text ends with a blank and the time follows after one more.
    QVERIFY2(IsStampedWithTime(lines.last(), "Kelpa pronto as  "), qPrintable(lines.last()));
    QVERIFY(console.reporter.Messages.empty());

    const QString ini = QString::fromUtf8(ReadFile("kelpa.ini"));
    QCOMPARE(ini.split(QRegularExpression("\r?\n"), Qt::SkipEmptyParts),
             QStringList({"[GLOBAL]", "PREEMPCAO=1", "PRIORIDADE_DINAMICA=1", "TEMPO_REAL=8"}));

    Simulation& sim = console.form->Sim();
    QCOMPARE(console.form->windowTitle(), QString("Console Kelpa"));
    QCOMPARE(console.Button()->text(), QString("Parar"));
    QVERIFY(console.form->SimulationRunning);
    QVERIFY(sim.StopRunEvent.IsSet());
    QVERIFY(sim.StartTime > 0);
    {
      std::lock_guard lock(sim.Lock);
      QVERIFY(sim.Kernel.Processes.empty());
    }
  }

  // The threads really run: a new process reaches the processor without any help.
  void startedThreadsDispatchAProcess() {
    Console console;
    console.AddProcess();
    Simulation& sim = console.form->Sim();
    const auto dispatched = [&sim] {
      std::lock_guard lock(sim.Lock);
      return sim.Kernel.DispatchCount > 0;
    };
    QTRY_VERIFY_WITH_TIMEOUT(dispatched(), 60000);
  }

  void startUpReadsCatalogueSettingsAndCaptionsFromTheFile() {
    WriteFile("kelpa.ini",
              "[GLOBAL]\r\nPREEMPCAO=0\r\nTEMPO_REAL=3\r\n"
              "[MSGLOG]\r\nMSGLOG0001=Iniciando\r\n"
              "[MSG]\r\nMSG9000=Consola\r\nMSG9001=Processador\r\nMSG0002=Correr\r\n"
              "MSG0003=Deter\r\n"
              "[CONSOLE]\r\nFim1=Sair\r\nProcesso1=P&rocessos\r\n");
    const QByteArray before = ReadFile("kelpa.ini");
    Console console;
    Simulation& sim = console.form->Sim();
    QCOMPARE(console.form->windowTitle(), QString("Consola"));
    QCOMPARE(console.form->ProcessorWindow()->windowTitle(), QString("Processador"));
    QVERIFY(IsStamped(console.FileLines().first(), "Iniciando"));
    QVERIFY(!sim.Settings.PreemptionEnabled);
    QVERIFY(sim.Settings.DynamicPriorityEnabled);
    QCOMPARE(sim.Settings.RealTimeThreshold.load(), 3);
    QCOMPARE(console.Item("Fim1")->text(), QString("Sair"));
    // Keys are no captions: a translation keeps them.
    QCOMPARE(console.Item("Fim1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    QCOMPARE(console.form->findChild<QMenu*>("Processo1")->title(), QString("P&rocessos"));
    // An existing file is only read at start-up.
    QCOMPARE(ReadFile("kelpa.ini"), before);

    console.Button()->click();
    QCOMPARE(console.Button()->text(), QString("Correr"));
    console.Button()->click();
    QCOMPARE(console.Button()->text(), QString("Deter"));
  }

  void splashEndShowsTheWindowsTheMenuMarks() {
    Console console;
    TForm1& form = *console.form;
    QVERIFY(form.isVisible());
    QVERIFY(!form.CreditsWindow()->isVisible());
    QCOMPARE(form.ProcessorWindow()->isVisible(), console.Item("Escalonador1")->isChecked());
    QCOMPARE(form.MemoryWindow()->isVisible(), console.Item("Memriaprincipal1")->isChecked());
    QCOMPARE(form.LogWindow()->isVisible(), console.Item("Log1")->isChecked());
    QCOMPARE(form.StatisticsWindow()->isVisible(), console.Item("Estatsticas1")->isChecked());
    QVERIFY(form.ProcessorWindow()->isVisible());
    QVERIFY(!form.LogWindow()->isVisible());
  }

  // Closing the credits early lets start-up finish at once; the splash timer still shows the
  // windows later. From the menu the credits are not modal.
  // A start-up message box left open longer than the splash (here: a report whose box stays up
  // for a while, as a user reading it would keep it) neither ends the splash nor finishes start-up
  // before the credits have been shown.
  void aSlowStartUpMessageBoxLeavesTheSplashWhole() {
    class SlowReporter final : public IErrorReporter {
     public:
      void ShowError(const std::string&) override {
        QEventLoop loop;
        QTimer::singleShot(60, &loop, &QEventLoop::quit);
        loop.exec();
      }
    };
    QTemporaryDir folder;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    QDir().mkdir("kelpa.ini");  // a folder of that name: start-up reports it cannot be written
    SlowReporter reporter;
    TConsoleHooks hooks;
    hooks.SplashMs = 20;
    hooks.Reporter = &reporter;
    hooks.ShowMessage = [](const QString&) {};
    ConsoleHandle form(std::move(hooks));
    form->FormCreate();
    QVERIFY(!form->IsReady());
    QCOMPARE(QApplication::activeModalWidget(), form->CreditsWindow());
    QTRY_VERIFY(form->IsReady());
    QVERIFY(form->isVisible());
    form.reset();
    QDir::setCurrent(previous);
  }

  void creditsClosedEarlyLetStartUpFinish() {
    QTimer::singleShot(0, [] {
      if (QWidget* credits = QApplication::activeModalWidget()) {
        credits->close();
      }
    });
    Console console(3600 * 1000);
    TForm1& form = *console.form;
    QVERIFY(QApplication::activeModalWidget() == form.CreditsWindow());
    QTRY_VERIFY(form.IsReady());
    QVERIFY(IsStampedWithTime(console.FileLines().last(), "Kelpa pronto as  "));
    QVERIFY(!form.ProcessorWindow()->isVisible());
    QVERIFY(form.findChild<QTimer*>("Timer2")->isActive());
    form.Timer2Timer();
    QVERIFY(form.ProcessorWindow()->isVisible() && form.MemoryWindow()->isVisible());
    QVERIFY(form.isVisible());
    QVERIFY(!form.findChild<QTimer*>("Timer2")->isActive());

    console.Item("Crditos1")->trigger();
    QVERIFY(form.CreditsWindow()->isVisible());
    QVERIFY(QApplication::activeModalWidget() == nullptr);
  }

  void runStopButtonStopsAndRestarts() {
    Console console;
    Simulation& sim = console.form->Sim();
    console.Button()->click();
    QCOMPARE(console.Button()->text(), QString("Executar"));
    QVERIFY(!console.form->SimulationRunning);
    QVERIFY(!sim.StopRunEvent.IsSet());
    console.Button()->click();
    QCOMPARE(console.Button()->text(), QString("Parar"));
    QVERIFY(console.form->SimulationRunning);
    QVERIFY(sim.StopRunEvent.IsSet());
  }

  // Each key does what its item or button does, from the console or another window in front.
  void eachShortcutDoesWhatItsCommandDoes_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("effect");
    QTest::addColumn<bool>("inProcessorWindow");
    const int none = Qt::NoModifier;
    const int ctrl = Qt::ControlModifier;
    QTest::newRow("Ctrl+N") << int(Qt::Key_N) << ctrl << "creation window opened modally" << false;
    QTest::newRow("F5") << int(Qt::Key_F5) << none << "run stopped" << false;
    QTest::newRow("F5 in the processor window") << int(Qt::Key_F5) << none << "run stopped" << true;
    QTest::newRow("F1") << int(Qt::Key_F1) << none << "help shown" << false;
    QTest::newRow("Ctrl+L") << int(Qt::Key_L) << ctrl << "log shown" << false;
    QTest::newRow("Ctrl+Q") << int(Qt::Key_Q) << ctrl << "program ended" << false;
  }
  void eachShortcutDoesWhatItsCommandDoes() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, effect);
    QFETCH(bool, inProcessorWindow);
    Console console;
    TForm1& form = *console.form;
    QWidget* front = inProcessorWindow ? static_cast<QWidget*>(form.ProcessorWindow()) : &form;
    front->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(front));
    QDialog* creation = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      creation = creation ? creation : qobject_cast<TForm2*>(widget);
    }
    QVERIFY(creation != nullptr);
    // The creation window runs its own loop: it is looked at, then closed, from inside it.
    bool openedModally = false;
    QTimer::singleShot(0, creation, [&] {
      openedModally = creation->isVisible() && creation->isModal();
      creation->reject();
    });
    QTest::keyClick(front, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCoreApplication::processEvents();
    const std::map<QString, bool> effects = {
        {"creation window opened modally", openedModally},
        {"run stopped", !form.SimulationRunning && console.Button()->text() == "Executar"},
        {"help shown", form.HelpWindow() != nullptr && form.HelpWindow()->isVisible()},
        {"log shown", form.LogWindow()->isVisible() && console.Item("Log1")->isChecked()},
        {"program ended", form.IsShutDown() && console.finished == 1},
    };
    for (const auto& [name, happened] : effects) {
      QVERIFY2(happened == (name == effect), qPrintable(name));
    }
  }

  // Alt and a letter opens each menu of the bar, and within a menu each item has its own letter
  // (the zoom levels, numbers, are chosen with the arrow keys).
  void everyMenuAndItemHasItsOwnMnemonic() {
    Console console;
    std::vector<QWidget*> menus = {console.form->menuBar()};
    for (QMenu* menu : console.form->findChildren<QMenu*>()) {
      menus.push_back(menu);
    }
    for (QWidget* menu : menus) {
      QSet<QKeySequence> letters;
      for (QAction* item : menu->actions()) {
        if (item->isSeparator() || item->actionGroup() != nullptr) {
          continue;
        }
        const QKeySequence letter = QKeySequence::mnemonic(item->text());
        QVERIFY2(!letter.isEmpty() && !letters.contains(letter), qPrintable(item->text()));
        letters.insert(letter);
      }
    }
  }

  // A zoom chosen while the program runs scales the windows at once, with the run going on,
  // keeps them on the screen, comes back to the designed sizes and places without drift, and is
  // kept for the next start.
  void zoomScalesTheWindowsNowAndIsKeptForTheNextStart() {
    Console console;
    console.AddProcess();
    TfrmGP& gp = *console.form->ProcessorWindow();
    const QSize client = gp.ClientArea()->size();
    const qreal points = gp.font().pointSizeF();
    const auto* wait = gp.findChild<QWidget*>("TrackBar1");
    const QRect bar = wait->geometry();
    QWidget* memory = console.form->MemoryWindow();
    const QRect places[] = {gp.geometry(), memory->geometry()};
    QVERIFY(console.Item("Zoom100")->isChecked());

    console.Item("Zoom200")->trigger();
    QVERIFY(console.Item("Zoom200")->isChecked() && !console.Item("Zoom100")->isChecked());
    QVERIFY(console.shownMessages.isEmpty());
    QVERIFY(ReadFile("kelpa.ini").endsWith("[VISUAL]\r\nZOOM=200\r\n"));
    QCOMPARE(gp.ClientArea()->size(), 2 * client);
    QCOMPARE(gp.font().pointSizeF(), 2 * points);
    QCOMPARE(wait->geometry(), QRect(2 * bar.topLeft(), 2 * bar.size()));
    // The run went on: the same process, nothing stopped.
    QVERIFY(!console.form->IsShutDown() && console.form->SimulationRunning);
    QCOMPARE(kelpa::SnapshotProcessCount(console.form->Sim()), 1);
    // Each window shown lies inside the screen, or, when it cannot be made smaller, starts at
    // the screen's top-left corner.
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (!window->isVisible()) {
        continue;
      }
      const QRect area = window->screen()->availableGeometry();
      const QRect place = window->frameGeometry();
      QVERIFY2(area.contains(place) ||
                   (area.contains(place.topLeft()) && window->size() == window->minimumSize()),
               qPrintable(window->objectName()));
    }

    for (const char* item : {"Zoom125", "Zoom150", "Zoom100"}) {
      console.Item(item)->trigger();
    }
    QCOMPARE(gp.ClientArea()->size(), client);
    QCOMPARE(gp.font().pointSizeF(), points);
    QCOMPARE(wait->geometry(), bar);
    // Moved to fit the screen on the way, the windows come back to their own places.
    QCOMPARE(gp.geometry(), places[0]);
    QCOMPARE(memory->geometry(), places[1]);

    // The next start checks the kept zoom.
    console.Item("Zoom200")->trigger();
    console.form.reset();
    Console next;
    QVERIFY(next.Item("Zoom200")->isChecked());
  }

  // A look chosen from the menu recolours the windows now and is kept for the next start; the
  // guide opens from the help menu, in the interface's language.
  void lookIsChosenNowAndKeptAndTheGuideOpens() {
    Console console;
    QVERIFY(console.Item("AparenciaSistema1")->isChecked());
    console.Item("AparenciaEscura1")->trigger();
    QCoreApplication::processEvents();  // Qt hands the new palette down to open windows
    QVERIFY(console.Item("AparenciaEscura1")->isChecked());
    QVERIFY(ReadFile("kelpa.ini").endsWith("[VISUAL]\r\nAPARENCIA=ESCURA\r\n"));
    QVERIFY(kelpa::IsDarkPalette(console.form->ProcessorWindow()->palette()));
    console.Item("Guia1")->trigger();
    kelpa::TGuideWindow* guide = console.form->GuideWindow();
    QVERIFY(guide != nullptr && guide->isVisible());
    QCOMPARE(guide->windowTitle(), QStringLiteral("Guia"));
    QVERIFY(guide->Shown().path().endsWith(QLatin1String("tour.pt.md")));
    console.form.reset();
    Console next;
    QVERIFY(next.Item("AparenciaEscura1")->isChecked());
    next.Item("AparenciaSistema1")->trigger();
    QCoreApplication::processEvents();
    QVERIFY(!kelpa::IsDarkPalette(next.form->ProcessorWindow()->palette()));
  }

  void windowClosedByItsCloseBoxIsShownAgainByItsItem() {
    Console console;
    TForm1& form = *console.form;
    const std::vector<std::pair<QWidget*, const char*>> windows = {
        {form.LogWindow(), "Log1"},
        {form.MemoryWindow(), "Memriaprincipal1"},
        {form.ProcessorWindow(), "Escalonador1"},
        {form.StatisticsWindow(), "Estatsticas1"}};
    for (const auto& [window, name] : windows) {
      QAction* item = console.Item(name);
      if (!window->isVisible()) {
        item->trigger();
        QVERIFY2(window->isVisible() && item->isChecked(), name);
      }
      window->close();
      QVERIFY2(!window->isVisible() && !item->isChecked(), name);
      item->trigger();
      QVERIFY2(window->isVisible() && item->isChecked(), name);
      item->trigger();
      QVERIFY2(!window->isVisible() && !item->isChecked(), name);
    }
  }

  void selectWithoutProcessBeepsAndShowsTheMessage() {
    Console console;
    console.Item("Selecionar1")->trigger();
    QCOMPARE(console.beeps, 1);
    QCOMPARE(console.shownMessages, QStringList({"Nenhum processo foi criado."}));
    QVERIFY(console.form->ProcessListWindow() == nullptr);
    QCOMPARE(console.ListWindowCount(), 0);
  }

  void selectOpensOneListWindowAndAFreshOneAfterClosing() {
    Console console;
    console.Button()->click();  // stopped, so the process stays
    console.AddProcess();
    console.Item("Selecionar1")->trigger();
    console.Item("Selecionar1")->trigger();
    QCOMPARE(console.beeps, 0);
    QCOMPARE(console.ListWindowCount(), 1);
    QPointer<TfrmAlteraProcessos> first = console.form->ProcessListWindow();
    QVERIFY(first);

    first->close();
    QTRY_VERIFY(first.isNull());
    QVERIFY(console.form->ProcessListWindow() == nullptr);
    console.Item("Selecionar1")->trigger();
    QVERIFY(console.form->ProcessListWindow() != nullptr);
    QCOMPARE(console.ListWindowCount(), 1);
  }

  // The hint to create a process gives way once there is one, and comes back when the last has
  // gone.
  void statusTextFollowsTheProcessTable() {
    Console console;
    console.Button()->click();  // stopped, so the processes stay
    const auto* status = console.form->findChild<QLabel*>("StaticText1");
    const QString hint = status->text();
    QCOMPARE(hint, QStringLiteral("Para iniciar, crie um processo."));
    console.AddProcess();
    console.AddProcess();
    console.form->Timer1Timer();
    QCOMPARE(status->text(), QStringLiteral("Processos: 2"));
    {
      std::lock_guard lock(console.form->Sim().Lock);
      console.form->Sim().ReturnToStart();
    }
    console.form->Timer1Timer();
    QCOMPARE(status->text(), hint);
  }

  // A hidden window's timer does not wake the program; showing it starts the timer again.
  void windowTimersRunOnlyWhileTheirWindowsAreShown() {
    Console console;
    console.AddProcess();
    console.Item("Selecionar1")->trigger();
    QWidget* pcb = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (widget->objectName() == "PCB") {
        pcb = widget;
      }
    }
    QVERIFY(pcb);
    const std::pair<QWidget*, int> windows[] = {
        {console.form.get(), 1000},
        {console.form->ProcessorWindow(), 500},
        {console.form->MemoryWindow(), 2000},
        {console.form->StatisticsWindow(), 1000},
        {console.form->ProcessListWindow(), 1000},
        {pcb, 1000},
    };
    for (const auto& [window, interval] : windows) {
      const QString name = window->objectName();
      auto* timer = window->findChild<QTimer*>("Timer1");
      QVERIFY2(timer, qPrintable(name));
      QCOMPARE(timer->interval(), interval);
      window->hide();
      QVERIFY2(!timer->isActive(), qPrintable(name));
      window->show();
      QVERIFY2(timer->isActive(), qPrintable(name));
      window->hide();
      QVERIFY2(!timer->isActive(), qPrintable(name));
    }
  }

  void fimWritesExactlyOneShutdownLineThenCloses() {
    Console console;
    console.Item("Fim1")->trigger();
    QVERIFY(!console.form->isVisible());
    QCOMPARE(console.finished, 1);
    QVERIFY(console.form->Sim().StopRunEvent.IsClosed());

    auto* view = console.form->LogWindow()->findChild<QTextEdit*>("memLog");
    QVERIFY(view);
    QTRY_COMPARE(CountContaining(view->toPlainText().split('\n'), "Kelpa desativado as "), 1);

    const std::string fileName = console.form->LogWindow()->FileName();
    console.form.reset();
    QFile file(QString::fromStdString(fileName));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split("\r\n", Qt::SkipEmptyParts);
    QCOMPARE(CountContaining(lines, "Kelpa desativado as "), 1);
    QVERIFY2(IsStampedWithTime(lines.last(), "Kelpa desativado as  "), qPrintable(lines.last()));
  }

  void closeBoxEndsTheSimulationWithoutShutdownLine() {
    Console console;
    console.form->close();
    QCOMPARE(console.finished, 1);
    QVERIFY(console.form->Sim().ClockEvent.IsClosed());
    QCOMPARE(CountContaining(console.FileLines(), "Kelpa desativado as "), 0);
  }

  // Whatever the threads are doing, closing returns: stopped with live processes waiting on the
  // run event, running with a process on the processor, or in the middle of a creation batch.
  void shutdownNeverHangs_data() {
    QTest::addColumn<bool>("stopped");
    QTest::addColumn<bool>("batch");
    QTest::newRow("stopped") << true << false;
    QTest::newRow("running") << false << false;
    QTest::newRow("stopped during a batch") << true << true;
  }

  void shutdownNeverHangs() {
    QFETCH(bool, stopped);
    QFETCH(bool, batch);
    Console console;
    console.AddProcess();
    console.AddProcess();
    if (stopped) {
      console.Button()->click();
    }
    if (batch) {
      TForm2* creation = nullptr;
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        creation = creation ? creation : qobject_cast<TForm2*>(widget);
      }
      QVERIFY(creation);
      creation->show();
      creation->findChild<QSpinBox*>("SpinEdit3")->setValue(20);
      creation->Button1Click();
      QVERIFY(creation->BatchRunning());
    }
    console.Item("Fim1")->trigger();
    if (batch) {
      // The order that once logged a creation after the shutdown line: the batch's next
      // creation, or another click of "Criar", comes after "Fim" has finished.
      TForm2* creation = nullptr;
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        creation = creation ? creation : qobject_cast<TForm2*>(widget);
      }
      QVERIFY(!creation->BatchRunning());
      creation->Button1Click();
      QVERIFY(!creation->BatchRunning());
      QCOMPARE(console.form->Sim().Kernel.Processes.size(), std::size_t{3});
      const QStringList lines = console.FileLines();
      QVERIFY2(lines.last().contains("Kelpa desativado as "), qPrintable(lines.last()));
    }
    console.form.reset();
    QCOMPARE(console.finished, 1);
  }

 private:
  QTemporaryDir folder_;
};

QTEST_MAIN(ConsoleWindowTest)
#include "console_window_test.moc"
