// SPDX-License-Identifier: MIT
#include "session/session.h"

#include <mutex>

#include "platform/datetime.h"
#include "platform/ini_file.h"
#include "platform/settings_layers.h"
#include "simulation/snapshots.h"

namespace kelpa {

Session::Session(IErrorReporter& reporter, std::unique_ptr<IClock> clock)
    : reporter_(reporter),
      clock_(std::make_unique<SwitchableClock>(clock ? std::move(clock)
                                                     : std::make_unique<SystemClock>())) {}

Session::~Session() {
  Shutdown();
  // The player leaves the simulation's events before the simulation goes.
  player_.reset();
}

void Session::OpenLog() {
  log_ = std::make_unique<TLogWriter>(*clock_, &reporter_);
}

void Session::LoadCatalogue() {
  CarregaMensagens(msg_, KelpaIniLayers());
}

void Session::CreateSimulation(IDisplay& display) {
  simLog_ = std::make_unique<ReplayLog>(*log_, *clock_);
  display_ = std::make_unique<SwitchableDisplay>(display);
  sim_ = std::make_unique<Simulation>(*clock_, *simLog_, *display_, msg_);
  sim_->SetEvents(&events_);
  player_ = std::make_unique<ScenarioPlayer>(*sim_, clock_->Virtual(), events_);
}

void Session::OpenScenario(Scenario scenario) {
  sim_->ParkThreads();
  const std::string title = scenario.Title;
  player_->Open(std::move(scenario));
  if (!VirtualTime()) {
    LogSystemLine(msg_.MsgHorasVirtuais);
  }
  clock_->UseVirtualTime(true);
  const std::string text = msg_.MsgCenarioAberto + " " + title;
  titleLine_ = {TLogWriter::Stamped(clock_->Now(), text), kBlack};
  LogSystemLine(text);
}

int Session::ClockPeriodMs() const {
  return sim_->HClock.Period.load();
}

int Session::ProcessCount() const {
  return SnapshotProcessCount(*sim_);
}

void Session::SetRunning(bool running) {
  sim_->Apply(kelpa::SetRunning{running});
}

void Session::StepOneTick() {
  if (VirtualTime()) {
    player_->Step();
  } else {
    sim_->Apply(kelpa::StepOneTick{});
  }
}

std::vector<LogLine> Session::BackTo(std::int64_t tick, std::size_t capacity) {
  {
    std::lock_guard lock(sim_->Lock);
    simLog_->Divert(capacity > 0 ? capacity - 1 : 0);
    display_->SetAside();
  }
  player_->BackTo(tick);
  std::vector<LogLine> lines;
  {
    std::lock_guard lock(sim_->Lock);
    display_->ShowAgain(*sim_);
    lines = simLog_->Restore();
  }
  lines.insert(lines.begin(), titleLine_);
  return lines;
}

namespace {

// Notes whether an event wanted has happened.
class EventWatch final : public IEventSink {
 public:
  explicit EventWatch(const std::function<bool(const SimEvent&)>& wanted) : wanted_(wanted) {}
  void Report(const SimEvent& event) override { seen = seen || wanted_(event); }
  bool seen = false;

 private:
  const std::function<bool(const SimEvent&)>& wanted_;
};

}  // namespace

bool Session::RunTo(std::int64_t tick, const std::function<bool(const SimEvent&)>& wanted) {
  EventWatch watch(wanted);
  {
    std::lock_guard lock(sim_->Lock);
    display_->SetAside();
    if (wanted) {
      events_.Add(&watch);
    }
  }
  player_->RunTo(tick, [&watch] { return watch.seen; });
  std::lock_guard lock(sim_->Lock);
  events_.Remove(&watch);
  display_->ShowAgain(*sim_);
  return watch.seen;
}

void Session::NoteJump() {
  LogSystemLine(msg_.MsgVoltaAoTick + " " + std::to_string(player_->Tick()));
}

bool Session::SaveLoadSettings(SettingsMode mode) {
  RunOptions options;
  {
    std::lock_guard lock(sim_->Lock);
    options = sim_->Options();
  }
  const bool saved = kelpa::SaveLoadSettings(mode, options, reporter_, msg_);
  if (mode == SettingsMode::Load) {
    for (const OptionRow& row : kOptionTable) {
      if (row.KeptInSettings) {
        sim_->Apply(SetOption{row.Id, row.Get(options)});
      }
    }
  }
  return saved;
}

int Session::Zoom() const {
  return ReadZoom(KelpaIniLayers());
}

bool Session::SaveZoom(int percent) {
  return WriteZoom(percent, reporter_, msg_);
}

Look Session::CurrentLook() const {
  return ReadLook(KelpaIniLayers());
}

bool Session::SaveLook(Look look) {
  return WriteLook(look, reporter_, msg_);
}

void Session::StartThreads() {
  sim_->StartThreads();
}

void Session::MarkReady() {
  {
    std::lock_guard lock(sim_->Lock);
    sim_->MarkStart();
  }
  LogSystemLine(msg_.MsgLogProntoAs + " " + TimeNow());
}

void Session::Shutdown() {
  if (sim_) {
    sim_->Shutdown();
  }
}

void Session::Finish() {
  Shutdown();
  // The shutdown line tells when the program ended, which only the computer's clock knows; the
  // threads are joined, so nothing else reads the clock as it switches back.
  if (VirtualTime()) {
    clock_->UseVirtualTime(false);
    LogSystemLine(msg_.MsgHorasReais);
  }
  LogSystemLine(msg_.MsgLogDesativadoAs + " " + TimeNow());
}

void Session::LogSystemLine(const std::string& text) {
  if (log_) {
    log_->AddLine(text, kBlack);
  }
}

std::string Session::IniPath() const {
  return KelpaIniPath();
}

std::vector<std::string> Session::IniLayersBeneath() const {
  return SettingsLayersBeneath();
}

std::string Session::TimeNow() const {
  return FormatSpan(clock_->Now());
}

}  // namespace kelpa
