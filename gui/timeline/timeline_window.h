// SPDX-License-Identifier: MIT
// "Linha do tempo": the run as a picture over the ticks, one row for the processor, one for the
// I/O device and a lane per process, over the newest kLiveTicksKept ticks. It follows the newest
// tick until the user scrolls back, zooms with Ctrl+wheel and its buttons, and exports all it
// keeps or the visible range as PNG or SVG. The timeline it shows is filled from the simulation's
// events under the lock: in real time every processor cycle ends a tick; a scenario run ends its
// ticks through Recorder().
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "exports/print_document.h"
#include "exports/process_ticks.h"
#include "gui/common/file_export.h"
#include "scenario/scenario.h"
#include "timeline/timeline_picture.h"
#include "timeline/timeline_recorder.h"

class QPushButton;
class QScrollBar;

namespace kelpa {

class EventFanOut;
class TimelineView;

// What the csv export is headed with, as the runner heads its trace: the file run, its SHA-256
// and the scenario as run.
struct CsvHeading {
  std::string File;
  std::string Sha256;
  Scenario Resolved;
};

class TimelineWindow : public QWidget {
 public:
  // Adds itself to events and to the processor's cycles; both must outlive it.
  TimelineWindow(Simulation& sim, const TMessages& msg, EventFanOut& events,
                 QWidget* parent = nullptr);
  ~TimelineWindow() override;
  TimelineWindow(const TimelineWindow&) = delete;
  TimelineWindow& operator=(const TimelineWindow&) = delete;

  // What fills the timeline (its events, a tick ended on each TickEnded); the lock guards it.
  TimelineRecorder& Recorder() { return recorder_; }
  const TimelineModel& Model() const { return model_; }
  // A run that starts again from tick 0 (a scenario opened, or replayed to go back): a fresh
  // timeline whose event times count from origin. The lock must be held.
  void RestartLocked(TDateTime origin) {
    model_ = TimelineModel(TimelineEvents::Kept, kLiveTicksKept);
    origin_ = origin;
  }
  // The header lines of an export; by default the live run and the options in force. Called
  // with the lock held.
  std::function<std::vector<std::string>()> Header;
  // The heading of the csv export; by default the live run and the options in force. Called with
  // the lock held.
  std::function<CsvHeading()> CsvHead;
  // Runs when the user closes the window (it is only hidden).
  std::function<void()> OnClosed;
  // The file dialog and the message box of the exports.
  FileExport Export;
  // "Exportar PDF...": the window set writes RunDocument() through the Qt PDF writer.
  std::function<void()> ExportPdf;
  // Each process in ticks for RunDocument, in order of creation (takes the lock); none leaves
  // that table out.
  std::function<std::vector<ProcessTicks>()> ProcessesInTicks;

  void Refresh();
  void ZoomBy(int steps);
  void Fit();
  // The whole run, or only the ticks shown, into the file (.png or .svg); false when it failed
  // (already reported).
  bool ExportTo(const QString& file, bool whole);
  void ExportClick(bool whole);
  // The events followed so far in the runner's csv format, with the statistics now.
  std::string EventsCsvText() const;
  // The run it keeps as a document to print: the csv's header, the timeline of every tick kept,
  // the statistics now, each process in ticks and the table of states.
  PrintDocument RunDocument() const;
  bool Following() const { return follow_; }
  TimelineView* View() const { return view_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // The live run's options in force, under the live title; the lock must be held.
  Scenario LiveOptions() const;
  void BuildControls();
  void Scroll(std::int64_t first, bool byUser);
  TimelineFrame ExportFrame(bool whole) const;

  Simulation& sim_;
  const TMessages& msg_;
  EventFanOut& events_;
  TimelineTexts texts_;
  TimelineModel model_;
  TDateTime origin_ = 0;  // when the run the timeline follows started
  TimelineRecorder recorder_;
  TimelineView* view_ = nullptr;
  QScrollBar* scroll_ = nullptr;
  bool follow_ = true;
};

}  // namespace kelpa
