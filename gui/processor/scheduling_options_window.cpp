// SPDX-License-Identifier: MIT
#include "gui/processor/scheduling_options_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QToolButton>
#include <algorithm>
#include <utility>

#include "gui/common/palette_follower.h"
#include "gui/common/qt_convert.h"
#include "gui/language/language.h"
#include "gui/processor/selection_track_bar.h"
#include "simulation/kernel.h"
#include "simulation/simulation.h"
#include "simulation/snapshots.h"

namespace kelpa {
namespace {

// The highest priority: the selection band runs from the threshold up to it.
constexpr int kTopPriority = kPriorityLevels - 1;
constexpr int kThresholdMax = kPriorityLevels;

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
  // Client area of a 368 x 173 window with a caption and thin borders.
  resize(360, 146);
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

  SpeedButton1 = AddFlatButton(this, "SpeedButton1", QStringLiteral("Confirmar"), 103, 111, 65, 27);
  SpeedButton2 = AddFlatButton(this, "SpeedButton2", QStringLiteral("Cancelar"), 199, 111, 65, 26);
  connect(SpeedButton1, &QToolButton::clicked, this, &Tfrm_Opt::SpeedButton1Click);
  connect(SpeedButton2, &QToolButton::clicked, this, &Tfrm_Opt::SpeedButton2Click);

  // The controls' text is the theme's, not the form's blue: black in a light theme, light in a
  // dark one, and again after a change of look.
  new PaletteFollower(this, [this] {
    const QPalette theme = QApplication::palette(this);
    for (QWidget* control :
         {static_cast<QWidget*>(Label1), static_cast<QWidget*>(TrackBar1),
          static_cast<QWidget*>(CheckBox1), static_cast<QWidget*>(CheckBox2),
          static_cast<QWidget*>(SpeedButton1), static_cast<QWidget*>(SpeedButton2)}) {
      SetTextColour(control, theme.color(QPalette::WindowText));
    }
  });
}

void Tfrm_Opt::LoadFromSettings() {
  const RunOptions inForce = SnapshotOptions(sim_);
  for (const OptionId option :
       {OptionId::DynamicPriority, OptionId::Preemption, OptionId::RealTimeThreshold}) {
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
