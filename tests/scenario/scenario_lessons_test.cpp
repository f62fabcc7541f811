// SPDX-License-Identifier: MIT
// The shipped lessons: each reads, writes back to itself, and shows in its log what its comments
// tell the student to watch for (and, run with the option the comments suggest, stops showing it).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "lesson_run.h"
#include "support/temp_working_directory.h"

namespace kelpa {
namespace {

using test::LessonFolder;
using test::RunLesson;

std::vector<std::string> Lessons() {
  std::vector<std::string> paths;
  for (const auto& entry : std::filesystem::directory_iterator(LessonFolder())) {
    paths.push_back(entry.path().string());
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

bool Shows(const std::vector<std::string>& log, const std::string& fragment) {
  return std::any_of(log.begin(), log.end(),
                     [&](const std::string& line) { return line.find(fragment) != line.npos; });
}

TEST(ScenarioLessons, ThereAreElevenAndEachReadsBackFromWhatItWrites) {
  const TMessages msg;
  const auto lessons = Lessons();
  EXPECT_EQ(lessons.size(), 11u);
  for (const std::string& path : lessons) {
    const ScenarioReading read = ReadScenarioFile(path, msg);
    ASSERT_TRUE(read.Value) << read.Error->Text();
    EXPECT_FALSE(read.Value->Title.empty()) << path;
    const std::string written = WriteScenario(*read.Value);
    const ScenarioReading again = ParseScenario(written, "written.ini", msg);
    ASSERT_TRUE(again.Value) << again.Error->Text() << "\n" << written;
    EXPECT_EQ(*again.Value, *read.Value) << path;
    EXPECT_EQ(WriteScenario(*again.Value), written) << path;
  }
}

struct Expectation {
  const char* Lesson;
  const char* Set;  // an override, or empty
  const char* Fragment;
  bool Shown;
};

TEST(ScenarioLessons, EachShowsWhatItsCommentsPromise) {
  const std::vector<Expectation> table = {
      {"01-prioridade-e-fatia.ini", "", " Executando -> Pronto por tempo ", true},
      {"02-preempcao.ini", "", " Executando -> Pronto por prioridade ", true},
      {"02-preempcao.ini", "GLOBAL.PREEMPCAO=0", " Executando -> Pronto por prioridade ", false},
      {"03-prioridade-dinamica.ini", "", " Aumento de prioridade +2", true},
      {"03-prioridade-dinamica.ini", "GLOBAL.PRIORIDADE_DINAMICA=0", " Aumento de prioridade ",
       false},
      {"04-busca-por-demanda.ini", "", " Exec -> Page Fault 0", true},
      {"04-busca-por-demanda.ini", "", " HwPF - Imagem 0", true},
      {"04-busca-por-demanda.ini", "", " SwPF - LPM ", true},
      {"04-busca-por-demanda.ini", "", "Iniciando Swap", false},
      {"05-swapping.ini", "", "Iniciando Swap", true},
      {"05-swapping.ini", "", " IO outswapped", true},
      {"05-swapping.ini", "", " swap in", true},
      {"05-swapping.ini", "MEMORIA.MIN_LIVRES=0", "Iniciando Swap", false},
      {"06-fcfs-sjf-srtf.ini", "", " escolhido: o primeiro a chegar à fila (FCFS)", true},
      {"06-fcfs-sjf-srtf.ini", "GLOBAL.ESCALONADOR=SRTF",
       " escolhido: o menor tempo restante, 2 ticks (SRTF)", true},
      {"06-fcfs-sjf-srtf.ini", "GLOBAL.ESCALONADOR=SRTF", " tem menos a executar (SRTF)", true},
      {"08-mlfq.ini", "", " gastou sua cota e desce ao nível 1 (MLFQ)", true},
      {"08-mlfq.ini", "", "Impulso", false},
      {"08-mlfq.ini", "GLOBAL.MLFQ_IMPULSO=10", "Impulso: todos os processos voltam ao nível 2",
       true},
      {"09-substituicao.ini", "", " substitui a página", false},
      {"09-substituicao.ini", "MEMORIA.SUBSTITUICAO=LRU", "(LRU: a usada há mais tempo)", true},
  };
  for (const Expectation& e : table) {
    std::vector<ScenarioOverride> set;
    if (*e.Set != '\0') {
      set.push_back(*ParseOverride(e.Set));
    }
    const auto log = RunLesson((LessonFolder() / e.Lesson).string(), set);
    ASSERT_FALSE(log.empty()) << e.Lesson;
    EXPECT_EQ(Shows(log, e.Fragment), e.Shown) << e.Lesson << " " << e.Set << ": " << e.Fragment;
  }
}

// A timed change of an option: at tick 0 it is the option from the start (it comes before the
// first arrivals); at tick K the run is the lesson's until K and another from there.
TEST(ScenarioLessons, ATimedChangeIsTheOptionFromItsTick) {
  const struct {
    const char* Lesson;
    const char* Section;
    const char* Key;
    const char* Value;
  } table[] = {
      {"02-preempcao.ini", "GLOBAL", "PREEMPCAO", "0"},
      {"03-prioridade-dinamica.ini", "GLOBAL", "PRIORIDADE_DINAMICA", "0"},
      {"02-preempcao.ini", "GLOBAL", "TEMPO_REAL", "3"},
      {"01-prioridade-e-fatia.ini", "GLOBAL", "FATIA", "7"},
      {"03-prioridade-dinamica.ini", "GLOBAL", "ESPERA_IO", "9"},
      {"05-swapping.ini", "MEMORIA", "BUSCA", "DEMANDA"},
      {"04-busca-por-demanda.ini", "MEMORIA", "LIMITE_FRAMES", "0"},
      {"04-busca-por-demanda.ini", "MEMORIA", "SUBSTITUICAO", "LRU"},
      {"08-mlfq.ini", "GLOBAL", "ESCALONADOR", "FCFS"},
      {"08-mlfq.ini", "GLOBAL", "MLFQ_NIVEIS", "2"},
      {"08-mlfq.ini", "GLOBAL", "MLFQ_COTA", "1"},
      {"08-mlfq.ini", "GLOBAL", "MLFQ_IMPULSO", "10"},
      {"05-swapping.ini", "MEMORIA", "MIN_LIVRES", "0"},
  };
  // A new option that may change in a run needs a lesson it changes.
  for (const OptionRow& row : kOptionTable) {
    const bool listed = std::any_of(std::begin(table), std::end(table),
                                    [&row](const auto& c) { return c.Key == row.Key; });
    EXPECT_EQ(listed, row.Changeable) << row.Key;
  }
  constexpr std::int64_t kAt = 30;
  const auto before = [](const std::vector<std::string>& log, std::int64_t tick) {
    std::vector<std::string> lines;
    for (const std::string& line : log) {
      if (std::stoll(line) < tick) {
        lines.push_back(line);
      }
    }
    return lines;
  };
  for (const auto& c : table) {
    const std::string path = (LessonFolder() / c.Lesson).string();
    const std::string key = c.Key + std::string("=") + c.Value;
    const auto changeAt = [&](std::int64_t tick) {
      return RunLesson(path, {*ParseOverride("MUDANCA 1.TICK=" + std::to_string(tick)),
                              *ParseOverride("MUDANCA 1." + key)});
    };
    const auto lesson = RunLesson(path);
    const auto fromStart = RunLesson(path, {*ParseOverride(c.Section + std::string(".") + key)});
    ASSERT_FALSE(lesson.empty()) << c.Lesson;
    EXPECT_NE(fromStart, lesson) << key << ": the option changes nothing in " << c.Lesson;
    EXPECT_EQ(changeAt(0), fromStart) << key;
    const auto midway = changeAt(kAt);
    EXPECT_EQ(before(midway, kAt), before(lesson, kAt)) << key;
    EXPECT_NE(midway, lesson) << key;
  }
}

TEST(ScenarioLessons, TheLowPriorityProcessRunsOnlyOnceTheHigherOnesHaveEnded) {
  const auto log = RunLesson((LessonFolder() / "01-prioridade-e-fatia.ini").string());
  const auto position = [&](const std::string& fragment) {
    return std::find_if(log.begin(), log.end(),
                        [&](const std::string& line) { return line.find(fragment) != line.npos; });
  };
  // Created at tick 0, the three get identifiers 0, 1 and 2.
  const auto secondEnded = position("Processo 1 eliminado");
  const auto thirdRuns = position("Processo 2 Pronto -> Exec ");
  ASSERT_NE(secondEnded, log.end());
  ASSERT_NE(thirdRuns, log.end());
  EXPECT_LT(secondEnded, thirdRuns);
}

}  // namespace
}  // namespace kelpa
