// SPDX-License-Identifier: MIT
// The exercise's window: the question about the tick about to run, the choices to answer it
// with (a process or none, a state, a page of a process, the ready queue to put in order), what
// the last answer was worth, and the score, which "Zerar" resets. It only shows and asks; the
// exercise mode judges.
#pragma once

#include <QWidget>
#include <cstdint>
#include <optional>

#include "scenario/exercise.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace kelpa {

struct TMessages;

class TExerciseWindow : public QWidget {
  Q_OBJECT

 public:
  TExerciseWindow(const TMessages& msg, QWidget* parent = nullptr);

  void ShowQuestion(const ExerciseQuestion& question);
  // No question stands: the tick about to run is not asked (or the run moved on).
  void ShowNoQuestion();
  // What the answer about `tick` was worth; an empty verdict clears it.
  void ShowVerdict(std::int64_t tick, const ExerciseVerdict& verdict);
  void ShowScore(const ExerciseScore& score);
  // The answer as the choices stand.
  ExerciseAnswer Answer() const;
  // Chooses the process of that identifier, as a click on it elsewhere does.
  void ChooseProcess(std::int32_t pid);
  bool Asking() const;
  const std::optional<ExerciseQuestion>& Question() const { return question_; }

  QComboBox* cbProcesso = nullptr;
  QComboBox* cbEstado = nullptr;
  QSpinBox* sePagina = nullptr;
  QListWidget* lbFila = nullptr;
  QPushButton* btnResponder = nullptr;
  QPushButton* btnZerar = nullptr;
  QLabel* lblPergunta = nullptr;
  QLabel* lblResultado = nullptr;
  QLabel* lblPlacar = nullptr;

 signals:
  void answered();
  void resetAsked();
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void MoveQueueItem(int by);

  const TMessages& msg_;
  QLabel* processLabel_ = nullptr;
  QLabel* clickHint_ = nullptr;
  QLabel* pageLabel_ = nullptr;
  QWidget* queueButtons_ = nullptr;
  std::optional<ExerciseQuestion> question_;
};

}  // namespace kelpa
