// SPDX-License-Identifier: MIT
#include "gui/console/scenario_controls.h"

#include <QDir>
#include <QFileInfo>
#include <QTableWidget>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <mutex>

#include "catalogue/fill_in.h"
#include "gui/common/file_export.h"
#include "gui/common/qt_convert.h"
#include "gui/console/log_window.h"
#include "gui/console/window_set.h"
#include "gui/exercise/exercise_mode.h"
#include "gui/exercise/exercise_window.h"
#include "gui/process/process_list_window.h"
#include "gui/process/process_ticks_window.h"
#include "gui/timeline/timeline_view.h"
#include "gui/timeline/timeline_window.h"
#include "platform/sha256.h"
#include "scenario/live_scenario.h"
#include "scenario/scenario_player.h"
#include "scenario/scenario_reader.h"
#include "scenario/timeline_header.h"
#include "session/session.h"

namespace kelpa {

TScenarioControls::TScenarioControls(Session& session, TWindowSet& windows,
                                     std::function<void(const QString&)> showMessage,
                                     std::function<void()> onChanged, QObject* parent)
    : QObject(parent),
      session_(session),
      windows_(windows),
      showMessage_(std::move(showMessage)),
      onChanged_(std::move(onChanged)) {
  timer_ = new QTimer(this);
  timer_->setObjectName("PlayTimer");
  connect(timer_, &QTimer::timeout, this, [this] { PlayOneTick(); });
  exercise_ = new TExerciseMode(
      session_, [this] { StepAnswered(); }, [this] { onChanged_(); }, this);
}

TScenarioControls::~TScenarioControls() {
  if (ScenarioPlayer* player = session_.Player()) {
    player->Restarted = nullptr;
  }
}

void TScenarioControls::ConnectTimeline() {
  TimelineWindow* timeline = windows_.TimelineWin();
  TProcessTicks* ticks = windows_.ProcessTicksWindow();
  ScenarioPlayer* player = session_.Player();
  if (player == nullptr) {
    return;
  }
  player->Restarted = [timeline, ticks] {
    if (timeline != nullptr) {
      timeline->RestartLocked(0);
    }
    if (ticks != nullptr) {
      ticks->RestartLocked();
    }
  };
  if (timeline != nullptr && timeline->View() != nullptr) {
    timeline->View()->TickClicked = [this](std::int64_t tick) {
      if (VirtualTime() && tick < Tick()) {
        BackTo(tick + 1);
      }
    };
  }
}

bool TScenarioControls::VirtualTime() const {
  return session_.VirtualTime();
}

std::int64_t TScenarioControls::Tick() const {
  return session_.Player() ? session_.Player()->Tick() : 0;
}

bool TScenarioControls::Open(const QString& path) {
  const std::string file = ToStdString(path);
  ScenarioError error;
  const std::optional<std::string> bytes = ReadScenarioBytes(file, session_.Msg(), error);
  ScenarioReading reading =
      bytes ? ParseScenario(*bytes, file, session_.Msg()) : ScenarioReading{std::nullopt, error};
  if (!reading.Value) {
    showMessage_(ToQString(reading.Error ? reading.Error->Text() : file));
    return false;
  }
  SetPlaying(false);
  file_ = file;
  sha256_ = Sha256Hex(*bytes);
  ConnectTimeline();
  if (TimelineWindow* timeline = windows_.TimelineWin()) {
    // From now on the scenario's ticks end the timeline's: the parked processor runs none.
    timeline->Header = [this] {
      Scenario options;
      options.Title = session_.Player()->Opened().Title;
      options.Options = session_.Sim().Options();  // the timeline holds the lock
      return TimelineHeader(options, session_.Msg().MsgLinhaOpcoes);
    };
    // The events exported are those of the ticks run: headed, as the runner heads its trace,
    // with the file, and the scenario as run so far (its options at the start, the changes made
    // on the way, the processes, the ticks run).
    timeline->CsvHead = [this] {
      return CsvHeading{file_, sha256_, session_.Player()->WithHandActions()};
    };
  }
  session_.OpenScenario(std::move(*reading.Value));
  playAfterAnswer_ = false;
  exercise_->Opened();
  SetPlaying(!session_.Player()->AtPause());
  return true;
}

bool TScenarioControls::Save(const QString& path) {
  const Scenario scenario = VirtualTime()
                                ? exercise_->WithScore(session_.Player()->WithHandActions())
                                : ScenarioOfLiveProcesses(session_.Sim());
  if (scenario.Processes.empty()) {
    showMessage_(ToQString(session_.Msg().MsgNenhumProcesso));
    return false;
  }
  const std::string file = ToStdString(path);
  if (!MayReplace(file)) {
    showMessage_(ToQString(session_.Msg().MsgNaoECenario + ": " + file));
    return false;
  }
  if (!WriteWholeFile(path, WriteScenario(scenario))) {
    showMessage_(ToQString(session_.Msg().MsgCenarioNaoGravado + ": " + file));
    return false;
  }
  return true;
}

bool TScenarioControls::MayReplace(const std::string& file) const {
  std::error_code error;
  const auto status = std::filesystem::status(file, error);
  // Nothing there, or a folder (where the write fails and says so).
  if (!std::filesystem::exists(status) || std::filesystem::is_directory(status)) {
    return true;
  }
  // The settings and captions file, a picture, any other text: only a scenario the reader takes
  // is replaced by another.
  return ReadScenarioFile(file, session_.Msg()).Value.has_value();
}

QString TScenarioControls::SuggestedFileName() const {
  if (!VirtualTime() || file_.empty()) {
    return ToQString(session_.Msg().MsgCenarioNomePadrao);
  }
  const QFileInfo opened(ToQString(file_));
  return opened.dir().filePath(opened.completeBaseName() + QLatin1Char('-') +
                               QString::number(Tick()) + QStringLiteral(".ini"));
}

void TScenarioControls::Step() {
  if (playing_) {
    return;
  }
  if (Ask()) {
    onChanged_();
    return;
  }
  session_.StepOneTick();
  onChanged_();
}

void TScenarioControls::StepAnswered() {
  session_.StepOneTick();
  if (playAfterAnswer_ && !session_.Player()->AtPause()) {
    playAfterAnswer_ = false;
    SetPlaying(true);
    return;
  }
  playAfterAnswer_ = false;
  // The next question, if its tick is asked, stands at once.
  Ask();
  onChanged_();
}

void TScenarioControls::SetExercise(bool on) {
  playAfterAnswer_ = false;
  exercise_->SetOn(on);
  if (exercise_->On() && !playing_) {
    Ask();
  }
}

bool TScenarioControls::Ask() {
  if (!exercise_->Asks()) {
    return false;
  }
  TfrmAlteraProcessos* list = windows_.ProcessListWindow();
  auto* grid = list != nullptr ? list->findChild<QTableWidget*>(QStringLiteral("stg1")) : nullptr;
  if (grid != nullptr && followedList_ != list) {
    followedList_ = list;
    connect(grid, &QTableWidget::cellDoubleClicked, this, [this, grid](int row, int) {
      // The identifier's column, with no mark in front of it.
      const QTableWidgetItem* pid = grid->item(row, 1);
      bool number = false;
      const int value = pid != nullptr ? pid->text().trimmed().toInt(&number) : 0;
      if (number && exercise_->On()) {
        exercise_->Window()->ChooseProcess(value);
      }
    });
  }
  return true;
}

void TScenarioControls::BackTo(std::int64_t tick) {
  if (!VirtualTime()) {
    return;
  }
  SetPlaying(false);
  TfrmLog* view = windows_.LogWindow();
  const auto lines = session_.BackTo(tick, TfrmLog::kViewCapacity);
  // Every line logged before the jump is in the view's queue by now: the view replaces them all.
  session_.Log().Flush();
  if (view != nullptr) {
    view->ShowLines(lines);
  }
  session_.NoteJump();
  exercise_->Moved(Tick(), true);
  ShowJump();
}

void TScenarioControls::ShowJump() {
  playAfterAnswer_ = false;
  exercise_->Moved(Tick(), false);
  windows_.RefreshAfterJump();
  onChanged_();
}

std::int64_t TScenarioControls::LastTick() const {
  return VirtualTime() ? std::max(session_.Player()->Opened().Ticks, Tick()) : 0;
}

bool TScenarioControls::GoTo(const QString& text) {
  if (!VirtualTime()) {
    return false;
  }
  bool number = false;
  const qlonglong tick = text.trimmed().toLongLong(&number);
  if (!number || tick < 0 || tick > LastTick()) {
    showMessage_(ToQString(
        FillIn(session_.Msg().MsgTickInvalido, {ToStdString(text), std::to_string(LastTick())})));
    return false;
  }
  if (tick < Tick()) {
    BackTo(tick);
  } else if (tick > Tick()) {
    SetPlaying(false);
    session_.RunTo(tick);
    ShowJump();
  }
  return true;
}

bool TScenarioControls::RunToNext(TimelineMark mark) {
  if (!VirtualTime()) {
    return false;
  }
  SetPlaying(false);
  const std::int64_t last = session_.Player()->Opened().Ticks;
  const bool found = Tick() < last && session_.RunTo(last, [mark](const SimEvent& event) {
    return MarkOf(event.Kind) == mark;
  });
  ShowJump();
  if (!found) {
    showMessage_(ToQString(FillIn(session_.Msg().MsgEventoNaoHouve, {std::to_string(Tick())})));
  }
  return found;
}

void TScenarioControls::SetPlaying(bool playing) {
  playing_ = playing && VirtualTime();
  if (playing_) {
    timer_->start(session_.ClockPeriodMs());
  } else {
    timer_->stop();
  }
  onChanged_();
}

void TScenarioControls::PlayOneTick() {
  if (Ask()) {
    playAfterAnswer_ = true;
    SetPlaying(false);
    return;
  }
  session_.StepOneTick();
  // The clock control may have moved: the next tick comes at its pace.
  timer_->setInterval(session_.ClockPeriodMs());
  if (session_.Player()->AtPause()) {
    SetPlaying(false);
    return;
  }
  onChanged_();
}

}  // namespace kelpa
