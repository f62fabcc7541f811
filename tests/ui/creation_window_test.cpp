// The process-creation window against a real simulation: the palette's advance, the colour
// dialog, the spin boxes, batches paced by a timer (in order, the event loop turning, stopped by
// closing the window) and batches refused by a full page file.
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <mutex>
#include <set>
#include <vector>

#include "core/clock.h"
#include "core/simulation.h"
#include "support/recording_display.h"
#include "support/recording_log.h"
#include "support/test_simulation.h"
#include "ui/common/qt_convert.h"
#include "ui/process/creation_window.h"
#include "ui/process/spin_edit.h"

using kelpa::MakeColor;
using kelpa::TColor;
using kelpa::TForm2;
using kelpa::TSpinEdit;
using kelpa::test::TestSimulation;

namespace {

constexpr int kBatchTimeoutMs = 30000;

std::vector<TColor> Colours(kelpa::Simulation& sim) {
  std::lock_guard lock(sim.Lock);
  std::vector<TColor> colours;
  for (const auto& p : sim.Kernel.Processes) {
    colours.push_back(p->Color);
  }
  return colours;
}

int ProcessCount(kelpa::Simulation& sim) {
  std::lock_guard lock(sim.Lock);
  return static_cast<int>(sim.Kernel.Processes.size());
}

TSpinEdit* Spin(TForm2& form, const char* name) {
  return form.findChild<TSpinEdit*>(QString::fromLatin1(name));
}

// Opens the window (not modally), sets the count and presses "Criar"; returns when the window
// has closed itself after the last process.
void RunBatch(TForm2& form, int count) {
  form.show();
  Spin(form, "SpinEdit3")->setValue(count);
  QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(!form.isVisible(), kBatchTimeoutMs);
}

TColor Palette(const TForm2& form, int index) {
  return form.Palette[index - 1];
}

}  // namespace

class CreationWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void startsWithItsControlsAndThePalette() {
    TestSimulation t;
    TForm2 form(t.sim);
    form.show();
    QCOMPARE(form.windowTitle(), QStringLiteral("Criação de Processo"));
    QCOMPARE(form.size(), QSize(246, 224));
    QCOMPARE(form.PaletteIndex, 1);
    QCOMPARE(form.Palette[0], MakeColor(0, 255, 0));
    QCOMPARE(form.Palette[6], MakeColor(0, 0, 0));
    QCOMPARE(form.Palette[9], MakeColor(0, 128, 0));
    QCOMPARE(Spin(form, "SpinEdit1")->value(), 0);
    QCOMPARE(Spin(form, "SpinEdit2")->value(), 5);
    QCOMPARE(Spin(form, "SpinEdit2")->minimum(), 1);
    QCOMPARE(Spin(form, "SpinEdit3")->maximum(), 1000);

    // Three columns filled column by column: CPU over IO_1, then IO_2 over IO_3.
    const auto radios = form.findChildren<QRadioButton*>();
    QCOMPARE(radios.size(), 6);
    QVERIFY(radios[0]->isChecked());
    QCOMPARE(radios[0]->x(), radios[1]->x());
    QVERIFY(radios[1]->y() > radios[0]->y());
    QVERIFY(radios[2]->x() > radios[0]->x());
    QCOMPARE(radios[2]->y(), radios[0]->y());
    QVERIFY(radios[4]->x() > radios[2]->x());
    form.reject();
  }

  void offeredColourAdvancesThePaletteByTheBatch() {
    TestSimulation t;
    TForm2 form(t.sim);
    RunBatch(form, 1);
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(Colours(t.sim), std::vector<TColor>{Palette(form, 1)});
    QCOMPARE(form.PaletteIndex, 2);

    form.PaletteIndex = 4;
    RunBatch(form, 3);
    QCOMPARE(Colours(t.sim), (std::vector<TColor>{Palette(form, 1), Palette(form, 4),
                                                  Palette(form, 5), Palette(form, 6)}));
    QCOMPARE(form.PaletteIndex, 7);
    // The next opening offers the first colour not yet used.
    form.show();
    QCOMPARE(form.Label2Colour(), Palette(form, 7));
    form.reject();
  }

  void paletteWrapsAfterTheTenthColour() {
    TestSimulation t;
    TForm2 form(t.sim);
    form.PaletteIndex = 10;
    RunBatch(form, 3);
    QCOMPARE(Colours(t.sim),
             (std::vector<TColor>{Palette(form, 10), Palette(form, 1), Palette(form, 2)}));
    QCOMPARE(form.PaletteIndex, 3);
  }

  void ownColourGoesFirstAndLeavesTheIndexAlone() {
    TestSimulation t;
    TForm2 form(t.sim);
    form.PaletteIndex = 3;
    const QColor own(10, 20, 30);
    std::vector<QColor> offeredToDialog;
    form.ChooseColour = [&](const QColor& initial) -> std::optional<QColor> {
      offeredToDialog.push_back(initial);
      return own;
    };
    form.show();
    QTest::mouseClick(form.findChild<QLabel*>(QStringLiteral("Label2")), Qt::LeftButton);
    QCOMPARE(form.Label2Colour(), kelpa::FromQColor(own));
    Spin(form, "SpinEdit3")->setValue(3);
    QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!form.isVisible(), kBatchTimeoutMs);
    QCOMPARE(Colours(t.sim),
             (std::vector<TColor>{kelpa::FromQColor(own), Palette(form, 3), Palette(form, 4)}));
    QCOMPARE(form.PaletteIndex, 5);

    // The dialog opens on black the first time, then on the colour last chosen in it.
    form.show();
    QTest::mouseClick(form.findChild<QLabel*>(QStringLiteral("Label2")), Qt::LeftButton);
    QCOMPARE(offeredToDialog.size(), std::size_t{2});
    QCOMPARE(offeredToDialog[0], QColor(Qt::black));
    QCOMPARE(offeredToDialog[1], own);
    form.reject();
  }

  void chosenColourEqualToTheOfferedOneCountsAsOffered() {
    TestSimulation t;
    TForm2 form(t.sim);
    form.PaletteIndex = 6;
    form.ChooseColour = [&](const QColor&) -> std::optional<QColor> {
      return kelpa::ToQColor(Palette(form, 6));
    };
    form.show();
    QTest::mouseClick(form.findChild<QLabel*>(QStringLiteral("Label2")), Qt::LeftButton);
    RunBatch(form, 1);
    QCOMPARE(form.PaletteIndex, 7);
  }

  void closingWithoutCriarChangesNothing() {
    TestSimulation t;
    TForm2 form(t.sim);
    form.ChooseColour = [](const QColor&) -> std::optional<QColor> { return QColor(1, 2, 3); };
    form.show();
    QTest::mouseClick(form.findChild<QLabel*>(QStringLiteral("Label2")), Qt::LeftButton);
    Spin(form, "SpinEdit3")->setValue(7);
    form.close();
    QCOMPARE(form.result(), int(QDialog::Rejected));
    QCOMPARE(ProcessCount(t.sim), 0);
    QCOMPARE(form.PaletteIndex, 1);
    // The unused colour gives way to the offered one and the count starts at 1 again.
    form.show();
    QCOMPARE(form.Label2Colour(), Palette(form, 1));
    QCOMPARE(Spin(form, "SpinEdit3")->value(), 1);

    // Cancelling the colour dialog keeps the colour shown.
    form.ChooseColour = [](const QColor&) -> std::optional<QColor> { return std::nullopt; };
    QTest::mouseClick(form.findChild<QLabel*>(QStringLiteral("Label2")), Qt::LeftButton);
    QCOMPARE(form.Label2Colour(), Palette(form, 1));
    form.reject();
  }

  void controlsGiveKindPriorityAndFrameLimit() {
    TestSimulation t;
    TForm2 form(t.sim);
    form.show();
    form.findChildren<QRadioButton*>()[4]->setChecked(true);  // MIX_1
    // Typed texts: a number beyond the range is clamped, anything else reads as the minimum.
    Spin(form, "SpinEdit1")->findChild<QLineEdit*>()->setText(QStringLiteral("99"));
    Spin(form, "SpinEdit2")->findChild<QLineEdit*>()->setText(QStringLiteral("x"));
    QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
    QTRY_VERIFY(!form.isVisible());
    std::lock_guard lock(t.sim.Lock);
    QCOMPARE(t.sim.Kernel.Processes.size(), std::size_t{1});
    const kelpa::TProcesso& p = *t.sim.Kernel.Processes[0];
    QCOMPARE(p.BasePriority, 15);
    QCOMPARE(p.FrameLimit, 1);
    QCOMPARE(p.Instructions, kelpa::ProgramTemplates[kelpa::pkMIX1]);
    QCOMPARE(Spin(form, "SpinEdit1")->text(), QStringLiteral("15"));
  }

  void spinTextsReadAsNumbersInRange() {
    QCOMPARE(kelpa::SpinTextValue(QStringLiteral("7"), 1, 1000), 7);
    QCOMPARE(kelpa::SpinTextValue(QStringLiteral("5000"), 1, 1000), 1000);
    QCOMPARE(kelpa::SpinTextValue(QStringLiteral("-3"), 0, 15), 0);
    QCOMPARE(kelpa::SpinTextValue(QStringLiteral("abc"), 1, 5), 1);
    QCOMPARE(kelpa::SpinTextValue(QStringLiteral(""), 1, 5), 1);
    QCOMPARE(kelpa::SpinTextValue(QStringLiteral("3x"), 1, 5), 1);
    QCOMPARE(kelpa::SpinTextValue(QStringLiteral("99999999999999999999999"), 1, 1000), 1000);
    QCOMPARE(kelpa::SpinTextValue(QStringLiteral("-99999999999999999999999"), 1, 1000), 1);
  }

  void fullPageFileOnlyLogsFailuresAndStillAdvancesThePalette() {
    TestSimulation t;
    for (int i = 0; i < 20; ++i) {
      QVERIFY(t.Create(kelpa::pkCPU) != nullptr);
    }
    {
      std::lock_guard lock(t.sim.Lock);
      QVERIFY(t.sim.Memoria.FreeBlocks.empty());
    }
    t.log.Clear();
    TForm2 form(t.sim);
    RunBatch(form, 3);
    QCOMPARE(ProcessCount(t.sim), 20);
    const auto lines = t.log.Lines();
    QCOMPARE(lines.size(), std::size_t{3});
    for (const auto& line : lines) {
      QVERIFY(line.Text.starts_with("Erro: criacao do processo "));
      QVERIFY(line.Text.ends_with(". Falta de espaco no PF"));
    }
    QCOMPARE(lines[1].Colour, Palette(form, 2));
    QCOMPARE(form.PaletteIndex, 4);
  }

  // A batch is paced by a timer: other timers keep firing between creations, and the processes
  // reach the kernel in order, each a pause after the previous one. The page file holds twenty
  // processes, so the last thirty of the fifty are refused, in order too.
  void batchKeepsTheEventLoopTurning() {
    kelpa::SystemClock clock;
    kelpa::test::RecordingLog log;
    kelpa::test::RecordingDisplay display;
    kelpa::TMessages messages;
    kelpa::Simulation sim(clock, log, display, messages);
    TForm2 form(sim);

    std::set<std::size_t> stagesSeen;
    QTimer other;
    other.setInterval(10);
    QObject::connect(&other, &QTimer::timeout, [&] { stagesSeen.insert(log.Size()); });
    other.start();
    QElapsedTimer elapsed;
    elapsed.start();
    RunBatch(form, 50);
    const qint64 took = elapsed.elapsed();
    other.stop();

    // The other timer saw the batch at many stages, not only before and after it.
    QVERIFY2(stagesSeen.size() >= 25, qPrintable(QString::number(stagesSeen.size())));
    QVERIFY(took >= 49 * 90);
    std::vector<kelpa::test::LoggedLine> lines;
    for (const auto& line : log.Lines()) {
      if (line.Text.ends_with(" criado") || line.Text.starts_with("Erro: criacao")) {
        lines.push_back(line);
      }
    }
    QCOMPARE(lines.size(), std::size_t{50});
    for (std::size_t i = 0; i < lines.size(); ++i) {
      QCOMPARE(lines[i].Colour, Palette(form, static_cast<int>(i % 10) + 1));
      QCOMPARE(lines[i].Text.ends_with(" criado"), i < 20);
    }
    std::lock_guard lock(sim.Lock);
    QCOMPARE(sim.Kernel.Processes.size(), std::size_t{20});
    std::set<std::int32_t> pids;
    for (std::size_t i = 0; i < sim.Kernel.Processes.size(); ++i) {
      const auto& p = *sim.Kernel.Processes[i];
      QCOMPARE(p.Color, Palette(form, static_cast<int>(i % 10) + 1));
      pids.insert(p.PID);
      if (i > 0) {
        const double gapMs =
            (p.CreatedAt - sim.Kernel.Processes[i - 1]->CreatedAt) * kelpa::kMsPerDay;
        QVERIFY2(gapMs >= 80, qPrintable(QString::number(gapMs)));
      }
    }
    QCOMPARE(pids.size(), std::size_t{20});
  }

  void closingTheWindowStopsTheBatch() {
    TestSimulation t;
    TForm2 form(t.sim);
    QTimer::singleShot(0, &form, [&] {
      Spin(form, "SpinEdit3")->setValue(50);
      form.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    });
    QTimer::singleShot(350, &form, [&] { form.close(); });
    QCOMPARE(form.exec(), int(QDialog::Rejected));
    QVERIFY(!form.BatchRunning());
    const int created = ProcessCount(t.sim);
    QVERIFY(created >= 1);
    QVERIFY(created < 50);
    QCOMPARE(form.PaletteIndex, 1 + created);
    QTest::qWait(300);
    QCOMPARE(ProcessCount(t.sim), created);
    // Reopened, the window works again.
    RunBatch(form, 2);
    QCOMPARE(ProcessCount(t.sim), created + 2);
  }

  void destroyingTheWindowDuringABatchIsSafe() {
    TestSimulation t;
    auto* form = new TForm2(t.sim);
    form->show();
    Spin(*form, "SpinEdit3")->setValue(20);
    form->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    QTRY_VERIFY(ProcessCount(t.sim) >= 2);
    delete form;
    const int created = ProcessCount(t.sim);
    QTest::qWait(300);
    QCOMPARE(ProcessCount(t.sim), created);
  }
};

QTEST_MAIN(CreationWindowTest)
#include "creation_window_test.moc"
