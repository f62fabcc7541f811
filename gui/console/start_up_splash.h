// SPDX-License-Identifier: MIT
// The end of start-up: the credits stay in front, modal, until the splash ends or the user
// closes them, and start-up then finishes with the ready line. No nested event loop: the program
// entry goes on into its own meanwhile. When the splash ends, the console and the processor and
// memory windows appear.
#pragma once

#include <QObject>
#include <functional>

class QDialog;
class QTimer;
class QWidget;

namespace kelpa {

class Session;
class TWindowSet;

class TStartUpSplash : public QObject {
 public:
  // A splash of splashMs over console (which owns it), of the credits of windows.
  TStartUpSplash(QWidget* console, int splashMs, Session& session, TWindowSet& windows);

  // Shows credits; a splash of no length ends before this returns.
  void Start(QDialog& credits);
  // The splash's end: start-up finishes, if the user has not closed the credits already.
  void End();
  // The console shut down: the credits close, and start-up never finishes.
  void Stop();
  // True once start-up has finished (the ready line is logged).
  bool Ready() const { return ready_; }
  // Runs then once the splash has ended with the windows on the screen (at once when it has
  // already); never once the console has shut down.
  void WhenEnded(std::function<void()> then);

 private:
  void CloseCredits();
  void FinishStartUp();

  QWidget* console_;
  Session& session_;
  TWindowSet& windows_;
  int splashMs_;
  QTimer* timer_;
  bool ready_ = false;
  bool ended_ = false;
  bool stopped_ = false;
  std::function<void()> then_;
};

}  // namespace kelpa
