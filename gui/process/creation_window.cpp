// SPDX-License-Identifier: MIT
#include "gui/process/creation_window.h"

#include <QButtonGroup>
#include <QColorDialog>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <mutex>

#include "gui/common/qt_convert.h"
#include "gui/common/readable_text.h"
#include "gui/language/language.h"
#include "gui/process/spin_edit.h"
#include "simulation/process.h"
#include "simulation/simulation.h"

namespace kelpa {
namespace {

constexpr const char* kKindNames[kProcessKindCount] = {"CPU",  "IO_1",  "IO_2",
                                                       "IO_3", "MIX_1", "MIX_2"};

QLabel* RightAlignedLabel(const QString& text, const char* name, const QRect& geometry,
                          QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  // A fixed box beside its field: a longer translated caption wraps instead of being cut.
  label->setWordWrap(true);
  label->setGeometry(geometry);
  return label;
}

}  // namespace

TForm2::TForm2(Simulation& sim, TLanguage* language, QWidget* parent) : QDialog(parent), sim_(sim) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("Criação de Processo"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFont(ClassicFont(QStringLiteral("MS Sans Serif"), 8));
  setFixedSize(246, 224);
  move(311, 171);
  ChooseColour = [this](const QColor& initial) -> std::optional<QColor> {
    const QColor colour = QColorDialog::getColor(initial, this);
    if (!colour.isValid()) {
      return std::nullopt;
    }
    return colour;
  };
  BuildControls();
  batchTimer_ = new QTimer(this);
  // Single shot, restarted after each creation: every process follows the previous one by a
  // whole pause even when the event loop was late.
  batchTimer_->setSingleShot(true);
  batchTimer_->setTimerType(Qt::PreciseTimer);
  batchTimer_->setInterval(kPauseMs);
  connect(batchTimer_, &QTimer::timeout, this, &TForm2::CreateNextOfBatch);

  TranslateForm(language, "PROCESS", this);
  PaletteIndex = 1;
  Palette = kProcessPalette;
  PaintLabel2(OfferedColour());
}

TForm2::~TForm2() = default;

void TForm2::BuildControls() {
  RightAlignedLabel(QStringLiteral("Prioridade"), "Label1", QRect(2, 11, 56, 16), this);
  SpinEdit1 = new TSpinEdit(0, 15, 0, this);
  SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
  SpinEdit1->setGeometry(60, 8, 38, 22);
  RightAlignedLabel(QStringLiteral("Limite de frames"), "Label3", QRect(100, 11, 94, 16), this);
  SpinEdit2 = new TSpinEdit(1, 5, 5, this);
  SpinEdit2->setObjectName(QStringLiteral("SpinEdit2"));
  SpinEdit2->setGeometry(198, 8, 40, 22);

  RadioGroup1 = new QGroupBox(QStringLiteral("Tipo de processo"), this);
  RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
  RadioGroup1->setGeometry(8, 38, 230, 66);
  auto* grid = new QGridLayout(RadioGroup1);
  grid->setContentsMargins(8, 4, 4, 4);
  grid->setSpacing(2);
  kindButtons_ = new QButtonGroup(this);
  constexpr int kRows = (kProcessKindCount + 2) / 3;
  for (int kind = 0; kind < kProcessKindCount; ++kind) {
    auto* button = new QRadioButton(QString::fromLatin1(kKindNames[kind]), RadioGroup1);
    // Three columns filled column by column: CPU and IO_1 in the first.
    grid->addWidget(button, kind % kRows, kind / kRows);
    kindButtons_->addButton(button, kind);
  }
  kindButtons_->button(pkCPU)->setChecked(true);

  Label2 = new QLabel(QStringLiteral("Cor do processo"), this);
  Label2->setObjectName(QStringLiteral("Label2"));
  Label2->setAlignment(Qt::AlignCenter);
  Label2->setWordWrap(true);
  Label2->setAutoFillBackground(true);
  Label2->setGeometry(8, 112, 230, 25);
  Label2->setCursor(Qt::PointingHandCursor);
  Label2->installEventFilter(this);

  RightAlignedLabel(QStringLiteral("Número de processos"), "Label4", QRect(8, 150, 118, 16), this);
  SpinEdit3 = new TSpinEdit(1, 1000, 1, this);
  SpinEdit3->setObjectName(QStringLiteral("SpinEdit3"));
  SpinEdit3->setGeometry(132, 147, 57, 22);

  Button1 = new QPushButton(QStringLiteral("Criar"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setGeometry(86, 186, 75, 25);
  Button1->setDefault(true);
  connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
}

bool TForm2::BatchRunning() const {
  return batchTimer_->isActive();
}

void TForm2::PaintLabel2(TColor colour) {
  label2Colour_ = colour;
  const QColor background = ToQColor(colour);
  QPalette palette = Label2->palette();
  palette.setColor(QPalette::Window, background);
  palette.setColor(QPalette::WindowText, ReadableTextColour(background));
  Label2->setPalette(palette);
}

void TForm2::showEvent(QShowEvent* event) {
  PaintLabel2(OfferedColour());
  SpinEdit3->setValue(1);
  SetControlsEnabled(true);
  QDialog::showEvent(event);
}

bool TForm2::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Label2 && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && Label2->isEnabled()) {
    Label2Click();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TForm2::Label2Click() {
  const std::optional<QColor> chosen = ChooseColour(lastChosen_);
  if (!chosen) {
    return;
  }
  lastChosen_ = *chosen;
  PaintLabel2(FromQColor(*chosen));
}

void TForm2::AdvancePaletteIndex() {
  ++PaletteIndex;
  if (PaletteIndex > kPaletteSize) {
    PaletteIndex = 1;
  }
}

void TForm2::SetControlsEnabled(bool enabled) {
  for (QWidget* control : {static_cast<QWidget*>(SpinEdit1), static_cast<QWidget*>(SpinEdit2),
                           static_cast<QWidget*>(SpinEdit3), static_cast<QWidget*>(RadioGroup1),
                           static_cast<QWidget*>(Label2), static_cast<QWidget*>(Button1)}) {
    control->setEnabled(enabled);
  }
}

void TForm2::Button1Click() {
  if (BatchRunning() || sim_.ShuttingDown()) {
    return;
  }
  if (label2Colour_ == OfferedColour()) {
    AdvancePaletteIndex();
  }
  batch_.Kind = kindButtons_->checkedId() < 0 ? pkCPU : kindButtons_->checkedId();
  batch_.Priority = SpinEdit1->ReadValue();
  batch_.FrameLimit = SpinEdit2->ReadValue();
  batch_.Remaining = SpinEdit3->ReadValue() - 1;

  CreateOne(label2Colour_);
  if (batch_.Remaining <= 0) {
    accept();
    return;
  }
  // The rest follow from the timer, one per pause, while the event loop keeps turning.
  SetControlsEnabled(false);
  batchTimer_->start();
}

void TForm2::CreateNextOfBatch() {
  const TColor colour = OfferedColour();
  AdvancePaletteIndex();
  --batch_.Remaining;
  CreateOne(colour);
  if (batch_.Remaining > 0) {
    batchTimer_->start();
  } else {
    accept();
  }
}

void TForm2::CreateOne(TColor colour) {
  // A refused creation (page file full) has already logged why; the batch goes on.
  sim_.Apply(HandAction{HandActionKind::Create, 0, batch_.Kind, batch_.Priority, batch_.FrameLimit,
                        colour});
}

void TForm2::done(int result) {
  batchTimer_->stop();
  batch_.Remaining = 0;
  SetControlsEnabled(true);
  QDialog::done(result);
}

}  // namespace kelpa
