// SPDX-License-Identifier: MIT
// --corrigir: a student's table of states against the answer key, cell by cell.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "catalogue/messages.h"
#include "runner/answer_sheet.h"

namespace kelpa {

struct CellDifference {
  std::int64_t Tick = 0;
  std::string Column;
  std::string Expected;
  std::string Given;
};

struct GradeResult {
  std::size_t Right = 0;
  std::size_t Answered = 0;                 // the cells not left blank
  std::size_t Total = 0;                    // every cell of the key
  std::vector<CellDifference> Differences;  // in the key's order of ticks and columns
};

// answers was read against key: its columns and ticks are the key's.
GradeResult GradeAnswers(const AnswerSheet& key, const AnswerSheet& answers);

// The score line, then the differences one a line.
void WriteGrade(std::ostream& out, const GradeResult& grade, const TMessages& msg);

}  // namespace kelpa
