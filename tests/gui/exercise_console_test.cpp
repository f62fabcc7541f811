// SPDX-License-Identifier: MIT
// "Exercício" on the real console: on an opened lesson a step first asks about its tick, the
// answer given in the exercise's window (a process also by a double click in the process list or
// on its disc) steps on and is scored, "Voltar" takes the score back,
// a saved run opens again with its score and its exercise on, and off everything steps as before.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "console_handle.h"
#include "gui/console/scenario_controls.h"
#include "gui/exercise/exercise_mode.h"
#include "gui/exercise/exercise_window.h"
#include "gui/process/process_list_window.h"
#include "gui/processor/process_shape.h"
#include "gui/processor/processor_window.h"
#include "scenario/exercise_oracle.h"
#include "scenario/scenario_reader.h"
#include "support/temp_working_directory.h"

using namespace kelpa;

class ExerciseConsoleTest : public QObject {
  Q_OBJECT

 private slots:
  void aStepAsksFirstAndTheAnswerStepsOnScored();
};

void ExerciseConsoleTest::aStepAsksFirstAndTheAnswerStepsOnScored() {
  test::TempWorkingDirectory dir;
  QString chosen;
  TConsoleHooks hooks;
  hooks.ChooseScenarioFile = [&chosen](bool) { return chosen; };
  hooks.AskTick = [](std::int64_t) { return std::optional<std::int64_t>(1); };
  ConsoleHandle console = ConsoleHandle::Started(std::move(hooks));
  auto* button = console->findChild<QToolButton*>("SpeedButton3");
  QVERIFY(button != nullptr && button->isHidden());  // real time: nothing new to see

  const std::filesystem::path lessons =
      std::filesystem::path(__FILE__).parent_path() / ".." / ".." / "examples" / "scenarios";
  std::filesystem::copy_file(lessons / "06-fcfs-sjf-srtf.ini", "aula.ini");
  chosen = "aula.ini";
  console->findChild<QAction*>("AbrirCenario1")->trigger();
  TScenarioControls& controls = console->ScenarioControls();
  controls.SetPlaying(false);
  QVERIFY(!button->isHidden());
  QVERIFY(!button->isChecked());

  button->click();
  QVERIFY(controls.ExerciseMode().On());
  QVERIFY(console->findChild<QAction*>("Exercicio1")->isChecked());
  TExerciseWindow* window = controls.ExerciseMode().Window();
  QVERIFY(window->isVisible());
  QVERIFY(window->Asking());
  QVERIFY(window->lblPergunta->text().startsWith("Tick 0:"));

  // "Passo" asks; it does not step. A wrong answer steps on with the right one and its line.
  console->SpeedButton2Click();
  QCOMPARE(controls.Tick(), 0);
  window->cbProcesso->setCurrentIndex(window->cbProcesso->findData(-1));
  window->btnResponder->click();
  QCOMPARE(controls.Tick(), 1);
  QVERIFY2(window->lblResultado->text().contains(QStringLiteral("Errado: a resposta certa é")),
           qPrintable(window->lblResultado->text()));
  QVERIFY(window->lblResultado->text().contains(QStringLiteral("No log: Processo")));
  QVERIFY(window->lblPlacar->text().startsWith(QStringLiteral("Certas: 0   Erradas: 1")));

  // The right answer, from a copy of the run, scores.
  QVERIFY(window->Asking());
  const ExerciseQuestion question = *window->Question();
  QCOMPARE(question.Tick, 1);
  const ScenarioReading lesson = ReadScenarioFile("aula.ini", console->Msg());
  ExerciseOracle oracle(console->Msg());
  const TickFacts& facts = oracle.Facts(*lesson.Value, 1);
  if (question.Kind == QuestionKind::State) {
    for (const ProcessFact& p : facts.After) {
      if (p.Pid == question.Pid) {
        window->cbEstado->setCurrentIndex(static_cast<int>(p.State));
      }
    }
  } else {
    QCOMPARE(question.Kind, QuestionKind::Runs);
    window->ChooseProcess(*facts.Running);
  }
  window->btnResponder->click();
  QCOMPARE(controls.Tick(), 2);
  QVERIFY2(window->lblResultado->text().endsWith(QStringLiteral("Certo!")),
           qPrintable(window->lblResultado->text()));
  QVERIFY(window->lblPlacar->text().startsWith(QStringLiteral("Certas: 1   Erradas: 1")));

  // "Voltar" to tick 1 takes back the answer about tick 1.
  console->Voltar1Click();
  QCOMPARE(controls.Tick(), 1);
  QVERIFY(window->lblPlacar->text().startsWith(QStringLiteral("Certas: 0   Erradas: 1")));

  // A double click on a process in the process list chooses it.
  console->Selecionar1Click();
  auto* grid = console->ProcessListWindow()->findChild<QTableWidget*>("stg1");
  console->ProcessListWindow()->Timer1Timer();
  console->SpeedButton2Click();
  QVERIFY(window->Asking() && grid->rowCount() > 0);
  const int pid = grid->item(0, 1)->text().toInt();
  window->cbProcesso->setCurrentIndex(-1);
  emit grid->cellDoubleClicked(0, 3);
  QCOMPARE(window->cbProcesso->currentData().toInt(), pid);

  // So does a double click on its disc on the processor window.
  QCoreApplication::processEvents();
  const TShpProcesso* disc = console->ProcessorWindow()->findChild<TShpProcesso*>();
  QVERIFY(disc != nullptr);
  window->cbProcesso->setCurrentIndex(-1);
  QTest::mouseDClick(const_cast<TShpProcesso*>(disc), Qt::LeftButton);
  QCOMPARE(window->cbProcesso->currentData().toString(), disc->toolTip());

  // Saved and opened again: the score comes back, and the exercise is on.
  chosen = "salvo.ini";
  console->SalvarCenario1Click();
  std::ifstream in("salvo.ini");
  const std::string saved{std::istreambuf_iterator<char>(in), {}};
  QVERIFY2(saved.find("RESPOSTAS=0:EXECUTA:ERRADO\n") != std::string::npos, saved.c_str());
  button->click();
  QVERIFY(!controls.ExerciseMode().On());
  QVERIFY(window->isHidden());
  console->findChild<QAction*>("AbrirCenario1")->trigger();
  controls.SetPlaying(false);
  QVERIFY(controls.ExerciseMode().On());
  QVERIFY(button->isChecked());
  QVERIFY(window->lblPlacar->text().startsWith(QStringLiteral("Certas: 0   Erradas: 1")));

  // Off, "Passo" steps at once.
  button->click();
  console->SpeedButton2Click();
  QCOMPARE(controls.Tick(), 1);
}

QTEST_MAIN(ExerciseConsoleTest)
#include "exercise_console_test.moc"
