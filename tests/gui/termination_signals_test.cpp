// SPDX-License-Identifier: MIT
// SIGTERM, SIGINT and SIGHUP routed to the user-interface thread: each reaches the callback there,
// an ignored one stays ignored, the previous handlers come back, and the whole console ends the
// way "Fim" does, its log closing with the shutdown line.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QtTest>
#include <csignal>
#include <memory>
#include <vector>

#include "console_handle.h"
#include "gui/console/console_window.h"
#include "gui/console/log_window.h"
#include "gui/console/termination_signals.h"
#include "platform/error_reporter.h"

using kelpa::TerminationSignals;

namespace {

class SilentReporter final : public kelpa::IErrorReporter {
 public:
  void ShowError(const std::string&) override {}
};

void RecordingHandler(int) {}

using Handler = void (*)(int);

Handler CurrentHandler(int signal) {
  struct sigaction action {};
  sigaction(signal, nullptr, &action);
  return action.sa_handler;
}

// A console in a temporary current folder, its signals routed, started up with the given splash.
struct StartedConsole {
  explicit StartedConsole(int splashMs) {
    previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    kelpa::TConsoleHooks hooks;
    hooks.SplashMs = splashMs;
    hooks.Reporter = &reporter;
    hooks.OnFinished = [this] { ++finished; };
    console = kelpa::ConsoleHandle(std::move(hooks));
    kelpa::EndOnTerminationSignals(*console);
    console->FormCreate();
  }
  ~StartedConsole() { QDir::setCurrent(previous); }

  QStringList CloseAndReadLog() {
    QFile file(QString::fromStdString(console->LogWindow()->FileName()));
    console.reset();
    if (!file.open(QIODevice::ReadOnly)) {
      return {};
    }
    return QString::fromUtf8(file.readAll()).split("\r\n", Qt::SkipEmptyParts);
  }

  QTemporaryDir folder;
  QString previous;
  SilentReporter reporter;
  int finished = 0;
  kelpa::ConsoleHandle console;
};

}  // namespace

class TerminationSignalsTest : public QObject {
  Q_OBJECT

 private slots:
  void everySignalReachesTheUserInterfaceThread_data() {
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
    QTest::newRow("SIGHUP") << int(SIGHUP);
  }
  void everySignalReachesTheUserInterfaceThread() {
    QFETCH(int, signal);
    std::signal(signal, SIG_DFL);
    std::vector<QThread*> threads;
    TerminationSignals router([&] { threads.push_back(QThread::currentThread()); });
    QVERIFY(router.Handles(signal));
    std::raise(signal);
    QTRY_COMPARE(threads.size(), std::size_t{1});
    QCOMPARE(threads.front(), QThread::currentThread());
  }

  void ignoredSignalsStayIgnoredAndPreviousHandlersComeBack() {
    std::signal(SIGHUP, SIG_IGN);
    std::signal(SIGTERM, RecordingHandler);
    {
      TerminationSignals router([] {});
      QVERIFY(!router.Handles(SIGHUP));
      QVERIFY(router.Handles(SIGTERM));
      QVERIFY(CurrentHandler(SIGHUP) == Handler(SIG_IGN));
      QVERIFY(CurrentHandler(SIGTERM) != Handler(RecordingHandler));
    }
    QVERIFY(CurrentHandler(SIGTERM) == Handler(RecordingHandler));
    QVERIFY(CurrentHandler(SIGHUP) == Handler(SIG_IGN));
    std::signal(SIGHUP, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
  }

  void consoleEndsLikeFimWithTheShutdownLineLast() {
    std::signal(SIGTERM, SIG_DFL);
    StartedConsole started(0);
    started.console->CreateProcessWindows();
    std::raise(SIGTERM);
    QTRY_COMPARE(started.finished, 1);
    QVERIFY(started.console->IsShutDown());
    std::raise(SIGTERM);  // a late one while the program ends changes nothing
    QCoreApplication::processEvents();
    const QStringList lines = started.CloseAndReadLog();
    QVERIFY(!lines.isEmpty());
    QVERIFY2(lines.last().contains("Kelpa desativado as "), qPrintable(lines.last()));
    QCOMPARE(lines.filter("Kelpa desativado as ").size(), 1);
  }

  // During the splash the signal ends it, and start-up returns without its ready line.
  void signalDuringTheSplashEndsStartUp() {
    std::signal(SIGTERM, SIG_DFL);
    QTimer::singleShot(0, [] { std::raise(SIGTERM); });
    StartedConsole started(600000);
    QTRY_VERIFY(started.console->IsShutDown());
    const QStringList lines = started.CloseAndReadLog();
    QVERIFY(!lines.isEmpty());
    QVERIFY2(lines.last().contains("Kelpa desativado as "), qPrintable(lines.last()));
    QCOMPARE(lines.filter("Kelpa pronto as ").size(), 0);
  }
};

QTEST_MAIN(TerminationSignalsTest)
#include "termination_signals_test.moc"
