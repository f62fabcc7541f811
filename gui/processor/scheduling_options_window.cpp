// SPDX-License-Identifier: MIT
#include "gui/processor/scheduling_options_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSpinBox>
#include <QToolButton>
#include <algorithm>
#include <tuple>
#include <utility>

#include "gui/common/palette_follower.h"
#include "gui/common/qt_convert.h"
#include "gui/language/language.h"
#include "gui/processor/selection_track_bar.h"
#include "simulation/kernel.h"
#include "simulation/scheduling_policy.h"
#include "simulation/simulation.h"
#include "simulation/snapshots.h"

namespace kelpa {
namespace {

// The highest priority: the selection band runs from the threshold up to it.
constexpr int kTopPriority = kPriorityLevels - 1;
constexpr int kThresholdMax = kPriorityLevels;
// The policy's rows come between the check boxes and the buttons: its label and box, and the
// feedback queue's three rules.
constexpr int kPolicyTop = 104;
constexpr int kPolicyRowsHeight = 136;
constexpr int kRuleRowStep = 28;
constexpr int kRuleValueLeft = 284;

void SetTextColour(QWidget* widget, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, colour);
  palette.setColor(QPalette::ButtonText, colour);
  palette.setColor(QPalette::Text, colour);
  widget->setPalette(palette);
}

// The given geometry, widened when the machine's fallback font makes the text longer than the
// design width, so that no caption is cut.
void PlaceFitting(QWidget* widget, int left, int top, int width, int height) {
  widget->setGeometry(left, top, std::max(width, widget->sizeHint().width()), height);
}

QToolButton* AddFlatButton(QWidget* parent, const char* name, const QString& text, int left,
                           int top, int width, int height) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setText(text);
  button->setAutoRaise(true);
  button->setToolButtonStyle(Qt::ToolButtonTextOnly);
  button->setGeometry(left, top, width, height);
  return button;
}

}  // namespace

Tfrm_Opt::Tfrm_Opt(Simulation& sim, std::function<bool()> saveSettings, TLanguage* language,
                   QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      sim_(sim),
      saveSettings_(std::move(saveSettings)) {
  setObjectName(QStringLiteral("frm_Opt"));
  // The window's own font is blue and bold; every control uses bold in the theme's text colour.
  setFont(ClassicFont(QStringLiteral("MS Sans Serif"), 8, true));
  SetTextColour(this, Qt::blue);
  // Client area of a 368 x 173 window with a caption and thin borders, taller by the policy's rows.
  resize(360, 146 + kPolicyRowsHeight);
  move(256, 247);
  CreateComponents();

  TrackBar1->setRange(0, kThresholdMax);
  TrackBar1->setValue(SnapshotOptions(sim_).RealTimeThreshold);
  TrackBar1->SetSelection(TrackBar1->value(), kTopPriority);
  TranslateForm(language, "GPO", this);
  setWindowTitle(ToQString(sim_.Msg.MsgTitOpcoesEscalonamento));
}

void Tfrm_Opt::CreateComponents() {
  Label1 = new QLabel(QStringLiteral("Prioridade Min. de Tempo Real"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->move(8, 8);
  Label1->adjustSize();

  TrackBar1 = new SelectionTrackBar(this);
  TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
  TrackBar1->setGeometry(194, 8, 150, 25);
  TrackBar1->setPageStep(1);
  TrackBar1->setTickPosition(QSlider::TicksBelow);
  TrackBar1->setTickInterval(1);
  connect(TrackBar1, &QSlider::valueChanged, this, &Tfrm_Opt::TrackBar1Change);

  CheckBox1 = new QCheckBox(QStringLiteral("Escalonamento preemptivo por prioridade"), this);
  CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
  PlaceFitting(CheckBox1, 10, 41, 263, 16);
  CheckBox1->setChecked(true);

  CheckBox2 = new QCheckBox(QStringLiteral("Escalonamento com prioridade dinâmica"), this);
  CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
  PlaceFitting(CheckBox2, 10, 74, 252, 17);
  CheckBox2->setChecked(true);

  CreatePolicyControls();

  const int buttonsTop = 111 + kPolicyRowsHeight;
  SpeedButton1 =
      AddFlatButton(this, "SpeedButton1", QStringLiteral("Confirmar"), 103, buttonsTop, 65, 27);
  SpeedButton2 =
      AddFlatButton(this, "SpeedButton2", QStringLiteral("Cancelar"), 199, buttonsTop, 65, 26);
  connect(SpeedButton1, &QToolButton::clicked, this, &Tfrm_Opt::SpeedButton1Click);
  connect(SpeedButton2, &QToolButton::clicked, this, &Tfrm_Opt::SpeedButton2Click);

  // The controls' text is the theme's, not the form's blue: black in a light theme, light in a
  // dark one, and again after a change of look.
  new PaletteFollower(this, [this] {
    const QPalette theme = QApplication::palette(this);
    for (QWidget* control :
         {static_cast<QWidget*>(Label1), static_cast<QWidget*>(TrackBar1),
          static_cast<QWidget*>(CheckBox1), static_cast<QWidget*>(CheckBox2),
          static_cast<QWidget*>(Label2), static_cast<QWidget*>(ComboBox1),
          static_cast<QWidget*>(Label3), static_cast<QWidget*>(SpinEdit1),
          static_cast<QWidget*>(Label4), static_cast<QWidget*>(SpinEdit2),
          static_cast<QWidget*>(Label5), static_cast<QWidget*>(SpinEdit3),
          static_cast<QWidget*>(SpeedButton1), static_cast<QWidget*>(SpeedButton2)}) {
      SetTextColour(control, theme.color(QPalette::WindowText));
    }
  });
}

void Tfrm_Opt::CreatePolicyControls() {
  const auto addLabel = [this](const char* name, const QString& text, int left, int top) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    label->move(left, top);
    label->adjustSize();
    return label;
  };
  Label2 = addLabel("Label2", QStringLiteral("Política de escalonamento"), 8, kPolicyTop);
  ComboBox1 = new QComboBox(this);
  ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  for (int policy = 0; policy < kSchedulingPolicyCount; ++policy) {
    ComboBox1->addItem(ToQString(sim_.Msg.PolicyName(policy)));
  }
  ComboBox1->setGeometry(8, kPolicyTop + 18, 344, ComboBox1->sizeHint().height());

  // The rules, indented under the policy they belong to.
  const auto addRule = [this, &addLabel](const char* name, const QString& text, int row,
                                         OptionId option) {
    const int top = kPolicyTop + 54 + row * kRuleRowStep;
    QLabel* label = addLabel(name, text, 24, top);
    auto* value = new QSpinBox(this);
    value->setObjectName(QStringLiteral("SpinEdit%1").arg(row + 1));
    value->setRange(RowOf(option).Min, RowOf(option).Max);
    value->setGeometry(kRuleValueLeft, top - 4, 60, 22);
    return std::pair{label, value};
  };
  std::tie(Label3, SpinEdit1) =
      addRule("Label3", QStringLiteral("Níveis da fila multinível"), 0, OptionId::MlfqLevels);
  std::tie(Label4, SpinEdit2) =
      addRule("Label4", QStringLiteral("Cota por nível (ticks)"), 1, OptionId::MlfqAllotment);
  std::tie(Label5, SpinEdit3) = addRule(
      "Label5", QStringLiteral("Impulso a cada (ticks, 0 = nunca)"), 2, OptionId::MlfqBoostPeriod);
  connect(ComboBox1, &QComboBox::currentIndexChanged, this, &Tfrm_Opt::ComboBox1Change);
  ComboBox1Change(ComboBox1->currentIndex());
}

void Tfrm_Opt::ComboBox1Change(int index) {
  const bool mlfq = index == static_cast<int>(SchedulingPolicy::Mlfq);
  for (QWidget* rule : {static_cast<QWidget*>(Label3), static_cast<QWidget*>(SpinEdit1),
                        static_cast<QWidget*>(Label4), static_cast<QWidget*>(SpinEdit2),
                        static_cast<QWidget*>(Label5), static_cast<QWidget*>(SpinEdit3)}) {
    rule->setEnabled(mlfq);
  }
}

void Tfrm_Opt::LoadFromSettings() {
  const RunOptions inForce = SnapshotOptions(sim_);
  for (const OptionId option :
       {OptionId::DynamicPriority, OptionId::Preemption, OptionId::RealTimeThreshold,
        OptionId::Scheduler, OptionId::MlfqLevels, OptionId::MlfqAllotment,
        OptionId::MlfqBoostPeriod}) {
    ShowOption(option, RowOf(option).Get(inForce));
  }
}

void Tfrm_Opt::ShowOption(OptionId option, int value) {
  switch (option) {
    case OptionId::Preemption:
      CheckBox1->setChecked(value != 0);
      break;
    case OptionId::DynamicPriority:
      CheckBox2->setChecked(value != 0);
      break;
    case OptionId::RealTimeThreshold:
      TrackBar1->setValue(value);
      break;
    case OptionId::Scheduler:
      ComboBox1->setCurrentIndex(value);
      break;
    case OptionId::MlfqLevels:
      SpinEdit1->setValue(value);
      break;
    case OptionId::MlfqAllotment:
      SpinEdit2->setValue(value);
      break;
    case OptionId::MlfqBoostPeriod:
      SpinEdit3->setValue(value);
      break;
    default:
      break;
  }
}

void Tfrm_Opt::TrackBar1Change(int position) {
  TrackBar1->SetSelection(position, kTopPriority);
}

void Tfrm_Opt::SpeedButton1Click() {
  sim_.Apply(SetOption{OptionId::Preemption, CheckBox1->isChecked() ? 1 : 0});
  sim_.Apply(SetOption{OptionId::DynamicPriority, CheckBox2->isChecked() ? 1 : 0});
  sim_.Apply(SetOption{OptionId::RealTimeThreshold, TrackBar1->value()});
  // The rules first: a process entering the feedback queue starts at its top level.
  sim_.Apply(SetOption{OptionId::MlfqLevels, SpinEdit1->value()});
  sim_.Apply(SetOption{OptionId::MlfqAllotment, SpinEdit2->value()});
  sim_.Apply(SetOption{OptionId::MlfqBoostPeriod, SpinEdit3->value()});
  sim_.Apply(SetOption{OptionId::Scheduler, ComboBox1->currentIndex()});
  // The new values stay in effect for this run even when they cannot be saved; the window then
  // stays open so the user sees that the save failed.
  if (saveSettings_ && !saveSettings_()) {
    return;
  }
  hide();
}

void Tfrm_Opt::SpeedButton2Click() {
  LoadFromSettings();
  hide();
}

void Tfrm_Opt::showEvent(QShowEvent* event) {
  LoadFromSettings();
  QDialog::showEvent(event);
}

}  // namespace kelpa
