// SPDX-License-Identifier: MIT
// Three of the shipped lessons run through the command line, in text and csv, against their
// golden files byte for byte, and a second run giving the same bytes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "golden_file.h"
#include "runner/command_line.h"

namespace kelpa {
namespace {

std::string RunLesson(const std::string& lesson, const std::string& format) {
  // From the lessons' folder, so that the header names the file as a user would type it.
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(KELPA_LESSONS_DIR);
  std::ostringstream out;
  std::ostringstream err;
  const int status = RunRunner({"--run", lesson, "--format", format}, out, err);
  std::filesystem::current_path(previous);
  EXPECT_EQ(status, 0) << err.str();
  return out.str();
}

TEST(LessonGolden, ThreeLessonsInTextAndCsv) {
  for (const char* lesson :
       {"01-prioridade-e-fatia.ini", "03-prioridade-dinamica.ini", "05-swapping.ini"}) {
    for (const char* format : {"text", "csv"}) {
      const std::string name =
          std::string(lesson).substr(0, 2) + (format == std::string("text") ? ".txt" : ".csv");
      const std::string actual = RunLesson(lesson, format);
      test::CompareWithGolden("lesson-" + name, actual);
      EXPECT_EQ(RunLesson(lesson, format), actual) << lesson << " differs from one run to the next";
    }
  }
}

// An event of the whole system names no process: no pid, no states.
TEST(LessonGolden, SystemEventsCarryNoProcess) {
  const std::string json = RunLesson("05-swapping.ini", "json");
  int system = 0;
  std::istringstream lines(json);
  for (std::string line; std::getline(lines, line);) {
    for (const char* kind : {"FreeFramesLow", "SwapStarted", "ModifiedListWritten"}) {
      if (line.find("\"event\":\"" + std::string(kind) + "\"") != std::string::npos) {
        ++system;
        EXPECT_NE(line.find("\"pid\":null,\"from\":null,\"to\":null,"), std::string::npos) << line;
      }
    }
  }
  EXPECT_GT(system, 0);
}

}  // namespace
}  // namespace kelpa
