// SPDX-License-Identifier: MIT
// The console: the program's main window. Its creation (FormCreate) is the start-up of the whole
// simulator; its menu opens every other window, its one button stops and restarts the simulation,
// and closing it shuts the simulation down.
#pragma once

#include <QMainWindow>

#include "gui/console/console_dialogs.h"
#include "gui/console/console_hooks.h"
#include "gui/console/console_menu.h"
#include "gui/console/console_strip.h"
#include "gui/console/window_set.h"
#include "session/session.h"

class QCloseEvent;
class QTimer;

namespace kelpa {

class TScenarioControls;
class TStartUpSplash;
class TLookMenu;
class TZoomMenu;

class TForm1 : public QMainWindow {
 public:
  // The console of session, opening the windows of windows; both outlive it.
  TForm1(TConsoleHooks hooks, Session& session, TWindowSet& windows);
  ~TForm1() override;
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  // The start-up sequence: log, catalogue, settings, translation, the simulation and its windows,
  // the threads, then the credits, modal until the splash ends (or the user closes them), when
  // start-up finishes with the ready line. Returns with the credits open: it runs no event loop
  // of its own. A splash of no length finishes start-up before it returns.
  void FormCreate();
  // The windows the program entry creates after the console, in its order.
  void CreateProcessWindows();

  // Loads the scheduling settings (or writes the defaults when the file is missing), or saves
  // them; false only when a write failed (already reported).
  bool SaveLoadSettings(SettingsMode mode);
  void CarregaLinguagem();

  void Criar1Click();
  void Selecionar1Click();
  void Log1Click();
  void Memriaprincipal1Click();
  void Escalonador1Click();
  void Estatsticas1Click();
  void LinhaDoTempo1Click();
  void Crditos1Click();
  void Help1Click();
  void Guia1Click();
  void Fim1Click();
  void AbrirCenario1Click();
  // The scenario named on the command line (a file manager's double-click): opened as "Abrir
  // cenário..." opens the file chosen, once the splash has ended; a file that cannot be opened
  // is told as that item tells it, and the program goes on without it.
  void OpenScenarioWhenShown(const QString& path);
  void SalvarCenario1Click();
  void Voltar1Click();
  void IrParaTick1Click();
  void ProximoEvento1Click();
  // "Exercício": the exercise on or off.
  void Exercicio1Click();
  void SpeedButton1Click();
  // "Passo": one tick, while stopped.
  void SpeedButton2Click();
  void Timer1Timer();
  void Timer2Timer();

  // Stops the display, ends the simulation's threads and waits for them. Safe to call again.
  void Shutdown();
  // True once the console has shut down, which can happen before start-up has finished.
  bool IsShutDown() const { return shutDown_; }
  // True once start-up has finished (the ready line is logged).
  bool IsReady() const;

  bool SimulationRunning = true;

  Simulation& Sim() const { return session_.Sim(); }
  const TMessages& Msg() const { return session_.Msg(); }
  TLogWriter* Log() const { return &session_.Log(); }
  TfrmLog* LogWindow() const { return windows_.LogWindow(); }
  TfrmGP* ProcessorWindow() const { return windows_.ProcessorWindow(); }
  TfrmMemoVirt* MemoryWindow() const { return windows_.MemoryWindow(); }
  TfrmPageFile* PageFileWindow() const { return windows_.PageFileWindow(); }
  TfrmCreditos* CreditsWindow() const { return windows_.CreditsWindow(); }
  TEstatisticas* StatisticsWindow() const { return windows_.StatisticsWindow(); }
  TfrmHelp* HelpWindow() const { return windows_.HelpWindow(); }
  TGuideWindow* GuideWindow() const { return windows_.GuideWindow(); }
  TfrmAlteraProcessos* ProcessListWindow() const { return windows_.ProcessListWindow(); }
  TScenarioControls& ScenarioControls() const { return *scenario_; }
  // The tick the run stands at, as the console shows it in virtual time (empty in real time).
  QString TickText() const;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // The run/stop and step buttons, the tick and the scenario items as the run stands.
  void ShowRunState();
  // "Parar" while the simulation runs, "Executar" while it stands.
  void ShowRunButton();
  // The status text as the process table stands.
  void ShowStatus();
  void CreateSimulationWindows();

  TConsoleHooks hooks_;
  Session& session_;
  TWindowSet& windows_;
  TConsoleDialogs dialogs_;

  TConsoleMenu menu_;
  TZoomMenu* zoom_ = nullptr;
  TLookMenu* look_ = nullptr;
  TConsoleStrip strip_;
  TScenarioControls* scenario_ = nullptr;
  // StaticText1's caption in the user's language, shown while no process lives.
  QString noProcessHint_;
  QTimer* Timer1 = nullptr;
  TStartUpSplash* splash_ = nullptr;

  bool shutDown_ = false;
};

}  // namespace kelpa
