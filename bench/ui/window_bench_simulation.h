// SPDX-License-Identifier: MIT
// A simulation drawn by the real windows on the offscreen platform, with 20 live processes of
// mixed kinds kept alive, for timing the windows' refreshes. The clock is manual and the log only
// counts, so nothing but the window's own work is measured.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <mutex>

#include "catalogue/messages.h"
#include "core/bench_simulation.h"  // CountingLog
#include "gui/language/language.h"
#include "gui/memory/memory_window.h"
#include "gui/memory/page_file_window.h"
#include "gui/process/pcb_window.h"
#include "gui/process/process_list_window.h"
#include "gui/process/statistics_window.h"
#include "gui/processor/processor_window.h"
#include "gui/processor/qt_display.h"
#include "simulation/simulation.h"

namespace kelpa::bench {

class WindowBenchSimulation {
 public:
  static constexpr int kLiveProcesses = 20;

  WindowBenchSimulation()
      : sim(clock, log, display, msg),
        gp(sim),
        memory(sim),
        pageFile(sim),
        statistics(sim),
        pcb(sim, &language) {
    display.SetProcessorWindow(&gp);
    memory.SetPageFileWindow(&pageFile);
    display.OnRedrawPageFile = [this] { pageFile.RedrawGrid(); };
    {
      std::lock_guard lock(sim.Lock);
      sim.StartTime = sim.Now();
      sim.Espera.SetWaitLength(3);
      sim.Memoria.MinFreePercent = 10;
    }
    TopUp();
    // A mix of running, ready, waiting and swapped-out processes.
    Step(200);
  }

  // Keeps 20 processes alive: those that ended are replaced, kinds and priorities rotating.
  void TopUp() {
    std::lock_guard lock(sim.Lock);
    while (static_cast<int>(sim.Kernel.Processes.size()) < kLiveProcesses) {
      const int i = created_++;
      auto p = TProcesso::Create(sim, i % kProcessKindCount, i % 10, 1 + i % 5,
                                 MakeColor((40 * i) % 256, 255 - (10 * i) % 256, 128));
      clock.AdvanceMs(1);
      if (!p) {
        break;  // page file full: keep what exists
      }
      sim.Kernel.AddProcess(std::move(p));
    }
  }

  // Cycles and passes as the threads would run them, then the display updates they asked for.
  void Step(int cycles) {
    for (int i = 0; i < cycles; ++i) {
      std::lock_guard lock(sim.Lock);
      sim.Cpu.Cycle();
      sim.Espera.Pass();
      clock.AdvanceMs(100);
    }
    TopUp();
    QCoreApplication::processEvents();
  }

  // Paints whatever the refresh left dirty on a window, as the event loop would next.
  static void PaintPending(QWidget& window) {
    QCoreApplication::sendPostedEvents(&window, QEvent::UpdateRequest);
    QCoreApplication::sendPostedEvents(&window, QEvent::UpdateLater);
  }

  // Opened by a benchmark that times translated refreshes; none opens it otherwise.
  TLanguage language;
  ManualClock clock;
  CountingLog log;
  QtDisplay display;
  TMessages msg;
  Simulation sim;
  TfrmGP gp;
  TfrmMemoVirt memory;
  TfrmPageFile pageFile;
  TEstatisticas statistics;
  TPCB pcb;

 private:
  int created_ = 0;
};

}  // namespace kelpa::bench
