// SPDX-License-Identifier: MIT
// The whole program, in-process, started and closed again and again at random moments: during the
// splash, during a creation batch, while stopped, with every window open, or simply running; by
// "Fim" or by the console's close box. Every close must return (a watchdog aborts the run after a
// generous bound), every simulation thread must be joined, and the log file must be complete:
// whole lines ending in CRLF, the shutdown line last after "Fim". The sanitizers of the build
// catch any use of freed memory on the way.
//
// The run is seeded; the seed is printed, and KELPA_SHUTDOWN_SEED repeats a run.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>

#include "console_handle.h"
#include "gui/console/console_window.h"
#include "gui/console/log_window.h"
#include "gui/process/creation_window.h"
#include "platform/error_reporter.h"
#include "simulation/simulation.h"

using namespace kelpa;

namespace {

constexpr int kRuns = 50;
constexpr std::chrono::seconds kCloseBound{20};
constexpr std::chrono::seconds kStartBound{60};

// Aborts the whole test program, with a message, when an armed bound passes.
class Watchdog {
 public:
  Watchdog() : thread_([this] { Run(); }) {}
  ~Watchdog() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

  void Arm(std::string what, std::chrono::seconds bound) {
    {
      std::lock_guard lock(mutex_);
      what_ = std::move(what);
      bound_ = bound;
      deadline_ = std::chrono::steady_clock::now() + bound;
      armed_ = true;
    }
    wake_.notify_all();
  }

  void Disarm() {
    std::lock_guard lock(mutex_);
    armed_ = false;
  }

 private:
  void Run() {
    std::unique_lock lock(mutex_);
    while (!stop_) {
      if (!armed_) {
        wake_.wait(lock);
      } else if (wake_.wait_until(lock, deadline_) == std::cv_status::timeout && armed_ &&
                 std::chrono::steady_clock::now() >= deadline_) {
        std::fprintf(stderr, "HANG: %s did not return within %lld s\n", what_.c_str(),
                     static_cast<long long>(bound_.count()));
        std::fflush(stderr);
        std::abort();
      }
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  std::string what_;
  std::chrono::seconds bound_{0};
  std::chrono::steady_clock::time_point deadline_;
  bool armed_ = false;
  bool stop_ = false;
  std::thread thread_;
};

class SilentReporter final : public IErrorReporter {
 public:
  void ShowError(const std::string&) override {}
};

enum class Moment { Splash, Running, Stopped, Batch, EveryWindow };

const char* MomentName(Moment moment) {
  switch (moment) {
    case Moment::Splash:
      return "during the splash";
    case Moment::Running:
      return "running";
    case Moment::Stopped:
      return "stopped";
    case Moment::Batch:
      return "during a creation batch";
    case Moment::EveryWindow:
      return "with every window open";
  }
  return "?";
}

QString ThreadName(const QString& task) {
  QFile comm("/proc/self/task/" + task + "/comm");
  return comm.open(QIODevice::ReadOnly) ? QString::fromUtf8(comm.readAll()).trimmed() : QString();
}

// Threads of ours: they keep the program's name, while Qt names its own threads (its pool's
// workers come and go as they please).
int OwnThreadCount() {
  const QString program = ThreadName(QString::number(QCoreApplication::applicationPid()));
  int count = 0;
  for (const QString& task : QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    count += ThreadName(task) == program ? 1 : 0;
  }
  return count;
}

template <typename T>
T* FindWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* window = qobject_cast<T*>(widget)) {
      return window;
    }
  }
  return nullptr;
}

// One start and close of the program, as its entry point runs it.
class ProgramRun {
 public:
  ProgramRun(int number, std::mt19937& random, Watchdog& watchdog)
      : number_(number), random_(random), watchdog_(watchdog) {
    moment_ = static_cast<Moment>(Pick(0, 4));
    byFim_ = Pick(0, 1) == 1;
    splashMs_ = Pick(10, 150);
    closeAfterMs_ = Pick(0, 300);
    period_ = Pick(0, 20);
    processes_ = Pick(0, 8);
  }

  std::string Name() const {
    return "run " + std::to_string(number_) + " (" + MomentName(moment_) + ", closed by " +
           (byFim_ ? "Fim" : "the close box") + " after " + std::to_string(closeAfterMs_) + " ms)";
  }

  // Starts, closes and destroys the program; returns the log file's bytes. The close is timed
  // from the moment it is asked for until the program is gone.
  QByteArray StartAndClose() {
    TConsoleHooks hooks;
    hooks.SplashMs = splashMs_;
    hooks.Reporter = &reporter_;
    hooks.ShowMessage = [](const QString&) {};
    hooks.Beep = [] {};
    hooks.OnFinished = [] { QCoreApplication::quit(); };
    watchdog_.Arm(Name() + ": start-up", kStartBound);
    form_ = ConsoleHandle(std::move(hooks));
    if (moment_ == Moment::Splash) {
      QTimer::singleShot(Pick(0, splashMs_), form_.get(), [this] { Close(); });
    }
    form_->FormCreate();
    form_->CreateProcessWindows();
    PrepareOnceReady();
    QApplication::exec();
    const QString logFile =
        QDir::current().absoluteFilePath(QString::fromStdString(form_->LogWindow()->FileName()));
    form_.reset();
    watchdog_.Disarm();
    closeMs_ = closeClock_.isValid() ? closeClock_.elapsed() : 0;
    QFile file(logFile);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  bool ClosedDuringSplash() const { return closedDuringSplash_; }
  bool ByFim() const { return byFim_; }
  Moment When() const { return moment_; }
  qint64 CloseMs() const { return closeMs_; }

 private:
  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  // Start-up finishes in the message loop when the splash ends; a run closed before that never
  // gets its processes.
  void PrepareOnceReady() {
    QTimer::singleShot(form_->IsReady() ? 0 : 5, form_.get(), [this] {
      if (form_->IsShutDown()) {
        return;
      }
      if (form_->IsReady()) {
        Prepare();
      } else {
        PrepareOnceReady();
      }
    });
  }

  void Prepare() {
    Simulation& sim = form_->Sim();
    sim.HClock.Period = period_;
    sim.HClock.PeriodChanged();
    sim.Espera.SleepMs = period_;
    AddProcesses(sim);
    if (moment_ == Moment::Stopped) {
      form_->SpeedButton1Click();
    }
    if (moment_ == Moment::EveryWindow) {
      OpenEveryWindow();
    }
    QTimer::singleShot(closeAfterMs_, form_.get(), [this] { Close(); });
    if (moment_ == Moment::Batch) {
      QTimer::singleShot(0, form_.get(), [] {
        TForm2* creation = FindWindow<TForm2>();
        creation->findChild<QSpinBox*>("SpinEdit3")->setValue(50);
        creation->Button1Click();
      });
      // Modal, as from the menu: the close comes while this call is still inside.
      form_->Criar1Click();
    }
  }

  void AddProcesses(Simulation& sim) {
    std::lock_guard lock(sim.Lock);
    for (int i = 0; i < processes_; ++i) {
      sim.Kernel.AddProcess(TProcesso::Create(sim, Pick(0, 5), Pick(0, 15), Pick(1, 5),
                                              static_cast<TColor>(Pick(0, 0xFFFFFF))));
    }
  }

  void OpenEveryWindow() {
    for (const char* item : {"Log1", "Estatsticas1", "Crditos1", "Help1", "Selecionar1"}) {
      QAction* action = form_->findChild<QAction*>(item);
      if (action->isCheckable() && action->isChecked()) {
        continue;
      }
      action->trigger();
    }
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (!qobject_cast<QMenu*>(widget) && widget->windowType() != Qt::ToolTip &&
          widget->windowType() != Qt::Popup) {
        widget->show();
      }
    }
  }

  void Close() {
    if (form_->IsShutDown()) {
      return;
    }
    closedDuringSplash_ = !form_->IsReady();
    watchdog_.Arm(Name() + ": close", kCloseBound);
    closeClock_.start();
    if (byFim_) {
      form_->findChild<QAction*>("Fim1")->trigger();
    } else {
      form_->close();
    }
  }

  const int number_;
  std::mt19937& random_;
  Watchdog& watchdog_;
  Moment moment_ = Moment::Running;
  bool byFim_ = false;
  int splashMs_ = 0;
  int closeAfterMs_ = 0;
  int period_ = 0;
  int processes_ = 0;
  bool closedDuringSplash_ = false;
  QElapsedTimer closeClock_;
  qint64 closeMs_ = 0;
  SilentReporter reporter_;
  ConsoleHandle form_;
};

// One stamp, then text without line breaks and without a second stamped line run into it.
const QRegularExpression kWholeLine(
    "^\\d\\d:\\d\\d:\\d\\d:\\d\\d\\d : (?!.*\\d\\d:\\d\\d:\\d\\d:\\d\\d\\d : )[^\r\n]*$");

}  // namespace

class ShutdownTest : public QObject {
  Q_OBJECT

 private slots:
  void closingAtAnyMomentReturnsAndLeavesACompleteLog() {
    const char* given = std::getenv("KELPA_SHUTDOWN_SEED");
    const unsigned seed =
        given ? static_cast<unsigned>(std::strtoul(given, nullptr, 10)) : std::random_device{}();
    qInfo("seed %u (KELPA_SHUTDOWN_SEED=%u repeats this run)", seed, seed);
    std::mt19937 random(seed);
    Watchdog watchdog;
    const int threadsBefore = OwnThreadCount();
    QElapsedTimer total;
    total.start();
    qint64 longestClose = 0;
    int closedDuringSplash = 0;
    int closedByFim = 0;

    for (int number = 1; number <= kRuns; ++number) {
      QTemporaryDir folder;
      QVERIFY(folder.isValid());
      QVERIFY(QDir::setCurrent(folder.path()));
      ProgramRun run(number, random, watchdog);
      const QByteArray log = run.StartAndClose();
      QDir::setCurrent(QDir::tempPath());
      const std::string name = run.Name();
      longestClose = std::max(longestClose, run.CloseMs());
      closedDuringSplash += run.ClosedDuringSplash() ? 1 : 0;
      closedByFim += run.ByFim() ? 1 : 0;

      QVERIFY2(QTest::qWaitFor([&] { return OwnThreadCount() <= threadsBefore; }, 10000),
               (name + ": threads left running").c_str());
      QVERIFY2(log.endsWith("\r\n"), (name + ": the log does not end with a whole line").c_str());
      QStringList lines = QString::fromUtf8(log).split("\r\n");
      lines.removeLast();
      for (const QString& line : lines) {
        QVERIFY2(kWholeLine.match(line).hasMatch(), (name + ": " + line.toStdString()).c_str());
      }
      QVERIFY2(lines.first().endsWith("Inicializando Kelpa ..."), name.c_str());
      const int ready = static_cast<int>(lines.filter(" : Kelpa pronto as ").size());
      QVERIFY2(ready == (run.ClosedDuringSplash() ? 0 : 1), name.c_str());
      const int shutdown = static_cast<int>(lines.filter(" : Kelpa desativado as ").size());
      QVERIFY2(shutdown == (run.ByFim() ? 1 : 0), name.c_str());
      if (run.ByFim()) {
        QVERIFY2(lines.last().contains(" : Kelpa desativado as "),
                 (name + ": last line " + lines.last().toStdString()).c_str());
      }
    }
    qInfo(
        "%d runs, seed %u, %d closed during the splash, %d by Fim, longest close %lld ms, "
        "%lld ms in all",
        kRuns, seed, closedDuringSplash, closedByFim, static_cast<long long>(longestClose),
        static_cast<long long>(total.elapsed()));
  }
};

QTEST_MAIN(ShutdownTest)
#include "shutdown_test.moc"
