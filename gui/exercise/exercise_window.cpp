// SPDX-License-Identifier: MIT
#include "gui/exercise/exercise_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "catalogue/fill_in.h"
#include "catalogue/messages.h"
#include "gui/common/qt_convert.h"
#include "gui/common/screen_fit.h"
#include "simulation/process.h"

namespace kelpa {
namespace {

QIcon Swatch(TColor colour) {
  QPixmap square(10, 10);
  square.fill(ToQColor(colour));
  return QIcon(square);
}

QString Number(std::int64_t value) {
  return QString::number(value);
}

const std::vector<std::pair<QuestionKind, std::string TMessages::*>> kKindNames = {
    {QuestionKind::Runs, &TMessages::MsgExTipoExecuta},
    {QuestionKind::State, &TMessages::MsgExTipoEstado},
    {QuestionKind::Page, &TMessages::MsgExTipoPagina},
    {QuestionKind::Queue, &TMessages::MsgExTipoFila}};

}  // namespace

TExerciseWindow::TExerciseWindow(const TMessages& msg, QWidget* parent)
    : QWidget(parent, Qt::Tool), msg_(msg) {
  setObjectName("frmExercicio");
  setWindowTitle(ToQString(msg_.MsgExTitulo));
  setFont(ClassicFont("MS Sans Serif", 8));
  auto* layout = new QVBoxLayout(this);

  lblPergunta = new QLabel(this);
  lblPergunta->setTextFormat(Qt::PlainText);
  lblPergunta->setWordWrap(true);
  lblPergunta->setMinimumWidth(340);
  layout->addWidget(lblPergunta);

  auto* choices = new QHBoxLayout;
  processLabel_ = new QLabel(ToQString(msg_.MsgExRotuloProcesso), this);
  cbProcesso = new QComboBox(this);
  pageLabel_ = new QLabel(ToQString(msg_.MsgExRotuloPagina), this);
  sePagina = new QSpinBox(this);
  sePagina->setRange(0, kPagesPerProcess - 1);
  cbEstado = new QComboBox(this);
  for (int state = 0; state < kStateCount; ++state) {
    cbEstado->addItem(ToQString(msg_.StateName(state)), state);
  }
  for (QWidget* w :
       std::initializer_list<QWidget*>{processLabel_, cbProcesso, pageLabel_, sePagina, cbEstado}) {
    choices->addWidget(w);
  }
  choices->addStretch();
  layout->addLayout(choices);
  clickHint_ = new QLabel(ToQString(msg_.MsgExDicaClique), this);
  clickHint_->setTextFormat(Qt::PlainText);
  clickHint_->setWordWrap(true);
  layout->addWidget(clickHint_);

  auto* queue = new QHBoxLayout;
  lbFila = new QListWidget(this);
  lbFila->setMaximumHeight(110);
  lbFila->setDragDropMode(QAbstractItemView::InternalMove);
  queue->addWidget(lbFila);
  queueButtons_ = new QWidget(this);
  auto* upDown = new QVBoxLayout(queueButtons_);
  upDown->setContentsMargins(0, 0, 0, 0);
  auto* up = new QPushButton(ToQString(msg_.MsgExSubir), queueButtons_);
  auto* down = new QPushButton(ToQString(msg_.MsgExDescer), queueButtons_);
  upDown->addWidget(up);
  upDown->addWidget(down);
  upDown->addStretch();
  queue->addWidget(queueButtons_);
  layout->addLayout(queue);
  connect(up, &QPushButton::clicked, this, [this] { MoveQueueItem(-1); });
  connect(down, &QPushButton::clicked, this, [this] { MoveQueueItem(1); });

  btnResponder = new QPushButton(ToQString(msg_.MsgExResponder), this);
  btnResponder->setDefault(true);
  layout->addWidget(btnResponder, 0, Qt::AlignLeft);
  connect(btnResponder, &QPushButton::clicked, this, [this] {
    if (Asking()) {
      emit answered();
    }
  });

  lblResultado = new QLabel(this);
  lblResultado->setTextFormat(Qt::PlainText);
  lblResultado->setWordWrap(true);
  layout->addWidget(lblResultado);

  auto* scoreRow = new QHBoxLayout;
  lblPlacar = new QLabel(this);
  lblPlacar->setTextFormat(Qt::PlainText);
  scoreRow->addWidget(lblPlacar, 1);
  btnZerar = new QPushButton(ToQString(msg_.MsgExZerar), this);
  scoreRow->addWidget(btnZerar, 0, Qt::AlignTop);
  layout->addLayout(scoreRow);
  connect(btnZerar, &QPushButton::clicked, this, [this] { emit resetAsked(); });
  ShowNoQuestion();
  // Beside the console, over the top of the memory window; on screen and at the zoom chosen.
  move(470, 5);
  new KeepOnScreen(this);
}

void TExerciseWindow::ShowQuestion(const ExerciseQuestion& question) {
  question_ = question;
  lblPergunta->setText(ToQString(question.Text));
  const bool process = question.Kind == QuestionKind::Runs || question.Kind == QuestionKind::Page;
  cbProcesso->clear();
  if (question.Kind == QuestionKind::Runs) {
    cbProcesso->addItem(ToQString(msg_.MsgExNenhumProcesso), -1);
  }
  for (const ProcessFact& p : question.Processes) {
    cbProcesso->addItem(Swatch(p.Color), Number(p.Pid), p.Pid);
  }
  lbFila->clear();
  for (const std::int32_t pid : question.Queue) {
    auto* item = new QListWidgetItem(Number(pid), lbFila);
    item->setData(Qt::UserRole, pid);
    for (const ProcessFact& p : question.Processes) {
      if (p.Pid == pid) {
        item->setIcon(Swatch(p.Color));
      }
    }
  }
  processLabel_->setVisible(process);
  clickHint_->setVisible(process);
  cbProcesso->setVisible(process);
  pageLabel_->setVisible(question.Kind == QuestionKind::Page);
  sePagina->setVisible(question.Kind == QuestionKind::Page);
  cbEstado->setVisible(question.Kind == QuestionKind::State);
  lbFila->setVisible(question.Kind == QuestionKind::Queue);
  queueButtons_->setVisible(question.Kind == QuestionKind::Queue);
  btnResponder->setEnabled(true);
  adjustSize();
}

void TExerciseWindow::ShowNoQuestion() {
  question_.reset();
  lblPergunta->setText(ToQString(msg_.MsgExSemPergunta));
  for (QWidget* w :
       std::initializer_list<QWidget*>{processLabel_, clickHint_, cbProcesso, pageLabel_, sePagina,
                                       cbEstado, lbFila, queueButtons_}) {
    w->hide();
  }
  btnResponder->setEnabled(false);
  adjustSize();
}

bool TExerciseWindow::Asking() const {
  return question_.has_value();
}

void TExerciseWindow::ShowVerdict(std::int64_t tick, const ExerciseVerdict& verdict) {
  // The next question is shown by then: the verdict says which tick it was about.
  lblResultado->setText(verdict.Text.empty()
                            ? QString()
                            : ToQString(msg_.MsgTick) + QLatin1Char(' ') + Number(tick) +
                                  QStringLiteral(": ") + ToQString(verdict.Text));
}

void TExerciseWindow::ShowScore(const ExerciseScore& score) {
  QString text = ToQString(
      FillIn(msg_.MsgExPlacar, {std::to_string(score.Right()), std::to_string(score.Wrong())}));
  for (const auto& [kind, name] : kKindNames) {
    if (score.Right(kind) + score.Wrong(kind) > 0) {
      text += QLatin1Char('\n') +
              ToQString(FillIn(msg_.MsgExPlacarTipo, {msg_.*name, std::to_string(score.Right(kind)),
                                                      std::to_string(score.Wrong(kind))}));
    }
  }
  lblPlacar->setText(text);
}

ExerciseAnswer TExerciseWindow::Answer() const {
  ExerciseAnswer answer;
  if (const int pid = cbProcesso->currentData().toInt(); pid >= 0 && cbProcesso->count() > 0) {
    answer.Pid = pid;
  }
  answer.State = cbEstado->currentData().toInt();
  answer.Page = sePagina->value();
  for (int row = 0; row < lbFila->count(); ++row) {
    answer.Order.push_back(lbFila->item(row)->data(Qt::UserRole).toInt());
  }
  return answer;
}

void TExerciseWindow::ChooseProcess(std::int32_t pid) {
  if (const int at = cbProcesso->findData(pid); at >= 0) {
    cbProcesso->setCurrentIndex(at);
  }
}

void TExerciseWindow::MoveQueueItem(int by) {
  const int row = lbFila->currentRow();
  const int to = row + by;
  if (row < 0 || to < 0 || to >= lbFila->count()) {
    return;
  }
  QListWidgetItem* item = lbFila->takeItem(row);
  lbFila->insertItem(to, item);
  lbFila->setCurrentRow(to);
}

void TExerciseWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  emit closed();
}

}  // namespace kelpa
