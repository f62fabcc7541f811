// SPDX-License-Identifier: MIT
// --tarefa for a class of 30 without the PDF painter: each student's draw, the whole run, the key
// and the table to fill in, and both documents built. Each repetition is one whole class; the
// median, 99th percentile and largest come from the repetitions.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "runner/homework.h"

namespace kelpa::bench {
namespace {

// The shipped homework lesson (examples/scenarios/11-tarefa-sjf.ini) without its comments.
constexpr const char* kLesson =
    "[CENARIO]\nFORMATO=1\nTITULO=SJF com tarefas sorteadas\nTICKS=40\n[GLOBAL]\n"
    "ESCALONADOR=SJF\n[GERAR]\nSEMENTE=11\nPROCESSOS=4\nTIPOS=CPU\nPRIORIDADE=7\nFRAMES=1-3\n"
    "CHEGADA=0-6\nRAJADA=2-8\n[TAREFA]\nTICKS=0-15\nFIGURAS=1\nFALHAS=1\n";

void BM_HomeworkClassOf30(benchmark::State& state) {
  const TMessages msg;
  const StatisticsCaptionTexts captions;
  std::vector<Student> students;
  for (int i = 1; i <= 30; ++i) {
    students.push_back({"Aluno " + std::to_string(i), i});
  }
  for (auto _ : state) {
    const HomeworkReading homework = DrawHomework(kLesson, "aula.ini", students, msg, captions);
    for (const StudentHomework& h : homework.Students) {
      benchmark::DoNotOptimize(HomeworkDocument(h, msg, false));
      benchmark::DoNotOptimize(HomeworkDocument(h, msg, true));
    }
    benchmark::DoNotOptimize(HomeworkIndexCsv(homework.Students));
  }
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

}  // namespace
}  // namespace kelpa::bench
