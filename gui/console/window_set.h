// SPDX-License-Identifier: MIT
// Every window of the program but the console, and the Qt display: created in the order of the
// console's start-up steps, owned here, and destroyed before the session they show.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

#include "simulation/run_options.h"

class QDialog;
class QWidget;

namespace kelpa {

class EventFanOut;
class IDisplay;
class OptionFollower;
class QtDisplay;
class Simulation;
class TEstatisticas;
class TProcessTicks;
class TForm2;
class TLanguage;
class TLogWriter;
struct TMessages;
class TPCB;
class TfrmAlteraProcessos;
class TfrmCreditos;
class TfrmGP;
class TfrmHelp;
class TGuideWindow;
class TfrmLog;
class TfrmMemoVirt;
class TfrmPageFile;
class Tfrm_Opt;
class Tfrm_Opt_MV;
class TimelineWindow;

class TWindowSet : public QObject {
 public:
  TWindowSet();
  ~TWindowSet();
  TWindowSet(const TWindowSet&) = delete;
  TWindowSet& operator=(const TWindowSet&) = delete;

  // The log window, viewing log; onClosed runs when the user closes it.
  void CreateLogWindow(TLogWriter& log, std::function<void()> onClosed);
  IDisplay& CreateDisplay();
  // The scheduling-options, processor, memory and page-file windows; from then on the windows'
  // controls follow the options set in sim, through its events.
  void CreateSimulationWindows(Simulation& sim, const TMessages& msg, EventFanOut& events,
                               std::function<bool()> saveSettings,
                               std::function<void()> onProcessorClosed,
                               std::function<void()> onMemoryClosed);
  QDialog& CreateCredits(const TMessages& msg);
  // The process-creation, statistics, memory-options, help and PCB windows.
  void CreateProcessWindows(Simulation& sim, std::function<void()> onStatisticsClosed);
  // Shows the guide window, made on first use in the interface's language (the Portuguese guides
  // when it is Portuguese, the English ones otherwise), and brings it to the front.
  void ShowGuide(const TMessages& msg);
  // The timeline, following sim's events through events, before the threads start.
  void CreateTimeline(Simulation& sim, const TMessages& msg, EventFanOut& events,
                      std::function<void()> onClosed);
  // Opens the process list unless it is open already.
  void OpenProcessList(Simulation& sim);
  // No simulation thread waits for the screen from now on.
  void StopDisplay();
  // After a jump of a scenario's run, made with the display set aside: once the display's summary
  // of the state has been carried out, the processor window places its ready discs and every
  // window on the screen draws the state it finds, each once.
  void RefreshAfterJump();

  // The captions' loader of every window that translates itself, the console's too.
  TLanguage& Language() const;

  // As windows, for showing and hiding; null before they are created.
  QWidget* Log() const;
  QWidget* Processor() const;
  QWidget* Memory() const;
  QWidget* Statistics() const;
  QWidget* Help() const;
  QDialog* Credits() const;
  QDialog* Creation() const;
  QWidget* Timeline() const;

  TfrmLog* LogWindow() const { return log_.get(); }
  TfrmGP* ProcessorWindow() const { return gp_.get(); }
  TfrmMemoVirt* MemoryWindow() const { return memory_.get(); }
  TfrmPageFile* PageFileWindow() const { return pageFile_.get(); }
  TfrmCreditos* CreditsWindow() const { return credits_.get(); }
  TEstatisticas* StatisticsWindow() const { return statistics_.get(); }
  TfrmHelp* HelpWindow() const { return help_.get(); }
  TGuideWindow* GuideWindow() const { return guide_.get(); }
  TimelineWindow* TimelineWin() const { return timeline_.get(); }
  TProcessTicks* ProcessTicksWindow() const { return ticks_.get(); }
  TfrmAlteraProcessos* ProcessListWindow() const;

 private:
  void FollowOptions(Simulation& sim, EventFanOut& events);
  // The controls that show the option move to its value.
  void ShowOption(OptionId option, int value);

  // Declared first: it outlives every window that uses it.
  std::unique_ptr<TLanguage> language_;
  std::unique_ptr<TfrmLog> log_;
  std::unique_ptr<QtDisplay> display_;
  std::unique_ptr<Tfrm_Opt> opt_;
  std::unique_ptr<TfrmGP> gp_;
  std::unique_ptr<TfrmMemoVirt> memory_;
  std::unique_ptr<TfrmPageFile> pageFile_;
  std::unique_ptr<TfrmCreditos> credits_;
  std::unique_ptr<TForm2> creation_;
  std::unique_ptr<TEstatisticas> statistics_;
  std::unique_ptr<TProcessTicks> ticks_;
  std::unique_ptr<Tfrm_Opt_MV> memoryOptions_;
  std::unique_ptr<TfrmHelp> help_;
  std::unique_ptr<TGuideWindow> guide_;
  std::unique_ptr<TPCB> pcb_;
  QPointer<TfrmAlteraProcessos> list_;
  std::unique_ptr<TimelineWindow> timeline_;
  std::unique_ptr<OptionFollower> follower_;
  Simulation* followed_ = nullptr;
  EventFanOut* events_ = nullptr;
};

}  // namespace kelpa
