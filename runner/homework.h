// SPDX-License-Identifier: MIT
// --tarefa: each student's exercise drawn from a lesson, run, and turned into what is handed
// out (the scenario, the worksheet, the table of answers to fill in) and what the teacher keeps
// (the answer key, as a document and as the csv --corrigir reads). Nothing here writes a file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "catalogue/messages.h"
#include "exports/print_document.h"
#include "exports/run_figures.h"
#include "exports/statistic_rows.h"
#include "runner/student_list.h"
#include "scenario/scenario.h"
#include "scenario/scenario_reader.h"

namespace kelpa {

struct StudentHomework {
  int Order = 0;  // 1-based, in the list
  std::string Name;
  std::uint32_t Seed = 0;
  std::string Stem;  // of each of the student's files
  Scenario Drawn;    // the lesson with the student's seed; the questions set
  std::pair<std::int64_t, std::int64_t> Ticks;  // of the states table asked
  RunFigures Figures;                           // at the end of the run
  std::string ScenarioText;                     // the scenario file, [GERAR] drawn out
  std::string KeyCsv;      // the states table of the ticks asked, as --format states writes it
  std::string AnswersCsv;  // the same with every state left blank
};

struct HomeworkReading {
  std::vector<StudentHomework> Students;
  std::optional<ScenarioError> Error;
};

// lessonBytes: the lesson as read from lessonFile; it must have a [GERAR] section. A lesson
// without [TAREFA] asks the defaults of HomeworkQuestions.
HomeworkReading DrawHomework(std::string_view lessonBytes, const std::string& lessonFile,
                             const std::vector<Student>& students, const TMessages& msg,
                             const StatisticsCaptionTexts& captions);

// The worksheet, or with answers the answer key: the same pages, the blanks filled in.
PrintDocument HomeworkDocument(const StudentHomework& homework, const TMessages& msg, bool answers);

// The files of one student, after the stem: the scenario, the worksheet, the key (document and
// csv) and the table of answers to fill in.
inline constexpr std::string_view kHomeworkScenario = ".ini";
inline constexpr std::string_view kHomeworkWorksheet = "-folha.pdf";
inline constexpr std::string_view kHomeworkKeyPdf = "-gabarito.pdf";
inline constexpr std::string_view kHomeworkKeyCsv = "-gabarito.csv";
inline constexpr std::string_view kHomeworkAnswers = "-respostas.csv";
inline constexpr std::string_view kHomeworkIndex = "indice.csv";
inline constexpr std::string_view kHomeworkIndexPdf = "indice.pdf";

// The name of one of the student's files: the stem, then its suffix.
std::string HomeworkFile(const std::string& stem, std::string_view suffix);

// The teacher's index as a document: each student's name, seed, stem and the key's means.
PrintDocument HomeworkIndexDocument(const std::vector<StudentHomework>& students,
                                    const TMessages& msg);

// The teacher's index, one student a row: order, name, seed, stem and the files, with stable
// column names so that --corrigir reads it in any language.
std::string HomeworkIndexCsv(const std::vector<StudentHomework>& students);

// A csv cell: quoted when it holds a separator, a quote or a line break.
std::string CsvCell(std::string_view text);

}  // namespace kelpa
