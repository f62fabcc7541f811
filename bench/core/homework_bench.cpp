// SPDX-License-Identifier: MIT
// --tarefa for a class of 30 without the PDF painter: each student's draw, the whole run, the key
// and the table to fill in, and both documents built. Each repetition is one whole class; the
// median, 99th percentile and largest come from the repetitions.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "runner/command_line.h"
#include "runner/homework.h"

namespace kelpa::bench {
namespace {

// The shipped homework lesson (examples/scenarios/11-tarefa-sjf.ini) without its comments.
constexpr const char* kLesson =
    "[CENARIO]\nFORMATO=1\nTITULO=SJF com tarefas sorteadas\nTICKS=40\n[GLOBAL]\n"
    "ESCALONADOR=SJF\n[GERAR]\nSEMENTE=11\nPROCESSOS=4\nTIPOS=CPU\nPRIORIDADE=7\nFRAMES=1-3\n"
    "CHEGADA=0-6\nRAJADA=2-8\n[TAREFA]\nTICKS=0-15\nFIGURAS=1\nFALHAS=0\n";

void BM_HomeworkClassOf30(benchmark::State& state) {
  const TMessages msg;
  const StatisticsCaptionTexts captions;
  std::vector<Student> students;
  for (int i = 1; i <= 30; ++i) {
    students.push_back({"Aluno " + std::to_string(i), i});
  }
  std::size_t drawn = 0;
  for (auto _ : state) {
    const HomeworkReading homework = DrawHomework(kLesson, "aula.ini", students, msg, captions);
    drawn = homework.Students.size();
    for (const StudentHomework& h : homework.Students) {
      benchmark::DoNotOptimize(HomeworkDocument(h, msg, false));
      benchmark::DoNotOptimize(HomeworkDocument(h, msg, true));
    }
    benchmark::DoNotOptimize(HomeworkIndexCsv(homework.Students));
  }
  state.counters["students"] = static_cast<double>(drawn);
}
BENCHMARK(BM_HomeworkClassOf30)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(15)
    ->ComputeStatistics("p99",
                        [](const std::vector<double>& v) {
                          std::vector<double> sorted = v;
                          std::sort(sorted.begin(), sorted.end());
                          return sorted[std::min(sorted.size() - 1, sorted.size() * 99 / 100)];
                        })
    ->ComputeStatistics("max", [](const std::vector<double>& v) {
      return *std::max_element(v.begin(), v.end());
    });

// The whole flow through the runner, files on the disk: --tarefa for 30 (a painter that writes a
// placeholder instead of a PDF), then --corrigir over the folder with every student's table
// handed in.
void BM_HomeworkWriteAndGradeClassOf30(benchmark::State& state) {
  const auto folder = std::filesystem::temp_directory_path() / "kelpa-homework-bench";
  std::filesystem::create_directories(folder);
  const std::string lesson = (folder / "aula.ini").string();
  const std::string list = (folder / "turma.txt").string();
  std::ofstream(lesson) << kLesson;
  {
    std::ofstream names(list);
    for (int i = 1; i <= 30; ++i) {
      names << "Aluno " << i << '\n';
    }
  }
  const PdfPainter painter = [](const PrintDocument&, const std::string& file) {
    return static_cast<bool>(std::ofstream(file) << "%PDF");
  };
  const std::string out = (folder / "tarefas").string();
  for (auto _ : state) {
    std::ostringstream sink;
    RunRunner({"--tarefa", lesson, "--alunos", list, "--saida", out}, sink, sink, {},
              kDefaultTextWidth, painter);
    for (const auto& entry : std::filesystem::directory_iterator(out)) {
      const std::string name = entry.path().string();
      if (name.ends_with("-gabarito.csv")) {
        std::filesystem::copy_file(entry.path(),
                                   name.substr(0, name.size() - 13) + "-respostas.csv",
                                   std::filesystem::copy_options::overwrite_existing);
      }
    }
    RunRunner({"--corrigir", out}, sink, sink);
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_HomeworkWriteAndGradeClassOf30)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ComputeStatistics("max", [](const std::vector<double>& v) {
      return *std::max_element(v.begin(), v.end());
    });

}  // namespace
}  // namespace kelpa::bench
