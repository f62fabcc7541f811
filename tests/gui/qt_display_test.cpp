// SPDX-License-Identifier: MIT
// The Qt display: updates requested from another thread run on the user-interface thread in
// order, and waiting for them never hangs.
#include <QPointer>
#include <QProgressBar>
#include <QTest>
#include <atomic>
#include <future>
#include <memory>
#include <thread>

#include "gui/processor/process_shape.h"
#include "gui/processor/processor_window.h"
#include "gui/processor/qt_display.h"
#include "simulation/simulation.h"
#include "support/recording_log.h"

namespace kelpa {
namespace {

// Runs the user-interface thread's events until the worker has finished.
void RunUntilDone(std::thread& worker, const std::atomic<bool>& done) {
  while (!done.load()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::yield();
  }
  worker.join();
}

struct DisplayOnWindow {
  DisplayOnWindow() : sim(clock, log, display, messages) {
    gp = std::make_unique<TfrmGP>(sim);
    display.SetProcessorWindow(gp.get());
  }
  ManualClock clock;
  test::RecordingLog log;
  QtDisplay display;
  TMessages messages;
  Simulation sim;
  std::unique_ptr<TfrmGP> gp;
};

}  // namespace

class QtDisplayTest : public QObject {
  Q_OBJECT

 private slots:
  void updatesFromAThreadRunInOrder() {
    DisplayOnWindow d;
    std::atomic<bool> done{false};
    std::thread worker([&] {
      d.display.CreateShape(1, 4711, 0x0000FF);
      d.display.AttachShape(1);
      d.display.CreateShape(2, 4712, 0x00FF00);
      d.display.AttachShape(2);
      d.display.ShowOnCpu({1, 0x00FF00, DiscLocation::Processor});
      d.display.RefreshWaitArea({{2, 0x0000FF, DiscLocation::IoDevice}});
      d.display.RefreshWaitArea(
          {{2, 0xFF0000, DiscLocation::Suspended}, {1, 0x000000, DiscLocation::WaitList}});
      d.display.AdvanceWaitCounter(3);
      d.display.AdvanceWaitCounter(4);
      d.display.ReleaseShape(1);
      d.display.WaitUntilShown();
      done = true;
    });
    RunUntilDone(worker, done);

    QVERIFY(d.gp->Disc(1) == nullptr);
    TShpProcesso* second = d.gp->Disc(2);
    QVERIFY(second != nullptr);
    QCOMPARE(second->parentWidget(), d.gp->ClientArea());
    QVERIFY(second->isVisibleTo(d.gp.get()));
    QCOMPARE(second->pos(), QPoint(43, 240));
    QCOMPARE(second->FillColor(), TColor{0xFF0000});
    QCOMPARE(second->toolTip(), QStringLiteral("4712"));
    QCOMPARE(d.gp->WaitProgress()->value(), 4);
  }

  void processorPositionIsTheWindows() {
    DisplayOnWindow d;
    d.display.CreateShape(7, 1, 0x00FF00);
    d.display.AttachShape(7);
    d.display.ShowOnCpu({7, 0x123456, DiscLocation::Processor});
    QCoreApplication::processEvents();
    QCOMPARE(d.gp->Disc(7)->pos(), QPoint(185, 35));
    QCOMPARE(d.gp->Disc(7)->FillColor(), TColor{0x123456});
  }

  // Created but never ready, a disc has no parent: it is no window of its own.
  void discNotYetReadyStaysHidden() {
    DisplayOnWindow d;
    d.display.CreateShape(5, 9, 0x00FF00);
    d.display.RefreshWaitArea({{5, 0x00FF00, DiscLocation::IoDevice}});
    QCoreApplication::processEvents();
    TShpProcesso* disc = d.gp->Disc(5);
    QVERIFY(disc != nullptr);
    QVERIFY(disc->parentWidget() == nullptr);
    QVERIFY(!disc->isVisible());
  }

  // A display no window follows reaches no window.
  void requestsWithoutAWindowShowNothing() {
    DisplayOnWindow d;
    QtDisplay alone;
    alone.CreateShape(5, 9, 0x00FF00);
    alone.AttachShape(5);
    alone.AdvanceWaitCounter(7);
    QCoreApplication::processEvents();
    QVERIFY(d.gp->Disc(5) == nullptr);
    QCOMPARE(d.gp->WaitProgress()->value(), 0);
    QVERIFY(d.gp->ClientArea()->findChildren<TShpProcesso*>().isEmpty());
  }

  void unknownShapesAreIgnored() {
    DisplayOnWindow d;
    d.display.AttachShape(99);
    d.display.ShowOnCpu({99, 0, DiscLocation::Processor});
    d.display.RefreshWaitArea({{99, 0, DiscLocation::WaitList, 0, 1}});
    d.display.ReleaseShape(99);
    d.display.CreateShape(0, 1, 0);
    QCoreApplication::processEvents();
    QVERIFY(d.gp->Disc(99) == nullptr);
    QVERIFY(d.gp->Disc(0) == nullptr);
    // A second creation under the same id keeps the first disc.
    d.display.CreateShape(3, 1, 0x0000FF);
    d.display.CreateShape(3, 2, 0x00FF00);
    QCoreApplication::processEvents();
    QCOMPARE(d.gp->Disc(3)->toolTip(), QStringLiteral("1"));
  }

  void pageFileRedrawReachesTheHook() {
    QtDisplay display;
    int redraws = 0;
    display.RedrawPageFile();
    display.OnRedrawPageFile = [&] { ++redraws; };
    display.RedrawPageFile();
    QCoreApplication::processEvents();
    QCOMPARE(redraws, 2);
  }

  void waitingNeverHangs() {
    QtDisplay display;
    // On the user-interface thread itself, at once: its own updates run later.
    display.AdvanceWaitCounter(1);
    display.WaitUntilShown();

    // A thread waiting while the user-interface thread is busy is released by Stop.
    std::atomic<bool> returned{false};
    std::thread waiting([&] {
      display.WaitUntilShown();
      returned = true;
    });
    display.Stop();
    waiting.join();
    QVERIFY(returned.load());

    // After Stop, waits return without the event loop.
    std::thread late([&] { display.WaitUntilShown(); });
    late.join();
  }

  // A thread with nothing outstanding (an empty wait area is nothing to place, and updates
  // already carried out are done) does not wait for the event loop.
  void waitingReturnsAtOnceWhenEverythingIsShown() {
    QtDisplay display;
    // Without the event loop; a wait that hangs is released by Stop so the test ends.
    const auto returnsAlone = [&display] {
      auto wait = std::async(std::launch::async, [&display] { display.WaitUntilShown(); });
      const bool alone = wait.wait_for(std::chrono::seconds(30)) == std::future_status::ready;
      if (!alone) {
        display.Stop();
      }
      return alone;
    };
    display.RefreshWaitArea({});
    QVERIFY2(returnsAlone(), "a wait with nothing to show needed the event loop");
    display.AdvanceWaitCounter(3);
    display.RefreshWaitArea({{1, 0, DiscLocation::IoDevice}});
    QCoreApplication::processEvents();
    QVERIFY2(returnsAlone(), "a wait after every update ran needed the event loop");
    display.Stop();
  }

  void windowDeletedBeforeTheDisplay() {
    auto d = std::make_unique<DisplayOnWindow>();
    d->display.CreateShape(1, 1, 0x0000FF);
    d->display.AttachShape(1);
    d->display.CreateShape(2, 2, 0x0000FF);
    QCoreApplication::processEvents();
    QPointer<TShpProcesso> attached = d->gp->Disc(1);
    QPointer<TShpProcesso> loose = d->gp->Disc(2);
    // The window owns its discs, on its client area or not yet.
    d->gp.reset();
    QVERIFY(attached.isNull());
    QVERIFY(loose.isNull());
    // Later updates find no window.
    d->display.AdvanceWaitCounter(2);
    d->display.RefreshWaitArea({{1, 0, DiscLocation::IoDevice}});
    QCoreApplication::processEvents();
    d.reset();
  }

  void discAcceptsOnlyAProcess() {
    TShpProcesso disc;
    TProcesso process;
    disc.SetProcesso(&process);
    QCOMPARE(disc.Processo, &process);
    const TProcesso* constant = &process;
    disc.SetProcesso(constant);
    QCOMPARE(disc.Processo, &process);
    TShpProcesso other;
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, disc.SetProcesso(&other));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, disc.SetProcesso(std::any()));
    try {
      disc.SetProcesso(42);
      QFAIL("an integer was taken for a process");
    } catch (const std::invalid_argument& error) {
      QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("Não é um Processo"));
    }
    QCOMPARE(disc.Processo, &process);
  }
};

}  // namespace kelpa

QTEST_MAIN(kelpa::QtDisplayTest)
#include "qt_display_test.moc"
