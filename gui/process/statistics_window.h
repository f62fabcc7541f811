// The statistics window: the run's figures, refreshed when shown and every second while shown.
#pragma once

#include <QLocale>
#include <QWidget>
#include <map>
#include <string>

#include "gui/process/statistics_figures.h"

class QLabel;
class QTimer;

namespace kelpa {

class TLanguage;
class Simulation;

class TEstatisticas : public QWidget {
  Q_OBJECT
 public:
  TEstatisticas(Simulation& sim, TLanguage* language = nullptr, QWidget* parent = nullptr);

  // Separators of the figures; the host's by default.
  QLocale Locale = QLocale::system();

  void Timer1Timer();

 signals:
  // The user closed the window (it is only hidden).
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls();
  void SetBox(const char* name, const std::optional<QString>& text);
  StatisticsInputs ReadInputs();
  void ShowFigures(const StatisticsFigures& figures);

  Simulation& sim_;
  QTimer* Timer1 = nullptr;
  std::map<std::string, QLabel*> boxes_;
};

}  // namespace kelpa
