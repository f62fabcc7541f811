// SPDX-License-Identifier: MIT
#include "gui/timeline/timeline_window.h"

#include <QBuffer>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <mutex>

#include "catalogue/fill_in.h"
#include "exports/csv_exports.h"
#include "exports/program_version.h"
#include "exports/run_figures.h"
#include "exports/run_header.h"
#include "exports/run_print.h"
#include "exports/states_table.h"
#include "exports/timeline_file.h"
#include "gui/common/qt_convert.h"
#include "gui/common/timer_while_shown.h"
#include "gui/timeline/timeline_image.h"
#include "gui/timeline/timeline_view.h"
#include "platform/ini_file.h"
#include "scenario/timeline_header.h"
#include "simulation/event_fan_out.h"
#include "simulation/snapshots.h"
#include "timeline/svg_canvas.h"

namespace kelpa {
namespace {

constexpr double kMinTickWidth = 1.0 / 1024;
constexpr double kMaxTickWidth = 32;
constexpr int kRefreshMs = 250;

}  // namespace

TimelineWindow::TimelineWindow(Simulation& sim, const TMessages& msg, EventFanOut& events,
                               QWidget* parent)
    : QWidget(parent, Qt::Window),
      sim_(sim),
      msg_(msg),
      events_(events),
      texts_(TimelineTextsFrom(msg)),
      model_(TimelineEvents::Kept, kLiveTicksKept),
      origin_(sim.Now()),
      recorder_(sim, model_, [this] { return SpanMs(sim_.Now() - origin_); }) {
  setObjectName("frmLinhaDoTempo");
  setWindowTitle(ToQString(msg.MsgTitLinhaDoTempo));
  Header = [this] { return TimelineHeader(LiveOptions(), msg_.MsgLinhaOpcoes); };
  CsvHead = [this] { return CsvHeading{msg_.MsgLinhaAoVivo, "", LiveOptions()}; };
  BuildControls();
  std::lock_guard lock(sim_.Lock);
  events_.Add(&recorder_);
}

Scenario TimelineWindow::LiveOptions() const {
  Scenario options;
  options.Title = msg_.MsgLinhaAoVivo;
  options.Options = sim_.Options();
  return options;
}

TimelineWindow::~TimelineWindow() {
  std::lock_guard lock(sim_.Lock);
  events_.Remove(&recorder_);
}

void TimelineWindow::BuildControls() {
  auto* buttons = new QHBoxLayout;
  const auto add = [&](const char* name, const std::string& caption, auto slot) {
    auto* button = new QPushButton(ToQString(caption), this);
    button->setObjectName(name);
    connect(button, &QPushButton::clicked, this, slot);
    buttons->addWidget(button);
  };
  add("btnAmpliar", msg_.MsgLinhaAmpliar, [this] { ZoomBy(1); });
  add("btnReduzir", msg_.MsgLinhaReduzir, [this] { ZoomBy(-1); });
  add("btnAjustar", msg_.MsgLinhaAjustar, [this] { Fit(); });
  buttons->addStretch();
  add("btnExportarVisivel", msg_.MsgLinhaExportarVisivel, [this] { ExportClick(false); });
  add("btnExportarTudo", msg_.MsgLinhaExportarTudo, [this] { ExportClick(true); });
  add("btnExportarPdf", msg_.MsgPdfExportar, [this] {
    if (ExportPdf) {
      ExportPdf();
    }
  });

  view_ = new TimelineView(sim_, model_, texts_);
  view_->ZoomRequested = [this](int steps) { ZoomBy(steps); };
  view_->ScrollRequested = [this](std::int64_t ticks) { Scroll(view_->First() + ticks, true); };
  auto* area = new QScrollArea(this);
  area->setObjectName("sbLinhaDoTempo");
  area->setWidget(view_);
  area->setWidgetResizable(true);
  area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  area->setBackgroundRole(QPalette::Base);

  scroll_ = new QScrollBar(Qt::Horizontal, this);
  scroll_->setObjectName("ScrollTicks");
  connect(scroll_, &QScrollBar::actionTriggered, this,
          [this] { Scroll(scroll_->sliderPosition(), true); });
  connect(scroll_, &QScrollBar::sliderMoved, this,
          [this](int position) { Scroll(position, true); });

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(area, 1);
  layout->addWidget(scroll_);
  resize(900, 420);
  move(330, 560);

  auto* timer = new QTimer(this);
  timer->setInterval(kRefreshMs);
  connect(timer, &QTimer::timeout, this, [this] { Refresh(); });
  new TimerWhileShown(this, timer, [this] { Refresh(); });
}

// Follows the newest tick unless the user has scrolled back from it; scrolling to the end
// follows again.
void TimelineWindow::Scroll(std::int64_t first, bool byUser) {
  std::int64_t ticks = 0;
  std::int64_t oldest = 0;
  int height = 0;
  {
    std::lock_guard lock(sim_.Lock);
    ticks = model_.Ticks();
    oldest = model_.FirstTick();
    height = view_->HeightNeeded();
  }
  // Outside the lock: a new size may lay the window out again at once.
  view_->setMinimumHeight(height);
  const std::int64_t last = std::max<std::int64_t>(oldest, ticks - view_->VisibleTicks());
  first = std::clamp<std::int64_t>(first, oldest, last);
  if (byUser) {
    follow_ = first >= last;
  }
  if (follow_) {
    first = last;
  }
  view_->SetView(first, view_->TickWidth());
  // A scroll bar counts in int: a run longer than that scrolls in steps of whole ticks anyway.
  const QSignalBlocker block(scroll_);
  scroll_->setRange(static_cast<int>(std::min<std::int64_t>(oldest, INT32_MAX)),
                    static_cast<int>(std::min<std::int64_t>(last, INT32_MAX)));
  scroll_->setPageStep(static_cast<int>(std::min<std::int64_t>(view_->VisibleTicks(), INT32_MAX)));
  scroll_->setValue(static_cast<int>(std::min<std::int64_t>(first, INT32_MAX)));
}

void TimelineWindow::Refresh() {
  Scroll(view_->First(), false);
}

void TimelineWindow::ZoomBy(int steps) {
  const double width =
      std::clamp(view_->TickWidth() * std::pow(2.0, steps), kMinTickWidth, kMaxTickWidth);
  view_->SetView(view_->First(), width);
  Refresh();
}

void TimelineWindow::Fit() {
  std::int64_t ticks = 0;
  std::int64_t oldest = 0;
  {
    std::lock_guard lock(sim_.Lock);
    oldest = model_.FirstTick();
    ticks = std::max<std::int64_t>(1, model_.Ticks() - oldest);
  }
  const double room = view_->PictureWidth() - TimelineLayout::kLabelWidth - TimelineLayout::kMargin;
  view_->SetView(oldest, std::clamp(room / double(ticks), kMinTickWidth, kMaxTickWidth));
  follow_ = true;
  Refresh();
}

TimelineFrame TimelineWindow::ExportFrame(bool whole) const {
  TimelineFrame frame = view_->Frame();
  if (whole) {
    frame.First = model_.FirstTick();
    frame.Last = model_.Ticks() - 1;
  } else {
    frame.Last = std::min(frame.Last, model_.Ticks() - 1);
  }
  frame.Header = Header ? Header() : std::vector<std::string>{};
  return frame;
}

bool TimelineWindow::ExportTo(const QString& file, bool whole) {
  const bool svg = QFileInfo(file).suffix().compare("svg", Qt::CaseInsensitive) == 0;
  const QString failure = ToQString(msg_.MsgNaoGravouArquivo);
  std::string bytes;
  QImage image;
  std::string size;
  {
    std::lock_guard lock(sim_.Lock);
    const TimelineFrame frame = ExportFrame(whole);
    const TimelineLayout layout(frame, model_);
    size = FillIn(msg_.MsgLinhaGrandeDemais, {std::to_string(std::int64_t(layout.Width())),
                                              std::to_string(std::int64_t(layout.Height()))});
    if (svg) {
      bytes = TimelineSvg(model_, frame, texts_);
    } else {
      image = TimelineImage(model_, frame, texts_);
    }
  }
  if (!svg) {
    QByteArray png;
    QBuffer buffer(&png);
    if (image.isNull()) {
      // Larger than an image can be: the SVG has no such limit.
      Export.Fail(this, ToQString(size));
      return false;
    }
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
      Export.Fail(this, failure + "\n" + file);
      return false;
    }
    bytes = png.toStdString();
  }
  return Export.Write(this, file, bytes, failure);
}

void TimelineWindow::ExportClick(bool whole) {
  const QString file = Export.Choose(this, ToQString(msg_.MsgLinhaFiltroImagem), "png");
  if (!file.isEmpty()) {
    ExportTo(file, whole);
  }
}

std::string TimelineWindow::EventsCsvText() const {
  const StatisticsNumbers statistics = ComputeStatisticsNumbers(SnapshotStatistics(sim_));
  const bool fromFile = KelpaIniPresent();
  std::lock_guard lock(sim_.Lock);
  const CsvHeading heading = CsvHead();
  const RunHeader header{std::string(ProgramVersion()), heading.File, heading.Sha256, fromFile,
                         &heading.Resolved};
  return EventsCsv(header, model_.Events(), statistics, msg_, LoadStatisticsCaptions(fromFile));
}

PrintDocument TimelineWindow::RunDocument() const {
  const StatisticsNumbers statistics = ComputeStatisticsNumbers(SnapshotStatistics(sim_));
  const bool fromFile = KelpaIniPresent();
  const std::vector<ProcessTicks> processes =
      ProcessesInTicks ? ProcessesInTicks() : std::vector<ProcessTicks>{};
  RunPrint run;
  for (std::size_t i = 0; i < processes.size(); ++i) {
    run.Processes.emplace_back(std::to_string(i + 1), &processes[i]);
  }
  auto model = std::make_shared<TimelineModel>();
  {
    std::lock_guard lock(sim_.Lock);
    const CsvHeading heading = CsvHead();
    const RunHeader header{std::string(ProgramVersion()), heading.File, heading.Sha256, fromFile,
                           &heading.Resolved};
    run.Name = std::filesystem::path(heading.File).filename().string();
    run.Header = HeaderLines(header, msg_);
    *model = model_;
  }
  run.Timeline = model;
  run.Frame.First = model->FirstTick();
  run.Frame.Last = model->Ticks() - 1;
  run.Statistics = &statistics;
  run.States = StatesTableOf(*model);
  return RunPrintDocument(run, msg_, LoadStatisticsCaptions(fromFile));
}

void TimelineWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  if (OnClosed) {
    OnClosed();
  }
}

void TimelineWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Refresh();
}

}  // namespace kelpa
