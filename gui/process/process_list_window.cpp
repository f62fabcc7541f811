// SPDX-License-Identifier: MIT
#include "gui/process/process_list_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <array>
#include <mutex>
#include <string>
#include <vector>

#include "catalogue/fill_in.h"
#include "gui/common/column_fit.h"
#include "gui/common/qt_convert.h"
#include "gui/common/timer_while_shown.h"
#include "gui/language/language.h"
#include "gui/process/pcb_window.h"
#include "gui/process/process_cell_delegate.h"
#include "platform/datetime.h"
#include "simulation/simulation.h"
#include "simulation/snapshots.h"

namespace kelpa {
namespace {

constexpr int kColumnWidths[] = {33, 64, 39, 62, 64, 48};
constexpr int kColumnCount = 6;
constexpr int kStateColumn = 3;
constexpr int kRowHeight = 16;

// The state's name, with the request the process has not taken yet: a suspension asked for the
// running process would otherwise show nothing until its next cycle.
std::string StateText(const TMessages& msg, const ProcessRow& p) {
  const std::string& name = StateName(msg, p.State);
  switch (PendingRequestOf(p)) {
    case PendingRequest::Suspend:
      return FillIn(msg.MsgPedidoSuspensao, {name});
    case PendingRequest::Resume:
      return FillIn(msg.MsgPedidoRetomada, {name});
    case PendingRequest::End:
      return FillIn(msg.MsgPedidoFim, {name});
    case PendingRequest::None:
      break;
  }
  return name;
}

// The texts of a process row's columns 1..5 (column 0 shows the colour).
std::array<QString, kColumnCount> RowTexts(const TMessages& msg, const ProcessRow& p) {
  std::array<QString, kColumnCount> texts;
  texts[1] = QString::number(p.PID);
  texts[2] = QStringLiteral("%1/%2").arg(p.BasePriority).arg(p.Priority);
  texts[kStateColumn] = ToQString(StateText(msg, p));
  texts[4] = ToQString(FormatTimeOfDay(p.CpuTime));
  texts[5] = QString::number(p.FrameLimit);
  return texts;
}

QTableWidgetItem* CellItem(QTableWidget* grid, int row, int column) {
  QTableWidgetItem* item = grid->item(row, column);
  if (item == nullptr) {
    item = new QTableWidgetItem;
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    grid->setItem(row, column, item);
  }
  return item;
}

std::optional<QString> DefaultAskText(QWidget* parent, const QString& title, const QString& prompt,
                                      const QString& initial) {
  bool ok = false;
  const QString text =
      QInputDialog::getText(parent, title, AsPlainText(prompt), QLineEdit::Normal, initial, &ok);
  return ok ? std::optional<QString>(text) : std::nullopt;
}

void DefaultShowMessage(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(), AsPlainText(text),
                  QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace

TfrmAlteraProcessos::TfrmAlteraProcessos(Simulation& sim, TPCB& pcb, TLanguage* language,
                                         QWidget* parent)
    : QWidget(parent, Qt::Window), sim_(sim), pcb_(pcb) {
  setObjectName(QStringLiteral("frmAlteraProcessos"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFont(ClassicFont(QStringLiteral("MS Sans Serif"), 8));
  setFixedSize(416, 221);
  move(42, 467);
  AskText = [this](const QString& title, const QString& prompt, const QString& initial) {
    return DefaultAskText(this, title, prompt, initial);
  };
  ShowMessage = [this](const QString& text) { DefaultShowMessage(this, text); };

  BuildControls();
  RefreshRows();
  setWindowTitle(ToQString(sim_.Msg.MsgTitSelecione));
  TranslateForm(language, "SP", this);

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(1000);
  connect(Timer1, &QTimer::timeout, this, &TfrmAlteraProcessos::Timer1Timer);
  // Restored from the task bar, the rows are read again before they are seen; a table emptied
  // meanwhile closes the window at the next tick.
  new TimerWhileShown(this, Timer1, [this] { RefreshRows(); });
  show();
}

TfrmAlteraProcessos::~TfrmAlteraProcessos() = default;

void TfrmAlteraProcessos::BuildControls() {
  stg1 = new QTableWidget(0, kColumnCount, this);
  stg1->setObjectName(QStringLiteral("stg1"));
  stg1->setGeometry(4, 6, 313, 209);
  stg1->setFont(ClassicFont(QStringLiteral("MS Sans Serif"), 8, true));
  stg1->setItemDelegate(new ProcessCellDelegate(stg1));
  stg1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  stg1->setSelectionMode(QAbstractItemView::SingleSelection);
  // The buttons act on a whole row's process: the whole row shows as chosen.
  stg1->setSelectionBehavior(QAbstractItemView::SelectRows);
  stg1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  stg1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  stg1->setShowGrid(true);
  stg1->verticalHeader()->hide();
  stg1->verticalHeader()->setMinimumSectionSize(kRowHeight);
  stg1->verticalHeader()->setDefaultSectionSize(kRowHeight);
  stg1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  QHeaderView* header = stg1->horizontalHeader();
  header->setMinimumSectionSize(8);
  header->setFixedHeight(kRowHeight + 2);
  header->setHighlightSections(false);
  header->setSectionsClickable(false);
  header->setStyleSheet(
      QStringLiteral("QHeaderView::section { background-color: silver; "
                     "color: black; border: 1px solid gray; padding: 0px; }"));
  const TMessages& msg = sim_.Msg;
  const std::string* headers[kColumnCount] = {&msg.MsgColCor,    &msg.MsgColPID, &msg.MsgColPrio,
                                              &msg.MsgColEstado, &msg.MsgColUCP, &msg.MsgColFrames};
  for (int column = 0; column < kColumnCount; ++column) {
    auto* item = new QTableWidgetItem(ToQString(*headers[column]));
    item->setTextAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (column == kStateColumn) {
      item->setToolTip(ToQString(msg.MsgPedidosLegenda));
    }
    stg1->setHorizontalHeaderItem(column, item);
  }
  // The designed widths add up to more than the grid shows beside its scroll bar, and a header
  // may be wider than its column: fit them, keeping the designed widths where there is room.
  int needed[kColumnCount] = {};
  for (int column = 0; column < kColumnCount; ++column) {
    needed[column] = header->sectionSizeHint(column);
  }
  FitGridColumns(stg1, kColumnWidths, needed);
  header->setSectionResizeMode(QHeaderView::Fixed);

  struct ButtonLayout {
    const char* Name;
    const char* Caption;
    int Top;
    void (TfrmAlteraProcessos::*Handler)();
  };
  const ButtonLayout buttons[] = {
      {"Button3", "Suspende", 8, &TfrmAlteraProcessos::Button3Click},
      {"Button4", "Resume", 40, &TfrmAlteraProcessos::Button4Click},
      {"Button2", "Finalizar", 72, &TfrmAlteraProcessos::Button2Click},
      {"Button1", "Prioridade", 104, &TfrmAlteraProcessos::Button1Click},
      {"Button5", "PCB", 188, &TfrmAlteraProcessos::Button5Click},
  };
  for (const ButtonLayout& layout : buttons) {
    auto* button = new QPushButton(QString::fromUtf8(layout.Caption), this);
    button->setObjectName(QString::fromLatin1(layout.Name));
    button->setGeometry(336, layout.Top, 64, 25);
    connect(button, &QPushButton::clicked, this, layout.Handler);
  }
}

void TfrmAlteraProcessos::RefreshRows() {
  const std::vector<ProcessRow> rows = SnapshotProcessRows(sim_);
  const int count = static_cast<int>(rows.size());
  if (stg1->rowCount() != count) {
    stg1->setRowCount(count);
  }
  for (int row = 0; row < count; ++row) {
    QTableWidgetItem* colour = CellItem(stg1, row, 0);
    colour->setData(ProcessCellDelegate::ColourRole, ToQColor(rows[row].Color));
    colour->setData(ProcessCellDelegate::KillRole, rows[row].KillRequested);
    const std::array<QString, kColumnCount> texts = RowTexts(sim_.Msg, rows[row]);
    for (int column = 1; column < kColumnCount; ++column) {
      CellItem(stg1, row, column)->setText(texts[column]);
    }
  }
}

void TfrmAlteraProcessos::Timer1Timer() {
  if (SnapshotProcessCount(sim_) == 0) {
    // Not while one of our boxes is open: the window would vanish under it. The next tick
    // closes it.
    if (!dialogOpen_) {
      close();
    }
    return;
  }
  RefreshRows();
  if (isVisible()) {
    stg1->viewport()->update();
  }
}

int TfrmAlteraProcessos::SelectedRow() const {
  return stg1->currentRow();
}

void TfrmAlteraProcessos::RequestOfSelected(HandActionKind kind) {
  const int row = SelectedRow();
  const std::vector<ProcessRow> rows = SnapshotProcessRows(sim_);
  if (row < 0 || row >= static_cast<int>(rows.size())) {
    return;
  }
  // A process that ended meanwhile is asked nothing.
  sim_.Apply(HandAction{kind, rows[static_cast<std::size_t>(row)].Shape});
  RefreshRows();
  stg1->viewport()->update();
}

void TfrmAlteraProcessos::Button3Click() {
  RequestOfSelected(HandActionKind::Suspend);
}

void TfrmAlteraProcessos::Button4Click() {
  RequestOfSelected(HandActionKind::Resume);
}

void TfrmAlteraProcessos::Button2Click() {
  RequestOfSelected(HandActionKind::End);
}

void TfrmAlteraProcessos::Button1Click() {
  ChangePriority();
}

void TfrmAlteraProcessos::ChangePriority() {
  const int row = SelectedRow();
  const std::vector<ProcessRow> rows = SnapshotProcessRows(sim_);
  if (row < 0 || row >= static_cast<int>(rows.size())) {
    return;
  }
  const ProcessRow& p = rows[static_cast<std::size_t>(row)];
  const ShapeId shape = p.Shape;
  const QString title =
      ToQString(sim_.Msg.MsgPrioridadeBase) + QLatin1Char(' ') + QString::number(p.PID);
  const QString initial = QString::number(p.BasePriority);

  // The boxes run their own event loop: the process may end and this window may close meanwhile,
  // so the process is found again afterwards by its disc, which no other process shares.
  QPointer<TfrmAlteraProcessos> self(this);
  dialogOpen_ = true;
  const std::optional<QString> answer =
      AskText(title, ToQString(sim_.Msg.MsgDigitePrioridade), initial);
  if (self.isNull()) {
    return;
  }
  // A cancelled box changes nothing and is no hand action: even the same priority confirmed
  // would put the process at the back of its queue.
  if (!answer) {
    dialogOpen_ = false;
    return;
  }
  const QString& text = *answer;
  bool ok = false;
  const int value = text.toInt(&ok, 10);
  if (!ok || value < 0 || value > kPriorityLevels - 1) {
    ShowMessage(ok ? QStringLiteral("Erro")
                   : QStringLiteral("'%1' is not a valid integer value").arg(text));
    if (!self.isNull()) {
      dialogOpen_ = false;
    }
    return;
  }
  dialogOpen_ = false;
  sim_.Apply(HandAction{HandActionKind::SetPriority, shape, 0, value});
  RefreshRows();
  stg1->viewport()->update();
}

void TfrmAlteraProcessos::Button5Click() {
  const int row = SelectedRow();
  if (row < 0 || row >= SnapshotProcessCount(sim_)) {
    return;
  }
  SelectedIndex = row;
  pcb_.ProcessIndex = SelectedIndex;
  if (pcb_.isVisible()) {
    pcb_.Refresh();
  } else {
    pcb_.show();
  }
  pcb_.raise();
  pcb_.activateWindow();
}

void TfrmAlteraProcessos::closeEvent(QCloseEvent* event) {
  Timer1->stop();
  if (!released_) {
    released_ = true;
    emit released();
  }
  event->accept();
}

}  // namespace kelpa
