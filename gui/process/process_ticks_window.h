// SPDX-License-Identifier: MIT
// Each process's life in ticks, as the runner's table gives it: reached from the statistics
// window. It follows the run's events from before the threads start, shown or not, so every
// process since the start (or since a scenario was opened) has its row.
#pragma once

#include <QLocale>
#include <QWidget>
#include <vector>

#include "exports/process_ticks.h"

class QTableWidget;
class QTimer;

namespace kelpa {

class EventFanOut;
class Simulation;

class TProcessTicks : public QWidget {
  Q_OBJECT
 public:
  TProcessTicks(Simulation& sim, EventFanOut& events, QWidget* parent = nullptr);
  ~TProcessTicks() override;

  // Decimal point of the means and ratios; the host's by default.
  QLocale Locale = QLocale::system();

  void Timer1Timer();
  // The created processes in order of creation, their counts brought up to now (takes the lock).
  std::vector<ProcessTicks> Read();
  // The run starts again from its first tick (a scenario opened or replayed); the lock is held.
  void RestartLocked() { log_.Restart(); }
  QTableWidget* Grid() const { return stgTicks; }

 signals:
  // The user closed the window (it is only hidden).
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void SetRow(int row, const QStringList& cells);
  QString Shown(const std::optional<std::string>& value) const;

  Simulation& sim_;
  EventFanOut& events_;
  ProcessTickLog log_;
  QTableWidget* stgTicks = nullptr;
  QTimer* Timer1 = nullptr;
};

}  // namespace kelpa
