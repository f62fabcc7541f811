// SPDX-License-Identifier: MIT
#include "gui/timeline/timeline_image.h"

#include <QPainter>

#include "gui/timeline/qt_canvas.h"

namespace kelpa {

QImage TimelineImage(const TimelineModel& model, const TimelineFrame& frame,
                     const TimelineTexts& texts) {
  const TimelineLayout layout(frame, model);
  if (layout.Width() > kMaxImageSide || layout.Height() > kMaxImageSide) {
    return {};
  }
  QImage image(static_cast<int>(layout.Width()), static_cast<int>(layout.Height()),
               QImage::Format_RGB32);
  if (image.isNull()) {
    return image;
  }
  image.fill(Qt::white);
  QPainter painter(&image);
  QtCanvas canvas(painter);
  DrawTimeline(model, frame, texts, canvas);
  return image;
}

bool WriteTimelinePng(const TimelineModel& model, const TimelineFrame& frame,
                      const TimelineTexts& texts, const std::string& file) {
  const QImage image = TimelineImage(model, frame, texts);
  return !image.isNull() && image.save(QString::fromStdString(file), "PNG");
}

}  // namespace kelpa
