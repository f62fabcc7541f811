// SPDX-License-Identifier: MIT
#include "gui/console/console_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDialog>
#include <QLabel>
#include <QMenuBar>
#include <QTimer>
#include <QToolButton>
#include <utility>

#include "gui/common/qt_convert.h"
#include "gui/common/timer_while_shown.h"
#include "gui/console/console_shortcuts.h"
#include "gui/console/console_status.h"
#include "gui/console/look_menu.h"
#include "gui/console/run_lamp.h"
#include "gui/console/scenario_controls.h"
#include "gui/console/start_up_splash.h"
#include "gui/console/window_set.h"
#include "gui/console/zoom_menu.h"
#include "gui/exercise/exercise_mode.h"
#include "gui/language/language.h"

namespace kelpa {

namespace {

constexpr int kBlinkMs = 1000;

}  // namespace

TForm1::TForm1(TConsoleHooks hooks, Session& session, TWindowSet& windows)
    : hooks_(std::move(hooks)),
      session_(session),
      windows_(windows),
      dialogs_(*this, hooks_, session_.Msg()) {
  setObjectName("Form1");
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFont(ClassicFont("MS Sans Serif", 8));
  scenario_ = new TScenarioControls(
      session_, windows_, [this](const QString& text) { dialogs_.ShowError(text); },
      [this] { ShowRunState(); }, this);
  strip_ = BuildConsoleStrip(*this);
  menu_ = BuildConsoleMenu(*this);
  zoom_ =
      new TZoomMenu(menu_.Janelas1, session_, hooks_.StartZoom, [this] { strip_.Lamp->Draw(); });
  look_ = new TLookMenu(menu_.Janelas1, session_);
  AddConsoleShortcuts(
      *this, [this] { SpeedButton1Click(); }, [this] { SpeedButton2Click(); });
  setFixedSize(kConsoleStripSize.width(),
               kConsoleStripSize.height() + menuBar()->sizeHint().height());
  move(41, 5);

  Timer1 = new QTimer(this);
  Timer1->setObjectName("Timer1");
  Timer1->setInterval(kBlinkMs);
  connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
  // The lamp blinks while the console is on the screen: not during the splash, nor minimised.
  new TimerWhileShown(this, Timer1);

  splash_ = new TStartUpSplash(this, hooks_.SplashMs, session_, windows_);
}

TForm1::~TForm1() {
  Shutdown();
}

bool TForm1::IsReady() const {
  return splash_->Ready();
}

void TForm1::FormCreate() {
  session_.OpenLog();
  windows_.CreateLogWindow(session_.Log(), [this] { menu_.Log1->setChecked(false); });
  session_.LoadCatalogue();
  session_.CreateSimulation(windows_.CreateDisplay());
  setWindowTitle(ToQString(Msg().MsgTitConsole));
  session_.LogSystemLine(Msg().MsgLogInicializando);
  SaveLoadSettings(SettingsMode::Load);
  zoom_->Check(session_.Zoom());
  look_->Check(session_.CurrentLook());
  CarregaLinguagem();
  // The run/stop and tick events belong to the simulation object: run/stop starts set, so the
  // simulation runs as soon as the threads start.
  CreateSimulationWindows();
  if (shutDown_) {
    // Ended (by a signal) while a start-up message box was open: nothing more may start.
    return;
  }
  session_.StartThreads();
  splash_->Start(windows_.CreateCredits(Msg()));
}

void TForm1::CreateSimulationWindows() {
  windows_.CreateSimulationWindows(
      Sim(), Msg(), session_.Events(), [this] { return SaveLoadSettings(SettingsMode::Save); },
      [this] { menu_.Escalonador1->setChecked(false); },
      [this] { menu_.Memriaprincipal1->setChecked(false); });
  windows_.CreateTimeline(Sim(), Msg(), session_.Events(),
                          [this] { menu_.LinhaDoTempo1->setChecked(false); });
}

void TForm1::CreateProcessWindows() {
  windows_.CreateProcessWindows(Sim(), [this] { menu_.Estatsticas1->setChecked(false); });
  menu_.Estatsticas1->setChecked(false);
}

bool TForm1::SaveLoadSettings(SettingsMode mode) {
  return session_.SaveLoadSettings(mode);
}

void TForm1::CarregaLinguagem() {
  windows_.Language().SetFileName(session_.IniPath());
  windows_.Language().SetBeneath(session_.IniLayersBeneath());
  windows_.Language().TranslateForm("CONSOLE", this);
  noProcessHint_ = strip_.StaticText1->text();
}

void TForm1::ShowStatus() {
  if (!IsReady() || shutDown_) {
    return;
  }
  strip_.StaticText1->setText(ConsoleStatusText(session_.ProcessCount(), noProcessHint_, Msg()));
  strip_.StaticText1->adjustSize();
}

void TForm1::Criar1Click() {
  if (QDialog* creation = windows_.Creation()) {
    creation->exec();
  }
  ShowStatus();
}

void TForm1::Selecionar1Click() {
  if (session_.ProcessCount() == 0) {
    dialogs_.Beep();
    dialogs_.ShowInformation(ToQString(Msg().MsgNenhumProcesso));
    return;
  }
  windows_.OpenProcessList(Sim());
}

void TForm1::Log1Click() {
  ToggleWindow(windows_.Log(), menu_.Log1);
}
void TForm1::Memriaprincipal1Click() {
  ToggleWindow(windows_.Memory(), menu_.Memriaprincipal1);
}
void TForm1::Escalonador1Click() {
  ToggleWindow(windows_.Processor(), menu_.Escalonador1);
}
void TForm1::Estatsticas1Click() {
  ToggleWindow(windows_.Statistics(), menu_.Estatsticas1);
}
void TForm1::LinhaDoTempo1Click() {
  ToggleWindow(windows_.Timeline(), menu_.LinhaDoTempo1);
}

void TForm1::Crditos1Click() {
  if (QDialog* credits = windows_.Credits()) {
    credits->show();
  }
}

void TForm1::Help1Click() {
  if (QWidget* help = windows_.Help()) {
    help->show();
  }
}

void TForm1::Guia1Click() {
  windows_.ShowGuide(Msg());
}

void TForm1::Fim1Click() {
  // The threads end first, so that no line of theirs can follow the shutdown line in the log.
  Shutdown();
  session_.Finish();
  close();
}

QString TForm1::TickText() const {
  return strip_.Tick->text();
}

void TForm1::AbrirCenario1Click() {
  if (const QString path = dialogs_.ScenarioFile(false, QString()); !path.isEmpty()) {
    scenario_->Open(path);
  }
}

void TForm1::OpenScenarioWhenShown(const QString& path) {
  splash_->WhenEnded([this, path] { scenario_->Open(path); });
}

void TForm1::SalvarCenario1Click() {
  // Saving proposes a name of its own, never the settings file beside it.
  if (const QString path = dialogs_.ScenarioFile(true, scenario_->SuggestedFileName());
      !path.isEmpty()) {
    scenario_->Save(path);
  }
}

void TForm1::Voltar1Click() {
  if (!scenario_->VirtualTime()) {
    return;
  }
  if (const auto tick = dialogs_.TickToGoBackTo(scenario_->Tick())) {
    scenario_->BackTo(*tick);
  }
}

void TForm1::IrParaTick1Click() {
  if (!scenario_->VirtualTime()) {
    return;
  }
  if (const auto text = dialogs_.TickToGoTo(scenario_->LastTick(), scenario_->Tick())) {
    scenario_->GoTo(*text);
  }
}

void TForm1::ProximoEvento1Click() {
  if (!scenario_->VirtualTime()) {
    return;
  }
  if (const auto kind = dialogs_.EventKind()) {
    scenario_->RunToNext(*kind);
  }
}

void TForm1::Exercicio1Click() {
  if (scenario_->VirtualTime()) {
    scenario_->SetExercise(!scenario_->ExerciseMode().On());
  }
  ShowRunState();
}

void TForm1::SpeedButton2Click() {
  if (!SimulationRunning && !shutDown_) {
    scenario_->Step();
  }
}

void TForm1::ShowRunState() {
  const bool virtualTime = scenario_->VirtualTime();
  if (virtualTime) {
    // The tick takes the place of the hint to create a process, which a scenario does.
    strip_.StaticText1->hide();
    SimulationRunning = scenario_->Playing();
    ShowRunButton();
    strip_.Tick->setText(ToQString(Msg().MsgTick) + QLatin1Char(' ') +
                         QString::number(scenario_->Tick()));
  }
  strip_.SpeedButton2->setEnabled(!SimulationRunning);
  for (QAction* item : {menu_.Voltar1, menu_.IrParaTick1, menu_.ProximoEvento1, menu_.Exercicio1}) {
    item->setEnabled(virtualTime);
  }
  const bool exercise = scenario_->ExerciseMode().On();
  menu_.Exercicio1->setChecked(exercise);
  strip_.SpeedButton3->setVisible(virtualTime);
  strip_.SpeedButton3->setChecked(exercise);
}

void TForm1::SpeedButton1Click() {
  if (scenario_->VirtualTime()) {
    scenario_->SetPlaying(!SimulationRunning);
    return;
  }
  SimulationRunning = !SimulationRunning;
  ShowRunButton();
  session_.SetRunning(SimulationRunning);
  ShowRunState();
}

void TForm1::ShowRunButton() {
  strip_.SpeedButton1->setText(ToQString(SimulationRunning ? Msg().MsgParar : Msg().MsgExecutar));
}

void TForm1::Timer1Timer() {
  strip_.Lamp->Blink();
  ShowStatus();
}

void TForm1::Timer2Timer() {
  splash_->End();
}

void TForm1::closeEvent(QCloseEvent* event) {
  Shutdown();
  event->accept();
  if (hooks_.OnFinished) {
    hooks_.OnFinished();
  }
}

void TForm1::Shutdown() {
  if (shutDown_) {
    return;
  }
  shutDown_ = true;
  scenario_->SetPlaying(false);
  Timer1->stop();
  // Closed during the splash: the credits go too, and start-up never finishes.
  splash_->Stop();
  // The display first, so a thread waiting for the screen returns and can see the stop request.
  windows_.StopDisplay();
  session_.Shutdown();
}

}  // namespace kelpa
