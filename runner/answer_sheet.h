// SPDX-License-Identifier: MIT
// A table of states read back: the answer key the runner wrote with --format states, or a
// student's copy of it filled in by hand or by a spreadsheet. What a spreadsheet does to a csv
// is taken in (";" for ",", quoted cells, a BOM, CRLF, blank lines, the state names the windows
// show in any case); what cannot be graded is refused with its line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/messages.h"
#include "scenario/scenario_reader.h"

namespace kelpa {

struct AnswerRow {
  std::int64_t Tick = 0;
  int Line = 0;  // 1-based, in the file
  // In Columns' order: the state code (RDY, RUN, "-"...) or, for cpu, the pid, IDLE or INT_...;
  // none for a blank cell, an unanswered question.
  std::vector<std::optional<std::string>> Cells;
};

struct AnswerSheet {
  std::vector<std::string> Columns;  // after tick: "P1", "P2"... and "cpu", as the key spells them
  std::vector<AnswerRow> Rows;       // in the file's order
};

struct AnswerSheetReading {
  std::optional<AnswerSheet> Sheet;
  std::optional<ScenarioError> Error;  // "FILE:LINE: reason"
};

// key: none when bytes are the key itself (then no cell may be blank); else the sheet may only
// have the key's columns and ticks, in any order and any of them left out.
AnswerSheetReading ReadAnswerSheet(std::string_view bytes, const std::string& file,
                                   const TMessages& msg, const AnswerSheet* key);
// One line of a csv cut into its cells, trimmed, a quoted cell unquoted; none when a quote is
// left open.
std::optional<std::vector<std::string>> CsvCells(std::string_view line, char separator);

AnswerSheetReading ReadAnswerSheetFile(const std::string& path, const TMessages& msg,
                                       const AnswerSheet* key);

}  // namespace kelpa
