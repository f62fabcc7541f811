// SPDX-License-Identifier: MIT
// The process list against a real simulation: rows following the process table, the colour cell,
// the buttons, the priority box's answers, and closing itself when no process is left.
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>
#include <deque>
#include <mutex>

#include "gui/common/app_look.h"
#include "gui/common/qt_convert.h"
#include "gui/common/readable_text.h"
#include "gui/process/pcb_window.h"
#include "gui/process/process_cell_delegate.h"
#include "gui/process/process_list_window.h"
#include "support/test_simulation.h"

using kelpa::TfrmAlteraProcessos;
using kelpa::TProcesso;
using kelpa::test::TestSimulation;

namespace {

constexpr kelpa::TColor kBlue = kelpa::MakeColor(0, 0, 255);
constexpr kelpa::TColor kYellow = kelpa::MakeColor(255, 255, 0);

// Runs the processor until only `count` processes are left.
void RunUntilCount(TestSimulation& t, std::size_t count) {
  for (int i = 0; i < 500; ++i) {
    {
      std::lock_guard lock(t.sim.Lock);
      if (t.sim.Kernel.Processes.size() <= count) {
        return;
      }
    }
    t.Cycle();
  }
  QFAIL("processes did not end");
}
void EndAll(TestSimulation& t) {
  {
    std::lock_guard lock(t.sim.Lock);
    for (const auto& p : t.sim.Kernel.Processes) {
      p->RequestKill();
    }
  }
  RunUntilCount(t, 0);
}

// An open list with its boxes replaced: the priority box answers from `answers` (cancel when
// empty) and messages are recorded.
struct Opened {
  explicit Opened(TestSimulation& t) : pcb(t.sim), window(new TfrmAlteraProcessos(t.sim, pcb)) {
    QObject::connect(window, &TfrmAlteraProcessos::released, [this] { ++released; });
    window->ShowMessage = [this](const QString& text) { messages << text; };
    window->AskText = [this](const QString& title, const QString& prompt,
                             const QString& initial) -> std::optional<QString> {
      asked.push_back({title, prompt, initial});
      if (answers.empty()) {
        return std::nullopt;
      }
      const QString answer = answers.front();
      answers.pop_front();
      return answer;
    };
  }
  ~Opened() { delete window.data(); }

  QTableWidget* Grid() { return window->findChild<QTableWidget*>(QStringLiteral("stg1")); }
  QString Cell(int row, int column) { return Grid()->item(row, column)->text(); }
  void Press(int row, const char* button) {
    Grid()->setCurrentCell(row, 1);
    window->findChild<QPushButton*>(QString::fromLatin1(button))->click();
  }

  kelpa::TPCB pcb;
  QPointer<TfrmAlteraProcessos> window;
  int released = 0;
  QStringList messages;
  std::deque<QString> answers;
  std::vector<QStringList> asked;
};

}  // namespace

class ProcessListTest : public QObject {
  Q_OBJECT

 private slots:
  // The rows read in either look: the text on its row, chosen or not, at 4.5:1 or more.
  void rowsReadInEitherLook_data() {
    QTest::addColumn<int>("lookNumber");
    QTest::newRow("light") << static_cast<int>(kelpa::Look::Light);
    QTest::newRow("dark") << static_cast<int>(kelpa::Look::Dark);
  }
  void rowsReadInEitherLook() {
    QFETCH(int, lookNumber);
    const kelpa::Look look = static_cast<kelpa::Look>(lookNumber);
    kelpa::ApplyLook(look);
    QStyleOptionViewItem row;
    row.palette = QApplication::palette();
    for (const bool chosen : {false, true}) {
      row.state = chosen ? QStyle::State_Selected : QStyle::State_None;
      const auto colours = kelpa::ProcessCellDelegate::Colours(row);
      const double contrast = kelpa::ContrastRatio(colours.Text, colours.Background);
      QVERIFY2(contrast >= kelpa::kReadableContrast, chosen ? "chosen" : "plain");
    }
    // A light look keeps the list's black on white.
    if (look == kelpa::Look::Light) {
      row.state = QStyle::State_None;
      QCOMPARE(kelpa::ProcessCellDelegate::Colours(row).Background, QColor(Qt::white));
    }
    kelpa::ApplyLook(kelpa::Look::Desktop);
  }

  void rowsFollowTheProcessTable() {
    TestSimulation t;
    TProcesso* first = t.Create(kelpa::pkCPU, 4, 3, kBlue);
    t.Create(kelpa::pkIO1);
    Opened o(t);
    QVERIFY(o.window->isVisible());
    QCOMPARE(o.Grid()->rowCount(), 2);
    QCOMPARE(o.Grid()->horizontalHeaderItem(4)->text(), QStringLiteral("UCP"));
    QCOMPARE(o.Cell(0, 1), QString::number(first->PID));
    QCOMPARE(o.Cell(0, 2), QStringLiteral("4/4"));
    QCOMPARE(o.Cell(0, 3), QStringLiteral("Pronto"));
    QCOMPARE(o.Cell(0, 5), QStringLiteral("3"));

    t.Create(kelpa::pkCPU, 1);
    t.Cycle();  // dispatches the priority-4 process
    {
      std::lock_guard lock(t.sim.Lock);
      first->Priority = 6;
      first->CpuTime = 75.0 / 86400;
      t.sim.Kernel.Processes[1]->State = kelpa::psReadyOut;
    }
    o.window->Timer1Timer();
    QCOMPARE(o.Grid()->rowCount(), 3);
    QCOMPARE(o.Cell(0, 2), QStringLiteral("4/6"));
    QCOMPARE(o.Cell(0, 3), QStringLiteral("Execução"));
    QCOMPARE(o.Cell(0, 4), QStringLiteral("00:01:15"));
    QCOMPARE(o.Cell(1, 3), QStringLiteral("ProntoOut"));
  }

  // Every header fits its column, and the columns fit beside the scroll bar ("Frames" was cut).
  void headersFitTheirColumnsBesideTheScrollBar() {
    TestSimulation t;
    t.Create(kelpa::pkCPU);
    Opened o(t);
    QHeaderView* header = o.Grid()->horizontalHeader();
    for (int column = 0; column < header->count(); ++column) {
      QVERIFY2(header->sectionSize(column) >= header->sectionSizeHint(column),
               qPrintable(o.Grid()->horizontalHeaderItem(column)->text()));
    }
    QVERIFY(header->length() <= o.Grid()->viewport()->width());
    // The PID, the widest figure, keeps room for its seven digits.
    QVERIFY(o.Grid()->columnWidth(1) >= o.Grid()->fontMetrics().horizontalAdvance("0000000"));
  }

  void timerRunsOnlyWhileShownAndShowingRereadsTheRows() {
    TestSimulation t;
    t.Create(kelpa::pkCPU);
    Opened o(t);
    auto* timer = o.window->findChild<QTimer*>(QStringLiteral("Timer1"));
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 1000);
    o.window->hide();  // as when minimised
    QVERIFY(!timer->isActive());
    t.Create(kelpa::pkIO1);
    o.window->show();
    QVERIFY(timer->isActive());
    QCOMPARE(o.Grid()->rowCount(), 2);
  }

  void killRequestBlackensTheColourCell() {
    TestSimulation t;
    t.Create(kelpa::pkCPU, 0, 5, kBlue);
    t.Create(kelpa::pkCPU, 0, 5, kYellow);
    Opened o(t);
    const QRect first = o.Grid()->visualRect(o.Grid()->model()->index(0, 0));
    const QRect second = o.Grid()->visualRect(o.Grid()->model()->index(1, 0));
    const QPoint corner(1, 1);
    QImage image = o.Grid()->viewport()->grab().toImage();
    QCOMPARE(image.pixelColor(first.center()), kelpa::ToQColor(kBlue));
    QCOMPARE(image.pixelColor(first.topLeft() + corner), QColor(Qt::white));

    o.Press(0, "Button2");
    image = o.Grid()->viewport()->grab().toImage();
    QCOMPARE(image.pixelColor(first.center()), QColor(Qt::black));
    QCOMPARE(image.pixelColor(first.topLeft() + corner), QColor(Qt::black));
    QCOMPARE(image.pixelColor(second.center()), kelpa::ToQColor(kYellow));
    std::lock_guard lock(t.sim.Lock);
    QVERIFY(t.sim.Kernel.Processes[0]->KillRequested);
    QVERIFY(!t.sim.Kernel.Processes[1]->KillRequested);
  }

  // The chosen row shows whole in the selection colour; a request the process has not taken yet
  // shows after its state, until the processor or the wait service takes it.
  void chosenRowAndRequestsNotYetTakenShow() {
    TestSimulation t;
    t.Create(kelpa::pkCPU, 4);
    t.Create(kelpa::pkCPU, 0);
    t.Cycle();  // the first runs
    Opened o(t);
    o.Press(0, "Button3");
    QCOMPARE(o.Cell(0, 3), QStringLiteral("‖ Execução"));
    const QImage image = o.Grid()->viewport()->grab().toImage();
    const QColor chosen = o.Grid()->palette().color(QPalette::Active, QPalette::Highlight);
    for (int column = 0; column < o.Grid()->columnCount(); ++column) {
      const auto inner = [&](int row) {
        return o.Grid()->visualRect(o.Grid()->model()->index(row, column)).bottomRight() -
               QPoint(2, 2);
      };
      QCOMPARE(image.pixelColor(inner(0)), chosen);
      QCOMPARE(image.pixelColor(inner(1)), QColor(Qt::white));
    }

    t.Cycle(2);  // the end of its slice, then its next turn, which takes the request
    o.window->Timer1Timer();
    QCOMPARE(o.Cell(0, 3), QStringLiteral("Suspenso"));
    o.Press(0, "Button4");
    QCOMPARE(o.Cell(0, 3), QStringLiteral("▸ Suspenso"));
    o.Press(1, "Button2");
    QCOMPARE(o.Cell(1, 3), QStringLiteral("× Pronto"));
  }

  void buttonsActOnTheSelectedRowOnly() {
    TestSimulation t;
    for (int i = 0; i < 4; ++i) {
      t.Create(kelpa::pkCPU);
    }
    Opened o(t);
    auto suspended = [&](int index) {
      std::lock_guard lock(t.sim.Lock);
      return t.sim.Kernel.Processes[static_cast<std::size_t>(index)]->SuspendRequested;
    };
    o.Press(1, "Button3");
    QVERIFY(suspended(1) && !suspended(0));
    o.Press(1, "Button4");
    QVERIFY(!suspended(1));

    // "PCB" on the third process row shows table entry 2.
    o.Press(2, "Button5");
    QCOMPARE(o.pcb.ProcessIndex, 2);
    QVERIFY(o.pcb.isVisible());
    QCOMPARE(o.pcb.findChild<QLabel*>(QStringLiteral("StaticText1"))->text(), o.Cell(2, 1));

    // A row whose process has gone names nothing until the next tick: the buttons do nothing.
    o.pcb.hide();
    {
      std::lock_guard lock(t.sim.Lock);
      for (std::size_t i = 1; i < 4; ++i) {
        t.sim.Kernel.Processes[i]->RequestKill();
      }
    }
    RunUntilCount(t, 1);
    for (const char* button : {"Button3", "Button2", "Button1", "Button5"}) {
      o.Press(3, button);
    }
    QVERIFY(o.asked.empty());
    QVERIFY(!o.pcb.isVisible());
    std::lock_guard lock(t.sim.Lock);
    QVERIFY(!t.sim.Kernel.Processes[0]->SuspendRequested);
    QVERIFY(!t.sim.Kernel.Processes[0]->KillRequested);
  }

  void priorityBoxAcceptsOnlyIntegersFrom0To15() {
    TestSimulation t;
    TProcesso* p = t.Create(kelpa::pkCPU, 3);
    Opened o(t);
    o.answers = {"16", "-1", "abc", "15"};
    for (int i = 0; i < 3; ++i) {
      o.Press(0, "Button1");
    }
    QCOMPARE(o.messages,
             (QStringList{"Erro", "Erro", QStringLiteral("'abc' is not a valid integer value")}));
    QCOMPARE(o.asked[0], (QStringList{"Prioridade base do processo " + QString::number(p->PID),
                                      "Digite a nova prioridade:", "3"}));
    QCOMPARE(p->BasePriority, 3);
    o.Press(0, "Button1");
    QCOMPARE(o.Cell(0, 2), QStringLiteral("15/3"));  // the current priority follows when it runs
    // Cancelling changes nothing and is no hand action: even the same priority confirmed would
    // send the process behind another of its queue.
    t.Create(kelpa::pkCPU, 15);
    struct : kelpa::IEventSink {
      void Report(const kelpa::SimEvent& event) override {
        count += event.Kind == kelpa::EventKind::HandActionTaken ? 1 : 0;
      }
      int count = 0;
    } actions;
    kelpa::IEventSink* const followed = t.sim.Events();
    t.sim.SetEvents(&actions);
    o.Press(0, "Button1");
    t.sim.SetEvents(followed);
    QCOMPARE(o.asked.back()[2], QStringLiteral("15"));
    QCOMPARE(o.messages.size(), 3);
    QCOMPARE(actions.count, 0);
    std::lock_guard lock(t.sim.Lock);
    QCOMPARE(p->BasePriority, 15);
    QCOMPARE(t.sim.Kernel.ReadyQueues[15].front(), p);
  }

  // The process may end while the box is open: the answer then changes nothing, and the window
  // waits for the box to close before it closes itself.
  void processEndingWhileThePriorityBoxIsOpen() {
    TestSimulation t;
    t.Create(kelpa::pkCPU, 2);
    Opened o(t);
    o.window->AskText = [&](const QString&, const QString&, const QString&) {
      EndAll(t);
      o.window->Timer1Timer();
      return QStringLiteral("9");
    };
    o.Press(0, "Button1");
    QVERIFY(!o.window.isNull());
    QCOMPARE(o.released, 0);
    o.window->Timer1Timer();
    QTRY_VERIFY(o.window.isNull());
    QCOMPARE(o.released, 1);
  }

  void closesItselfWhenTheLastProcessEnds() {
    TestSimulation t;
    t.Create(kelpa::pkCPU);
    Opened o(t);
    EndAll(t);
    o.window->Timer1Timer();
    QTRY_VERIFY(o.window.isNull());
    QCOMPARE(o.released, 1);
  }
};

QTEST_MAIN(ProcessListTest)
#include "process_list_test.moc"
