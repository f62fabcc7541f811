// The log window: coloured lines in logged order from any thread, a view that starts over at its
// capacity while the file keeps every line, and closing that only hides.
#include <QCoreApplication>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QtTest>
#include <string>
#include <thread>
#include <vector>

#include "console/recording_reporter.h"
#include "console/temp_working_directory.h"
#include "console/ui/log_window.h"

namespace kelpa {
namespace {

using test::ReadBytes;
using test::RecordingReporter;
using test::TempWorkingDirectory;

struct ViewLine {
  QString Text;
  QColor Colour;
};

std::vector<ViewLine> ViewLines(const TfrmLog& log) {
  const auto* memLog = log.findChild<QTextEdit*>(QStringLiteral("memLog"));
  std::vector<ViewLine> lines;
  for (QTextBlock block = memLog->document()->begin(); block.isValid(); block = block.next()) {
    const QColor colour = block.begin().atEnd()
                              ? QColor()
                              : block.begin().fragment().charFormat().foreground().color();
    lines.push_back({block.text(), colour});
  }
  return lines;
}

QStringList FileLines(const TfrmLog& log) {
  const QString text = QString::fromStdString(ReadBytes(log.FileName()));
  QStringList lines = text.split(QStringLiteral("\r\n"));
  if (!lines.isEmpty() && lines.back().isEmpty()) {
    lines.removeLast();
  }
  return lines;
}

}  // namespace

class LogWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void WindowHasItsGivenShape() {
    TempWorkingDirectory dir;
    ManualClock clock;
    RecordingReporter reporter;
    TfrmLog log(clock, reporter);
    QCOMPARE(log.objectName(), QStringLiteral("frmLog"));
    QCOMPARE(log.windowTitle(), QStringLiteral("Log"));
    QCOMPARE(log.size(), QSize(425, 250));
    QCOMPARE(log.pos(), QPoint(43, 471));
    QVERIFY(log.isWindow());
    QVERIFY(!log.isVisible());  // hidden until the console shows it
    auto* memLog = log.findChild<QTextEdit*>(QStringLiteral("memLog"));
    QVERIFY(memLog != nullptr);
    QVERIFY(memLog->isReadOnly());
    QCOMPARE(memLog->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(memLog->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(memLog->palette().color(QPalette::Base), QColor(Qt::white));
    log.show();
    log.resize(600, 300);
    QCoreApplication::processEvents();
    QCOMPARE(memLog->geometry(), log.rect());
    QVERIFY(reporter.Messages().empty());
  }

  void EachLineShowsInItsColourWithItsStamp() {
    TempWorkingDirectory dir;
    ManualClock clock;
    RecordingReporter reporter;
    TfrmLog log(clock, reporter);
    clock.Set({2026, 12, 7, 9, 5, 3, 7});
    log.AddLine("Inicializando Kelpa ...", kBlack);
    log.AddLine("Processo 5 criado", MakeColor(255, 0, 0));
    log.AddLine("Processo 6 criado", MakeColor(0, 128, 255));
    log.AddLine("<b>not markup</b>", MakeColor(0, 255, 0));
    const auto lines = ViewLines(log);
    QCOMPARE(lines.size(), std::size_t{4});
    QCOMPARE(lines[0].Text, QStringLiteral("09:05:03:007 : Inicializando Kelpa ..."));
    QCOMPARE(lines[0].Colour, QColor(0, 0, 0));
    QCOMPARE(lines[1].Colour, QColor(255, 0, 0));
    QCOMPARE(lines[2].Colour, QColor(0, 128, 255));
    QCOMPARE(lines[3].Text, QStringLiteral("09:05:03:007 : <b>not markup</b>"));
    QCOMPARE(lines[3].Colour, QColor(0, 255, 0));
    QCOMPARE(FileLines(log).size(), 4);
    QCOMPARE(FileLines(log)[1], lines[1].Text);
  }

  void LinesFromSeveralThreadsKeepTheFileOrder() {
    TempWorkingDirectory dir;
    ManualClock clock;
    RecordingReporter reporter;
    TfrmLog log(clock, reporter);
    log.AddLine("from the window", kBlack);
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t) {
      threads.emplace_back([&log, &clock, t] {
        for (int i = 0; i < 300; ++i) {
          clock.AdvanceMs(1);
          log.AddLine("thread " + std::to_string(t) + " line " + std::to_string(i),
                      MakeColor(t * 100, 0, 0));
        }
      });
    }
    for (auto& thread : threads) {
      thread.join();
    }
    // The worker threads never touch the view; their lines arrive through queued calls.
    QCOMPARE(log.LineCount(), 1);
    QCoreApplication::sendPostedEvents(&log, QEvent::MetaCall);

    const auto lines = ViewLines(log);
    const QStringList file = FileLines(log);
    QCOMPARE(lines.size(), std::size_t{901});
    QCOMPARE(file.size(), 901);
    std::vector<int> next(3, 0);
    for (int i = 0; i < file.size(); ++i) {
      QCOMPARE(lines[i].Text, file[i]);
      if (i == 0) {
        continue;
      }
      const QStringList words = file[i].split(' ');
      const int t = words[3].toInt();
      QCOMPARE(words[5].toInt(), next[t]++);
      QCOMPARE(lines[i].Colour, QColor(t * 100, 0, 0));
    }
  }

  // A shown view takes the window's own lines with the other threads' ones, at the next turn of
  // the event loop, in file order; the file has them at once.
  void AShownViewGathersItsOwnLinesInFileOrder() {
    TempWorkingDirectory dir;
    ManualClock clock;
    RecordingReporter reporter;
    TfrmLog log(clock, reporter);
    log.show();
    log.AddLine("first", kBlack);
    std::thread worker([&log] { log.AddLine("from a thread", MakeColor(0, 0, 255)); });
    worker.join();
    log.AddLine("last", MakeColor(255, 0, 0));
    QCOMPARE(FileLines(log).size(), 3);
    QCOMPARE(log.LineCount(), 0);
    QCoreApplication::sendPostedEvents(&log, QEvent::MetaCall);
    const auto lines = ViewLines(log);
    QCOMPARE(lines.size(), std::size_t{3});
    for (int i = 0; i < 3; ++i) {
      QCOMPARE(lines[static_cast<std::size_t>(i)].Text, FileLines(log)[i]);
    }
    QCOMPARE(lines[1].Colour, QColor(0, 0, 255));
    QCOMPARE(lines[2].Colour, QColor(255, 0, 0));
  }

  void ViewStartsOverAtCapacityWhileTheFileKeepsAll() {
    TempWorkingDirectory dir;
    ManualClock clock;
    RecordingReporter reporter;
    TfrmLog log(clock, reporter);
    for (int i = 0; i < TfrmLog::kViewCapacity; ++i) {
      log.AddLine("line " + std::to_string(i), kBlack);
    }
    QCOMPARE(log.LineCount(), TfrmLog::kViewCapacity);
    log.AddLine("the newest", MakeColor(255, 0, 0));
    auto lines = ViewLines(log);
    QCOMPARE(lines.size(), std::size_t{1});
    QCOMPARE(lines[0].Text, QStringLiteral("09:00:00:000 : the newest"));
    QCOMPARE(lines[0].Colour, QColor(255, 0, 0));

    // Lines queued from another thread across the boundary start the view over the same way.
    std::thread worker([&log] {
      for (int i = 0; i < TfrmLog::kViewCapacity + 1; ++i) {
        log.AddLine("worker " + std::to_string(i), kBlack);
      }
    });
    worker.join();
    QCoreApplication::sendPostedEvents(&log, QEvent::MetaCall);
    lines = ViewLines(log);
    QCOMPARE(lines.size(), std::size_t{2});
    QCOMPARE(lines[1].Text, QStringLiteral("09:00:00:000 : worker %1").arg(TfrmLog::kViewCapacity));

    const QStringList file = FileLines(log);
    QCOMPARE(file.size(), 2 * TfrmLog::kViewCapacity + 2);
    QCOMPARE(file.front(), QStringLiteral("09:00:00:000 : line 0"));
    QCOMPARE(file.back(), lines.back().Text);
  }

  // Opened mid-session the view shows the newest line and follows new ones while its reader is
  // at the bottom; scrolled up, it stays where the reader put it.
  void AShownViewFollowsTheNewestLineUnlessScrolledUp() {
    TempWorkingDirectory dir;
    ManualClock clock;
    RecordingReporter reporter;
    TfrmLog log(clock, reporter);
    auto* memLog = log.findChild<QTextEdit*>(QStringLiteral("memLog"));
    QScrollBar* bar = memLog->verticalScrollBar();
    const auto addLines = [&log](int count) {
      for (int i = 0; i < count; ++i) {
        log.AddLine("line " + std::to_string(i), kBlack);
      }
      QCoreApplication::sendPostedEvents(&log, QEvent::MetaCall);
    };
    // The view lays its text out in steps; asking for its size finishes the layout now.
    const auto settle = [memLog] {
      QCoreApplication::processEvents();
      memLog->document()->size();
    };
    addLines(150);  // while hidden, as when the window is first opened mid-session
    log.show();
    settle();
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), bar->maximum());

    addLines(50);
    settle();
    QCOMPARE(bar->value(), bar->maximum());

    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    const int readingAt = bar->value();
    QVERIFY(readingAt < bar->maximum());
    addLines(50);
    settle();
    QCOMPARE(bar->value(), readingAt);
    QVERIFY(bar->value() < bar->maximum());

    // Back at the bottom, it follows again, also when a narrower window wraps more lines.
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    addLines(20);
    settle();
    QCOMPARE(bar->value(), bar->maximum());
    log.resize(200, 150);
    settle();
    QCOMPARE(bar->value(), bar->maximum());
  }

  void ClosingHidesAndTellsTheConsole() {
    TempWorkingDirectory dir;
    ManualClock clock;
    RecordingReporter reporter;
    TfrmLog log(clock, reporter);
    int closed = 0;
    log.OnClosed = [&closed] { ++closed; };
    log.show();
    QVERIFY(log.close());
    QVERIFY(!log.isVisible());
    QCOMPARE(closed, 1);
    log.AddLine("while hidden", kBlack);
    QCOMPARE(log.LineCount(), 1);
    log.show();
    QVERIFY(log.isVisible());
  }

  void AFileThatCannotBeCreatedLeavesTheViewWorking() {
    TempWorkingDirectory dir;
    ManualClock clock;
    RecordingReporter reporter;
    std::filesystem::create_directory(dir.File("log12070900.txt"));
    TfrmLog log(clock, reporter);
    QCOMPARE(reporter.Messages().size(), std::size_t{1});
    log.AddLine("still shown", kBlack);
    log.AddLine("and again", kBlack);
    QCOMPARE(log.LineCount(), 2);
    QCOMPARE(reporter.Messages().size(), std::size_t{1});
  }
};

}  // namespace kelpa

QTEST_MAIN(kelpa::LogWindowTest)
#include "log_window_test.moc"
