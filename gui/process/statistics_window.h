// SPDX-License-Identifier: MIT
// The statistics window: the run's figures, refreshed when shown and every second while shown.
#pragma once

#include <QLocale>
#include <QWidget>
#include <functional>
#include <map>
#include <string>

#include "gui/common/file_export.h"
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
  // The figures now, key, caption and value, as csv.
  std::string CsvText();
  // Writes them into file; false when it failed (already reported).
  bool ExportCsvTo(const QString& file);
  void ExportCsvClick();
  FileExport Export;
  // "Exportar PDF...": the window set writes the run's document (the timeline window's).
  std::function<void()> ExportPdf;

 signals:
  // The user closed the window (it is only hidden).
  void closed();
  // The user asked for each process's life in ticks.
  void ticksRequested();

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
