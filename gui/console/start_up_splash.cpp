// SPDX-License-Identifier: MIT
#include "gui/console/start_up_splash.h"

#include <QDialog>
#include <QTimer>
#include <QWidget>
#include <utility>

#include "gui/console/window_set.h"
#include "session/session.h"

namespace kelpa {

TStartUpSplash::TStartUpSplash(QWidget* console, int splashMs, Session& session,
                               TWindowSet& windows)
    : QObject(console),
      console_(console),
      session_(session),
      windows_(windows),
      splashMs_(splashMs),
      timer_(new QTimer(this)) {
  timer_->setObjectName("Timer2");
  timer_->setSingleShot(true);
  timer_->setInterval(splashMs);
  connect(timer_, &QTimer::timeout, this, [this] { End(); });
}

void TStartUpSplash::Start(QDialog& credits) {
  connect(&credits, &QDialog::finished, this, [this] { FinishStartUp(); });
  if (splashMs_ <= 0) {
    End();
    return;
  }
  credits.setWindowModality(Qt::ApplicationModal);
  credits.show();
  // The splash counts from the credits on the screen, so a start-up message box that the user
  // took long to close does not eat it.
  timer_->start();
}

void TStartUpSplash::End() {
  // Closing the credits finishes start-up, if the user has not closed them already.
  CloseCredits();
  FinishStartUp();
  for (QWidget* window : {windows_.Processor(), windows_.Memory(), console_}) {
    if (window != nullptr) {
      window->show();
    }
  }
  ended_ = true;
  if (then_ && !stopped_) {
    std::exchange(then_, nullptr)();
  }
}

void TStartUpSplash::WhenEnded(std::function<void()> then) {
  if (ended_) {
    if (!stopped_) {
      then();
    }
    return;
  }
  then_ = std::move(then);
}

void TStartUpSplash::Stop() {
  stopped_ = true;
  then_ = nullptr;
  CloseCredits();
}

void TStartUpSplash::CloseCredits() {
  timer_->stop();
  if (QDialog* credits = windows_.Credits()) {
    credits->close();
  }
  // A creation batch in progress ends here: its timer would otherwise go on creating processes
  // inside the dialog's own event loop after the shutdown line.
  if (QDialog* creation = windows_.Creation()) {
    creation->reject();
  }
}

void TStartUpSplash::FinishStartUp() {
  if (ready_ || stopped_ || windows_.Credits() == nullptr) {
    return;
  }
  ready_ = true;
  // From the menu the credits are an ordinary window.
  windows_.Credits()->setWindowModality(Qt::NonModal);
  session_.MarkReady();
}

}  // namespace kelpa
