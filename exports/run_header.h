// SPDX-License-Identifier: MIT
// The header and the closing statistics of the line-oriented formats (text, csv, states), as
// lines beginning with "# " so that the table between them stays a plain table.
#pragma once

#include "catalogue/messages.h"
#include "exports/output_buffer.h"
#include "exports/statistic_rows.h"
#include "exports/trace_writer.h"

namespace kelpa {

// The program and version, the file, its SHA-256, the catalogue in use, then the resolved
// scenario with every key written out: the lines of the header, without the "# ".
std::vector<std::string> HeaderLines(const RunHeader& header, const TMessages& msg);
// The same lines, each after "# " (a "#" alone for an empty line).
void WriteCommentHeader(OutputBuffer& out, const RunHeader& header, const TMessages& msg);
// "# key=value" per statistic, empty after the "=" when there is nothing to divide by.
void WriteCommentStatistics(OutputBuffer& out, const std::vector<StatisticRow>& rows);

}  // namespace kelpa
