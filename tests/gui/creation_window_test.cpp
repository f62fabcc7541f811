// SPDX-License-Identifier: MIT
// The process-creation window against a real simulation: the palette's advance, the colour
// dialog, typed texts, batches paced by a timer (in order, the event loop turning, stopped by
// closing the window) and batches refused by a full page file.
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <mutex>
#include <set>
#include <utility>
#include <vector>

#include "gui/common/qt_convert.h"
#include "gui/common/readable_text.h"
#include "gui/process/creation_window.h"
#include "gui/process/spin_edit.h"
#include "support/test_simulation.h"

using kelpa::TColor;
using kelpa::TForm2;
using kelpa::test::TestSimulation;

namespace {

std::vector<TColor> Colours(kelpa::Simulation& sim) {
  std::lock_guard lock(sim.Lock);
  std::vector<TColor> colours;
  for (const auto& p : sim.Kernel.Processes) {
    colours.push_back(p->Color);
  }
  return colours;
}
int ProcessCount(kelpa::Simulation& sim) {
  return static_cast<int>(Colours(sim).size());
}
kelpa::TSpinEdit* Spin(TForm2& form, const char* name) {
  return form.findChild<kelpa::TSpinEdit*>(QString::fromLatin1(name));
}
void ClickLabel2(TForm2& form) {
  QTest::mouseClick(form.findChild<QLabel*>(QStringLiteral("Label2")), Qt::LeftButton);
}
void StartBatch(TForm2& form, int count) {
  form.show();
  Spin(form, "SpinEdit3")->setValue(count);
  form.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
}
// Runs a batch in the open window; returns once the window has closed after the last process.
void RunBatch(TForm2& form, int count) {
  StartBatch(form, count);
  QTRY_VERIFY_WITH_TIMEOUT(!form.isVisible(), 30000);
}
TColor Palette(const TForm2& form, int index) {
  return form.Palette[index - 1];
}

}  // namespace

class CreationWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void offeredColourAdvancesThePaletteAndWraps() {
    TestSimulation t;
    TForm2 form(t.sim);
    RunBatch(form, 1);
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(form.PaletteIndex, 2);
    form.PaletteIndex = 9;
    RunBatch(form, 3);
    QCOMPARE(Colours(t.sim), (std::vector<TColor>{Palette(form, 1), Palette(form, 9),
                                                  Palette(form, 10), Palette(form, 1)}));
    QCOMPARE(form.PaletteIndex, 2);
    form.show();  // the next opening offers the first colour not yet used
    QCOMPARE(form.Label2Colour(), Palette(form, 2));
  }

  void ownColourGoesFirstAndAChosenPaletteColourCountsAsOffered() {
    TestSimulation t;
    TForm2 form(t.sim);
    form.PaletteIndex = 3;
    std::vector<QColor> dialogStarts;
    QColor answer(10, 20, 30);
    form.ChooseColour = [&](const QColor& initial) -> std::optional<QColor> {
      dialogStarts.push_back(initial);
      return answer;
    };
    form.show();
    ClickLabel2(form);
    RunBatch(form, 3);
    QCOMPARE(Colours(t.sim),
             (std::vector<TColor>{kelpa::FromQColor(answer), Palette(form, 3), Palette(form, 4)}));
    QCOMPARE(form.PaletteIndex, 5);

    answer = kelpa::ToQColor(Palette(form, 5));
    form.show();
    ClickLabel2(form);
    RunBatch(form, 1);
    QCOMPARE(form.PaletteIndex, 6);
    // The dialog opens on black the first time, then on the colour last chosen in it.
    QCOMPARE(dialogStarts, (std::vector<QColor>{Qt::black, QColor(10, 20, 30)}));
  }

  // The caption stays readable on whatever colour it shows: offered dark palette colours and a
  // dark colour of one's own get white text, light ones black.
  void colourCaptionIsBlackOrWhiteByTheColoursLightness() {
    TestSimulation t;
    TForm2 form(t.sim);
    auto* label2 = form.findChild<QLabel*>(QStringLiteral("Label2"));
    const std::pair<int, QColor> offered[] = {{3, Qt::black}, {5, Qt::white}, {7, Qt::white}};
    for (const auto& [index, text] : offered) {
      form.PaletteIndex = index;
      form.show();
      QCOMPARE(label2->palette().window().color(), kelpa::ToQColor(Palette(form, index)));
      QCOMPARE(label2->palette().windowText().color(), text);
      form.close();
    }
    // Every offered colour, black included, keeps the caption at a contrast of 4.5:1 or more.
    for (int index = 1; index <= 10; ++index) {
      form.PaletteIndex = index;
      form.show();
      const QPalette palette = label2->palette();
      QVERIFY2(kelpa::ContrastRatio(palette.windowText().color(), palette.window().color()) >= 4.5,
               qPrintable(QString::number(index)));
      form.close();
    }
    form.ChooseColour = [](const QColor&) -> std::optional<QColor> { return QColor(20, 20, 60); };
    form.show();
    ClickLabel2(form);
    QCOMPARE(label2->palette().windowText().color(), QColor(Qt::white));
  }

  void closingWithoutCriarChangesNothing() {
    TestSimulation t;
    TForm2 form(t.sim);
    form.ChooseColour = [](const QColor&) -> std::optional<QColor> { return QColor(1, 2, 3); };
    form.show();
    ClickLabel2(form);
    Spin(form, "SpinEdit3")->setValue(7);
    form.close();
    QCOMPARE(ProcessCount(t.sim), 0);
    QCOMPARE(form.PaletteIndex, 1);
    // The unused colour gives way to the offered one and the count starts at 1 again.
    form.show();
    QCOMPARE(form.Label2Colour(), Palette(form, 1));
    QCOMPARE(Spin(form, "SpinEdit3")->value(), 1);
  }

  void controlsGiveKindPriorityAndFrameLimit() {
    TestSimulation t;
    TForm2 form(t.sim);
    form.show();
    // Three columns filled column by column: CPU over IO_1, then IO_2 beside CPU.
    const auto radios = form.findChildren<QRadioButton*>();
    QVERIFY(radios[1]->y() > radios[0]->y() && radios[2]->x() > radios[0]->x());
    radios[4]->setChecked(true);  // MIX_1
    // A number beyond the range is clamped; anything else reads as the minimum.
    Spin(form, "SpinEdit1")->findChild<QLineEdit*>()->setText(QStringLiteral("99"));
    Spin(form, "SpinEdit2")->findChild<QLineEdit*>()->setText(QStringLiteral("x"));
    RunBatch(form, 1);
    std::lock_guard lock(t.sim.Lock);
    const kelpa::TProcesso& p = *t.sim.Kernel.Processes.at(0);
    QCOMPARE(p.BasePriority, 15);
    QCOMPARE(p.FrameLimit, 1);
    QCOMPARE(p.Instructions, kelpa::ProgramTemplates[kelpa::pkMIX1]);
    QCOMPARE(kelpa::SpinTextValue(QStringLiteral("-3"), 0, 15), 0);
    QCOMPARE(kelpa::SpinTextValue(QStringLiteral("3x"), 1, 5), 1);
    QCOMPARE(kelpa::SpinTextValue(QStringLiteral("99999999999999999999"), 1, 1000), 1000);
  }

  void fullPageFileOnlyLogsFailuresAndStillAdvancesThePalette() {
    TestSimulation t;
    for (int i = 0; i < 20; ++i) {
      QVERIFY(t.Create(kelpa::pkCPU) != nullptr);  // five blocks each: the page file is full
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
    QCOMPARE(lines[2].Colour, Palette(form, 3));
    QCOMPARE(form.PaletteIndex, 4);
  }

  // Other timers keep firing between creations, and the processes reach the kernel in order, a
  // pause apart. The page file holds twenty processes: the last thirty are refused, in order too.
  void batchKeepsTheEventLoopTurning() {
    kelpa::SystemClock clock;
    kelpa::test::RecordingLog log;
    kelpa::test::RecordingDisplay display;
    kelpa::TMessages messages;
    kelpa::Simulation sim(clock, log, display, messages);
    TForm2 form(sim);
    std::set<std::size_t> stagesSeen;
    QTimer other;
    QObject::connect(&other, &QTimer::timeout, [&] { stagesSeen.insert(log.Size()); });
    other.start(10);
    QElapsedTimer elapsed;
    elapsed.start();
    RunBatch(form, 50);
    QVERIFY(elapsed.elapsed() >= 49 * 90);
    QVERIFY2(stagesSeen.size() >= 25, qPrintable(QString::number(stagesSeen.size())));

    std::vector<TColor> attempts;
    for (const auto& line : log.Lines()) {
      if (line.Text.ends_with(" criado") || line.Text.starts_with("Erro: criacao")) {
        attempts.push_back(line.Colour);
      }
    }
    QCOMPARE(attempts.size(), std::size_t{50});
    for (std::size_t i = 0; i < attempts.size(); ++i) {
      QCOMPARE(attempts[i], Palette(form, static_cast<int>(i % 10) + 1));
    }
    std::lock_guard lock(sim.Lock);
    const auto& processes = sim.Kernel.Processes;
    QCOMPARE(processes.size(), std::size_t{20});
    for (std::size_t i = 1; i < processes.size(); ++i) {
      const double gapMs =
          (processes[i]->CreatedAt - processes[i - 1]->CreatedAt) * kelpa::kMsPerDay;
      QVERIFY2(gapMs >= 80, qPrintable(QString::number(gapMs)));
      QVERIFY(processes[i]->PID != processes[i - 1]->PID);
    }
  }

  void closingOrDestroyingTheWindowStopsTheBatch() {
    TestSimulation t;
    TForm2 form(t.sim);
    QTimer::singleShot(0, &form, [&] { StartBatch(form, 50); });
    QTimer::singleShot(350, &form, [&] { form.close(); });
    QCOMPARE(form.exec(), int(QDialog::Rejected));
    const int created = ProcessCount(t.sim);
    QVERIFY(created >= 1 && created < 50);
    QCOMPARE(form.PaletteIndex, 1 + created);
    QTest::qWait(300);
    QCOMPARE(ProcessCount(t.sim), created);
    RunBatch(form, 2);  // reopened, it works again
    QCOMPARE(ProcessCount(t.sim), created + 2);

    auto* doomed = new TForm2(t.sim);
    StartBatch(*doomed, 20);
    QTRY_VERIFY(ProcessCount(t.sim) >= created + 4);
    delete doomed;
    const int before = ProcessCount(t.sim);
    QTest::qWait(300);
    QCOMPARE(ProcessCount(t.sim), before);
  }
};

QTEST_MAIN(CreationWindowTest)
#include "creation_window_test.moc"
