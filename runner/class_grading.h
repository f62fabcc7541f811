// SPDX-License-Identifier: MIT
// --corrigir FOLDER: every student's table of answers in a folder written by --tarefa, graded
// against the student's own key, into one csv of grades.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "catalogue/messages.h"
#include "scenario/scenario_reader.h"

namespace kelpa {

// Writes the grades to out, one student a row in the order of the list (the stems' numbers):
// stem, name (from the folder's index, when it can be read), right, answered, total, percent
// (right of total, rounded down), status and, for an unreadable file, why. A file that cannot
// be read stops only its own student's grade. The error when the folder holds no key.
std::optional<ScenarioError> GradeFolder(const std::string& folder, const TMessages& msg,
                                         std::ostream& out);

}  // namespace kelpa
