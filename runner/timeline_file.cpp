// SPDX-License-Identifier: MIT
#include "runner/timeline_file.h"

#include <algorithm>

#include "scenario/svg_canvas.h"
#include "scenario/timeline_header.h"

namespace kelpa {

TimelineFrame WholeRunFrame(const TimelineModel& model, const Scenario& scenario,
                            const TMessages& msg) {
  TimelineFrame frame;
  frame.First = 0;
  frame.Last = model.Ticks() - 1;
  frame.TickWidth = std::min(4.0, 8000.0 / double(std::max<std::int64_t>(1, model.Ticks())));
  frame.Header = TimelineHeader(scenario, msg.MsgLinhaOpcoes);
  return frame;
}

std::string TimelineSvg(const TimelineModel& model, const TimelineFrame& frame,
                        const TimelineTexts& texts) {
  const TimelineLayout layout(frame, model);
  SvgCanvas canvas(layout.Width(), layout.Height());
  DrawTimeline(model, frame, texts, canvas);
  return canvas.Document();
}

}  // namespace kelpa
