// SPDX-License-Identifier: MIT
#include "gui/timeline/timeline_view.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>
#include <cmath>
#include <mutex>

#include "gui/common/live_zoom.h"
#include "gui/timeline/qt_canvas.h"
#include "simulation/simulation.h"

namespace kelpa {

TimelineView::TimelineView(Simulation& sim, const TimelineModel& model, const TimelineTexts& texts,
                           QWidget* parent)
    : QWidget(parent), sim_(sim), model_(model), texts_(texts) {
  setObjectName("pbLinhaDoTempo");
  setMouseTracking(true);
  setAutoFillBackground(false);
}

void TimelineView::SetView(std::int64_t first, double tickWidth) {
  first_ = std::max<std::int64_t>(0, first);
  tickWidth_ = tickWidth;
  update();
}

std::int64_t TimelineView::VisibleTicks() const {
  const double room = PictureWidth() - TimelineLayout::kLabelWidth - TimelineLayout::kMargin;
  // A little over: a zoom fitted to the width must show every tick it was fitted to.
  return std::max<std::int64_t>(1, static_cast<std::int64_t>(std::floor(room / tickWidth_ + 1e-6)));
}

double TimelineView::PictureWidth() const {
  return width() / ZoomOf(this);
}

TimelineFrame TimelineView::Frame() const {
  TimelineFrame frame;
  frame.First = first_;
  frame.Last = first_ + VisibleTicks() - 1;
  frame.TickWidth = tickWidth_;
  return frame;
}

int TimelineView::HeightNeeded() const {
  return static_cast<int>(std::ceil(TimelineLayout(Frame(), model_).Height() * ZoomOf(this)));
}

void TimelineView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  painter.scale(ZoomOf(this), ZoomOf(this));
  QtCanvas canvas(painter);
  std::lock_guard lock(sim_.Lock);
  DrawTimeline(model_, Frame(), texts_, canvas);
}

QString TimelineView::TextAt(QPointF on) const {
  const QPointF at = on / ZoomOf(this);
  std::lock_guard lock(sim_.Lock);
  const TimelineFrame frame = Frame();
  const std::vector<std::size_t> shown = LanesShown(model_, frame);
  const TimelineLayout layout(frame, shown.size());
  const auto tick = layout.TickAt(at.x(), model_.Ticks());
  const auto row = layout.RowAt(at.y(), shown.size() + 2);
  if (!tick || !row || *tick < model_.FirstTick()) {
    return {};
  }
  QString text = QString::fromStdString(texts_.Tick) + QStringLiteral(": %1").arg(*tick);
  if (*row < 2) {
    const std::optional<UseRun> use =
        TimelineModel::RunAt(*row == 0 ? model_.Processor() : model_.Device(), *tick);
    QString who = QString::fromStdString(texts_.Idle);
    if (use && use->Use == ProcessorUse::Process) {
      who = QString::number(use->Pid);
    } else if (use && use->Use == ProcessorUse::Interrupt) {
      who = QString::fromStdString(texts_.Interrupt);
    }
    const std::string& name = *row == 0 ? texts_.Processor : texts_.Device;
    return text + "\n" + QString::fromStdString(name) + ": " + who;
  }
  const TimelineLane& lane = model_.Lanes()[shown[*row - 2]];
  const auto state = TimelineModel::StateAt(lane, *tick);
  if (!state) {
    return {};
  }
  text += QStringLiteral("\n%1: ").arg(lane.Pid) +
          QString::fromStdString(texts_.States[static_cast<std::size_t>(*state)]);
  if (const auto priority = TimelineModel::PriorityAt(lane, *tick)) {
    text += "\n" + QString::fromStdString(texts_.Priority) + QStringLiteral(": %1").arg(*priority);
  }
  return text;
}

bool TimelineView::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    const QString text = TextAt(help->pos());
    if (text.isEmpty()) {
      QToolTip::hideText();
    } else {
      QToolTip::showText(help->globalPos(), text, this);
    }
    return true;
  }
  return QWidget::event(event);
}

void TimelineView::wheelEvent(QWheelEvent* event) {
  const int steps = event->angleDelta().y() / 120;
  if (steps == 0) {
    return QWidget::wheelEvent(event);
  }
  if (event->modifiers() & Qt::ControlModifier) {
    if (ZoomRequested) {
      ZoomRequested(steps);
    }
  } else if (ScrollRequested) {
    ScrollRequested(-steps * std::max<std::int64_t>(1, VisibleTicks() / 10));
  }
  event->accept();
}

void TimelineView::mousePressEvent(QMouseEvent* event) {
  std::optional<std::int64_t> tick;
  {
    std::lock_guard lock(sim_.Lock);
    const TimelineLayout layout(Frame(), model_);
    tick = layout.TickAt(event->position().x() / ZoomOf(this), model_.Ticks());
  }
  if (tick && TickClicked) {
    TickClicked(*tick);
  }
  QWidget::mousePressEvent(event);
}

}  // namespace kelpa
