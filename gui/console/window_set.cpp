// SPDX-License-Identifier: MIT
#include "gui/console/window_set.h"

#include <initializer_list>
#include <mutex>

#include "catalogue/messages.h"
#include "gui/about/credits_window.h"
#include "gui/about/guide_window.h"
#include "gui/about/help_window.h"
#include "gui/common/live_zoom.h"
#include "gui/common/option_follower.h"
#include "gui/common/qt_convert.h"
#include "gui/common/screen_fit.h"
#include "gui/console/log_window.h"
#include "gui/language/language.h"
#include "gui/language/qt_translation.h"
#include "gui/memory/memory_options_window.h"
#include "gui/memory/memory_window.h"
#include "gui/memory/page_file_window.h"
#include "gui/print/pdf_export.h"
#include "gui/process/creation_window.h"
#include "gui/process/pcb_window.h"
#include "gui/process/process_list_window.h"
#include "gui/process/process_ticks_window.h"
#include "gui/process/statistics_window.h"
#include "gui/processor/processor_window.h"
#include "gui/processor/qt_display.h"
#include "gui/processor/scheduling_options_window.h"
#include "gui/timeline/timeline_window.h"
#include "platform/settings_layers.h"
#include "simulation/event_fan_out.h"
#include "simulation/simulation.h"

namespace kelpa {

TWindowSet::TWindowSet() : language_(std::make_unique<TLanguage>()) {}

TWindowSet::~TWindowSet() {
  delete list_.data();
  if (follower_) {
    std::lock_guard lock(followed_->Lock);
    events_->Remove(follower_.get());
  }
}

void TWindowSet::CreateLogWindow(TLogWriter& log, std::function<void()> onClosed) {
  log_ = std::make_unique<TfrmLog>(log);
  new KeepOnScreen(log_.get());
  connect(log_.get(), &TfrmLog::closed, this, std::move(onClosed));
}

void TWindowSet::CreateTimeline(Simulation& sim, const TMessages& msg, EventFanOut& events,
                                std::function<void()> onClosed) {
  timeline_ = std::make_unique<TimelineWindow>(sim, msg, events);
  new KeepOnScreen(timeline_.get());
  timeline_->OnClosed = std::move(onClosed);
  if (log_) {
    log_->EnableCsvExport(msg, [this] { return timeline_->EventsCsvText(); });
  }
  if (ticks_) {
    timeline_->ProcessesInTicks = [this] { return ticks_->Read(); };
  }
  timeline_->ExportPdf = [this, &msg] {
    ExportPdfClick(
        timeline_.get(), timeline_->Export, [this] { return timeline_->RunDocument(); }, msg);
  };
}

IDisplay& TWindowSet::CreateDisplay() {
  display_ = std::make_unique<QtDisplay>();
  return *display_;
}

void TWindowSet::CreateSimulationWindows(Simulation& sim, const TMessages& msg, EventFanOut& events,
                                         std::function<bool()> saveSettings,
                                         std::function<void()> onProcessorClosed,
                                         std::function<void()> onMemoryClosed) {
  opt_ = std::make_unique<Tfrm_Opt>(sim, std::move(saveSettings), language_.get());
  gp_ = std::make_unique<TfrmGP>(sim, language_.get());
  gp_->setWindowTitle(ToQString(msg.MsgTitGerProcessador));
  gp_->SetOptionsWindow(opt_.get());
  connect(gp_.get(), &TfrmGP::closed, this, std::move(onProcessorClosed));
  memory_ = std::make_unique<TfrmMemoVirt>(sim, language_.get());
  memory_->setWindowTitle(ToQString(msg.MsgTitGerMemoria));
  connect(memory_.get(), &TfrmMemoVirt::closed, this, std::move(onMemoryClosed));
  pageFile_ = std::make_unique<TfrmPageFile>(sim);
  memory_->SetPageFileWindow(pageFile_.get());
  for (QWidget* window :
       std::initializer_list<QWidget*>{opt_.get(), gp_.get(), memory_.get(), pageFile_.get()}) {
    new KeepOnScreen(window);
  }
  display_->SetProcessorWindow(gp_.get());
  display_->OnRedrawPageFile = [this] { pageFile_->RedrawGrid(); };
  FollowOptions(sim, events);
  // Before the threads start, so that its ticks are the processor's cycles from the first.
  ticks_ = std::make_unique<TProcessTicks>(sim, events);
  new KeepOnScreen(ticks_.get());
}

void TWindowSet::FollowOptions(Simulation& sim, EventFanOut& events) {
  followed_ = &sim;
  events_ = &events;
  follower_ = std::make_unique<OptionFollower>(
      [this](OptionId option, int value) { ShowOption(option, value); });
  std::lock_guard lock(sim.Lock);
  events.Add(follower_.get());
}

void TWindowSet::ShowOption(OptionId option, int value) {
  if (gp_) {
    gp_->ShowOption(option, value);
  }
  if (opt_) {
    opt_->ShowOption(option, value);
  }
  if (memoryOptions_) {
    memoryOptions_->ShowOption(option, value);
  }
}

QDialog& TWindowSet::CreateCredits(const TMessages& msg) {
  credits_ = std::make_unique<TfrmCreditos>(msg);
  new KeepOnScreen(credits_.get());
  return *credits_;
}

void TWindowSet::CreateProcessWindows(Simulation& sim, std::function<void()> onStatisticsClosed) {
  creation_ = std::make_unique<TForm2>(sim, language_.get());
  statistics_ = std::make_unique<TEstatisticas>(sim, language_.get());
  connect(statistics_.get(), &TEstatisticas::closed, this, std::move(onStatisticsClosed));
  if (timeline_) {
    // The run's document is the timeline window's: it keeps the ticks the table needs.
    statistics_->ExportPdf = [this, &sim] {
      ExportPdfClick(
          statistics_.get(), statistics_->Export, [this] { return timeline_->RunDocument(); },
          sim.Msg);
    };
  }
  if (ticks_) {
    connect(statistics_.get(), &TEstatisticas::ticksRequested, this, [this] {
      ticks_->show();
      ticks_->raise();
    });
  }
  memoryOptions_ = std::make_unique<Tfrm_Opt_MV>(sim, language_.get());
  memory_->SetOptionsWindow(memoryOptions_.get());
  help_ = std::make_unique<TfrmHelp>();
  pcb_ = std::make_unique<TPCB>(sim, language_.get());
  for (QWidget* window : std::initializer_list<QWidget*>{
           creation_.get(), statistics_.get(), memoryOptions_.get(), help_.get(), pcb_.get()}) {
    new KeepOnScreen(window);
  }
}

void TWindowSet::ShowGuide(const TMessages& msg) {
  if (!guide_) {
    const bool portuguese = InterfaceLanguage(KelpaIniLayers()).startsWith(QLatin1String("pt"));
    guide_ = std::make_unique<TGuideWindow>(msg, !portuguese);
    new KeepOnScreen(guide_.get());
  }
  guide_->show();
  guide_->raise();
  guide_->activateWindow();
}

void TWindowSet::OpenProcessList(Simulation& sim) {
  if (list_ || !pcb_) {
    return;
  }
  list_ = new TfrmAlteraProcessos(sim, *pcb_, language_.get());
  // The list shows itself as it is made: brought to the zoom and the screen now.
  new KeepOnScreen(list_);
  ZoomWindow(list_, LiveZoom());
  FitOnScreen(list_);
  connect(list_, &TfrmAlteraProcessos::released, this, [this] { list_ = nullptr; });
}

void TWindowSet::StopDisplay() {
  if (display_) {
    display_->Stop();
  }
}

void TWindowSet::RefreshAfterJump() {
  // Queued behind the display's requests, which run first on this thread in the order posted.
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (gp_) {
          gp_->Timer1Timer();
        }
        const auto shown = [](const auto& window) { return window && window->isVisible(); };
        if (shown(memory_)) {
          memory_->Timer1Timer();
        }
        if (shown(statistics_)) {
          statistics_->Timer1Timer();
        }
        if (shown(pcb_)) {
          pcb_->Timer1Timer();
        }
        if (shown(list_)) {
          list_->Timer1Timer();
        }
        if (shown(timeline_)) {
          timeline_->Refresh();
        }
      },
      Qt::QueuedConnection);
}

TLanguage& TWindowSet::Language() const {
  return *language_;
}

QWidget* TWindowSet::Log() const {
  return log_.get();
}
QWidget* TWindowSet::Processor() const {
  return gp_.get();
}
QWidget* TWindowSet::Memory() const {
  return memory_.get();
}
QWidget* TWindowSet::Statistics() const {
  return statistics_.get();
}
QWidget* TWindowSet::Timeline() const {
  return timeline_.get();
}
QWidget* TWindowSet::Help() const {
  return help_.get();
}
QDialog* TWindowSet::Credits() const {
  return credits_.get();
}
TfrmAlteraProcessos* TWindowSet::ProcessListWindow() const {
  return list_.data();
}
QDialog* TWindowSet::Creation() const {
  return creation_.get();
}

}  // namespace kelpa
