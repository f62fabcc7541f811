// SPDX-License-Identifier: MIT
// The processor-management window on a real simulation whose display is the Qt display.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>
#include <mutex>

#include "gui/common/app_look.h"
#include "gui/common/option_follower.h"
#include "gui/common/readable_text.h"
#include "gui/language/language.h"
#include "gui/processor/process_shape.h"
#include "gui/processor/processor_window.h"
#include "gui/processor/qt_display.h"
#include "gui/processor/scheduling_options_window.h"
#include "gui/processor/ticked_slider.h"
#include "platform/ini_file.h"
#include "simulation/simulation.h"
#include "support/recording_log.h"

namespace kelpa {
namespace {

// A simulation drawn by the Qt display on a processor window, with its options window.
struct ShownSimulation {
  ShownSimulation()
      : language(KelpaIniPath()),
        sim(clock, log, display, messages),
        gp(sim, &language),
        opt(
            sim, [] { return true; }, &language) {
    display.SetProcessorWindow(&gp);
    gp.SetOptionsWindow(&opt);
    sim.SetEvents(&follower);
  }
  TProcesso* Create(int priority, TColor color) {
    TProcesso* raw = nullptr;
    {
      std::lock_guard lock(sim.Lock);
      auto process = TProcesso::Create(sim, pkCPU, priority, 5, color);
      raw = process.get();
      sim.Kernel.AddProcess(std::move(process));
    }
    clock.AdvanceMs(7);
    return raw;
  }
  // Runs the queued display updates, then the window's refresh.
  void Refresh() {
    QCoreApplication::processEvents();
    gp.Timer1Timer();
  }
  QPoint DiscAt(const TProcesso* p) const {
    TShpProcesso* shape = gp.Disc(p->Shape);
    return shape != nullptr ? shape->pos() : QPoint(-1, -1);
  }
  // Red, in whichever shade of it reads on the window.
  bool LabelIsRed(int priority) const {
    const QColor text = gp.PriorityLabel(priority)->palette().color(QPalette::WindowText);
    return text.red() > text.green() + 100 && text.green() == text.blue();
  }

  TLanguage language;
  ManualClock clock;
  test::RecordingLog log;
  QtDisplay display;
  TMessages messages;
  Simulation sim;
  TfrmGP gp;
  Tfrm_Opt opt;
  // The windows follow the options set, as the window set has them do.
  OptionFollower follower{[this](OptionId option, int value) {
    gp.ShowOption(option, value);
    opt.ShowOption(option, value);
  }};
};

constexpr int kLabelTops[16] = {245, 233, 221, 209, 196, 184, 172, 160,
                                148, 136, 124, 112, 99,  87,  75,  63};

}  // namespace

class ProcessorWindowTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  QString previousDir_;

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    previousDir_ = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir_.path()));
  }
  void cleanupTestCase() { QDir::setCurrent(previousDir_); }
  void init() { QFile::remove(QStringLiteral("kelpa.ini")); }

  void layoutOfTheWindow() {
    ShownSimulation s;
    // The speed controls' values add a row under the described client area.
    QCOMPARE(s.gp.ClientArea()->width(), 417);
    QVERIFY(s.gp.ClientArea()->height() > 317);
    QCOMPARE(s.gp.pos(), QPoint(42, 96));
    QCOMPARE(s.gp.windowTitle(), QStringLiteral("Gerência do Processador"));
    const auto geometry = [&](const char* name) {
      auto* widget = s.gp.findChild<QWidget*>(QString::fromLatin1(name));
      return widget != nullptr ? widget->geometry() : QRect();
    };
    QCOMPARE(geometry("S_ESCALONA"), QRect(328, 64, 20, 193));
    QCOMPARE(geometry("S_CPU"), QRect(160, 25, 60, 32));
    QCOMPARE(geometry("S_IO"), QRect(50, 195, 22, 23));
    QCOMPARE(geometry("ProgressBar1"), QRect(14, 218, 81, 17));
    QCOMPARE(geometry("GroupBox1").topLeft(), QPoint(1, 260));
    QCOMPARE(geometry("GroupBox1").width(), 416);
    QCOMPARE(geometry("GroupBox1").bottom(), s.gp.ClientArea()->height() - 1);
    QCOMPARE(geometry("TrackBar1"), QRect(4, 25, 128, 27));
    QCOMPARE(geometry("tcbQuantum"), QRect(144, 24, 126, 27));
    QCOMPARE(geometry("tbClock"), QRect(281, 24, 128, 27));
    QCOMPARE(s.gp.WaitProgress()->maximum(), 100);
    auto* options = s.gp.findChild<QAction*>(QStringLiteral("Opcoes1"));
    QVERIFY(options != nullptr);
    QCOMPARE(options->text(), QStringLiteral("Opcoes"));
    QCOMPARE(s.gp.findChild<QTimer*>(QStringLiteral("Timer1"))->interval(), 500);
  }

  void readyQueuePictureHasSixteenBlueCells() {
    ShownSimulation s;
    auto* picture = s.gp.findChild<QWidget*>(QStringLiteral("S_ESCALONA"));
    const QImage image = picture->grab().toImage();
    int cells = 0;
    bool inCell = false;
    for (int y = 0; y < image.height(); ++y) {
      const bool blue = image.pixelColor(image.width() / 2, y) == QColor(0, 0, 255);
      cells += blue && !inCell ? 1 : 0;
      inCell = blue;
    }
    QCOMPARE(cells, 16);
  }

  void readyDiscsArePlacedByPriorityAndOrder() {
    ShownSimulation s;
    TProcesso* first = s.Create(8, 0x0000FF);
    TProcesso* second = s.Create(8, 0x00FF00);
    TProcesso* third = s.Create(8, 0xFF0000);
    TProcesso* low = s.Create(0, 0x00FFFF);
    s.Refresh();
    QCOMPARE(s.DiscAt(first), QPoint(355, 149));
    QCOMPARE(s.DiscAt(second), QPoint(367, 149));
    QCOMPARE(s.DiscAt(third), QPoint(379, 149));
    QCOMPARE(s.DiscAt(low), QPoint(355, 245));

    TShpProcesso* disc = s.gp.Disc(second->Shape);
    QCOMPARE(disc->parentWidget(), s.gp.ClientArea());
    QVERIFY(disc->isVisibleTo(&s.gp));
    QCOMPARE(disc->size(), QSize(12, 12));
    QCOMPARE(disc->toolTip(), QString::number(second->PID));
    QCOMPARE(disc->FillColor(), TColor{0x00FF00});

    // The first of the highest queue goes onto the processor; the others move up their row and
    // the refresh leaves the running disc where the processor put it.
    {
      std::lock_guard lock(s.sim.Lock);
      s.sim.Cpu.Cycle();
    }
    s.Refresh();
    QCOMPARE(s.DiscAt(first), QPoint(185, 35));
    QCOMPARE(s.DiscAt(second), QPoint(355, 149));
    QCOMPARE(s.DiscAt(third), QPoint(367, 149));
    QCOMPARE(s.DiscAt(low), QPoint(355, 245));
  }

  // The head of the wait list on the I/O device, the rest behind it, the suspended row below.
  void waitAreaDiscsArePlacedByListAndOrder() {
    ShownSimulation s;
    std::vector<TProcesso*> waiting;
    for (int i = 0; i < 3; ++i) {
      waiting.push_back(s.Create(0, MakeColor(10 * i, 0, 0)));
    }
    TProcesso* s0 = s.Create(0, 0x00FF00);
    TProcesso* s1 = s.Create(0, 0x0000FF);
    {
      std::lock_guard lock(s.sim.Lock);
      for (TProcesso* p : waiting) {
        s.sim.Kernel.RemoveFromReadyQueues(p);
        s.sim.Espera.Enqueue(p, psIO);
      }
      for (TProcesso* p : {s0, s1}) {
        p->SetSuspendRequest(true);
        s.sim.Kernel.RemoveFromReadyQueues(p);
        s.sim.Espera.Enqueue(p, psSuspended);
      }
      s.sim.Espera.SetWaitLength(50);
      s.sim.Espera.Pass();
    }
    s.Refresh();
    const struct {
      const TProcesso* Process;
      QPoint At;
    } expected[] = {{waiting[0], {55, 200}},
                    {waiting[1], {90, 200}},
                    {waiting[2], {102, 200}},
                    {s0, {43, 240}},
                    {s1, {55, 240}}};
    for (const auto& [process, at] : expected) {
      QCOMPARE(s.DiscAt(process), at);
      QCOMPARE(s.gp.Disc(process->Shape)->FillColor(), process->Color);
    }
  }

  void priorityNumbersIgnoreTheLanguageFile() {
    QFile file(QStringLiteral("kelpa.ini"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[GP]\nLabel1=Baixa\nLabel16=Alta\nLabel7=\nLabel19=Fila\n");
    file.close();
    ShownSimulation s;
    for (int priority = 0; priority < 16; ++priority) {
      QLabel* label = s.gp.PriorityLabel(priority);
      QCOMPARE(label->objectName(), QStringLiteral("Label%1").arg(priority + 1));
      QCOMPARE(label->text(), QString::number(priority));
      QCOMPARE(label->pos(), QPoint(308, kLabelTops[priority]));
    }
    QCOMPARE(s.gp.findChild<QLabel*>(QStringLiteral("Label19"))->text(), QStringLiteral("Fila"));
    QVERIFY(s.gp.PriorityLabel(16) == nullptr && s.gp.PriorityLabel(-1) == nullptr);
  }

  // The window draws the queues the policy has and labels them, live, and is the described
  // ladder again back under the priority kernel.
  void queuesFollowThePolicy() {
    ShownSimulation s;
    s.gp.show();
    const auto visibleLabels = [&s] {
      int shown = 0;
      for (int queue = 0; queue < 16; ++queue) {
        shown += s.gp.PriorityLabel(queue)->isVisible() ? 1 : 0;
      }
      return shown;
    };
    const auto text = [&s](int queue) { return s.gp.PriorityLabel(queue)->text(); };
    const struct {
      int policy;
      int levels;
      int rows;
      QString bottom;
      QString top;
    } cases[] = {{1, 3, 1, "Fila", "Fila"}, {5, 3, 3, "N0", "N2"}, {5, 16, 16, "N0", "N15"},
                 {5, 1, 1, "N0", "N0"},     {0, 1, 16, "0", "15"}, {3, 5, 1, "Fila", "Fila"},
                 {0, 5, 16, "0", "15"}};
    for (const auto& c : cases) {
      s.sim.Apply(SetOption{OptionId::MlfqLevels, c.levels});
      s.sim.Apply(SetOption{OptionId::Scheduler, c.policy});
      QCOMPARE(s.gp.QueueRows(), c.rows);
      QCOMPARE(visibleLabels(), c.rows);
      QCOMPARE(text(0), c.bottom);
      QCOMPARE(text(c.rows - 1), c.top);
      // Real time is the priority kernel's alone.
      QCOMPARE(s.LabelIsRed(8), c.policy == 0);
    }
  }

  void labelsFromTheThresholdUpAreRed() {
    ShownSimulation s;
    s.gp.show();
    for (int priority = 0; priority < 16; ++priority) {
      QCOMPARE(s.LabelIsRed(priority), priority >= 8);
    }
    s.gp.PaintRealTimeLabels(0);
    for (int priority = 0; priority < 16; ++priority) {
      QVERIFY(s.LabelIsRed(priority));
    }
    // Shown again, the window recolours from the settings in force.
    s.gp.hide();
    s.sim.Settings.RealTimeThreshold = 16;
    s.gp.show();
    for (int priority = 0; priority < 16; ++priority) {
      QVERIFY(!s.LabelIsRed(priority));
    }
  }

  // In a dark theme the plain priority numbers and the options' controls take the theme's light
  // text; only the real-time numbers keep their red.
  void plainTextFollowsADarkTheme() {
    const QPalette before = QApplication::palette();
    QPalette dark(QColor(40, 40, 40));  // Qt derives light text from a dark window colour
    QApplication::setPalette(dark);
    {
      ShownSimulation s;
      s.gp.show();
      const QColor text = dark.color(QPalette::WindowText);
      QVERIFY(text.lightness() > 200);
      QCOMPARE(s.gp.PriorityLabel(3)->palette().color(QPalette::WindowText), text);
      QVERIFY(s.LabelIsRed(10));
      s.gp.PaintRealTimeLabels(12);
      QCOMPARE(s.gp.PriorityLabel(10)->palette().color(QPalette::WindowText), text);
      QCOMPARE(s.opt.findChild<QWidget*>("CheckBox1")->palette().color(QPalette::WindowText), text);
    }
    QApplication::setPalette(before);
  }

  // In either look, chosen while the windows are open, every mark reads on the window: the
  // real-time numbers in a red (the light look keeps its pure red, the dark one needs a lighter
  // one), the tick marks of the track bars, the options' texts.
  void everyMarkReadsInEitherLook_data() {
    QTest::addColumn<int>("lookNumber");
    QTest::newRow("light") << static_cast<int>(Look::Light);
    QTest::newRow("dark") << static_cast<int>(Look::Dark);
  }
  void everyMarkReadsInEitherLook() {
    QFETCH(int, lookNumber);
    const Look look = static_cast<Look>(lookNumber);
    ShownSimulation s;
    s.gp.show();
    ApplyLook(look);
    QCoreApplication::processEvents();  // Qt hands the new palette down to open windows
    const QPalette theme = QApplication::palette();
    QCOMPARE(IsDarkPalette(theme), look == Look::Dark);
    const QColor window = theme.color(QPalette::Window);
    for (int priority = 0; priority < 16; ++priority) {
      QCOMPARE(s.LabelIsRed(priority), priority >= 8);
      const QColor text = s.gp.PriorityLabel(priority)->palette().color(QPalette::WindowText);
      if (look == Look::Dark || priority < 8) {
        QVERIFY2(ContrastRatio(text, window) >= kReadableContrast, qPrintable(text.name()));
      }
    }
    auto bars = s.gp.findChildren<TickedSlider*>() + s.opt.findChildren<TickedSlider*>();
    QCOMPARE(bars.size(), 4);
    for (const TickedSlider* bar : bars) {
      const QColor behind = bar->palette().color(QPalette::Window);
      QVERIFY2(ContrastRatio(bar->TickColour(), behind) >= kReadableContrast,
               qPrintable(bar->objectName()));
    }
    QCOMPARE(s.opt.findChild<QWidget*>("CheckBox1")->palette().color(QPalette::WindowText),
             theme.color(QPalette::WindowText));
    ApplyLook(Look::Desktop);
    QCoreApplication::processEvents();
  }

  void waitTimeBarSetsWaitLengthAndProgressRange() {
    ShownSimulation s;
    auto* bar = s.gp.findChild<QSlider*>(QStringLiteral("TrackBar1"));
    QCOMPARE(bar->value(), 10);
    QCOMPARE(bar->minimum(), 1);
    QCOMPARE(bar->maximum(), 10);
    {
      std::lock_guard lock(s.sim.Lock);
      s.sim.Espera.WaitCounter = 40;
    }
    bar->setValue(1);
    QCOMPARE(s.gp.WaitProgress()->maximum(), 10);
    std::lock_guard lock(s.sim.Lock);
    QCOMPARE(s.sim.Espera.WaitLength(), 10);
    QVERIFY(s.sim.Espera.WaitCounter < 10);
  }

  void timeSliceBarSetsQuantum() {
    ShownSimulation s;
    auto* bar = s.gp.findChild<QSlider*>(QStringLiteral("tcbQuantum"));
    QCOMPARE(bar->value(), 1);
    bar->setValue(3);
    QCOMPARE(s.sim.Kernel.Quantum.load(), 3000);
    QCOMPARE(s.sim.Kernel.SliceLength(), 3);
    bar->setValue(10);
    QCOMPARE(s.sim.Kernel.Quantum.load(), 10000);
  }

  // Each control says what its position means, in its unit, under the control and clear of
  // every other one; the words are the catalogue's.
  void speedControlsSayTheirValues() {
    ShownSimulation s;
    s.gp.show();
    struct Case {
      const char* Bar;
      int Position;
      const char* Text;
    };
    const Case cases[] = {
        {"TrackBar1", 10, "100 passagens"}, {"TrackBar1", 3, "30 passagens"},
        {"tcbQuantum", 1, "1 instrução"},   {"tcbQuantum", 5, "5 instruções"},
        {"tbClock", 1, "1000 ms"},          {"tbClock", 8, "300 ms"},
    };
    QList<QWidget*> others;
    for (QWidget* widget : s.gp.ClientArea()->findChildren<QWidget*>()) {
      if (!widget->objectName().endsWith("Valor") && widget->objectName() != "GroupBox1") {
        others << widget;
      }
    }
    for (const Case& c : cases) {
      auto* bar = s.gp.findChild<QSlider*>(QString::fromLatin1(c.Bar));
      auto* value = s.gp.findChild<QLabel*>(QString::fromLatin1(c.Bar) + "Valor");
      bar->setValue(c.Position);
      QCOMPARE(value->text(), QString::fromUtf8(c.Text));
      const QRect place(value->mapTo(&s.gp, QPoint()), value->size());
      QVERIFY(value->fontMetrics().horizontalAdvance(value->text()) <= value->width());
      QVERIFY(value->parentWidget()->rect().contains(value->geometry()));
      for (QWidget* other : others) {
        QVERIFY2(!place.intersects(QRect(other->mapTo(&s.gp, QPoint()), other->size())),
                 qPrintable(other->objectName()));
      }
    }
  }

  void clockBarSetsPeriod() {
    ShownSimulation s;
    auto* bar = s.gp.findChild<QSlider*>(QStringLiteral("tbClock"));
    QCOMPARE(bar->value(), 1);
    bar->setValue(10);
    QCOMPARE(s.sim.HClock.Period.load(), 100);
    bar->setValue(1);
    QCOMPARE(s.sim.HClock.Period.load(), 1000);
  }

  void closingHidesAndReports() {
    ShownSimulation s;
    int closed = 0;
    QObject::connect(&s.gp, &TfrmGP::closed, [&] { ++closed; });
    s.gp.show();
    QCOMPARE(s.gp.ClientArea()->pos(), QPoint(0, s.gp.menuBar()->height()));
    QCOMPARE(s.gp.size(), s.gp.ClientArea()->size() + QSize(0, s.gp.menuBar()->height()));
    QVERIFY(s.gp.close());
    QVERIFY(s.gp.isHidden());
    QCOMPARE(closed, 1);
    // The menu command opens the options, not modally.
    s.gp.findChild<QAction*>(QStringLiteral("Opcoes1"))->trigger();
    QVERIFY(s.opt.isVisible());
    QVERIFY(!s.opt.isModal());
  }
};

}  // namespace kelpa

QTEST_MAIN(kelpa::ProcessorWindowTest)
#include "processor_window_test.moc"
