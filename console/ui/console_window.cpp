#include "console/ui/console_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QRadialGradient>
#include <QTimer>
#include <QToolButton>
#include <mutex>

#include "console/ini_file.h"
#include "console/settings.h"
#include "console/ui/log_window.h"
#include "console/ui/message_box_reporter.h"
#include "core/datetime.h"
#include "core/simulation.h"
#include "i18n/ui/credits_window.h"
#include "i18n/ui/help_window.h"
#include "i18n/ui/language.h"
#include "memory/ui/memory_options_window.h"
#include "memory/ui/memory_window.h"
#include "memory/ui/page_file_window.h"
#include "ui/common/qt_convert.h"
#include "ui/common/timer_while_shown.h"
#include "ui/process/creation_window.h"
#include "ui/process/pcb_window.h"
#include "ui/process/process_list_window.h"
#include "ui/process/statistics_window.h"
#include "ui/processor/processor_window.h"
#include "ui/processor/qt_display.h"
#include "ui/processor/scheduling_options_window.h"

namespace kelpa {

namespace {

constexpr int kClientWidth = 419;
constexpr int kClientHeight = 43;
constexpr int kBlinkMs = 1000;

// The run lamp, 17 x 16: a round red lamp, either glowing or dark.
QPixmap LampPicture(bool lit) {
  QPixmap picture(17, 16);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
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

QLabel* Picture(QWidget* parent, const char* name, bool lit) {
  auto* picture = new QLabel(parent);
  picture->setObjectName(name);
  picture->setGeometry(184, 16, 17, 16);
  picture->setPixmap(LampPicture(lit));
  return picture;
}

}  // namespace

TForm1::TForm1(TConsoleHooks hooks)
    : hooks_(std::move(hooks)), language_(std::make_unique<TLanguage>()) {
  setObjectName("Form1");
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFont(ClassicFont("MS Sans Serif", 8));
  if (hooks_.Reporter) {
    reporter_ = hooks_.Reporter;
  } else {
    boxReporter_ = std::make_unique<MessageBoxReporter>();
    reporter_ = boxReporter_.get();
  }
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
  Timer2->start();
}

TForm1::~TForm1() {
  Shutdown();
  delete list_.data();
}

TfrmAlteraProcessos* TForm1::ProcessListWindow() const {
  return list_.data();
}

void TForm1::BuildStrip() {
  auto* panel = new QFrame(this);
  panel->setObjectName("Panel1");
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setFixedSize(kClientWidth, kClientHeight);
  setCentralWidget(panel);

  Image2 = Picture(panel, "Image2", false);

  SpeedButton1 = new QToolButton(panel);
  SpeedButton1->setObjectName("SpeedButton1");
  SpeedButton1->setAutoRaise(true);
  SpeedButton1->setGeometry(352, 8, 57, 25);
  SpeedButton1->setText("Parar");
  connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });

  Image1 = Picture(panel, "Image1", true);

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

void TForm1::BuildMenu() {
  QMenuBar* bar = menuBar();
  bar->setObjectName("MainMenu1");

  QMenu* processo = bar->addMenu("&Processo");
  processo->setObjectName("Processo1");
  AddItem(processo, "Criar1", "&Criar", &TForm1::Criar1Click);
  AddItem(processo, "Selecionar1", "&Selecionar", &TForm1::Selecionar1Click);

  QMenu* janelas = bar->addMenu("Janelas");
  janelas->setObjectName("Janelas1");
  Log1 = AddToggle(janelas, "Log1", "Log", false, &TForm1::Log1Click);
  Memriaprincipal1 = AddToggle(janelas, "Memriaprincipal1", QString::fromUtf8("Memória principal"),
                               true, &TForm1::Memriaprincipal1Click);
  Escalonador1 =
      AddToggle(janelas, "Escalonador1", "Escalonador", true, &TForm1::Escalonador1Click);
  Estatsticas1 = AddToggle(janelas, "Estatsticas1", QString::fromUtf8("Estatísticas"), false,
                           &TForm1::Estatsticas1Click);

  QMenu* ajuda = bar->addMenu("Ajuda");
  ajuda->setObjectName("Ajuda1");
  AddItem(ajuda, "Crditos1", QString::fromUtf8("Créditos"), &TForm1::Crditos1Click);
  AddItem(ajuda, "Help1", "Help", &TForm1::Help1Click);

  auto* fim = new QAction("Fim", bar);
  fim->setObjectName("Fim1");
  connect(fim, &QAction::triggered, this, [this] { Fim1Click(); });
  bar->addAction(fim);
}

void TForm1::FormCreate() {
  logWriter_ = std::make_unique<TLogWriter>(clock_, reporter_);
  log_ = std::make_unique<TfrmLog>(*logWriter_);
  connect(log_.get(), &TfrmLog::closed, this, [this] { Log1->setChecked(false); });
  CarregaMensagens(msg_, KelpaIniPath());
  display_ = std::make_unique<QtDisplay>();
  sim_ = std::make_unique<Simulation>(clock_, *logWriter_, *display_, msg_);
  setWindowTitle(ToQString(msg_.MsgTitConsole));
  LogSystemLine(msg_.MsgLogInicializando);
  SaveLoadSettings(SettingsMode::Load);
  CarregaLinguagem();
  if (shutDown_) {
    // Ended by a signal while a start-up message was open: nothing may start after the shutdown.
    return;
  }
  // The run/stop and tick events belong to the simulation object: run/stop starts set, so the
  // simulation runs as soon as the threads start.
  CreateSimulationWindows();
  sim_->StartThreads();
  credits_ = std::make_unique<TfrmCreditos>(msg_);
  if (splashOver_) {
    // The splash time ran out while an earlier message box was open: do not wait again.
    ShowSplashEnd();
  } else {
    credits_->exec();
  }
  if (shutDown_) {
    // Closed during the splash: the shutdown (and its log line) has already happened.
    return;
  }
  {
    std::lock_guard lock(sim_->Lock);
    sim_->StartTime = clock_.Now();
  }
  LogSystemLine(msg_.MsgLogProntoAs + " " + TimeNow());
}

void TForm1::CreateSimulationWindows() {
  opt_ = std::make_unique<Tfrm_Opt>(
      *sim_, [this] { return SaveLoadSettings(SettingsMode::Save); }, language_.get());
  gp_ = std::make_unique<TfrmGP>(*sim_, language_.get());
  gp_->setWindowTitle(ToQString(msg_.MsgTitGerProcessador));
  gp_->SetOptionsWindow(opt_.get());
  connect(gp_.get(), &TfrmGP::closed, this, [this] { Escalonador1->setChecked(false); });
  connect(opt_.get(), &Tfrm_Opt::realTimeThresholdChanged, gp_.get(), &TfrmGP::PaintRealTimeLabels);
  memory_ = std::make_unique<TfrmMemoVirt>(*sim_, language_.get());
  memory_->setWindowTitle(ToQString(msg_.MsgTitGerMemoria));
  connect(memory_.get(), &TfrmMemoVirt::closed, this,
          [this] { Memriaprincipal1->setChecked(false); });
  pageFile_ = std::make_unique<TfrmPageFile>(*sim_);
  memory_->SetPageFileWindow(pageFile_.get());
  display_->SetProcessorWindow(gp_.get());
  display_->OnRedrawPageFile = [this] { pageFile_->RedrawGrid(); };
}

void TForm1::CreateProcessWindows() {
  creation_ = std::make_unique<TForm2>(*sim_, language_.get());
  statistics_ = std::make_unique<TEstatisticas>(*sim_, language_.get());
  connect(statistics_.get(), &TEstatisticas::closed, this,
          [this] { Estatsticas1->setChecked(false); });
  Estatsticas1->setChecked(false);
  memoryOptions_ = std::make_unique<Tfrm_Opt_MV>(*sim_, language_.get());
  memory_->SetOptionsWindow(memoryOptions_.get());
  help_ = std::make_unique<TfrmHelp>();
  pcb_ = std::make_unique<TPCB>(*sim_, language_.get());
}

bool TForm1::SaveLoadSettings(SettingsMode mode) {
  return kelpa::SaveLoadSettings(mode, sim_->Settings, *reporter_);
}

void TForm1::CarregaLinguagem() {
  language_->SetFileName(KelpaIniPath());
  language_->TranslateForm("CONSOLE", this);
}

void TForm1::Criar1Click() {
  if (creation_) {
    creation_->exec();
  }
}

void TForm1::Selecionar1Click() {
  bool empty = true;
  {
    std::lock_guard lock(sim_->Lock);
    empty = sim_->Kernel.Processes.empty();
  }
  if (empty) {
    if (hooks_.Beep) {
      hooks_.Beep();
    } else {
      QApplication::beep();
    }
    const QString text = ToQString(msg_.MsgNenhumProcesso);
    if (hooks_.ShowMessage) {
      hooks_.ShowMessage(text);
    } else {
      QMessageBox::information(this, QApplication::applicationName(), AsPlainText(text));
    }
    return;
  }
  if (list_ || !pcb_) {
    return;
  }
  list_ = new TfrmAlteraProcessos(*sim_, *pcb_, language_.get());
  connect(list_, &TfrmAlteraProcessos::released, this, [this] { list_ = nullptr; });
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
  Toggle(log_.get(), Log1);
}
void TForm1::Memriaprincipal1Click() {
  Toggle(memory_.get(), Memriaprincipal1);
}
void TForm1::Escalonador1Click() {
  Toggle(gp_.get(), Escalonador1);
}
void TForm1::Estatsticas1Click() {
  Toggle(statistics_.get(), Estatsticas1);
}

void TForm1::Crditos1Click() {
  if (credits_) {
    credits_->show();
  }
}

void TForm1::Help1Click() {
  if (help_) {
    help_->show();
  }
}

void TForm1::Fim1Click() {
  // The threads end first, so that no line of theirs can follow the shutdown line in the log.
  Shutdown();
  LogSystemLine(msg_.MsgLogDesativadoAs + " " + TimeNow());
  close();
}

void TForm1::SpeedButton1Click() {
  if (SimulationRunning) {
    SpeedButton1->setText(ToQString(msg_.MsgExecutar));
    sim_->StopRunEvent.Reset();
  } else {
    SpeedButton1->setText(ToQString(msg_.MsgParar));
    sim_->StopRunEvent.Set();
  }
  SimulationRunning = !SimulationRunning;
}

void TForm1::Timer1Timer() {
  // isHidden, not isVisible: a tick alternates the two pictures whether or not the console shows.
  const bool lit = !Image1->isHidden();
  Image1->setVisible(!lit);
  Image2->setVisible(lit);
}

void TForm1::Timer2Timer() {
  Timer2->stop();
  splashOver_ = true;
  if (credits_) {
    credits_->close();
  }
  ShowSplashEnd();
}

void TForm1::ShowSplashEnd() {
  if (gp_) {
    gp_->show();
  }
  if (memory_) {
    memory_->show();
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
  Timer1->stop();
  Timer2->stop();
  // Closed during the splash: end the credits' modal loop, which the stopped Timer2 no longer
  // will, so that start-up returns.
  if (credits_) {
    credits_->close();
  }
  // The display first, so a thread waiting for the screen returns and can see the stop request.
  if (display_) {
    display_->Stop();
  }
  if (sim_) {
    sim_->Shutdown();
  }
}

void TForm1::LogSystemLine(const std::string& text) {
  if (logWriter_) {
    logWriter_->AddLine(text, 0);
  }
}

std::string TForm1::TimeNow() const {
  return FormatSpan(clock_.Now());
}

}  // namespace kelpa
