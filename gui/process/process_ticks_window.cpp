// SPDX-License-Identifier: MIT
#include "gui/process/process_ticks_window.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <mutex>

#include "catalogue/messages.h"
#include "gui/common/qt_convert.h"
#include "gui/common/timer_while_shown.h"
#include "simulation/event_fan_out.h"
#include "simulation/simulation.h"

namespace kelpa {

TProcessTicks::TProcessTicks(Simulation& sim, EventFanOut& events, QWidget* parent)
    : QWidget(parent, Qt::Window), sim_(sim), events_(events) {
  setObjectName(QStringLiteral("frmProcessosEmTicks"));
  setWindowTitle(ToQString(sim_.Msg.MsgTicksTitulo));
  QStringList headings = {ToQString(sim_.Msg.MsgColPID)};
  ProcessTicks created;
  created.Created = true;
  for (const TickField& field : ProcessTickFields(created, sim_.Msg)) {
    headings << ToQString(*field.Caption);
  }
  stgTicks = new QTableWidget(0, static_cast<int>(headings.size()), this);
  stgTicks->setObjectName(QStringLiteral("stgTicks"));
  stgTicks->setHorizontalHeaderLabels(headings);
  stgTicks->setEditTriggers(QAbstractItemView::NoEditTriggers);
  stgTicks->verticalHeader()->hide();
  stgTicks->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(stgTicks);
  resize(760, 260);
  move(475, 240);

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(1000);
  connect(Timer1, &QTimer::timeout, this, &TProcessTicks::Timer1Timer);
  new TimerWhileShown(this, Timer1, [this] { Timer1Timer(); });
  std::lock_guard lock(sim_.Lock);
  events_.Add(&log_);
}

TProcessTicks::~TProcessTicks() {
  std::lock_guard lock(sim_.Lock);
  events_.Remove(&log_);
}

QString TProcessTicks::Shown(const std::optional<std::string>& value) const {
  if (!value) {
    return QStringLiteral("-");
  }
  QString text = ToQString(*value);
  return text.replace(QLatin1Char('.'), Locale.decimalPoint());
}

void TProcessTicks::SetRow(int row, const QStringList& cells) {
  for (int column = 0; column < cells.size(); ++column) {
    QTableWidgetItem* item = stgTicks->item(row, column);
    if (item == nullptr) {
      item = new QTableWidgetItem;
      item->setTextAlignment(column == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                         : Qt::AlignRight | Qt::AlignVCenter);
      stgTicks->setItem(row, column, item);
    }
    item->setText(cells[column]);
  }
}

std::vector<ProcessTicks> TProcessTicks::Read() {
  std::lock_guard lock(sim_.Lock);
  return log_.Read(sim_);
}

void TProcessTicks::Timer1Timer() {
  const std::vector<ProcessTicks> processes = Read();
  const TMessages& msg = sim_.Msg;
  stgTicks->setRowCount(static_cast<int>(processes.size()) + 2);
  std::vector<const ProcessTicks*> all;
  int row = 0;
  for (const ProcessTicks& p : processes) {
    all.push_back(&p);
    QStringList cells = {QString::number(p.Pid)};
    for (const TickField& field : ProcessTickFields(p, msg)) {
      cells << Shown(field.Value);
    }
    SetRow(row++, cells);
  }
  // The means under the columns they average (of the ended processes), the totals under theirs.
  const std::vector<TickField> summary = SummaryTickFields(SummariseTicks(all), msg);
  QStringList means = {ToQString(msg.MsgTicksMedia), {}, {}, {}};
  QStringList totals = {ToQString(msg.MsgTicksTotal), {}, {}, {}, {}, {}, {}, {}};
  for (std::size_t i = 0; i < summary.size(); ++i) {
    if (i < kSummaryMeans) {
      means << Shown(summary[i].Value);
    } else if (i > kSummaryMeans) {
      totals << Shown(summary[i].Value);
    }
  }
  while (means.size() < stgTicks->columnCount()) {
    means << QString();
  }
  SetRow(row++, means);
  SetRow(row, totals);
}

void TProcessTicks::closeEvent(QCloseEvent* event) {
  event->accept();
  emit closed();
}

}  // namespace kelpa
