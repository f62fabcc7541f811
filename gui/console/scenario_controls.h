// SPDX-License-Identifier: MIT
// The console's scenario commands: open and save a scenario, play it at the pace of the clock
// control, step one tick, go back to an earlier tick. Playing is a timer of the user-interface
// thread that runs one tick per clock period; the simulation's threads stay parked meanwhile.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>
#include <string>

#include "scenario/scenario.h"
#include "timeline/timeline_model.h"

class QTimer;

namespace kelpa {

class Session;
class TExerciseMode;
class TWindowSet;

class TScenarioControls : public QObject {
 public:
  // showMessage tells the user something (an error); onChanged runs after every change of the
  // tick or of playing, so the console can show them.
  TScenarioControls(Session& session, TWindowSet& windows,
                    std::function<void(const QString&)> showMessage,
                    std::function<void()> onChanged, QObject* parent);
  ~TScenarioControls() override;
  TScenarioControls(const TScenarioControls&) = delete;
  TScenarioControls& operator=(const TScenarioControls&) = delete;

  // Reads the file and, when it is a valid scenario, starts it in virtual time and plays it
  // (unless tick 0 is a pause tick); otherwise says why and changes nothing. True when opened.
  bool Open(const QString& path);
  // Writes the run so far with its hand actions (a scenario open) or the processes alive now
  // with the options in force, whole or not at all; says why when it cannot. An existing file is
  // replaced only when it is a scenario. True when written.
  bool Save(const QString& path);
  // The name the save dialog proposes: the opened file's, with the tick, or a default one.
  QString SuggestedFileName() const;
  // One tick, only while stopped; in exercise mode a tick asked about waits for its answer.
  void Step();
  // Back to an earlier tick of the open scenario, stopped there.
  void BackTo(std::int64_t tick);
  // To the tick the text names, back (as BackTo) or on (the ticks run unseen, then the windows
  // show the state once); a text that is not a tick of 0..LastTick() is refused with a message.
  // True when it went there.
  bool GoTo(const QString& text);
  // Runs on, unseen, to the end of the next tick with an event the timeline marks `mark`; at
  // most to the scenario's last tick, saying so when none came. True when one came.
  bool RunToNext(TimelineMark mark);
  // The furthest tick GoTo takes: the scenario's last, or the tick stood at when stepped past it.
  std::int64_t LastTick() const;
  // The run/stop button in virtual time: plays or pauses.
  void SetPlaying(bool playing);

  // "Exercício" on or off; on, a question about the tick about to run is asked at once.
  void SetExercise(bool on);
  TExerciseMode& ExerciseMode() const { return *exercise_; }

  bool Playing() const { return playing_; }
  bool VirtualTime() const;
  std::int64_t Tick() const;

 private:
  void PlayOneTick();
  // The tick, once its question (if any) is answered; playing goes on when it waited for one.
  void StepAnswered();
  // Shows the question of the tick about to run, if it is asked; true when it stands. A double
  // click on a process in the process list then chooses it as the answer.
  bool Ask();
  // The timeline follows a scenario's ticks, starts again with each replay, heads its exports
  // with the scenario, and a click on one of its ticks goes back to the end of that tick.
  void ConnectTimeline();
  // Whether a save may write over what is at file: nothing, or a scenario.
  bool MayReplace(const std::string& file) const;
  // After a jump: the windows and the console show where the run stands.
  void ShowJump();

  Session& session_;
  TWindowSet& windows_;
  std::function<void(const QString&)> showMessage_;
  std::function<void()> onChanged_;
  QTimer* timer_ = nullptr;
  bool playing_ = false;
  TExerciseMode* exercise_ = nullptr;
  bool playAfterAnswer_ = false;    // playing stopped for a question
  QPointer<QObject> followedList_;  // the process list whose double clicks answer
  // The opened file, as chosen, and its SHA-256: the csv export is headed with them.
  std::string file_;
  std::string sha256_;
};

}  // namespace kelpa
