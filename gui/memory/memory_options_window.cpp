// SPDX-License-Identifier: MIT
#include "gui/memory/memory_options_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>
#include <mutex>

#include "gui/common/qt_convert.h"
#include "gui/language/language.h"
#include "gui/memory/window_frame.h"
#include "simulation/simulation.h"
#include "simulation/snapshots.h"

namespace kelpa {
namespace {

constexpr int kAnticipatedItem = 0;
constexpr int kOnDemandItem = 1;
constexpr int kPolicyRowHeight = 36;

QFont BoldFont() {
  return ClassicFont(QStringLiteral("MS Sans Serif"), 8, true);
}

QLabel* MakeBoldLabel(const QString& name, const QString& text, int left, int top,
                      QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setFont(BoldFont());
  label->move(left, top);
  label->adjustSize();
  return label;
}

QPushButton* MakeButton(const QString& name, const QString& text, const QRect& geometry,
                        QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  button->setFont(BoldFont());
  button->setGeometry(geometry);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

Tfrm_Opt_MV::Tfrm_Opt_MV(Simulation& sim, TLanguage* language, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      sim_(sim),
      language_(language) {
  setObjectName(QStringLiteral("frm_Opt_MV"));
  setModal(false);
  setFont(ClassicFont(QStringLiteral("MS Sans Serif"), 8));
  // Taller than the three options' window by the replacement policy's row.
  setFixedSize(ClientForOuter(343, 212 + kPolicyRowHeight));
  move(308, 194);
  BuildControls();
  FormCreate();
}

void Tfrm_Opt_MV::BuildControls() {
  MakeBoldLabel(QStringLiteral("Label3"), QStringLiteral("Política de busca de páginas"), 20, 20,
                this);

  ComboBox1 = new QComboBox(this);
  ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  ComboBox1->setEditable(true);
  // Typing in the edit field never adds an item; the two items are the two policies.
  ComboBox1->setInsertPolicy(QComboBox::NoInsert);
  ComboBox1->addItems({QStringLiteral("antecipada"), QStringLiteral("por demanda")});
  ComboBox1->setCurrentIndex(kAnticipatedItem);
  ComboBox1->setGeometry(198, 17, 99, ComboBox1->sizeHint().height());

  CheckBox1 = new QCheckBox(QStringLiteral("Implementar limite de frames por processo"), this);
  CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
  CheckBox1->setFont(BoldFont());
  CheckBox1->setGeometry(19, 56, 278, 17);
  CheckBox1->setChecked(true);

  MakeBoldLabel(QStringLiteral("Label1"), QStringLiteral("Mín. páginas livres na memória (%)"), 17,
                96, this);

  SpinEdit1 = new QSpinBox(this);
  SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
  SpinEdit1->setRange(0, 100);
  SpinEdit1->setGeometry(222, 92, 41, 22);

  MakeBoldLabel(QStringLiteral("Label4"), QStringLiteral("Substituição de páginas"), 17, 132, this);
  ComboBox2 = new QComboBox(this);
  ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
  for (const std::string_view name : RowOf(OptionId::Replacement).Names) {
    ComboBox2->addItem(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
  }
  ComboBox2->setGeometry(198, 128, 130, ComboBox2->sizeHint().height());

  const int buttonsTop = 144 + kPolicyRowHeight;
  QPushButton* confirm = MakeButton(QStringLiteral("SpeedButton1"), QStringLiteral("Confirmar"),
                                    QRect(72, buttonsTop, 73, 25), this);
  connect(confirm, &QPushButton::clicked, this, &Tfrm_Opt_MV::SpeedButton1Click);
  QPushButton* cancel = MakeButton(QStringLiteral("SpeedButton2"), QStringLiteral("Cancelar"),
                                   QRect(195, buttonsTop, 78, 25), this);
  connect(cancel, &QPushButton::clicked, this, &Tfrm_Opt_MV::SpeedButton2Click);
}

void Tfrm_Opt_MV::FormCreate() {
  const RunOptions inForce = SnapshotOptions(sim_);
  SpinEdit1->setValue(inForce.MinFreePercent);
  ComboBox2->setCurrentIndex(inForce.Replacement);
  setWindowTitle(ToQString(sim_.Msg.MsgTitOpcoesMV));
  TranslateForm(language_, "GMO", this);
  ComboBox1->setItemText(kAnticipatedItem, ToQString(sim_.Msg.MsgAntecipada));
  ComboBox1->setItemText(kOnDemandItem, ToQString(sim_.Msg.MsgPorDemanda));
  ComboBox1->setEditText(ComboBox1->itemText(kAnticipatedItem));
}

bool Tfrm_Opt_MV::AnticipatedChosen() const {
  // In the edit field the user may type anything; only the first item's text means anticipated.
  return ComboBox1->currentText() == ComboBox1->itemText(kAnticipatedItem);
}

int Tfrm_Opt_MV::MinFreeChosen() const {
  bool isNumber = false;
  const int value = SpinEdit1->cleanText().trimmed().toInt(&isNumber);
  if (!isNumber) {
    return 0;
  }
  return std::clamp(value, SpinEdit1->minimum(), SpinEdit1->maximum());
}

void Tfrm_Opt_MV::SpeedButton1Click() {
  const bool frameLimit = CheckBox1->isChecked();
  const int minFree = MinFreeChosen();
  const bool anticipated = AnticipatedChosen();
  sim_.Apply(SetOption{OptionId::FrameLimitEnabled, frameLimit ? 1 : 0});
  sim_.Apply(SetOption{OptionId::MinFreePercent, minFree});
  sim_.Apply(SetOption{OptionId::AnticipatedFetch, anticipated ? 1 : 0});
  sim_.Apply(SetOption{OptionId::Replacement, ComboBox2->currentIndex()});
  close();
}

void Tfrm_Opt_MV::SpeedButton2Click() {
  ShowValuesInForce();
  close();
}

void Tfrm_Opt_MV::ShowValuesInForce() {
  const RunOptions inForce = SnapshotOptions(sim_);
  for (const OptionId option : {OptionId::FrameLimitEnabled, OptionId::AnticipatedFetch,
                                OptionId::MinFreePercent, OptionId::Replacement}) {
    ShowOption(option, RowOf(option).Get(inForce));
  }
}

void Tfrm_Opt_MV::ShowOption(OptionId option, int value) {
  switch (option) {
    case OptionId::FrameLimitEnabled:
      CheckBox1->setChecked(value != 0);
      break;
    case OptionId::AnticipatedFetch: {
      const int item = value != 0 ? kAnticipatedItem : kOnDemandItem;
      ComboBox1->setCurrentIndex(item);
      // Selecting the item already selected leaves a typed text in place: replace it too.
      ComboBox1->setEditText(ComboBox1->itemText(item));
      break;
    }
    case OptionId::MinFreePercent:
      SpinEdit1->setValue(value);
      break;
    case OptionId::Replacement:
      ComboBox2->setCurrentIndex(value);
      break;
    default:
      break;
  }
}

}  // namespace kelpa
