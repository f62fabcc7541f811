// SPDX-License-Identifier: MIT
#include "gui/console/console_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QFileDialog>
#include <QFrame>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QRadialGradient>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include "catalogue/fill_in.h"
#include "gui/common/live_zoom.h"
#include "gui/common/qt_convert.h"
#include "gui/common/screen_fit.h"
#include "gui/common/timer_while_shown.h"
#include "gui/console/console_shortcuts.h"
#include "gui/console/console_status.h"
#include "gui/console/scenario_controls.h"
#include "gui/console/window_set.h"
#include "gui/language/language.h"
#include "simulation/snapshots.h"
#include "timeline/timeline_picture.h"

namespace kelpa {

namespace {

constexpr int kClientWidth = 419;
constexpr int kClientHeight = 43;
constexpr int kBlinkMs = 1000;

constexpr QSize kLampSize(17, 16);

// The run lamp, 17 x 16 device-independent pixels at the windows' zoom: a round red lamp, either
// glowing or dark. Drawn at the screen's pixel ratio, so it is as sharp as the text beside it on a
// scaled screen.
QPixmap LampPicture(bool lit, qreal pixelRatio, qreal zoom) {
  QPixmap picture((QSizeF(kLampSize) * zoom * pixelRatio).toSize());
  picture.setDevicePixelRatio(pixelRatio);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.scale(zoom, zoom);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF bulb(1.5, 1.0, 14.0, 14.0);
  QRadialGradient glow(bulb.center() - QPointF(2.5, 2.5), 9.0);
  if (lit) {
    glow.setColorAt(0.0, QColor(255, 200, 200));
    glow.setColorAt(0.35, QColor(255, 40, 40));
    glow.setColorAt(1.0, QColor(200, 0, 0));
  } else {
    glow.setColorAt(0.0, QColor(150, 40, 40));
    glow.setColorAt(0.5, QColor(110, 0, 0));
    glow.setColorAt(1.0, QColor(70, 0, 0));
  }
  painter.setBrush(glow);
  painter.setPen(QPen(QColor(64, 64, 64), 1.0));
  painter.drawEllipse(bulb);
  return picture;
}

QLabel* Picture(QWidget* parent, const char* name) {
  auto* picture = new QLabel(parent);
  picture->setObjectName(name);
  picture->setGeometry(QRect(QPoint(184, 16), kLampSize));
  return picture;
}

}  // namespace

TForm1::TForm1(TConsoleHooks hooks, Session& session, TWindowSet& windows)
    : hooks_(std::move(hooks)), session_(session), windows_(windows) {
  setObjectName("Form1");
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFont(ClassicFont("MS Sans Serif", 8));
  scenario_ = new TScenarioControls(
      session_, windows_, [this](const QString& text) { ShowError(text); },
      [this] { ShowRunState(); }, this);
  BuildStrip();
  BuildMenu();
  setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
  move(41, 5);

  Timer1 = new QTimer(this);
  Timer1->setObjectName("Timer1");
  Timer1->setInterval(kBlinkMs);
  connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
  // The lamp blinks while the console is on the screen: not during the splash, nor minimised.
  new TimerWhileShown(this, Timer1);

  Timer2 = new QTimer(this);
  Timer2->setObjectName("Timer2");
  Timer2->setSingleShot(true);
  Timer2->setInterval(hooks_.SplashMs);
  connect(Timer2, &QTimer::timeout, this, [this] { Timer2Timer(); });
}

TForm1::~TForm1() {
  Shutdown();
}

TfrmLog* TForm1::LogWindow() const {
  return windows_.LogWindow();
}
TfrmGP* TForm1::ProcessorWindow() const {
  return windows_.ProcessorWindow();
}
TfrmMemoVirt* TForm1::MemoryWindow() const {
  return windows_.MemoryWindow();
}
TfrmPageFile* TForm1::PageFileWindow() const {
  return windows_.PageFileWindow();
}
TfrmCreditos* TForm1::CreditsWindow() const {
  return windows_.CreditsWindow();
}
TEstatisticas* TForm1::StatisticsWindow() const {
  return windows_.StatisticsWindow();
}
TfrmHelp* TForm1::HelpWindow() const {
  return windows_.HelpWindow();
}
TfrmAlteraProcessos* TForm1::ProcessListWindow() const {
  return windows_.ProcessListWindow();
}

void TForm1::BuildStrip() {
  auto* panel = new QFrame(this);
  panel->setObjectName("Panel1");
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setFixedSize(kClientWidth, kClientHeight);
  setCentralWidget(panel);

  Image2 = Picture(panel, "Image2");

  SpeedButton1 = new QToolButton(panel);
  SpeedButton1->setObjectName("SpeedButton1");
  SpeedButton1->setAutoRaise(true);
  SpeedButton1->setGeometry(352, 8, 57, 25);
  SpeedButton1->setText("Parar");
  connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });

  SpeedButton2 = new QToolButton(panel);
  SpeedButton2->setObjectName("SpeedButton2");
  SpeedButton2->setAutoRaise(true);
  SpeedButton2->setGeometry(292, 8, 57, 25);
  SpeedButton2->setText("Passo");
  SpeedButton2->setEnabled(false);
  connect(SpeedButton2, &QToolButton::clicked, this, [this] { SpeedButton2Click(); });

  // Written by the program: the tick, in virtual time only.
  tickText_ = new QLabel(panel);
  tickText_->setTextFormat(Qt::PlainText);
  tickText_->setGeometry(205, 14, 85, 16);

  Image1 = Picture(panel, "Image1");
  DrawLamp();

  StaticText1 = new QLabel("Para iniciar, crie um processo.", panel);
  StaticText1->setObjectName("StaticText1");
  StaticText1->move(3, 14);
  StaticText1->adjustSize();
}

QAction* TForm1::AddItem(QMenu* menu, const char* name, const QString& caption,
                         void (TForm1::*slot)()) {
  auto* item = new QAction(caption, menu);
  item->setObjectName(name);
  connect(item, &QAction::triggered, this, [this, slot] { (this->*slot)(); });
  menu->addAction(item);
  return item;
}

QAction* TForm1::AddToggle(QMenu* menu, const char* name, const QString& caption, bool checked,
                           void (TForm1::*slot)()) {
  QAction* item = AddItem(menu, name, caption, slot);
  item->setCheckable(true);
  item->setChecked(checked);
  return item;
}

// Every menu opens with Alt and its underlined letter. A translated kelpa.ini sets its own
// letters (or none) with its captions.
void TForm1::BuildMenu() {
  QMenuBar* bar = menuBar();
  bar->setObjectName("MainMenu1");

  QMenu* processo = bar->addMenu("&Processo");
  processo->setObjectName("Processo1");
  AddItem(processo, "Criar1", "&Criar", &TForm1::Criar1Click);
  AddItem(processo, "Selecionar1", "&Selecionar", &TForm1::Selecionar1Click);
  processo->addSeparator();
  AddItem(processo, "AbrirCenario1", QString::fromUtf8("&Abrir cenário..."),
          &TForm1::AbrirCenario1Click);
  AddItem(processo, "SalvarCenario1", QString::fromUtf8("Sal&var cenário..."),
          &TForm1::SalvarCenario1Click);
  Voltar1 = AddItem(processo, "Voltar1", "Vol&tar...", &TForm1::Voltar1Click);
  Voltar1->setEnabled(false);
  IrParaTick1 = AddItem(processo, "IrParaTick1", "&Ir para o tick...", &TForm1::IrParaTick1Click);
  IrParaTick1->setEnabled(false);
  ProximoEvento1 = AddItem(processo, "ProximoEvento1", QString::fromUtf8("Pró&ximo evento..."),
                           &TForm1::ProximoEvento1Click);
  ProximoEvento1->setEnabled(false);

  QMenu* janelas = bar->addMenu("&Janelas");
  janelas->setObjectName("Janelas1");
  Log1 = AddToggle(janelas, "Log1", "&Log", false, &TForm1::Log1Click);
  Memriaprincipal1 = AddToggle(janelas, "Memriaprincipal1", QString::fromUtf8("&Memória principal"),
                               true, &TForm1::Memriaprincipal1Click);
  Escalonador1 =
      AddToggle(janelas, "Escalonador1", "&Escalonador", true, &TForm1::Escalonador1Click);
  Estatsticas1 = AddToggle(janelas, "Estatsticas1", QString::fromUtf8("Es&tatísticas"), false,
                           &TForm1::Estatsticas1Click);
  LinhaDoTempo1 =
      AddToggle(janelas, "LinhaDoTempo1", "Li&nha do tempo", false, &TForm1::LinhaDoTempo1Click);
  janelas->addSeparator();
  BuildZoomMenu(janelas);

  QMenu* ajuda = bar->addMenu("&Ajuda");
  ajuda->setObjectName("Ajuda1");
  AddItem(ajuda, "Crditos1", QString::fromUtf8("&Créditos"), &TForm1::Crditos1Click);
  AddItem(ajuda, "Help1", "&Help", &TForm1::Help1Click);

  auto* fim = new QAction("&Fim", bar);
  fim->setObjectName("Fim1");
  connect(fim, &QAction::triggered, this, [this] { Fim1Click(); });
  bar->addAction(fim);

  AddConsoleShortcuts(
      *this, [this] { SpeedButton1Click(); }, [this] { SpeedButton2Click(); });
}

// One item per zoom; the checked one is the zoom kelpa.ini holds, the one of the next start.
void TForm1::BuildZoomMenu(QMenu* parent) {
  QMenu* zoom = parent->addMenu(QString::fromUtf8("&Ampliação"));
  zoom->setObjectName("Zoom1");
  auto* levels = new QActionGroup(zoom);
  for (const int percent : kZoomLevels) {
    auto* item = new QAction(QStringLiteral("%1 %").arg(percent), zoom);
    item->setObjectName(QStringLiteral("Zoom%1").arg(percent));
    item->setCheckable(true);
    levels->addAction(item);
    zoom->addAction(item);
    connect(item, &QAction::triggered, this, [this, percent] { ZoomClick(percent); });
  }
}

void TForm1::CheckZoomItem(int percent) {
  if (auto* item = findChild<QAction*>(QStringLiteral("Zoom%1").arg(percent))) {
    item->setChecked(true);
  }
}

void TForm1::ZoomClick(int percent) {
  if (!session_.SaveZoom(percent)) {
    // Reported already; the item of the zoom the file still holds stays checked.
    CheckZoomItem(session_.Zoom());
    return;
  }
  CheckZoomItem(percent);
  // Qt took its scale factor at start, from the zoom then in kelpa.ini: the windows are scaled
  // by hand from there, and the next start takes the new zoom whole.
  ZoomShownWindows(static_cast<double>(percent) / hooks_.StartZoom);
  DrawLamp();
}

void TForm1::ShowInformation(const QString& text) {
  if (hooks_.ShowMessage) {
    hooks_.ShowMessage(text);
  } else {
    QMessageBox::information(this, QApplication::applicationName(), AsPlainText(text));
  }
}

void TForm1::ShowError(const QString& text) {
  if (hooks_.ShowMessage) {
    hooks_.ShowMessage(text);
  } else {
    QMessageBox::warning(this, QApplication::applicationName(), text);
  }
}

void TForm1::DrawLamp() {
  const qreal ratio = devicePixelRatioF();
  Image1->setPixmap(LampPicture(true, ratio, ZoomOf(this)));
  Image2->setPixmap(LampPicture(false, ratio, ZoomOf(this)));
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // The window's ratio is its screen's, known once it has a native window; a move to a screen
  // of another ratio draws the lamp again.
  DrawLamp();
  if (QWindow* window = windowHandle(); window != nullptr && !screenWatched_) {
    screenWatched_ = true;
    connect(window, &QWindow::screenChanged, this, [this] { DrawLamp(); });
  }
}

void TForm1::FormCreate() {
  session_.OpenLog();
  windows_.CreateLogWindow(session_.Log(), [this] { Log1->setChecked(false); });
  session_.LoadCatalogue();
  session_.CreateSimulation(windows_.CreateDisplay());
  setWindowTitle(ToQString(Msg().MsgTitConsole));
  session_.LogSystemLine(Msg().MsgLogInicializando);
  SaveLoadSettings(SettingsMode::Load);
  CheckZoomItem(session_.Zoom());
  CarregaLinguagem();
  // The run/stop and tick events belong to the simulation object: run/stop starts set, so the
  // simulation runs as soon as the threads start.
  CreateSimulationWindows();
  if (shutDown_) {
    // Ended (by a signal) while a start-up message box was open: nothing more may start.
    return;
  }
  session_.StartThreads();
  // The credits stay in front, modal, until the splash ends or the user closes them; start-up
  // then finishes. No nested event loop: the program entry goes on into its own.
  QDialog& credits = windows_.CreateCredits(Msg());
  connect(&credits, &QDialog::finished, this, [this] { FinishStartUp(); });
  if (hooks_.SplashMs <= 0) {
    Timer2Timer();
    return;
  }
  credits.setWindowModality(Qt::ApplicationModal);
  credits.show();
  // The splash counts from the credits on the screen, so a start-up message box that the user
  // took long to close does not eat it.
  Timer2->start();
}

void TForm1::FinishStartUp() {
  if (ready_ || shutDown_ || windows_.Credits() == nullptr) {
    return;
  }
  ready_ = true;
  // From the menu the credits are an ordinary window.
  windows_.Credits()->setWindowModality(Qt::NonModal);
  session_.MarkReady();
}

void TForm1::CreateSimulationWindows() {
  windows_.CreateSimulationWindows(
      Sim(), Msg(), [this] { return SaveLoadSettings(SettingsMode::Save); },
      [this] { Escalonador1->setChecked(false); }, [this] { Memriaprincipal1->setChecked(false); });
  windows_.CreateTimeline(Sim(), Msg(), session_.Events(),
                          [this] { LinhaDoTempo1->setChecked(false); });
}

void TForm1::CreateProcessWindows() {
  windows_.CreateProcessWindows(Sim(), [this] { Estatsticas1->setChecked(false); });
  Estatsticas1->setChecked(false);
}

bool TForm1::SaveLoadSettings(SettingsMode mode) {
  return session_.SaveLoadSettings(mode);
}

void TForm1::CarregaLinguagem() {
  windows_.Language().SetFileName(session_.IniPath());
  windows_.Language().TranslateForm("CONSOLE", this);
  noProcessHint_ = StaticText1->text();
}

void TForm1::ShowStatus() {
  if (!ready_ || shutDown_) {
    return;
  }
  StaticText1->setText(ConsoleStatusText(SnapshotProcessCount(Sim()), noProcessHint_, Msg()));
  StaticText1->adjustSize();
}

void TForm1::Criar1Click() {
  if (QDialog* creation = windows_.Creation()) {
    creation->exec();
  }
  ShowStatus();
}

void TForm1::Selecionar1Click() {
  bool empty = true;
  {
    std::lock_guard lock(Sim().Lock);
    empty = Sim().Kernel.Processes.empty();
  }
  if (empty) {
    if (hooks_.Beep) {
      hooks_.Beep();
    } else {
      QApplication::beep();
    }
    ShowInformation(ToQString(Msg().MsgNenhumProcesso));
    return;
  }
  windows_.OpenProcessList(Sim());
}

void TForm1::Toggle(QWidget* window, QAction* item) {
  if (!window) {
    return;
  }
  if (window->isVisible()) {
    item->setChecked(false);
    window->close();
  } else {
    item->setChecked(true);
    window->show();
  }
}

void TForm1::Log1Click() {
  Toggle(windows_.Log(), Log1);
}
void TForm1::Memriaprincipal1Click() {
  Toggle(windows_.Memory(), Memriaprincipal1);
}
void TForm1::Escalonador1Click() {
  Toggle(windows_.Processor(), Escalonador1);
}
void TForm1::Estatsticas1Click() {
  Toggle(windows_.Statistics(), Estatsticas1);
}

void TForm1::LinhaDoTempo1Click() {
  Toggle(windows_.Timeline(), LinhaDoTempo1);
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

void TForm1::Fim1Click() {
  // The threads end first, so that no line of theirs can follow the shutdown line in the log.
  Shutdown();
  session_.Finish();
  close();
}

QString TForm1::TickText() const {
  return tickText_->text();
}

QString TForm1::ChosenScenarioFile(bool save) {
  if (hooks_.ChooseScenarioFile) {
    return hooks_.ChooseScenarioFile(save);
  }
  const QString title =
      DialogTitle(findChild<QAction*>(save ? "SalvarCenario1" : "AbrirCenario1")->text());
  const QString filter = ToQString(Msg().MsgArquivosCenario);
  // Saving proposes a name of its own, never the settings file beside it.
  return save ? QFileDialog::getSaveFileName(this, title, scenario_->SuggestedFileName(), filter)
              : QFileDialog::getOpenFileName(this, title, QString(), filter);
}

void TForm1::AbrirCenario1Click() {
  if (const QString path = ChosenScenarioFile(false); !path.isEmpty()) {
    scenario_->Open(path);
  }
}

void TForm1::SalvarCenario1Click() {
  if (const QString path = ChosenScenarioFile(true); !path.isEmpty()) {
    scenario_->Save(path);
  }
}

void TForm1::Voltar1Click() {
  if (!scenario_->VirtualTime()) {
    return;
  }
  const std::int64_t last = scenario_->Tick();
  std::optional<std::int64_t> tick;
  if (hooks_.AskTick) {
    tick = hooks_.AskTick(last);
  } else {
    bool ok = false;
    const QString prompt = ToQString(FillIn(Msg().MsgVoltarAoTick, {std::to_string(last)}));
    const int chosen =
        QInputDialog::getInt(this, DialogTitle(Voltar1->text()), prompt, static_cast<int>(last), 0,
                             static_cast<int>(last), 1, &ok);
    if (ok) {
      tick = chosen;
    }
  }
  if (tick) {
    scenario_->BackTo(*tick);
  }
}

void TForm1::IrParaTick1Click() {
  if (!scenario_->VirtualTime()) {
    return;
  }
  const std::int64_t last = scenario_->LastTick();
  std::optional<QString> text;
  if (hooks_.AskTickText) {
    text = hooks_.AskTickText(last);
  } else {
    bool ok = false;
    const QString prompt = ToQString(FillIn(Msg().MsgIrParaOTick, {std::to_string(last)}));
    // Typed freely, so that a wrong tick is told as such rather than silently clamped.
    text = QInputDialog::getText(this, DialogTitle(IrParaTick1->text()), AsPlainText(prompt),
                                 QLineEdit::Normal, QString::number(scenario_->Tick()), &ok);
    if (!ok) {
      text.reset();
    }
  }
  if (text) {
    scenario_->GoTo(*text);
  }
}

void TForm1::ProximoEvento1Click() {
  if (!scenario_->VirtualTime()) {
    return;
  }
  // The kinds the timeline marks, named as its legend names them.
  QStringList kinds;
  for (const std::string& name : TimelineTextsFrom(Msg()).Marks) {
    kinds << ToQString(name);
  }
  std::optional<int> kind;
  if (hooks_.AskEventKind) {
    kind = hooks_.AskEventKind(kinds);
  } else {
    bool ok = false;
    const QString chosen = QInputDialog::getItem(this, DialogTitle(ProximoEvento1->text()),
                                                 AsPlainText(ToQString(Msg().MsgProximoEvento)),
                                                 kinds, eventKind_, false, &ok);
    if (ok) {
      kind = static_cast<int>(kinds.indexOf(chosen));
    }
  }
  if (kind && *kind >= 0 && *kind < kTimelineMarkCount) {
    eventKind_ = *kind;
    scenario_->RunToNext(static_cast<TimelineMark>(*kind));
  }
}

void TForm1::SpeedButton2Click() {
  if (!SimulationRunning && !shutDown_) {
    scenario_->Step();
  }
}

void TForm1::ShowRunState() {
  if (scenario_->VirtualTime()) {
    // The tick takes the place of the hint to create a process, which a scenario does.
    StaticText1->hide();
    SimulationRunning = scenario_->Playing();
    SpeedButton1->setText(ToQString(SimulationRunning ? Msg().MsgParar : Msg().MsgExecutar));
    tickText_->setText(ToQString(Msg().MsgTick) + QLatin1Char(' ') +
                       QString::number(scenario_->Tick()));
  }
  SpeedButton2->setEnabled(!SimulationRunning);
  Voltar1->setEnabled(scenario_->VirtualTime());
  IrParaTick1->setEnabled(scenario_->VirtualTime());
  ProximoEvento1->setEnabled(scenario_->VirtualTime());
}

void TForm1::SpeedButton1Click() {
  if (scenario_->VirtualTime()) {
    scenario_->SetPlaying(!SimulationRunning);
    return;
  }
  if (SimulationRunning) {
    SpeedButton1->setText(ToQString(Msg().MsgExecutar));
    Sim().StopRunEvent.Reset();
  } else {
    SpeedButton1->setText(ToQString(Msg().MsgParar));
    Sim().StopRunEvent.Set();
  }
  SimulationRunning = !SimulationRunning;
  ShowRunState();
}

void TForm1::Timer1Timer() {
  // isHidden, not isVisible: a tick alternates the two pictures whether or not the console shows.
  const bool lit = !Image1->isHidden();
  Image1->setVisible(!lit);
  Image2->setVisible(lit);
  ShowStatus();
}

void TForm1::Timer2Timer() {
  Timer2->stop();
  // Closing the credits finishes start-up, if the user has not closed them already.
  if (QDialog* credits = windows_.Credits()) {
    credits->close();
  }
  // A creation batch in progress ends here: its timer would otherwise go on creating processes
  // inside the dialog's own event loop after the shutdown line.
  if (QDialog* creation = windows_.Creation()) {
    creation->reject();
  }
  FinishStartUp();
  ShowSplashEnd();
}

void TForm1::ShowSplashEnd() {
  for (QWidget* window : {windows_.Processor(), windows_.Memory()}) {
    if (window != nullptr) {
      window->show();
    }
  }
  show();
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
  Timer2->stop();
  // Closed during the splash: the credits go too, and start-up never finishes.
  if (QDialog* credits = windows_.Credits()) {
    credits->close();
  }
  // A creation batch in progress ends here: its timer would otherwise go on creating processes
  // inside the dialog's own event loop after the shutdown line.
  if (QDialog* creation = windows_.Creation()) {
    creation->reject();
  }
  // The display first, so a thread waiting for the screen returns and can see the stop request.
  windows_.StopDisplay();
  session_.Shutdown();
}

}  // namespace kelpa
