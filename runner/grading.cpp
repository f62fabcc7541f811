// SPDX-License-Identifier: MIT
#include "runner/grading.h"

#include <algorithm>
#include <map>

#include "catalogue/fill_in.h"

namespace kelpa {
namespace {

// Rounded down, so that 100 % is said only of a table all right.
std::string Percent(std::size_t part, std::size_t whole) {
  return std::to_string(whole == 0 ? 0 : part * 100 / whole);
}

}  // namespace

GradeResult GradeAnswers(const AnswerSheet& key, const AnswerSheet& answers) {
  GradeResult grade;
  grade.Total = key.Rows.size() * key.Columns.size();
  std::map<std::int64_t, std::size_t> rowOf;
  for (std::size_t r = 0; r < key.Rows.size(); ++r) {
    rowOf.emplace(key.Rows[r].Tick, r);
  }
  std::vector<std::size_t> columnOf;
  for (const std::string& column : answers.Columns) {
    columnOf.push_back(static_cast<std::size_t>(
        std::find(key.Columns.begin(), key.Columns.end(), column) - key.Columns.begin()));
  }
  // Where each difference stands in the key, to list them in its order.
  std::vector<std::pair<std::size_t, std::size_t>> places;
  for (const AnswerRow& row : answers.Rows) {
    const std::size_t r = rowOf.at(row.Tick);
    for (std::size_t c = 0; c < row.Cells.size(); ++c) {
      if (!row.Cells[c]) {
        continue;
      }
      ++grade.Answered;
      const std::string& expected = *key.Rows[r].Cells[columnOf[c]];
      if (*row.Cells[c] == expected) {
        ++grade.Right;
        continue;
      }
      places.emplace_back(r, columnOf[c]);
      grade.Differences.push_back({row.Tick, answers.Columns[c], expected, *row.Cells[c]});
    }
  }
  std::vector<std::size_t> order(places.size());
  for (std::size_t i = 0; i < order.size(); ++i) {
    order[i] = i;
  }
  std::sort(order.begin(), order.end(),
            [&](std::size_t a, std::size_t b) { return places[a] < places[b]; });
  std::vector<CellDifference> sorted;
  for (const std::size_t i : order) {
    sorted.push_back(std::move(grade.Differences[i]));
  }
  grade.Differences = std::move(sorted);
  return grade;
}

void WriteGrade(std::ostream& out, const GradeResult& grade, const TMessages& msg) {
  out << FillIn(msg.MsgCorNota, {std::to_string(grade.Right), std::to_string(grade.Answered),
                                 Percent(grade.Right, grade.Answered), std::to_string(grade.Right),
                                 std::to_string(grade.Total), Percent(grade.Right, grade.Total)})
      << '\n';
  if (grade.Differences.empty()) {
    return;
  }
  out << FillIn(msg.MsgCorDiferencas, {std::to_string(grade.Differences.size())}) << '\n';
  for (const CellDifference& d : grade.Differences) {
    out << "  "
        << FillIn(msg.MsgCorDiferenca, {std::to_string(d.Tick), d.Column, d.Expected, d.Given})
        << '\n';
  }
}

}  // namespace kelpa
