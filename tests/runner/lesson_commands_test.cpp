// SPDX-License-Identifier: MIT
// The command each lesson's comments suggest, typed as a student would from the lessons' folder:
// it runs, and it shows what the comments say it shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "runner/command_line.h"

namespace kelpa {
namespace {

using Words = std::vector<std::string>;

Words Split(const std::string& line) {
  std::istringstream in(line);
  return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

// The words after "kelpa" of the lesson's one suggested command (a comment line "; kelpa ...").
Words SuggestedCommand(const std::string& lesson) {
  std::ifstream in(std::string(KELPA_LESSONS_DIR) + "/" + lesson);
  Words found;
  for (std::string line; std::getline(in, line);) {
    const Words words = Split(line);
    if (words.size() > 2 && words[0] == ";" && words[1] == "kelpa") {
      EXPECT_TRUE(found.empty()) << lesson << " suggests two commands";
      found.assign(words.begin() + 2, words.end());
    }
  }
  return found;
}

std::string RunCommand(const Words& args) {
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(KELPA_LESSONS_DIR);
  std::ostringstream out;
  std::ostringstream err;
  const int status = RunRunner(args, out, err);
  std::filesystem::current_path(previous);
  EXPECT_EQ(status, 0) << testing::PrintToString(args) << ": " << err.str();
  return out.str();
}

int Lines(const std::string& text, const std::string& fragment) {
  int count = 0;
  for (std::size_t at = 0; (at = text.find(fragment, at)) != std::string::npos; ++at) {
    ++count;
  }
  return count;
}

// The values of the first row captioned `caption` after the line that starts with `after`.
Words Row(const std::string& text, const std::string& after, const std::string& caption) {
  std::istringstream lines(text);
  bool past = after.empty();
  for (std::string line; std::getline(lines, line);) {
    past = past || line.starts_with(after);
    if (past && line.starts_with(caption + " ")) {
      return Split(line.substr(caption.size()));
    }
  }
  ADD_FAILURE() << "no row " << caption << " after " << after;
  return {};
}

// The values of the row captioned `caption` after each line that starts with `after`, across the
// tables a wide comparison is split into.
Words RowAcrossTables(const std::string& text, const std::string& after,
                      const std::string& caption) {
  std::istringstream lines(text);
  Words values;
  bool armed = false;
  for (std::string line; std::getline(lines, line);) {
    armed = armed || line.starts_with(after);
    if (armed && line.starts_with(caption + " ")) {
      const Words some = Split(line.substr(caption.size()));
      values.insert(values.end(), some.begin(), some.end());
      armed = false;
    }
  }
  return values;
}

int Number(const Words& row, std::size_t index) {
  return index < row.size() ? std::stoi(row[index]) : -1;
}

struct Promise {
  const char* Lesson;
  // The lesson's own run (none for a comparison, which holds both) and the suggested command's.
  std::function<void(const std::string& lesson, const std::string& suggested)> Holds;
};

TEST(LessonCommands, EachSuggestedCommandShowsWhatTheLessonPromises) {
  const Promise promises[] = {
      {"01-prioridade-e-fatia.ini",
       [](const std::string& lesson, const std::string& suggested) {
         // A longer slice: fewer switches.
         EXPECT_LT(Lines(suggested, " Pronto -> Exec "), Lines(lesson, " Pronto -> Exec "));
       }},
      {"02-preempcao.ini",
       [](const std::string& lesson, const std::string& suggested) {
         EXPECT_GT(Lines(lesson, " Executando -> Pronto por prioridade "), 0);
         EXPECT_EQ(Lines(suggested, " Executando -> Pronto por prioridade "), 0);
         EXPECT_GT(Lines(suggested, " Executando -> Pronto por tempo "), 0);
       }},
      {"03-prioridade-dinamica.ini",
       [](const std::string& lesson, const std::string& suggested) {
         // The I/O process (process 2) waits longer ready without its raises.
         const std::string table = "Processo  PID";
         EXPECT_GT(Number(Row(suggested, table, "2"), 4), Number(Row(lesson, table, "2"), 4));
       }},
      {"04-busca-por-demanda.ini",
       [](const std::string&, const std::string& compared) {
         const Words faults = Row(compared, "", "Total Page Fault");
         ASSERT_EQ(faults.size(), 2u);
         EXPECT_EQ(faults[0], faults[1]);  // the loads at creation are faults too
         const Words second = Row(compared, "Processo 2", "  PFault");
         EXPECT_GT(Number(second, 0), 0);
         EXPECT_EQ(Number(second, 1), 0);
         const Words first = Row(compared, "Processo 1", "  PFault");
         EXPECT_EQ(Number(first, 0), Number(first, 1));
       }},
      {"05-swapping.ini",
       [](const std::string& lesson, const std::string& suggested) {
         EXPECT_GT(Lines(lesson, "Iniciando Swap"), 0);
         EXPECT_EQ(Lines(suggested, "Iniciando Swap"), 0);
       }},
      // The figures each textbook lesson's comments quote, as the comparison prints them.
      {"06-fcfs-sjf-srtf.ini",
       [](const std::string&, const std::string& compared) {
         const std::string means = "Média dos terminados";
         EXPECT_EQ(Row(compared, means, "  Retorno"), (Words{"24.50", "24.00", "13.50"}));
         EXPECT_EQ(Row(compared, means, "  Espera"), (Words{"16.00", "15.50", "5.00"}));
         EXPECT_EQ(Row(compared, "Processo 1", "  Término"), (Words{"20", "20", "34"}));
       }},
      {"07-round-robin.ini",
       [](const std::string&, const std::string& compared) {
         const std::string means = "Média dos terminados";
         EXPECT_EQ(Row(compared, means, "  Resposta"), (Words{"1.00", "10.00"}));
         EXPECT_EQ(Row(compared, means, "  Retorno"), (Words{"29.00", "20.00"}));
         EXPECT_EQ(Row(compared, means, "  Espera"), (Words{"19.00", "10.00"}));
       }},
      {"08-mlfq.ini",
       [](const std::string&, const std::string& compared) {
         const std::string ticks = "Processos em ticks";
         EXPECT_EQ(Row(compared, ticks, "  Término"), (Words{"-", "93"}));
         EXPECT_EQ(Row(compared, ticks, "  Ticks de UCP"), (Words{"3", "20"}));
       }},
      {"09-substituicao.ini",
       [](const std::string&, const std::string& compared) {
         EXPECT_EQ(RowAcrossTables(compared, "Processos em ticks", "  Falhas"),
                   (Words{"11", "9", "10", "7"}));
       }},
      {"10-belady.ini",
       [](const std::string&, const std::string& compared) {
         // Process 1 has three frames, process 2 four: under FIFO (first column) the one with
         // more faults more, under LRU less.
         const std::string ticks = compared.substr(compared.find("Processos em ticks"));
         EXPECT_EQ(Row(ticks, "Processo 1", "  Falhas"), (Words{"9", "10"}));
         EXPECT_EQ(Row(ticks, "Processo 2", "  Falhas"), (Words{"10", "8"}));
       }},
  };
  for (const Promise& p : promises) {
    SCOPED_TRACE(p.Lesson);
    const Words command = SuggestedCommand(p.Lesson);
    ASSERT_GE(command.size(), 2u);
    ASSERT_EQ(command[1], p.Lesson);
    const bool compare = command[0] == "--compare";
    // Without what follows the file, a --run is the lesson as it is.
    const Words lesson(command.begin(), command.begin() + 2);
    p.Holds(compare ? "" : RunCommand(lesson), RunCommand(command));
  }
}

}  // namespace
}  // namespace kelpa
