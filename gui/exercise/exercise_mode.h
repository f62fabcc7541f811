// SPDX-License-Identifier: MIT
// "Exercício": while it is on, the run of an opened scenario asks before each tick it asks about
// (every tick, or those of the scenario's [EXERCICIO] section) and steps on once the question is
// answered, right or wrong. Off, stepping and playing are as they always were.
// A process is chosen in the exercise's window, or by a double click on its disc on the processor
// window.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "scenario/exercise.h"

namespace kelpa {

class Session;
class TExerciseWindow;

class TExerciseMode : public QObject {
 public:
  // stepOn runs the tick once its question is answered; onChanged runs after the mode is turned
  // on or off (the window closed turns it off), so the console can show it.
  TExerciseMode(Session& session, std::function<void()> stepOn, std::function<void()> onChanged,
                QObject* parent);
  ~TExerciseMode() override;
  TExerciseMode(const TExerciseMode&) = delete;
  TExerciseMode& operator=(const TExerciseMode&) = delete;

  // On only while a scenario is open.
  void SetOn(bool on);
  bool On() const { return on_; }
  // A scenario was opened: its section and score are taken, and a scenario with a section turns
  // the mode on.
  void Opened();
  // Before a tick: true when the tick about to run is asked (on, and not answered yet). The
  // question is shown and the tick waits for its answer.
  bool Asks();
  // The run moved without asking (back, or on unseen): the answers about the ticks from `tick`
  // on are taken back when it went back, and a question that stood is withdrawn.
  void Moved(std::int64_t tick, bool back);
  // scenario with the exercise's section and score, when there is one to keep.
  Scenario WithScore(Scenario scenario) const;

  TExerciseWindow* Window() const { return window_.get(); }
  // While on: a double click on a process's disc on the processor window chooses that process.
  bool eventFilter(QObject* watched, QEvent* event) override;
  const Exercise* Core() const { return exercise_.get(); }

 private:
  void Answer();
  void Reset();
  void ShowScore();

  Session& session_;
  std::function<void()> stepOn_;
  std::function<void()> onChanged_;
  std::unique_ptr<Exercise> exercise_;
  std::unique_ptr<TExerciseWindow> window_;
  std::optional<ExerciseQuestion> question_;
  bool on_ = false;
};

}  // namespace kelpa
