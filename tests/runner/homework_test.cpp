// SPDX-License-Identifier: MIT
// --tarefa and --corrigir FOLDER: a class's homework drawn, written and graded, with a painter
// that keeps the documents it is given instead of writing PDF.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "runner/command_line.h"
#include "runner/student_list.h"
#include "scenario/scenario.h"
#include "support/temp_working_directory.h"

namespace kelpa {
namespace {

namespace fs = std::filesystem;

const std::string kLesson = KELPA_LESSONS_DIR "/11-tarefa-sjf.ini";

// The documents painted, by the file they were for (the painter is handed a temporary file).
struct FakePainter {
  std::map<std::string, PrintDocument> Documents;
  bool Fails = false;
  PdfPainter Painter() {
    return [this](const PrintDocument& doc, const std::string& file) {
      Documents[fs::path(file).parent_path().filename().string() + "/" +
                std::to_string(Documents.size())] = doc;
      std::ofstream(file) << "%PDF";
      return !Fails;
    };
  }
};

struct Result {
  int Status;
  std::string Out;
  std::string Err;
};

Result Kelpa(const std::vector<std::string>& args, PdfPainter pdf = {}) {
  std::ostringstream out;
  std::ostringstream err;
  const int status = RunRunner(args, out, err, {}, kDefaultTextWidth, std::move(pdf));
  return {status, out.str(), err.str()};
}

std::map<std::string, std::string> Files(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    files[entry.path().filename().string()] = test::ReadBytes(entry.path().string());
  }
  return files;
}

// The table of a --format states run, without its comments, cut to the ticks first..last.
std::string StatesOf(const std::string& scenario, int first, int last) {
  const Result run = Kelpa({"--run", scenario, "--format", "states"});
  std::istringstream in(run.Out);
  std::string table;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with('#')) {
      continue;
    }
    if (line.starts_with("tick") || (std::stoi(line) >= first && std::stoi(line) <= last)) {
      table += line + '\n';
    }
  }
  return table;
}

constexpr const char* kClass =
    "\xEF\xBB\xBFMaria Jos\xC3\xA9 Silva\r\n\r\n  Jo\xC3\xA3o  \r\n3\r\n";

TEST(Homework, TheSameClassGivesTheSameFilesAndEachKeyIsARunOfItsScenario) {
  const test::TempWorkingDirectory dir;
  test::WriteBytes("turma.txt", kClass);
  FakePainter painter;
  for (const char* folder : {"a", "b/c"}) {
    const Result r =
        Kelpa({"--tarefa", kLesson, "--alunos", "turma.txt", "--saida", folder}, painter.Painter());
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, std::string("3 tarefas gravadas em ") + folder + "\n");
  }
  const auto a = Files("a");
  EXPECT_EQ(a, Files("b/c"));  // the PDFs are the fake painter's: the rest is byte for byte
  std::set<std::string> scenarios;
  for (const char* stem : {"01-maria-jose-silva", "02-joao", "03-3"}) {
    for (const char* suffix :
         {".ini", "-folha.pdf", "-gabarito.pdf", "-gabarito.csv", "-respostas.csv"}) {
      EXPECT_TRUE(a.contains(stem + std::string(suffix))) << stem << suffix;
    }
    const std::string ini = std::string("a/") + stem + ".ini";
    const Result check = Kelpa({"--check", ini});
    EXPECT_EQ(check.Status, 0) << check.Err;
    EXPECT_EQ(check.Out, a.at(stem + std::string(".ini"))) << stem;
    EXPECT_NE(check.Out.find("[TAREFA]\nTICKS=0-15\n"), std::string::npos) << stem;
    EXPECT_EQ(check.Out.find("[GERAR]"), std::string::npos) << stem;
    scenarios.insert(check.Out);
    EXPECT_EQ(a.at(stem + std::string("-gabarito.csv")), StatesOf(ini, 0, 15)) << stem;
    // The table to fill in: the key's ticks, every state blank.
    std::istringstream key(a.at(stem + std::string("-gabarito.csv")));
    std::string blank;
    for (std::string line; std::getline(key, line);) {
      blank += line.starts_with("tick") ? line : line.substr(0, line.find(',')) + ",,,,,";
      blank += '\n';
    }
    EXPECT_EQ(a.at(stem + std::string("-respostas.csv")), blank) << stem;
  }
  EXPECT_EQ(scenarios.size(), 3u);
  EXPECT_EQ(a.size(), 3u * 5 + 2);  // and indice.csv, indice.pdf
  EXPECT_TRUE(a.at("indice.csv")
                  .starts_with("order,name,seed,stem,scenario,worksheet,key_pdf,key_csv,answers\n"
                               "1,Maria Jos\xC3\xA9 Silva,"))
      << a.at("indice.csv");
  EXPECT_NE(a.at("indice.csv").find(",02-joao,02-joao.ini,02-joao-folha.pdf,"), std::string::npos);
}

// The worksheet asks and the key answers: the same blocks, the key's cells filled in.
TEST(Homework, TheWorksheetAsksAndTheKeyAnswers) {
  const test::TempWorkingDirectory dir;
  test::WriteBytes("turma.txt", "Ana\n");
  // The shipped lesson asking the faults too, under demand fetch, where there are some.
  std::string lesson = test::ReadBytes(kLesson);
  lesson.replace(lesson.rfind("FALHAS=0"), 8, "FALHAS=1\n[MEMORIA]\nBUSCA=DEMANDA");
  test::WriteBytes("aula.ini", lesson);
  FakePainter painter;
  const Result r =
      Kelpa({"--tarefa", "aula.ini", "--alunos", "turma.txt", "--saida", "out"}, painter.Painter());
  ASSERT_EQ(r.Status, 0) << r.Err;
  ASSERT_EQ(painter.Documents.size(), 3u);
  const PrintDocument& sheet = painter.Documents.at("out/0");
  const PrintDocument& key = painter.Documents.at("out/1");
  EXPECT_EQ(sheet.Title, "Tarefa: SJF com tarefas sorteadas");
  EXPECT_EQ(key.Title, "Gabarito: SJF com tarefas sorteadas");
  ASSERT_EQ(sheet.Blocks.size(), key.Blocks.size());
  const std::string keyCsv = test::ReadBytes("out/01-ana-gabarito.csv");
  std::vector<std::string> headings;
  int tables = 0;
  for (std::size_t i = 0; i < sheet.Blocks.size(); ++i) {
    const PrintBlock& asked = sheet.Blocks[i];
    const PrintBlock& answered = key.Blocks[i];
    if (asked.What == PrintBlock::Kind::Heading) {
      headings.push_back(asked.Text);
    }
    if (asked.What != PrintBlock::Kind::Table || !asked.Table.Ruled) {
      EXPECT_TRUE(asked.Text == answered.Text || asked.What == PrintBlock::Kind::Title);
      continue;
    }
    // A question: every cell but the first of a row blank in the worksheet, none in the key.
    ++tables;
    EXPECT_EQ(asked.Table.Columns, answered.Table.Columns);
    ASSERT_EQ(asked.Table.Rows.size(), answered.Table.Rows.size());
    for (std::size_t r = 0; r < asked.Table.Rows.size(); ++r) {
      EXPECT_EQ(asked.Table.Rows[r][0], answered.Table.Rows[r][0]);
      std::string row = answered.Table.Rows[r][0];
      for (std::size_t c = 1; c < asked.Table.Rows[r].size(); ++c) {
        EXPECT_EQ(asked.Table.Rows[r][c], "");
        EXPECT_NE(answered.Table.Rows[r][c], "");
        row += "," + answered.Table.Rows[r][c];
      }
      if (tables == 1) {  // the states: the key's csv, row for row
        EXPECT_NE(keyCsv.find(row + "\n"), std::string::npos) << row;
      }
    }
  }
  EXPECT_EQ(tables, 3);
  EXPECT_EQ(headings, (std::vector<std::string>{
                          "O cenário", "Os estados, do tick 0 ao 15",
                          "Os tempos de cada processo, em ticks, ao fim de 40 ticks",
                          "As faltas de página de cada processo ao fim de 40 ticks", "Rascunho"}));
  EXPECT_EQ(sheet.Blocks.back().What, PrintBlock::Kind::WritingSpace);
  // The teacher's index: one row per student, with the seed the worksheet gives.
  const PrintDocument& index = painter.Documents.at("out/2");
  EXPECT_EQ(index.Title, "Índice da tarefa: SJF com tarefas sorteadas");
  ASSERT_EQ(index.Blocks.at(1).Table.Rows.size(), 1u);
  const std::vector<std::string>& row = index.Blocks.at(1).Table.Rows[0];
  EXPECT_EQ(row.at(1), "Ana");
  EXPECT_EQ("Aluno: Ana (semente " + row.at(2) + ")", sheet.Blocks.at(1).Text);
  EXPECT_EQ(row.at(3), "01-ana");
}

struct Refusal {
  const char* Name;
  std::string Lesson;  // appended to the shipped lesson's [CENARIO]..[GERAR], or the whole file
  std::string List;
  bool Painter;
  std::string Err;
};

TEST(Homework, RefusesBeforeWritingAnything) {
  const test::TempWorkingDirectory dir;
  const std::string base = "[CENARIO]\nTITULO=t\nTICKS=10\n[GERAR]\nPROCESSOS=2\nRAJADA=1-3\n";
  const Refusal refusals[] = {
      {"no painter", base, "Ana\n", false,
       "kelpa: esta versão do kelpa não grava PDF; --tarefa não gravou nada\n"},
      {"a student twice", base, "Ana\nBia\n ana \n", true,
       "turma.txt:3: aluno repetido \"ana\" (já na linha 1)\n"},
      {"an empty list", base, "\xEF\xBB\xBF \r\n\r\n", true,
       "turma.txt: a lista não tem nenhum aluno\n"},
      {"a bad [TAREFA] value", base + "[TAREFA]\nFIGURAS=SIM\n", "Ana\n", true,
       "aula.ini:8: FIGURAS: número malformado \"SIM\"\n"},
      {"ticks past the run", base + "[TAREFA]\nTICKS=5-10\n", "Ana\n", true,
       "aula.ini:8: TICKS: o último tick pedido, 10, passa do último tick do cenário (9)\n"},
      {"no [GERAR]", "[CENARIO]\nTICKS=10\n[PROCESSO 1]\n", "Ana\n", true,
       "aula.ini: a lição não tem seção [GERAR]: não há processos a sortear para cada aluno\n"},
  };
  FakePainter painter;
  for (const Refusal& r : refusals) {
    test::WriteBytes("aula.ini", r.Lesson);
    test::WriteBytes("turma.txt", r.List);
    const Result result = Kelpa({"--tarefa", "aula.ini", "--alunos", "turma.txt", "--saida", "out"},
                                r.Painter ? painter.Painter() : PdfPainter{});
    EXPECT_EQ(result.Status, 2) << r.Name;
    EXPECT_EQ(result.Err, r.Err) << r.Name;
    EXPECT_FALSE(fs::exists("out")) << r.Name;
  }
  EXPECT_TRUE(painter.Documents.empty());
  // The lesson with [TAREFA] is a scenario like any other.
  test::WriteBytes("aula.ini", base + "[TAREFA]\nTICKS=0-9\nFIGURAS=0\n");
  EXPECT_EQ(Kelpa({"--check", "aula.ini"}).Status, 0);
  EXPECT_EQ(Kelpa({"--tarefa", "aula.ini", "--alunos", "turma.txt"}).Err,
            "kelpa: --tarefa precisa de --alunos LIST e --saida FOLDER\n"
            "Use kelpa --help para ver as opções.\n");
  // A PDF that cannot be written is a run error.
  painter.Fails = true;
  const Result failed =
      Kelpa({"--tarefa", "aula.ini", "--alunos", "turma.txt", "--saida", "out"}, painter.Painter());
  EXPECT_EQ(failed.Status, 3);
  EXPECT_EQ(failed.Err, "kelpa: não foi possível gravar out/01-ana-folha.pdf\n");
  EXPECT_FALSE(fs::exists("out/01-ana-folha.pdf"));
}

TEST(Homework, TheSeedTheStemAndTheDefaultTicksFollowTheirRules) {
  // Without [TAREFA] TICKS: the first 20 ticks, or the whole of a shorter run.
  EXPECT_EQ(HomeworkQuestions{}.TickRange(100), (std::pair<std::int64_t, std::int64_t>{0, 19}));
  EXPECT_EQ(HomeworkQuestions{}.TickRange(7), (std::pair<std::int64_t, std::int64_t>{0, 6}));
  EXPECT_EQ(HomeworkSeed("", ""), 0x050C5D1FU);  // FNV-1a of the one zero byte
  EXPECT_NE(HomeworkSeed("x", "ab"), HomeworkSeed("xa", "b"));
  const std::pair<int, const char*> stems[][2] = {
      {{7, "Maria Jos\xC3\xA9 Silva"}, {0, "07-maria-jose-silva"}},
      {{1, "O'Brien, \xC3\x86sa \xC3\x9Cnal"}, {0, "01-o-brien-asa-unal"}},
      {{100, "\xE6\x9D\x8E"}, {0, "100"}},
      {{3, "3"}, {0, "03-3"}},
  };
  for (const auto& s : stems) {
    EXPECT_EQ(StudentStem(s[0].first, s[0].second), s[1].second);
  }
}

TEST(Homework, TheFolderIsGradedStudentByStudent) {
  const test::TempWorkingDirectory dir;
  test::WriteBytes("turma.txt", "Ana\nBia; a outra\nCaio\nDora\nEdu\n");
  FakePainter painter;
  ASSERT_EQ(Kelpa({"--tarefa", kLesson, "--alunos", "turma.txt", "--saida", "t"}, painter.Painter())
                .Status,
            0);
  // Ana hands in the key itself; Bia two cells wrong; Caio nothing; Dora a binary file; Edu the
  // table as it was written, blank.
  test::WriteBytes("t/01-ana-respostas.csv", test::ReadBytes("t/01-ana-gabarito.csv"));
  std::string bia = test::ReadBytes("t/02-bia-a-outra-gabarito.csv");
  for (const char* row : {"\n0,", "\n1,"}) {
    const auto cell = bia.find(row) + 3;
    bia.replace(cell, bia.find(',', cell) - cell, bia.compare(cell, 3, "RDY") == 0 ? "RUN" : "RDY");
  }
  test::WriteBytes("t/02-bia-a-outra-respostas.csv", bia);
  fs::remove("t/03-caio-respostas.csv");
  test::WriteBytes("t/04-dora-respostas.csv", std::string("tick\0", 5));
  const Result r = Kelpa({"--corrigir", "t"});
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out,
            "stem,name,right,answered,total,percent,status,message\n"
            "01-ana,Ana,80,80,80,100,corrigida,\n"
            "02-bia-a-outra,\"Bia; a outra\",78,80,80,97,corrigida,\n"
            "03-caio,Caio,,,80,,não entregue,\n"
            "04-dora,Dora,,,80,,ilegível,\"t/04-dora-respostas.csv:1: arquivo binário (byte NUL); "
            "a tabela deve ser texto CSV\"\n"
            "05-edu,Edu,,,80,,não entregue,\n");
  EXPECT_EQ(Kelpa({"--corrigir", "turma.txt"}).Status, 2);  // a file alone is no folder
  fs::create_directory("empty");
  EXPECT_EQ(Kelpa({"--corrigir", "empty"}).Err,
            "empty: nenhuma chave (NOME-gabarito.csv) na pasta\n");
}

}  // namespace
}  // namespace kelpa
