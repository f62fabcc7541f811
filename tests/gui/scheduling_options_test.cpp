// SPDX-License-Identifier: MIT
// The scheduling-options window saving through the real settings file in a temporary folder.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <string>
#include <tuple>
#include <vector>

#include "gui/common/option_follower.h"
#include "gui/language/language.h"
#include "gui/processor/processor_window.h"
#include "gui/processor/scheduling_options_window.h"
#include "gui/processor/selection_track_bar.h"
#include "platform/error_reporter.h"
#include "platform/ini_file.h"
#include "session/settings.h"
#include "simulation/scheduling_policy.h"
#include "simulation/simulation.h"
#include "support/recording_log.h"

namespace kelpa {
namespace {

class RecordingReporter : public IErrorReporter {
 public:
  void ShowError(const std::string& message) override { messages.push_back(message); }
  std::vector<std::string> messages;
};

struct OptionsUnderTest {
  OptionsUnderTest()
      : language(KelpaIniPath()),
        sim(clock, log, display, msg),
        gp(sim, &language),
        opt(
            sim,
            [this] {
              RunOptions options;
              {
                std::lock_guard lock(sim.Lock);
                options = sim.Options();
              }
              return SaveLoadSettings(SettingsMode::Save, options, reporter);
            },
            &language) {
    sim.SetEvents(&follower);
    gp.SetOptionsWindow(&opt);
  }
  SelectionTrackBar* Threshold() {
    return opt.findChild<SelectionTrackBar*>(QStringLiteral("TrackBar1"));
  }
  QCheckBox* Check(const char* name) {
    return opt.findChild<QCheckBox*>(QString::fromLatin1(name));
  }
  QSpinBox* Rule(const char* name) { return opt.findChild<QSpinBox*>(QString::fromLatin1(name)); }
  QComboBox* Policy() { return opt.findChild<QComboBox*>(QStringLiteral("ComboBox1")); }
  void Click(const char* name) { opt.findChild<QToolButton*>(QString::fromLatin1(name))->click(); }
  // Red, in whichever shade of it reads on the window.
  bool LabelIsRed(int priority) const {
    const QColor text = gp.PriorityLabel(priority)->palette().color(QPalette::WindowText);
    return text.red() > text.green() + 100 && text.green() == text.blue();
  }

  TLanguage language;
  ManualClock clock;
  test::RecordingLog log;
  NullDisplay display;
  TMessages msg;
  RecordingReporter reporter;
  Simulation sim;
  TfrmGP gp;
  Tfrm_Opt opt;
  // The windows follow the options set, as the window set has them do.
  OptionFollower follower{[this](OptionId option, int value) {
    gp.ShowOption(option, value);
    opt.ShowOption(option, value);
  }};
};

QByteArray ReadIni() {
  QFile file(QStringLiteral("kelpa.ini"));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteIni(const QByteArray& contents) {
  QFile file(QStringLiteral("kelpa.ini"));
  QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(contents);
}

const QByteArray kSettings =
    "[GLOBAL]\r\nPREEMPCAO=1\r\nPRIORIDADE_DINAMICA=1\r\nTEMPO_REAL=8\r\n[OUTRA]\r\nchave="
    "valor\r\n";

}  // namespace

class SchedulingOptionsTest : public QObject {
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
  void init() {
    QDir(dir_.filePath(QStringLiteral("kelpa.ini"))).removeRecursively();
    QFile::remove(dir_.filePath(QStringLiteral("kelpa.ini")));
    WriteIni(kSettings);
  }

  void createdFromTheSettingsInForce() {
    OptionsUnderTest t;
    QCOMPARE(t.opt.windowTitle(), QStringLiteral("Opções de Escalonamento"));
    QCOMPARE(t.Threshold()->minimum(), 0);
    QCOMPARE(t.Threshold()->maximum(), 16);
    QCOMPARE(t.Threshold()->value(), 8);
    QCOMPARE(t.Threshold()->geometry(), QRect(194, 8, 150, 25));
    QCOMPARE(t.Threshold()->SelStart(), 8);
    QCOMPARE(t.Threshold()->SelEnd(), 15);
    QVERIFY(t.Check("CheckBox1")->isChecked() && t.Check("CheckBox2")->isChecked());
    QCOMPARE(t.Check("CheckBox1")->text(),
             QStringLiteral("Escalonamento preemptivo por prioridade"));
    QCOMPARE(t.Check("CheckBox2")->text(), QStringLiteral("Escalonamento com prioridade dinâmica"));
    // The band follows the thumb.
    t.Threshold()->setValue(3);
    QCOMPARE(t.Threshold()->SelStart(), 3);
    QCOMPARE(t.Threshold()->SelEnd(), 15);
  }

  void confirmPutsSettingsInForceAndSavesThem() {
    OptionsUnderTest t;
    t.opt.show();
    t.Check("CheckBox1")->setChecked(false);
    t.Threshold()->setValue(16);
    t.Click("SpeedButton1");
    QVERIFY(!t.sim.Settings.PreemptionEnabled.load());
    QVERIFY(t.sim.Settings.DynamicPriorityEnabled.load());
    QCOMPARE(t.sim.Settings.RealTimeThreshold.load(), 16);
    QVERIFY(t.opt.isHidden());
    QVERIFY(t.reporter.messages.empty());
    const TIniFile saved(KelpaIniPath());
    QCOMPARE(saved.ReadString("GLOBAL", "PREEMPCAO", "?"), std::string("0"));
    QCOMPARE(saved.ReadString("GLOBAL", "PRIORIDADE_DINAMICA", "?"), std::string("1"));
    QCOMPARE(saved.ReadString("GLOBAL", "TEMPO_REAL", "?"), std::string("16"));
    QCOMPARE(saved.ReadString("OUTRA", "chave", "?"), std::string("valor"));
    // No priority is real-time any more.
    for (int priority = 0; priority < 16; ++priority) {
      QVERIFY(!t.LabelIsRed(priority));
    }
  }

  void cancelAndCloseBoxChangeNothing() {
    OptionsUnderTest t;
    for (const bool byCloseBox : {false, true}) {
      t.opt.show();
      t.Check("CheckBox1")->setChecked(false);
      t.Check("CheckBox2")->setChecked(false);
      t.Threshold()->setValue(2);
      if (byCloseBox) {
        t.opt.close();
      } else {
        t.Click("SpeedButton2");
      }
      QVERIFY(t.opt.isHidden());
      QVERIFY(t.sim.Settings.PreemptionEnabled.load());
      QVERIFY(t.sim.Settings.DynamicPriorityEnabled.load());
      QCOMPARE(t.sim.Settings.RealTimeThreshold.load(), 8);
      QCOMPARE(ReadIni(), kSettings);
      // Reopened, the window shows the values in force.
      t.opt.show();
      QVERIFY(t.Check("CheckBox1")->isChecked() && t.Check("CheckBox2")->isChecked());
      QCOMPARE(t.Threshold()->value(), 8);
      t.opt.hide();
    }
  }

  void thresholdAboveRangeShowsAndStoresSixteen() {
    WriteIni("[GLOBAL]\r\nPREEMPCAO=1\r\nPRIORIDADE_DINAMICA=0\r\nTEMPO_REAL=20\r\n");
    OptionsUnderTest t;
    RunOptions read;
    ReadSettings(read);
    QCOMPARE(read.RealTimeThreshold, 16);  // clamped where it is read
    for (const OptionRow& row : kOptionTable) {
      t.sim.Apply(SetOption{row.Id, row.Get(read)});
    }
    t.opt.show();
    QCOMPARE(t.Threshold()->value(), 16);
    QVERIFY(!t.Check("CheckBox2")->isChecked());
    t.Click("SpeedButton1");
    QCOMPARE(t.sim.Settings.RealTimeThreshold.load(), 16);
    QCOMPARE(TIniFile(KelpaIniPath()).ReadInteger("GLOBAL", "TEMPO_REAL", -1), 16);
    QCOMPARE(TIniFile(KelpaIniPath()).ReadInteger("GLOBAL", "PRIORIDADE_DINAMICA", -1), 0);
  }

  void failedSaveKeepsTheWindowOpen() {
    // A folder in the file's place cannot be replaced by the saved file.
    QFile::remove(QStringLiteral("kelpa.ini"));
    QVERIFY(QDir().mkdir(QStringLiteral("kelpa.ini")));
    OptionsUnderTest t;
    t.opt.show();
    t.Threshold()->setValue(4);
    t.Click("SpeedButton1");
    QCOMPARE(t.reporter.messages.size(), std::size_t{1});
    QCOMPARE(t.reporter.messages.front(), "Unable to write to " + KelpaIniPath());
    QVERIFY(t.opt.isVisible());
    // The values are in force for this run and the labels already show them.
    QCOMPARE(t.sim.Settings.RealTimeThreshold.load(), 4);
    QVERIFY(t.LabelIsRed(4) && !t.LabelIsRed(3));
  }

  void policyAndFeedbackRulesAreConfirmedFollowedAndCancelled_data() {
    QTest::addColumn<int>("policy");
    QTest::addColumn<int>("levels");
    QTest::addColumn<int>("allotment");
    QTest::addColumn<int>("boost");
    QTest::newRow("fcfs") << 1 << 3 << 4 << 0;
    QTest::newRow("srtf") << 4 << 3 << 4 << 0;
    QTest::newRow("mlfq, widest") << 5 << 16 << 100 << 1000;
    QTest::newRow("mlfq, one level") << 5 << 1 << 1 << 7;
  }

  void policyAndFeedbackRulesAreConfirmedFollowedAndCancelled() {
    QFETCH(int, policy);
    QFETCH(int, levels);
    QFETCH(int, allotment);
    QFETCH(int, boost);
    OptionsUnderTest t;
    t.opt.show();
    QCOMPARE(t.Policy()->count(), kSchedulingPolicyCount);
    QCOMPARE(t.Policy()->currentText(), QString::fromStdString(t.msg.MsgPoliticaPrioridade));
    QVERIFY(!t.Rule("SpinEdit1")->isEnabled());
    t.Policy()->setCurrentIndex(policy);
    const bool mlfq = policy == static_cast<int>(SchedulingPolicy::Mlfq);
    for (const char* rule : {"SpinEdit1", "SpinEdit2", "SpinEdit3"}) {
      QCOMPARE(t.Rule(rule)->isEnabled(), mlfq);
    }
    t.Rule("SpinEdit1")->setValue(levels);
    t.Rule("SpinEdit2")->setValue(allotment);
    t.Rule("SpinEdit3")->setValue(boost);
    t.Click("SpeedButton1");
    const auto kernel = [&t] {
      std::lock_guard lock(t.sim.Lock);
      return std::tuple{static_cast<int>(t.sim.Kernel.Policy), t.sim.Kernel.Mlfq.Levels,
                        t.sim.Kernel.Mlfq.Allotment, t.sim.Kernel.Mlfq.BoostPeriod};
    };
    QVERIFY(kernel() == std::tuple(policy, levels, allotment, boost));
    QCOMPARE(t.gp.QueueRows(), mlfq ? levels : 1);

    // Set elsewhere, the controls follow; "Cancelar" brings back what is in force.
    t.opt.show();
    t.sim.Apply(SetOption{OptionId::Scheduler, 2});
    t.sim.Apply(SetOption{OptionId::MlfqAllotment, 9});
    QCOMPARE(t.Policy()->currentIndex(), 2);
    QCOMPARE(t.Rule("SpinEdit2")->value(), 9);
    t.Policy()->setCurrentIndex(0);
    t.Rule("SpinEdit3")->setValue(boost + 1);
    t.Click("SpeedButton2");
    QCOMPARE(t.Policy()->currentIndex(), 2);
    QCOMPARE(t.Rule("SpinEdit3")->value(), boost);
    QVERIFY(kernel() == std::tuple(2, levels, 9, boost));
  }

  void selectionBandIsDrawnFromTheThumb() {
    OptionsUnderTest t;
    SelectionTrackBar* bar = t.Threshold();
    const QColor band = bar->BandColour();
    const auto bandPixels = [&](int position) {
      bar->setValue(position);
      const QImage image = bar->grab().toImage();
      int count = 0;
      // Only the right third: the band lies right of a thumb at 0 and nowhere for 16.
      for (int y = 0; y < image.height(); ++y) {
        for (int x = image.width() * 2 / 3; x < image.width(); ++x) {
          count += image.pixelColor(x, y) == band ? 1 : 0;
        }
      }
      return count;
    };
    const int atZero = bandPixels(0);
    const int atTop = bandPixels(16);
    QVERIFY(atZero > atTop);
  }
};

}  // namespace kelpa

QTEST_MAIN(kelpa::SchedulingOptionsTest)
#include "scheduling_options_test.moc"
