// SPDX-License-Identifier: MIT
// --tarefa's class: the list of students, the seed each one's exercise is drawn with and the
// file-safe stem of each one's files.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/messages.h"
#include "scenario/scenario_reader.h"

namespace kelpa {

struct Student {
  std::string Name;  // trimmed, UTF-8
  int Line = 0;      // 1-based, in the list
};

struct StudentListReading {
  std::vector<Student> Students;
  std::optional<ScenarioError> Error;  // "FILE:LINE: reason"
};

// One name or number a line: UTF-8 with or without its mark (else read as Windows-1252), CRLF
// or LF, blanks around a name dropped, blank lines skipped. A name given twice (in any ASCII
// case) and a list without names are refused.
StudentListReading ReadStudentList(std::string_view bytes, const std::string& file,
                                   const TMessages& msg);
StudentListReading ReadStudentListFile(const std::string& path, const TMessages& msg);

// FNV-1a, 32 bits, over the lesson's bytes as read, one zero byte and the name's UTF-8 bytes:
// the same lesson and name give the same seed on every machine, and a changed lesson another.
std::uint32_t HomeworkSeed(std::string_view lessonBytes, std::string_view name);

// The order, two digits or more, then the name in lower-case ASCII letters and digits, accented
// Latin letters folded, every other run of characters one "-": "07-maria-jose-silva".
std::string StudentStem(int order, std::string_view name);

}  // namespace kelpa
