// SPDX-License-Identifier: MIT
#include "gui/console/scenario_controls.h"

#include <QTimer>
#include <fstream>
#include <mutex>

#include "gui/common/qt_convert.h"
#include "gui/console/log_window.h"
#include "gui/console/window_set.h"
#include "gui/timeline/timeline_view.h"
#include "gui/timeline/timeline_window.h"
#include "scenario/current_options.h"
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
}

TScenarioControls::~TScenarioControls() {
  if (ScenarioPlayer* player = session_.Player()) {
    player->Restarted = nullptr;
    player->AfterTick = nullptr;
  }
}

void TScenarioControls::ConnectTimeline() {
  TimelineWindow* timeline = windows_.TimelineWin();
  ScenarioPlayer* player = session_.Player();
  if (timeline == nullptr || player == nullptr) {
    return;
  }
  player->Restarted = [timeline] { timeline->RestartLocked(0); };
  player->AfterTick = [timeline](std::int64_t) { timeline->Recorder().EndTick(); };
  if (timeline->View() != nullptr) {
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
  ScenarioReading reading = ReadScenarioFile(ToStdString(path), session_.Msg());
  if (!reading.Value) {
    showMessage_(ToQString(reading.Error ? reading.Error->Text() : ToStdString(path)));
    return false;
  }
  SetPlaying(false);
  ConnectTimeline();
  if (TimelineWindow* timeline = windows_.TimelineWin()) {
    // From now on the scenario's ticks end the timeline's: the parked processor runs none.
    timeline->Header = [this] {
      const Scenario& opened = session_.Player()->Opened();
      Scenario options = CurrentOptions(session_.Sim());
      options.Title = opened.Title;
      return TimelineHeader(options, session_.Msg().MsgLinhaOpcoes);
    };
  }
  session_.OpenScenario(std::move(*reading.Value));
  ShowOptionsInForce(OptionsNow());
  SetPlaying(!session_.Player()->AtPause());
  return true;
}

Scenario TScenarioControls::OptionsNow() const {
  std::lock_guard lock(session_.Sim().Lock);
  return CurrentOptions(session_.Sim());
}

void TScenarioControls::ShowOptionsInForce(const Scenario& o) {
  // In virtual time the clock control sets the pace of playing; its position is the scenario's.
  const int clock = VirtualTime() ? session_.Player()->Opened().ClockPosition : o.ClockPosition;
  windows_.ShowOptionsInForce(o.IoWaitPosition, o.SlicePosition, clock, o.RealTimeThreshold);
}

bool TScenarioControls::Save(const QString& path) {
  const Scenario scenario = VirtualTime() ? session_.Player()->WithHandActions()
                                          : ScenarioOfLiveProcesses(session_.Sim());
  if (scenario.Processes.empty()) {
    showMessage_(ToQString(session_.Msg().MsgNenhumProcesso));
    return false;
  }
  std::ofstream out(ToStdString(path), std::ios::binary | std::ios::trunc);
  out << WriteScenario(scenario);
  out.flush();
  if (!out) {
    showMessage_(ToQString(session_.Msg().MsgCenarioNaoGravado + ": " + ToStdString(path)));
    return false;
  }
  return true;
}

void TScenarioControls::Step() {
  if (playing_) {
    return;
  }
  StepShowingOptions();
  onChanged_();
}

void TScenarioControls::StepShowingOptions() {
  const Scenario before = OptionsNow();
  session_.StepOneTick();
  if (const Scenario after = OptionsNow(); after != before) {
    ShowOptionsInForce(after);
  }
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
  ShowOptionsInForce(OptionsNow());
  onChanged_();
}

void TScenarioControls::SetPlaying(bool playing) {
  playing_ = playing && VirtualTime();
  if (playing_) {
    timer_->start(session_.Sim().HClock.Period.load());
  } else {
    timer_->stop();
  }
  onChanged_();
}

void TScenarioControls::PlayOneTick() {
  StepShowingOptions();
  // The clock control may have moved: the next tick comes at its pace.
  timer_->setInterval(session_.Sim().HClock.Period.load());
  if (session_.Player()->AtPause()) {
    SetPlaying(false);
    return;
  }
  onChanged_();
}

}  // namespace kelpa
