#include "session/session.h"

#include <mutex>

#include "platform/datetime.h"
#include "platform/ini_file.h"

namespace kelpa {

Session::Session(IErrorReporter& reporter, std::unique_ptr<IClock> clock)
    : reporter_(reporter), clock_(clock ? std::move(clock) : std::make_unique<SystemClock>()) {}

Session::~Session() {
  Shutdown();
}

void Session::OpenLog() {
  log_ = std::make_unique<TLogWriter>(*clock_, &reporter_);
}

void Session::LoadCatalogue() {
  CarregaMensagens(msg_, KelpaIniPath());
}

void Session::CreateSimulation(IDisplay& display) {
  sim_ = std::make_unique<Simulation>(*clock_, *log_, display, msg_);
  sim_->Events = &events_;
}

bool Session::SaveLoadSettings(SettingsMode mode) {
  return kelpa::SaveLoadSettings(mode, sim_->Settings, reporter_);
}

int Session::Zoom() const {
  return ReadZoom(IniPath());
}

bool Session::SaveZoom(int percent) {
  return WriteZoom(percent, reporter_);
}

void Session::StartThreads() {
  sim_->StartThreads();
}

void Session::MarkReady() {
  {
    std::lock_guard lock(sim_->Lock);
    sim_->StartTime = clock_->Now();
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

std::string Session::TimeNow() const {
  return FormatSpan(clock_->Now());
}

}  // namespace kelpa
