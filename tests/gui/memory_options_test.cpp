// SPDX-License-Identifier: MIT
// The virtual-memory options window against a real simulation: the controls at start, what
// "Confirmar" writes (typed texts included) and what "Cancelar" brings back.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>
#include <mutex>

#include "gui/memory/memory_options_window.h"
#include "gui/memory/memory_window.h"
#include "support/test_simulation.h"

using kelpa::Tfrm_Opt_MV;
using kelpa::test::TestSimulation;

namespace {

struct Controls {
  explicit Controls(Tfrm_Opt_MV& window)
      : combo(window.findChild<QComboBox*>(QStringLiteral("ComboBox1"))),
        check(window.findChild<QCheckBox*>(QStringLiteral("CheckBox1"))),
        spin(window.findChild<QSpinBox*>(QStringLiteral("SpinEdit1"))),
        confirm(window.findChild<QPushButton*>(QStringLiteral("SpeedButton1"))),
        cancel(window.findChild<QPushButton*>(QStringLiteral("SpeedButton2"))) {}

  // Text in the spin edit's field as if typed, not yet interpreted by the spin box.
  void TypeInSpin(const QString& text) { spin->findChild<QLineEdit*>()->setText(text); }

  QComboBox* combo;
  QCheckBox* check;
  QSpinBox* spin;
  QPushButton* confirm;
  QPushButton* cancel;
};

struct Settings {
  bool anticipated;
  bool frameLimit;
  int minFree;
};

Settings Read(TestSimulation& t) {
  std::lock_guard lock(t.sim.Lock);
  return {t.sim.Memoria.AnticipatedFetch, t.sim.Memoria.FrameLimitEnabled,
          t.sim.Memoria.MinFreePercent};
}

}  // namespace

class MemoryOptionsTest : public QObject {
  Q_OBJECT

 private slots:
  void freshWindowShowsTheDefaults() {
    TestSimulation t;
    Tfrm_Opt_MV window(t.sim);
    Controls c(window);
    QCOMPARE(window.windowTitle(), QStringLiteral("Opções de Memória Virtual"));
    QCOMPARE(window.pos(), QPoint(308, 194));
    QCOMPARE(c.combo->count(), 2);
    QCOMPARE(c.combo->itemText(0), QStringLiteral("Antecipada"));
    QCOMPARE(c.combo->itemText(1), QStringLiteral("Por demanda"));
    QCOMPARE(c.combo->currentText(), QStringLiteral("Antecipada"));
    QVERIFY(c.combo->isEditable());
    QVERIFY(c.check->isChecked());
    QCOMPARE(c.check->text(), QStringLiteral("Implementar limite de frames por processo"));
    QCOMPARE(c.spin->value(), 80);
    QCOMPARE(c.spin->minimum(), 0);
    QCOMPARE(c.spin->maximum(), 100);
    QCOMPARE(c.confirm->text(), QStringLiteral("Confirmar"));
    QCOMPARE(c.cancel->text(), QStringLiteral("Cancelar"));
    QVERIFY(c.confirm->font().bold());
    QVERIFY(!window.isModal());
  }

  void confirmingOnDemandStartsLaterProcessesWithoutFrames() {
    TestSimulation t;
    Tfrm_Opt_MV window(t.sim);
    Controls c(window);
    kelpa::TProcesso* before = t.Create(kelpa::pkCPU, 0, 3);

    window.show();
    c.combo->setCurrentIndex(1);
    c.check->setChecked(false);
    c.spin->setValue(30);
    c.confirm->click();
    QVERIFY(!window.isVisible());
    const Settings s = Read(t);
    QCOMPARE(s.anticipated, false);
    QCOMPARE(s.frameLimit, false);
    QCOMPARE(s.minFree, 30);

    kelpa::TProcesso* after = t.Create(kelpa::pkCPU, 0, 3);
    QVERIFY(after != nullptr);
    std::lock_guard lock(t.sim.Lock);
    QVERIFY(after->Frames.empty());
    for (const kelpa::TPageEntry& entry : after->PageTable) {
      QVERIFY(!entry.Valid);
    }
    QCOMPARE(before->Frames.size(), std::size_t{3});
    QCOMPARE(t.sim.Memoria.FreePageCount(), 97);
  }

  void cancellingRestoresTheSettingsInForce() {
    TestSimulation t;
    Tfrm_Opt_MV window(t.sim);
    Controls c(window);
    c.combo->setCurrentIndex(1);
    c.check->setChecked(false);
    c.spin->setValue(30);
    c.confirm->click();

    window.show();
    c.combo->setCurrentIndex(0);
    c.check->setChecked(true);
    c.spin->setValue(55);
    c.cancel->click();
    QVERIFY(!window.isVisible());
    QCOMPARE(c.combo->currentIndex(), 1);
    QCOMPARE(c.combo->currentText(), QStringLiteral("Por demanda"));
    QVERIFY(!c.check->isChecked());
    QCOMPARE(c.spin->value(), 30);
    const Settings s = Read(t);
    QCOMPARE(s.anticipated, false);
    QCOMPARE(s.frameLimit, false);
    QCOMPARE(s.minFree, 30);

    // A typed text over the selected item, and a typed spin text, are replaced as well.
    c.combo->setEditText(QStringLiteral("qualquer"));
    c.TypeInSpin(QStringLiteral("7"));
    c.cancel->click();
    QCOMPARE(c.combo->currentText(), QStringLiteral("Por demanda"));
    QCOMPARE(c.spin->text(), QStringLiteral("30"));
  }

  void typedComboTextCountsAsOnDemandUnlessItIsTheFirstItem() {
    TestSimulation t;
    Tfrm_Opt_MV window(t.sim);
    Controls c(window);
    c.combo->setEditText(QStringLiteral("Antecipada mas nem tanto"));
    c.confirm->click();
    QCOMPARE(Read(t).anticipated, false);
    QCOMPARE(c.combo->count(), 2);  // typing adds no item

    c.combo->setCurrentIndex(1);
    c.combo->setEditText(QStringLiteral("Antecipada"));
    c.confirm->click();
    QCOMPARE(Read(t).anticipated, true);

    c.combo->setEditText(QString());
    c.confirm->click();
    QCOMPARE(Read(t).anticipated, false);
  }

  void typedSpinTextCountsAsItsNumberOrZero() {
    TestSimulation t;
    Tfrm_Opt_MV window(t.sim);
    Controls c(window);
    c.TypeInSpin(QStringLiteral("45"));
    c.confirm->click();
    QCOMPARE(Read(t).minFree, 45);

    c.TypeInSpin(QStringLiteral("abc"));
    c.confirm->click();
    QCOMPARE(Read(t).minFree, 0);

    c.TypeInSpin(QString());
    c.confirm->click();
    QCOMPARE(Read(t).minFree, 0);

    c.TypeInSpin(QStringLiteral("250"));
    c.confirm->click();
    QCOMPARE(Read(t).minFree, 100);
  }

  // The policy by its scenario name: confirmed into the memory manager, followed when it changes
  // elsewhere, brought back by "Cancelar".
  void replacementPolicyIsChosenFollowedAndCancelled() {
    TestSimulation t;
    Tfrm_Opt_MV window(t.sim);
    auto* policy = window.findChild<QComboBox*>(QStringLiteral("ComboBox2"));
    QVERIFY(policy != nullptr);
    QCOMPARE(policy->count(), 4);
    QCOMPARE(policy->currentText(), QStringLiteral("FIFO"));
    policy->setCurrentText(QStringLiteral("SEGUNDA_CHANCE"));
    window.findChild<QPushButton*>(QStringLiteral("SpeedButton1"))->click();
    const auto inForce = [&t] {
      std::lock_guard lock(t.sim.Lock);
      return t.sim.Memoria.Replacement;
    };
    QCOMPARE(inForce(), kelpa::ReplacementPolicy::SecondChance);

    window.ShowOption(kelpa::OptionId::Replacement, 3);
    QCOMPARE(policy->currentText(), QStringLiteral("OTIMA"));
    policy->setCurrentIndex(1);
    window.findChild<QPushButton*>(QStringLiteral("SpeedButton2"))->click();
    QCOMPARE(policy->currentText(), QStringLiteral("SEGUNDA_CHANCE"));
    QCOMPARE(inForce(), kelpa::ReplacementPolicy::SecondChance);
  }

  void memoryWindowMenuShowsTheOptionsWithoutBlocking() {
    TestSimulation t;
    kelpa::TfrmMemoVirt memory(t.sim);
    Tfrm_Opt_MV window(t.sim);
    memory.SetOptionsWindow(&window);
    memory.findChild<QAction*>(QStringLiteral("Opes1"))->trigger();
    QVERIFY(window.isVisible());
    QVERIFY(!window.isModal());
  }
};

QTEST_MAIN(MemoryOptionsTest)
#include "memory_options_test.moc"
