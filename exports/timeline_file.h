// SPDX-License-Identifier: MIT
// The picture of a whole run as a file: its kind, by the file's name, and its frame; the SVG is
// written by TimelineSvg, the PNG by a painter the program entry hands in (the runner itself uses
// no Qt).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "scenario/scenario.h"
#include "timeline/timeline_picture.h"

namespace kelpa {

enum class TimelineFileKind { Svg, Png };
// The picture a file name asks for, by its extension; none for any other.
std::optional<TimelineFileKind> TimelineKindOf(std::string_view file);

// Writes the picture as PNG to file; false when it could not.
using TimelinePngPainter =
    std::function<bool(const TimelineModel& model, const TimelineFrame& frame,
                       const TimelineTexts& texts, const std::string& file)>;

// The whole run at a zoom that keeps a long run's picture a sensible width: 4 pixels per tick,
// or the run fitted into 8000 pixels.
TimelineFrame WholeRunFrame(const TimelineModel& model, const Scenario& scenario,
                            const TMessages& msg);
TimelineFrame WholeRunFrame(std::int64_t ticks, const Scenario& scenario, const TMessages& msg);

// Why the picture of the scenario's whole run cannot be made as file, said before it runs: a
// PNG larger than an image can be, with the size it would have (a lane for each of the
// scenario's processes); none when it can.
std::optional<std::string> TimelineRefusal(const std::string& file, const Scenario& scenario,
                                           const TMessages& msg);

}  // namespace kelpa
