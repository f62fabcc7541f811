// SPDX-License-Identifier: MIT
// The console: the program's main window. Its creation (FormCreate) is the start-up of the whole
// simulator; its menu opens every other window, its one button stops and restarts the simulation,
// and closing it shuts the simulation down.
#pragma once

#include <QMainWindow>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/error_reporter.h"
#include "session/session.h"

class QAction;
class QCloseEvent;
class QShowEvent;
class QLabel;
class QMenu;
class QTimer;
class QToolButton;

namespace kelpa {

class TEstatisticas;
class TPCB;
class TScenarioControls;
class TWindowSet;
class TfrmAlteraProcessos;
class TfrmCreditos;
class TfrmGP;
class TfrmHelp;
class TfrmLog;
class TfrmMemoVirt;
class TfrmPageFile;

// What a test may replace: the length of the start-up splash and the ways the console talks to
// the user. Defaults are the real program's.
struct TConsoleHooks {
  int SplashMs = 5000;
  // Reports settings-file and log-file errors; null means message boxes.
  IErrorReporter* Reporter = nullptr;
  // Shows an information text; null means a message box.
  std::function<void(const QString&)> ShowMessage;
  // Null means QApplication::beep.
  std::function<void()> Beep;
  // Called once the console has closed and the simulation has stopped (the program entry quits).
  std::function<void()> OnFinished;
  // The zoom, in percent, the windows were scaled by when the program started.
  int StartZoom = kDefaultZoom;
  // Chooses a scenario file to open or to save (empty: none); null means a file dialog.
  std::function<QString(bool save)> ChooseScenarioFile;
  // Asks the tick to go back to, 0..last; null means an input box.
  std::function<std::optional<std::int64_t>(std::int64_t last)> AskTick;
  // Asks the tick to go to, as typed (none when cancelled); null means an input box.
  std::function<std::optional<QString>(std::int64_t last)> AskTickText;
  // Asks which of the kinds of event to run on to, by its place in kinds; null means a list box.
  std::function<std::optional<int>(const QStringList& kinds)> AskEventKind;
};

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
  void Fim1Click();
  void AbrirCenario1Click();
  void SalvarCenario1Click();
  void Voltar1Click();
  void IrParaTick1Click();
  void ProximoEvento1Click();
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
  bool IsReady() const { return ready_; }

  bool SimulationRunning = true;

  Simulation& Sim() const { return session_.Sim(); }
  const TMessages& Msg() const { return session_.Msg(); }
  TLogWriter* Log() const { return &session_.Log(); }
  TfrmLog* LogWindow() const;
  TfrmGP* ProcessorWindow() const;
  TfrmMemoVirt* MemoryWindow() const;
  TfrmPageFile* PageFileWindow() const;
  TfrmCreditos* CreditsWindow() const;
  TEstatisticas* StatisticsWindow() const;
  TfrmHelp* HelpWindow() const;
  TfrmAlteraProcessos* ProcessListWindow() const;
  TScenarioControls& ScenarioControls() const { return *scenario_; }
  // The tick the run stands at, as the console shows it in virtual time (empty in real time).
  QString TickText() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void BuildStrip();
  // Draws both lamp pictures at the window's pixel ratio.
  void DrawLamp();
  void BuildMenu();
  QAction* AddItem(QMenu* menu, const char* name, const QString& caption, void (TForm1::*slot)());
  QAction* AddToggle(QMenu* menu, const char* name, const QString& caption, bool checked,
                     void (TForm1::*slot)());
  void Toggle(QWidget* window, QAction* item);
  void BuildZoomMenu(QMenu* parent);
  void CheckZoomItem(int percent);
  // Keeps the chosen zoom for the next start and scales the windows to it now.
  void ZoomClick(int percent);
  // The scenario file to open or to save as (a hook in tests); empty when none was chosen.
  QString ChosenScenarioFile(bool save);
  void ShowInformation(const QString& text);
  void ShowError(const QString& text);
  // The run/stop and step buttons, the tick and "Voltar" as the run stands.
  void ShowRunState();
  // The status text as the process table stands.
  void ShowStatus();
  void CreateSimulationWindows();
  void ShowSplashEnd();
  void FinishStartUp();

  TConsoleHooks hooks_;
  Session& session_;
  TWindowSet& windows_;

  QLabel* Image1 = nullptr;
  QLabel* Image2 = nullptr;
  QToolButton* SpeedButton1 = nullptr;
  QToolButton* SpeedButton2 = nullptr;
  QLabel* tickText_ = nullptr;
  QAction* Voltar1 = nullptr;
  QAction* IrParaTick1 = nullptr;
  QAction* ProximoEvento1 = nullptr;
  int eventKind_ = 0;  // the kind of event last run on to
  TScenarioControls* scenario_ = nullptr;
  QLabel* StaticText1 = nullptr;
  // StaticText1's caption in the user's language, shown while no process lives.
  QString noProcessHint_;
  QAction* Log1 = nullptr;
  QAction* Memriaprincipal1 = nullptr;
  QAction* Escalonador1 = nullptr;
  QAction* Estatsticas1 = nullptr;
  QAction* LinhaDoTempo1 = nullptr;
  QTimer* Timer1 = nullptr;
  QTimer* Timer2 = nullptr;

  bool ready_ = false;
  bool shutDown_ = false;
  bool screenWatched_ = false;
};

}  // namespace kelpa
