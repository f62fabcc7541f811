// The process list against a real simulation: rows following the process table, the colour cell,
// the five buttons, the priority box's answers, and closing itself when no process is left.
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>
#include <deque>
#include <mutex>

#include "support/test_simulation.h"
#include "ui/common/qt_convert.h"
#include "ui/process/pcb_window.h"
#include "ui/process/process_list_window.h"

using kelpa::MakeColor;
using kelpa::TColor;
using kelpa::TfrmAlteraProcessos;
using kelpa::TPCB;
using kelpa::TProcesso;
using kelpa::test::TestSimulation;

namespace {

constexpr TColor kBlue = MakeColor(0, 0, 255);
constexpr TColor kYellow = MakeColor(255, 255, 0);
constexpr TColor kRed = MakeColor(255, 0, 0);

QTableWidget* Grid(TfrmAlteraProcessos& window) {
  return window.findChild<QTableWidget*>(QStringLiteral("stg1"));
}
QString Cell(TfrmAlteraProcessos& window, int row, int column) {
  const QTableWidgetItem* item = Grid(window)->item(row, column);
  return item == nullptr ? QString() : item->text();
}
void Press(TfrmAlteraProcessos& window, const char* name) {
  QTest::mouseClick(window.findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
}
void Select(TfrmAlteraProcessos& window, int row) {
  Grid(window)->setCurrentCell(row, 1);
}

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

// Asks every process to end and runs the processor until the table is empty.
void EndAll(TestSimulation& t) {
  {
    std::lock_guard lock(t.sim.Lock);
    for (const auto& p : t.sim.Kernel.Processes) {
      p->RequestKill();
    }
  }
  RunUntilCount(t, 0);
}

struct Opened {
  explicit Opened(TestSimulation& t) : pcb(t.sim), window(new TfrmAlteraProcessos(t.sim, pcb)) {
    window->OnReleased = [this] { ++released; };
    window->ShowMessage = [this](const QString& text) { messages.push_back(text); };
    window->AskText = [this](const QString& title, const QString& prompt, const QString& initial) {
      asked.push_back({title, prompt, initial});
      QString answer = answers.empty() ? initial : answers.front();
      if (!answers.empty()) {
        answers.pop_front();
      }
      return answer;
    };
  }
  ~Opened() { delete window.data(); }

  TPCB pcb;
  QPointer<TfrmAlteraProcessos> window;
  int released = 0;
  QStringList messages;
  std::deque<QString> answers;  // the texts "typed" into the priority box; empty = cancel
  std::vector<QStringList> asked;
};

}  // namespace

class ProcessListTest : public QObject {
  Q_OBJECT

 private slots:
  void showsOneRowPerProcessWithItsFields() {
    TestSimulation t;
    TProcesso* first = t.Create(kelpa::pkCPU, 4, 3, kBlue);
    t.Create(kelpa::pkIO1, 0, 5, kYellow);
    Opened o(t);
    TfrmAlteraProcessos& w = *o.window;
    QVERIFY(w.isVisible());
    QCOMPARE(w.windowTitle(), QStringLiteral("Selecione um Processo"));
    QCOMPARE(w.size(), QSize(416, 221));
    QCOMPARE(Grid(w)->rowCount(), 2);
    const int widths[] = {33, 64, 39, 62, 64, 48};
    const char* headers[] = {"Cor", "PID", "Prio", "Estado", "UCP", "Frames"};
    for (int column = 0; column < 6; ++column) {
      QCOMPARE(Grid(w)->columnWidth(column), widths[column]);
      QCOMPARE(Grid(w)->horizontalHeaderItem(column)->text(), QString::fromUtf8(headers[column]));
    }
    QCOMPARE(Grid(w)->rowHeight(0), 16);
    QCOMPARE(Cell(w, 0, 1), QString::number(first->PID));
    QCOMPARE(Cell(w, 0, 2), QStringLiteral("4/4"));
    QCOMPARE(Cell(w, 0, 3), QStringLiteral("Pronto"));
    QCOMPARE(Cell(w, 0, 4), QStringLiteral("00:00:00"));
    QCOMPARE(Cell(w, 0, 5), QStringLiteral("3"));

    // The rows follow the table at the next tick, with the values of that moment.
    t.Create(kelpa::pkCPU, 1, 5, kRed);
    t.Cycle(1);  // dispatches the priority-4 process
    {
      std::lock_guard lock(t.sim.Lock);
      first->Priority = 6;
      first->CpuTime = 75.0 / 86400;
      t.sim.Kernel.Processes[1]->State = kelpa::psReadyOut;
    }
    QCOMPARE(Grid(w)->rowCount(), 2);
    w.Timer1Timer();
    QCOMPARE(Grid(w)->rowCount(), 3);
    QCOMPARE(Cell(w, 0, 2), QStringLiteral("4/6"));
    QCOMPARE(Cell(w, 0, 3), QStringLiteral("Execução"));
    QCOMPARE(Cell(w, 0, 4), QStringLiteral("00:01:15"));
    QCOMPARE(Cell(w, 1, 3), QStringLiteral("ProntoOut"));
    QCOMPARE(Cell(w, 2, 2), QStringLiteral("1/1"));
    QCOMPARE(o.released, 0);
  }

  void killRequestBlackensTheColourCell() {
    TestSimulation t;
    t.Create(kelpa::pkCPU, 0, 5, kBlue);
    t.Create(kelpa::pkCPU, 0, 5, kYellow);
    Opened o(t);
    TfrmAlteraProcessos& w = *o.window;
    QTableWidget* grid = Grid(w);
    const QRect first = grid->visualRect(grid->model()->index(0, 0));
    const QRect second = grid->visualRect(grid->model()->index(1, 0));
    QImage image = grid->viewport()->grab().toImage();
    QCOMPARE(image.pixelColor(first.center()), kelpa::ToQColor(kBlue));
    QCOMPARE(image.pixelColor(first.topLeft() + QPoint(1, 1)), QColor(Qt::white));

    Select(w, 0);
    Press(w, "Button2");
    {
      std::lock_guard lock(t.sim.Lock);
      QVERIFY(t.sim.Kernel.Processes[0]->KillRequested);
      QVERIFY(!t.sim.Kernel.Processes[1]->KillRequested);
    }
    image = grid->viewport()->grab().toImage();
    QCOMPARE(image.pixelColor(first.center()), QColor(Qt::black));
    QCOMPARE(image.pixelColor(first.topLeft() + QPoint(1, 1)), QColor(Qt::black));
    QCOMPARE(image.pixelColor(second.center()), kelpa::ToQColor(kYellow));
    QCOMPARE(image.pixelColor(second.topLeft() + QPoint(1, 1)), QColor(Qt::white));
  }

  void suspendResumeAndPcbActOnTheSelectedRow() {
    TestSimulation t;
    for (int i = 0; i < 4; ++i) {
      t.Create(kelpa::pkCPU);
    }
    Opened o(t);
    TfrmAlteraProcessos& w = *o.window;
    Select(w, 1);
    Press(w, "Button3");
    {
      std::lock_guard lock(t.sim.Lock);
      QVERIFY(t.sim.Kernel.Processes[1]->SuspendRequested);
    }
    Press(w, "Button4");
    {
      std::lock_guard lock(t.sim.Lock);
      QVERIFY(!t.sim.Kernel.Processes[1]->SuspendRequested);
    }

    // "PCB" on the third process row shows table entry 2.
    Select(w, 2);
    Press(w, "Button5");
    QCOMPARE(w.SelectedIndex, 2);
    QCOMPARE(o.pcb.ProcessIndex, 2);
    QVERIFY(o.pcb.isVisible());
    std::int32_t pid = 0;
    {
      std::lock_guard lock(t.sim.Lock);
      pid = t.sim.Kernel.Processes[2]->PID;
    }
    QCOMPARE(o.pcb.findChild<QLabel*>(QStringLiteral("StaticText1"))->text(), QString::number(pid));
  }

  void buttonsOnARowPastTheTableDoNothing() {
    TestSimulation t;
    t.Create(kelpa::pkCPU);
    t.Create(kelpa::pkCPU);
    Opened o(t);
    TfrmAlteraProcessos& w = *o.window;
    Select(w, 1);
    {
      std::lock_guard lock(t.sim.Lock);
      t.sim.Kernel.Processes[1]->RequestKill();
    }
    RunUntilCount(t, 1);
    // The grid still has two rows; the second names no process now.
    QCOMPARE(Grid(w)->rowCount(), 2);
    Press(w, "Button3");
    Press(w, "Button2");
    Press(w, "Button1");
    Press(w, "Button5");
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
    TfrmAlteraProcessos& w = *o.window;
    Select(w, 0);
    o.answers = {QStringLiteral("16"), QStringLiteral("-1"), QStringLiteral("abc"),
                 QStringLiteral("15")};
    for (int i = 0; i < 3; ++i) {
      Press(w, "Button1");
    }
    QCOMPARE(o.messages, (QStringList{QStringLiteral("Erro"), QStringLiteral("Erro"),
                                      QStringLiteral("'abc' is not a valid integer value")}));
    QCOMPARE(o.asked[0],
             (QStringList{QStringLiteral("Prioridade base do processo ") + QString::number(p->PID),
                          QStringLiteral("Digite a nova prioridade:"), QStringLiteral("3")}));
    {
      std::lock_guard lock(t.sim.Lock);
      QCOMPARE(p->BasePriority, 3);
      QCOMPARE(t.sim.Kernel.ReadyQueues[3].size(), std::size_t{1});
    }
    Press(w, "Button1");
    QCOMPARE(Cell(w, 0, 2).left(3), QStringLiteral("15/"));
    {
      std::lock_guard lock(t.sim.Lock);
      QCOMPARE(p->BasePriority, 15);
      QCOMPARE(t.sim.Kernel.ReadyQueues[15].front(), p);
    }
    // Cancelling applies the base priority in force again, with no message.
    Press(w, "Button1");
    QCOMPARE(o.asked.back()[2], QStringLiteral("15"));
    QCOMPARE(o.messages.size(), 3);
    std::lock_guard lock(t.sim.Lock);
    QCOMPARE(p->BasePriority, 15);
  }

  void processEndingWhileThePriorityBoxIsOpenIsLeftAlone() {
    TestSimulation t;
    t.Create(kelpa::pkCPU, 2);
    Opened o(t);
    TfrmAlteraProcessos& w = *o.window;
    Select(w, 0);
    w.AskText = [&](const QString&, const QString&, const QString&) {
      EndAll(t);
      w.Timer1Timer();  // the list's own tick while the box is open
      return QStringLiteral("9");
    };
    Press(w, "Button1");
    QVERIFY(!o.window.isNull());
    QCOMPARE(o.released, 0);
    w.Timer1Timer();
    QTRY_VERIFY(o.window.isNull());
    QCOMPARE(o.released, 1);
  }

  void closesItselfWhenTheLastProcessEnds() {
    TestSimulation t;
    t.Create(kelpa::pkCPU);
    Opened o(t);
    EndAll(t);
    QVERIFY(!o.window.isNull());
    o.window->Timer1Timer();
    QTRY_VERIFY(o.window.isNull());
    QCOMPARE(o.released, 1);
  }

  void closingByTheUserReleasesTheWindow() {
    TestSimulation t;
    t.Create(kelpa::pkCPU);
    Opened o(t);
    o.window->close();
    QTRY_VERIFY(o.window.isNull());
    QCOMPARE(o.released, 1);
  }
};

QTEST_MAIN(ProcessListTest)
#include "process_list_test.moc"
