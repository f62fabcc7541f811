// SPDX-License-Identifier: MIT
#include "gui/processor/processor_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>
#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "catalogue/fill_in.h"
#include "gui/common/app_look.h"
#include "gui/common/palette_follower.h"
#include "gui/common/qt_convert.h"
#include "gui/common/readable_text.h"
#include "gui/common/timer_while_shown.h"
#include "gui/language/language.h"
#include "gui/processor/disc_registry.h"
#include "gui/processor/qt_display.h"
#include "gui/processor/ready_queue_picture.h"
#include "gui/processor/scheduling_options_window.h"
#include "gui/processor/ticked_slider.h"
#include "simulation/scheduling_policy.h"
#include "simulation/simulation.h"
#include "simulation/snapshots.h"

namespace kelpa {
namespace {

// Tops of the priority numbers, Label1 (priority 0) to Label16 (priority 15).
constexpr int kPriorityLabelTops[kPriorityLevels] = {245, 233, 221, 209, 196, 184, 172, 160,
                                                     148, 136, 124, 112, 99,  87,  75,  63};
constexpr int kPriorityLabelLeft = 308;
// A queue's name under another policy ends here, just left of the ladder, however long it is.
constexpr int kQueueLabelRight = 326;
// "Pronto" stands this far above the highest row drawn.
constexpr int kReadyTitleAbove = 19;

QFrame* AddRectangle(QWidget* parent, const char* name, int left, int top, int width, int height) {
  auto* shape = new QFrame(parent);
  shape->setObjectName(QString::fromLatin1(name));
  shape->setFrameStyle(QFrame::Box | QFrame::Plain);
  shape->setLineWidth(1);
  QPalette palette = shape->palette();
  palette.setColor(QPalette::Window, Qt::white);
  palette.setColor(QPalette::WindowText, Qt::black);
  shape->setPalette(palette);
  shape->setAutoFillBackground(true);
  shape->setGeometry(left, top, width, height);
  return shape;
}

}  // namespace

TfrmGP::TfrmGP(Simulation& sim, TLanguage* language, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      sim_(sim) {
  setObjectName(QStringLiteral("frmGP"));
  setWindowTitle(ToQString(sim_.Msg.MsgTitGerProcessador));
  setFont(ClassicFont(QStringLiteral("MS Sans Serif"), 8));
  CreateComponents();
  discs_ = new DiscRegistry(ClientArea(), this);

  TranslateForm(language, "GP", this);
  for (int priority = 0; priority < kPriorityLevels; ++priority) {
    priorityHints_[priority] = Labels_[priority]->toolTip();
  }
  const RunOptions inForce = SnapshotOptions(sim_);
  scheduler_ = inForce.Scheduler;
  levels_ = inForce.MlfqLevels;
  ShowQueues();
  // The red of the real-time numbers is chosen against the window's colour: again for a new look.
  new PaletteFollower(this, [this] { PaintRealTimeLabels(threshold_); });
  ProgressBar1->setMaximum(100);

  // The client area is fixed; the window fits it and the menu bar above it.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  move(42, 96);
}

void TfrmGP::CreateComponents() {
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("ClientArea"));
  client->setFixedSize(kClientWidth, kClientHeight);
  setCentralWidget(client);

  Opcoes1 = menuBar()->addAction(QStringLiteral("Opcoes"));
  Opcoes1->setObjectName(QStringLiteral("Opcoes1"));
  connect(Opcoes1, &QAction::triggered, this, &TfrmGP::Opcoes1Click);

  S_ESCALONA = new ReadyQueuePicture(client);
  S_ESCALONA->setObjectName(QStringLiteral("S_ESCALONA"));
  S_ESCALONA->setGeometry(328, 64, 20, 193);

  S_CPU = AddRectangle(client, "S_CPU", 160, 25, 60, 32);
  AddLabel(client, "Label21", QStringLiteral("Execução"), 162, 8, true);

  for (int priority = 0; priority < kPriorityLevels; ++priority) {
    const QByteArray name = "Label" + QByteArray::number(priority + 1);
    Labels_[priority] = AddLabel(client, name.constData(), QString::number(priority),
                                 kPriorityLabelLeft, kPriorityLabelTops[priority]);
    Labels_[priority]->setAttribute(Qt::WA_TranslucentBackground);
  }

  Label19 = AddLabel(client, "Label19", QStringLiteral("Pronto"), 320, 45, true);
  AddLabel(client, "Label20", QStringLiteral("Espera"), 8, 174, true);
  AddLabel(client, "Label24", QStringLiteral("IO"), 27, 199);
  S_IO = AddRectangle(client, "S_IO", 50, 195, 22, 23);

  ProgressBar1 = new QProgressBar(client);
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->setGeometry(14, 218, 81, 17);
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);
  ProgressBar1->setTextVisible(false);

  AddLabel(client, "Label23", QStringLiteral("Susp"), 14, 238);

  CreateSpeedControls();

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(500);
  connect(Timer1, &QTimer::timeout, this, &TfrmGP::Timer1Timer);
  new TimerWhileShown(this, Timer1, [this] { Timer1Timer(); });
}

void TfrmGP::CreateSpeedControls() {
  GroupBox1 = new QGroupBox(centralWidget());
  GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
  GroupBox1->setGeometry(1, 260, 416, 57);

  AddLabel(GroupBox1, "Label18", QStringLiteral("Tempo de espera de IO"), 13, 9);
  TrackBar1 = AddTrackBar("TrackBar1", 4, 25, 128, 10);
  AddLabel(GroupBox1, "Label17", QStringLiteral("Fatia de tempo"), 155, 9);
  tcbQuantum = AddTrackBar("tcbQuantum", 144, 24, 126, 1);
  AddLabel(GroupBox1, "Label22", QStringLiteral("Freqüência clock"), 292, 8);
  tbClock = AddTrackBar("tbClock", 281, 24, 128, 1);

  // Connected after the initial positions, which match the simulation's starting values.
  connect(TrackBar1, &QSlider::valueChanged, this, &TfrmGP::TrackBar1Change);
  connect(tcbQuantum, &QSlider::valueChanged, this, &TfrmGP::tcbQuantumChange);
  connect(tbClock, &QSlider::valueChanged, this, &TfrmGP::tbClockChange);

  // Each control says its value, under it, for a class that cannot read a slider's position: the
  // group and the client area grow by that row, and no described control moves.
  // A line of text and a little room below it, whatever the font's leading.
  const QFontMetrics metrics(GroupBox1->font());
  const int row = std::max(metrics.height(), metrics.lineSpacing()) + 2;
  for (QSlider* bar : {TrackBar1, tcbQuantum, tbClock}) {
    auto* value = new QLabel(GroupBox1);
    value->setObjectName(bar->objectName() + QStringLiteral("Valor"));
    value->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    value->setGeometry(bar->x(), bar->y() + bar->height(), bar->width(), row);
    values_.push_back(value);
  }
  GroupBox1->resize(GroupBox1->width(), GroupBox1->height() + row);
  centralWidget()->setFixedSize(kClientWidth, kClientHeight + row);
  ShowSpeedValues();
}

void TfrmGP::ShowSpeedValues() {
  ProgressBar1->setMaximum(WaitPasses(TrackBar1->value()));
  const TMessages& msg = sim_.Msg;
  const int slice = tcbQuantum->value();
  const std::string texts[] = {
      FillIn(msg.MsgValorEspera, {std::to_string(WaitPasses(TrackBar1->value()))}),
      FillIn(slice == 1 ? msg.MsgValorFatiaUma : msg.MsgValorFatia, {std::to_string(slice)}),
      FillIn(msg.MsgValorClock, {std::to_string(ClockPeriodMs(tbClock->value()))}),
  };
  for (std::size_t i = 0; i < values_.size(); ++i) {
    values_[i]->setText(ToQString(texts[i]));
  }
}

QLabel* TfrmGP::AddLabel(QWidget* parent, const char* name, const QString& text, int left, int top,
                         bool bold) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  if (bold) {
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
  }
  label->move(left, top);
  label->adjustSize();
  return label;
}

QSlider* TfrmGP::AddTrackBar(const char* name, int left, int top, int width, int position) {
  auto* bar = new TickedSlider(GroupBox1);
  bar->setObjectName(QString::fromLatin1(name));
  bar->setRange(1, 10);
  bar->setPageStep(1);
  bar->setTickPosition(QSlider::TicksBelow);
  bar->setTickInterval(1);
  bar->setValue(position);
  bar->setGeometry(left, top, width, 27);
  return bar;
}

void TfrmGP::ForcePriorityNumbers() {
  // The numbers are the queues' priorities: no language file may rename them.
  for (int priority = 0; priority < kPriorityLevels; ++priority) {
    Labels_[priority]->setText(QString::number(priority));
    Labels_[priority]->adjustSize();
  }
}

void TfrmGP::ShowQueues() {
  const auto policy = static_cast<SchedulingPolicy>(scheduler_);
  const int rows = policy == SchedulingPolicy::Priority ? kPriorityLevels
                   : policy == SchedulingPolicy::Mlfq   ? std::clamp(levels_, 1, kPriorityLevels)
                                                        : 1;
  S_ESCALONA->SetRows(rows);
  Label19->move(Label19->x(), S_ESCALONA->y() + S_ESCALONA->TopOfRows() - kReadyTitleAbove);
  if (policy == SchedulingPolicy::Priority) {
    ForcePriorityNumbers();
    for (int priority = 0; priority < kPriorityLevels; ++priority) {
      Labels_[priority]->move(kPriorityLabelLeft, kPriorityLabelTops[priority]);
      Labels_[priority]->setToolTip(priorityHints_[priority]);
      Labels_[priority]->show();
    }
  } else {
    const TMessages& msg = sim_.Msg;
    for (int queue = 0; queue < kPriorityLevels; ++queue) {
      QLabel* label = Labels_[queue];
      label->setVisible(queue < rows);
      const std::string level = std::to_string(queue);
      label->setText(ToQString(policy == SchedulingPolicy::Mlfq ? FillIn(msg.MsgFilaNivel, {level})
                                                                : msg.MsgFilaUnica));
      label->setToolTip(
          ToQString(policy == SchedulingPolicy::Mlfq
                        ? FillIn(msg.MsgFilaNivelDica, {level})
                        : FillIn(msg.MsgFilaUnicaDica, {msg.PolicyName(scheduler_)})));
      label->adjustSize();
      label->move(kQueueLabelRight - label->width(), kPriorityLabelTops[queue]);
    }
  }
  PaintRealTimeLabels(threshold_);
}

int TfrmGP::QueueRows() const {
  return S_ESCALONA->Rows();
}

void TfrmGP::SetOptionsWindow(Tfrm_Opt* options) {
  options_ = options;
}

void TfrmGP::FollowDisplay(QtDisplay& display) {
  discs_->Follow(display);
  connect(&display, &QtDisplay::waitCounterChanged, ProgressBar1, &QProgressBar::setValue,
          Qt::UniqueConnection);
}

TShpProcesso* TfrmGP::Disc(ShapeId shape) const {
  return discs_->Disc(shape);
}

QLabel* TfrmGP::PriorityLabel(int priority) const {
  if (priority < 0 || priority >= kPriorityLevels) {
    return nullptr;
  }
  return Labels_[priority];
}

void TfrmGP::PaintRealTimeLabels(int threshold) {
  // Real-time priorities are marked red: pure red in a light look, as they have always been, and
  // in a dark one the lighter red that reads on the window. The others are plain text in the
  // window's own text colour, so they follow a change of look.
  threshold_ = threshold;
  const bool priorities = static_cast<SchedulingPolicy>(scheduler_) == SchedulingPolicy::Priority;
  for (int priority = 0; priority < kPriorityLevels; ++priority) {
    QLabel* label = Labels_[priority];
    QPalette palette;
    if (priorities && threshold <= priority) {
      const QPalette& look = QApplication::palette(label);
      palette.setColor(QPalette::WindowText,
                       IsDarkPalette(look) ? ReadableShade(Qt::red, look.color(QPalette::Window))
                                           : QColor(Qt::red));
    }
    label->setPalette(palette);
  }
}

void TfrmGP::Timer1Timer() {
  // No disc yet (or no display): nothing to place.
  if (discs_->Empty()) {
    return;
  }
  discs_->PlaceReady(SnapshotReadyDiscs(sim_));
}

void TfrmGP::ShowOption(OptionId option, int value) {
  QSlider* bar = option == OptionId::IoWaitPosition  ? TrackBar1
                 : option == OptionId::SlicePosition ? tcbQuantum
                 : option == OptionId::ClockPosition ? tbClock
                                                     : nullptr;
  if (option == OptionId::RealTimeThreshold) {
    PaintRealTimeLabels(value);
  }
  if (option == OptionId::Scheduler || option == OptionId::MlfqLevels) {
    (option == OptionId::Scheduler ? scheduler_ : levels_) = value;
    ShowQueues();
  }
  if (bar == nullptr) {
    return;
  }
  // The simulation already runs with the value: the bar only follows it.
  const QSignalBlocker following(bar);
  bar->setValue(value);
  ShowSpeedValues();
}

void TfrmGP::TrackBar1Change(int position) {
  sim_.Apply(SetOption{OptionId::IoWaitPosition, position});
}

void TfrmGP::tcbQuantumChange(int position) {
  sim_.Apply(SetOption{OptionId::SlicePosition, position});
}

void TfrmGP::tbClockChange(int position) {
  sim_.Apply(SetOption{OptionId::ClockPosition, position});
}

void TfrmGP::Opcoes1Click() {
  if (options_ != nullptr) {
    options_->show();
    options_->raise();
    options_->activateWindow();
  }
}

void TfrmGP::showEvent(QShowEvent* event) {
  const RunOptions inForce = SnapshotOptions(sim_);
  scheduler_ = inForce.Scheduler;
  levels_ = inForce.MlfqLevels;
  threshold_ = inForce.RealTimeThreshold;
  ShowQueues();
  QMainWindow::showEvent(event);
}

void TfrmGP::closeEvent(QCloseEvent* event) {
  // Closing only hides the window; the console clears its menu check mark.
  event->accept();
  hide();
  emit closed();
}

}  // namespace kelpa
