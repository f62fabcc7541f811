// SPDX-License-Identifier: MIT
#include "exports/timeline_file.h"

#include <algorithm>

#include "catalogue/fill_in.h"
#include "platform/ini_text.h"
#include "scenario/timeline_header.h"

namespace kelpa {

std::optional<TimelineFileKind> TimelineKindOf(std::string_view file) {
  const auto dot = file.rfind('.');
  if (dot == std::string_view::npos) {
    return std::nullopt;
  }
  const std::string_view extension = file.substr(dot + 1);
  if (SameName(extension, "svg")) {
    return TimelineFileKind::Svg;
  }
  if (SameName(extension, "png")) {
    return TimelineFileKind::Png;
  }
  return std::nullopt;
}

TimelineFrame WholeRunFrame(std::int64_t ticks, const Scenario& scenario, const TMessages& msg) {
  TimelineFrame frame;
  frame.First = 0;
  frame.Last = ticks - 1;
  frame.TickWidth = std::min(4.0, 8000.0 / double(std::max<std::int64_t>(1, ticks)));
  frame.Header = TimelineHeader(scenario, msg.MsgLinhaOpcoes);
  return frame;
}

TimelineFrame WholeRunFrame(const TimelineModel& model, const Scenario& scenario,
                            const TMessages& msg) {
  return WholeRunFrame(model.Ticks(), scenario, msg);
}

std::optional<std::string> TimelineRefusal(const std::string& file, const Scenario& scenario,
                                           const TMessages& msg) {
  if (TimelineKindOf(file) != TimelineFileKind::Png) {
    return std::nullopt;  // an SVG has no such limit, and its width is fitted like a PNG's
  }
  const TimelineLayout layout(WholeRunFrame(scenario.Ticks, scenario, msg),
                              scenario.Processes.size());
  if (layout.Width() <= kMaxImageSide && layout.Height() <= kMaxImageSide) {
    return std::nullopt;
  }
  return FillIn(msg.MsgLinhaTamanho, {std::to_string(std::int64_t(layout.Width())),
                                      std::to_string(std::int64_t(layout.Height()))});
}

}  // namespace kelpa
