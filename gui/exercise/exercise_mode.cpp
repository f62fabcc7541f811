// SPDX-License-Identifier: MIT
#include "gui/exercise/exercise_mode.h"

#include <QCoreApplication>
#include <QEvent>

#include "gui/exercise/exercise_window.h"
#include "gui/processor/process_shape.h"
#include "scenario/scenario_player.h"
#include "session/session.h"

namespace kelpa {

TExerciseMode::TExerciseMode(Session& session, std::function<void()> stepOn,
                             std::function<void()> onChanged, QObject* parent)
    : QObject(parent),
      session_(session),
      stepOn_(std::move(stepOn)),
      onChanged_(std::move(onChanged)) {}

TExerciseMode::~TExerciseMode() {
  QCoreApplication::instance()->removeEventFilter(this);
}

bool TExerciseMode::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick && window_ != nullptr) {
    if (const auto* disc = qobject_cast<TShpProcesso*>(watched)) {
      bool number = false;
      const int pid = disc->toolTip().toInt(&number);
      if (number) {
        window_->ChooseProcess(pid);
        return true;
      }
    }
  }
  return QObject::eventFilter(watched, event);
}

void TExerciseMode::Opened() {
  if (!exercise_) {
    exercise_ = std::make_unique<Exercise>(session_.Sim(), *session_.Player(), session_.Msg());
    window_ = std::make_unique<TExerciseWindow>(session_.Msg());
    connect(window_.get(), &TExerciseWindow::answered, this, [this] { Answer(); });
    connect(window_.get(), &TExerciseWindow::resetAsked, this, [this] { Reset(); });
    connect(window_.get(), &TExerciseWindow::closed, this, [this] {
      on_ = false;
      QCoreApplication::instance()->removeEventFilter(this);
      question_.reset();
      onChanged_();
    });
  }
  exercise_->Opened();
  question_.reset();
  window_->ShowNoQuestion();
  window_->ShowVerdict(0, {});
  ShowScore();
  if (session_.Player()->Opened().Exercise) {
    SetOn(true);
  }
}

void TExerciseMode::SetOn(bool on) {
  on_ = on && exercise_ != nullptr && session_.VirtualTime();
  // The discs are made and released as the run goes: the application's events are watched.
  QCoreApplication::instance()->removeEventFilter(this);
  if (on_) {
    QCoreApplication::instance()->installEventFilter(this);
  }
  question_.reset();
  if (window_) {
    window_->ShowNoQuestion();
    window_->setVisible(on_);
  }
  onChanged_();
}

bool TExerciseMode::Asks() {
  if (!on_) {
    return false;
  }
  const std::int64_t tick = session_.Player()->Tick();
  if (!question_ || question_->Tick != tick) {
    question_ = exercise_->Question();
  }
  if (!question_) {
    window_->ShowNoQuestion();
    return false;
  }
  window_->ShowQuestion(*question_);
  window_->show();
  window_->raise();
  return true;
}

void TExerciseMode::Answer() {
  if (!question_ || question_->Tick != session_.Player()->Tick()) {
    return;
  }
  const ExerciseVerdict verdict = exercise_->Answer(*question_, window_->Answer());
  window_->ShowVerdict(question_->Tick, verdict);
  question_.reset();
  window_->ShowNoQuestion();
  ShowScore();
  stepOn_();
}

void TExerciseMode::Moved(std::int64_t tick, bool back) {
  if (!exercise_) {
    return;
  }
  if (back) {
    exercise_->TakeBackTo(tick);
  }
  question_.reset();
  window_->ShowNoQuestion();
  ShowScore();
}

void TExerciseMode::Reset() {
  exercise_->Score().Reset();
  ShowScore();
}

void TExerciseMode::ShowScore() {
  window_->ShowScore(exercise_->Score());
}

Scenario TExerciseMode::WithScore(Scenario scenario) const {
  return exercise_ ? exercise_->WithScore(std::move(scenario)) : scenario;
}

}  // namespace kelpa
