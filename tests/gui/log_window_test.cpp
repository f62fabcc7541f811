// SPDX-License-Identifier: MIT
// The log window: coloured lines in logged order from any thread, a view that starts over at its
// capacity while the file keeps every line, and closing that only hides. The view only subscribes
// to the log: it shows what the log's writer thread has written and published.
#include <QCoreApplication>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextEdit>
#include <QtTest>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "gui/common/app_look.h"
#include "gui/common/qt_convert.h"
#include "gui/common/readable_text.h"
#include "gui/console/log_window.h"
#include "support/recording_reporter.h"
#include "support/temp_working_directory.h"

namespace kelpa {
namespace {

using test::ReadBytes;
using test::RecordingReporter;
using test::TempWorkingDirectory;

struct ViewLine {
  QString Text;
  QColor Colour;  // the line's own colour
  QColor Drawn;   // the colour its text is drawn in
};

std::vector<ViewLine> ViewLines(const TfrmLog& log) {
  const auto* memLog = log.findChild<QTextEdit*>(QStringLiteral("memLog"));
  std::vector<ViewLine> lines;
  for (QTextBlock block = memLog->document()->begin(); block.isValid(); block = block.next()) {
    QTextCharFormat format;
    if (!block.begin().atEnd()) {
      format = block.begin().fragment().charFormat();
    }
    lines.push_back({block.text(), format.colorProperty(TfrmLog::kLineColourProperty),
                     format.foreground().color()});
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

// A log and a window that views it, as the console builds them.
struct ViewedLog {
  ViewedLog(const IClock& clock, IErrorReporter& reporter)
      : writer(clock, &reporter), log(writer) {}
  void AddLine(const std::string& text, TColor colour) { writer.AddLine(text, colour); }
  // Every line logged so far is in the file and has been taken by the view.
  void Settle() {
    writer.Flush();
    QCoreApplication::sendPostedEvents(&log, QEvent::MetaCall);
  }
  TLogWriter writer;
  TfrmLog log;
};

}  // namespace

class LogWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void WindowHasItsGivenShape() {
    TempWorkingDirectory dir;
    ManualClock clock;
    RecordingReporter reporter;
    ViewedLog viewed(clock, reporter);
    TfrmLog& log = viewed.log;
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
    ViewedLog viewed(clock, reporter);
    TfrmLog& log = viewed.log;
    clock.Set({2026, 12, 7, 9, 5, 3, 7});
    viewed.AddLine("Inicializando Kelpa ...", kBlack);
    viewed.AddLine("Processo 5 criado", MakeColor(255, 0, 0));
    viewed.AddLine("Processo 6 criado", MakeColor(0, 128, 255));
    viewed.AddLine("<b>not markup</b>", MakeColor(0, 255, 0));
    viewed.Settle();
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

  // Every process colour and black, as drawn, reads at 4.5:1 or more on the view's background,
  // in either look: a colour that does already is drawn as it is, a lighter one in the lightest
  // darker shade of its hue that does, and the line keeps its own colour.
  void EveryColourAsDrawnReadsOnTheView_data() {
    QTest::addColumn<int>("lookNumber");
    QTest::newRow("light") << static_cast<int>(Look::Light);
    QTest::newRow("dark") << static_cast<int>(Look::Dark);
  }
  void EveryColourAsDrawnReadsOnTheView() {
    QFETCH(int, lookNumber);
    ApplyLook(static_cast<Look>(lookNumber));
    TempWorkingDirectory dir;
    ManualClock clock;
    RecordingReporter reporter;
    ViewedLog viewed(clock, reporter);
    std::vector<TColor> colours(kProcessPalette.begin(), kProcessPalette.end());
    colours.push_back(kBlack);
    for (const TColor colour : colours) {
      viewed.AddLine("Processo 1 criado", colour);
    }
    viewed.Settle();
    const auto lines = ViewLines(viewed.log);
    QCOMPARE(lines.size(), colours.size());
    const auto* memLog = viewed.log.findChild<QTextEdit*>(QStringLiteral("memLog"));
    const QColor background = memLog->viewport()->palette().color(QPalette::Base);
    int darkened = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const QColor own = ToQColor(colours[i]);
      const QString what = own.name() + " drawn " + lines[i].Drawn.name();
      QCOMPARE(lines[i].Colour, own);
      const double contrast = ContrastRatio(lines[i].Drawn, background);
      QVERIFY2(contrast >= kReadableContrast, qPrintable(what));
      if (ContrastRatio(own, background) >= kReadableContrast) {
        QCOMPARE(lines[i].Drawn, own);
        continue;
      }
      ++darkened;
      QVERIFY2(contrast < kReadableContrast + 0.1, qPrintable(what));  // no darker than needed
      QVERIFY2(std::abs(lines[i].Drawn.hsvHue() - own.hsvHue()) <= 2, qPrintable(what));
    }
    // Bright green, red, yellow, cyan, orange and pink are too light as they are.
    QCOMPARE(darkened, 6);
    ApplyLook(Look::Desktop);
  }

  void LinesFromSeveralThreadsKeepTheFileOrder() {
    TempWorkingDirectory dir;
    ManualClock clock;
    RecordingReporter reporter;
    ViewedLog viewed(clock, reporter);
    TfrmLog& log = viewed.log;
    viewed.AddLine("from the window", kBlack);
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t) {
      threads.emplace_back([&viewed, &clock, t] {
        for (int i = 0; i < 300; ++i) {
          clock.AdvanceMs(1);
          viewed.AddLine("thread " + std::to_string(t) + " line " + std::to_string(i),
                         MakeColor(t * 100, 0, 0));
        }
      });
    }
    for (auto& thread : threads) {
      thread.join();
    }
    // No thread that logs touches the view; the lines arrive through queued calls.
    viewed.writer.Flush();
    QCOMPARE(log.LineCount(), 0);
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
  // the event loop, in file order.
  void AShownViewGathersItsOwnLinesInFileOrder() {
    TempWorkingDirectory dir;
    ManualClock clock;
    RecordingReporter reporter;
    ViewedLog viewed(clock, reporter);
    TfrmLog& log = viewed.log;
    log.show();
    viewed.AddLine("first", kBlack);
    std::thread worker([&viewed] { viewed.AddLine("from a thread", MakeColor(0, 0, 255)); });
    worker.join();
    viewed.AddLine("last", MakeColor(255, 0, 0));
    viewed.writer.Flush();
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
    ViewedLog viewed(clock, reporter);
    TfrmLog& log = viewed.log;
    for (int i = 0; i < TfrmLog::kViewCapacity; ++i) {
      viewed.AddLine("line " + std::to_string(i), kBlack);
    }
    viewed.Settle();
    QCOMPARE(log.LineCount(), TfrmLog::kViewCapacity);
    viewed.AddLine("the newest", MakeColor(255, 0, 0));
    viewed.Settle();
    auto lines = ViewLines(log);
    QCOMPARE(lines.size(), std::size_t{1});
    QCOMPARE(lines[0].Text, QStringLiteral("09:00:00:000 : the newest"));
    QCOMPARE(lines[0].Colour, QColor(255, 0, 0));

    // Lines queued from another thread across the boundary start the view over the same way.
    std::thread worker([&viewed] {
      for (int i = 0; i < TfrmLog::kViewCapacity + 1; ++i) {
        viewed.AddLine("worker " + std::to_string(i), kBlack);
      }
    });
    worker.join();
    viewed.Settle();
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
    ViewedLog viewed(clock, reporter);
    TfrmLog& log = viewed.log;
    auto* memLog = log.findChild<QTextEdit*>(QStringLiteral("memLog"));
    QScrollBar* bar = memLog->verticalScrollBar();
    const auto addLines = [&viewed](int count) {
      for (int i = 0; i < count; ++i) {
        viewed.AddLine("line " + std::to_string(i), kBlack);
      }
      viewed.Settle();
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
    ViewedLog viewed(clock, reporter);
    TfrmLog& log = viewed.log;
    int closed = 0;
    QObject::connect(&log, &TfrmLog::closed, [&closed] { ++closed; });
    log.show();
    QVERIFY(log.close());
    QVERIFY(!log.isVisible());
    QCOMPARE(closed, 1);
    viewed.AddLine("while hidden", kBlack);
    viewed.Settle();
    QCOMPARE(log.LineCount(), 1);
    log.show();
    QVERIFY(log.isVisible());
  }

  void AFileThatCannotBeCreatedLeavesTheViewWorking() {
    TempWorkingDirectory dir;
    ManualClock clock;
    RecordingReporter reporter;
    std::filesystem::create_directory(dir.File("log12070900.txt"));
    ViewedLog viewed(clock, reporter);
    TfrmLog& log = viewed.log;
    QCOMPARE(reporter.Messages().size(), std::size_t{1});
    viewed.AddLine("still shown", kBlack);
    viewed.AddLine("and again", kBlack);
    viewed.Settle();
    QCOMPARE(log.LineCount(), 2);
    QCOMPARE(reporter.Messages().size(), std::size_t{1});
  }
};

}  // namespace kelpa

QTEST_MAIN(kelpa::LogWindowTest)
#include "log_window_test.moc"
