// SPDX-License-Identifier: MIT
// The timeline picture as an image: the whole frame at its zoom, never cut to a window.
#pragma once

#include <QImage>
#include <string>

#include "timeline/timeline_picture.h"

namespace kelpa {

// A null image when the picture would be larger than kMaxImageSide on a side.
QImage TimelineImage(const TimelineModel& model, const TimelineFrame& frame,
                     const TimelineTexts& texts);
// Writes it as PNG; false when it is too large or the file could not be written.
bool WriteTimelinePng(const TimelineModel& model, const TimelineFrame& frame,
                      const TimelineTexts& texts, const std::string& file);

}  // namespace kelpa
