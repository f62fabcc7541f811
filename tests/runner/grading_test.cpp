// SPDX-License-Identifier: MIT
// --corrigir: a student's table of states against a key, as students hand them in: what is
// graded and how, and what is refused with its line.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "runner/command_line.h"
#include "support/temp_working_directory.h"

namespace kelpa {
namespace {

// As the runner writes it: its header, the table, the statistics after it.
constexpr const char* kKey =
    "# Kelpa test\n# cenário: small.ini\n#\ntick,P1,P2,cpu\n0,RUN,-,1\n1,RDY,RUN,INT_SLICE\n"
    "2,IO,RDY,2\n3,IO,PF,IDLE\n# TICKS=4\n";

constexpr const char* kAllRight = "Certas: 12 de 12 respondidas (100%); 12 de 12 no total (100%)\n";

struct Case {
  const char* Name;
  std::string Answers;
  int Status;
  std::string Out;  // on a refusal, what goes to the error stream
};

TEST(Grading, ScoresWhatStudentsHandInAndRefusesWhatCannotBeRead) {
  const test::TempWorkingDirectory dir;  // no kelpa.ini: the built-in texts
  test::WriteBytes("key.csv", kKey);
  const Case cases[] = {
      {"the key itself", kKey, 0, kAllRight},
      {"one cell wrong",
       "tick,P1,P2,cpu\n0,RUN,-,1\n1,RDY,RUN,INT_SLICE\n2,IO,RUN,2\n3,IO,PF,IDLE\n", 0,
       "Certas: 11 de 12 respondidas (91%); 11 de 12 no total (91%)\n"
       "Diferenças: 1 (tick, coluna, esperado, dado)\n  tick 2, P2: esperado RDY, dado RUN\n"},
      {"blank cells, a row left out, columns reordered", "tick,cpu,P1,P2\n0,1,RUN,\n2,2,,\n", 0,
       "Certas: 3 de 3 respondidas (100%); 3 de 12 no total (25%)\n"},
      {"semicolons and quoted cells",
       "tick;P1;P2;cpu\n0;\" RUN \";-;1\n1;RDY;\"RUN\";INT_SLICE\n2;IO;RDY;\"2\"\n3;IO;PF;IDLE;;\n",
       0, kAllRight},
      {"BOM, CRLF and blank lines",
       "\xEF\xBB\xBFtick,P1,P2,cpu\r\n\r\n0,RUN,-,1\r\n1,RDY,RUN,INT_SLICE\r\n,,,\r\n"
       "2,IO,RDY,2\r\n3,IO,PF,IDLE\r\n",
       0, kAllRight},
      {"state names and lower case",
       "Tick,p1,P2,CPU\n0,execução,-,1\n1,Pronto,run,int_slice\n2,io,PRONTO,2\n3,IO,PFault,idle\n",
       0, kAllRight},
      {"a truncated file", "tick,P1,P2,cpu\n0,RUN,-,1\n1,RDY,RU", 2,
       "answers.csv:3: linha com 3 células; o título tem 4\n"},
      {"a binary file", std::string("tick,P1\n0,\0\x01", 12), 2,
       "answers.csv:2: arquivo binário (byte NUL); a tabela deve ser texto CSV\n"},
      {"a column the key lacks", "tick,P1,P3,cpu\n0,RUN,-,1\n", 2,
       "answers.csv:1: coluna P3 que a chave não tem\n"},
      {"a tick the key lacks", "# comment\ntick,P1\n0,RUN\n9,RUN\n", 2,
       "answers.csv:4: tick 9 que a chave não tem\n"},
      {"a cell that is no state", "tick,P1\n0,RAN\n", 2,
       "answers.csv:2: coluna P1: \"RAN\" não é um estado\n"},
      {"a tick given twice", "tick,P1\n0,RUN\n\n0,RDY\n", 2,
       "answers.csv:4: tick 0 repetido (já na linha 2)\n"},
      {"a processor column that is no processor", "tick,cpu\n1,RUN\n", 2,
       "answers.csv:2: coluna cpu: \"RUN\" não é um pid, IDLE, INT_PREEMPT, INT_SLICE nem "
       "INT_PF\n"},
      {"a quote left open", "tick,P1\n0,\"RUN\n", 2,
       "answers.csv:2: aspas abertas e não fechadas na linha\n"},
      {"a file over 1 MiB", "tick,P1\n#" + std::string(1 << 20, 'x') + "\n", 2,
       "answers.csv: arquivo maior que 1 MiB\n"},
  };
  for (const Case& c : cases) {
    test::WriteBytes("answers.csv", c.Answers);
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunRunner({"--corrigir", "key.csv", "answers.csv"}, out, err);
    EXPECT_EQ(status, c.Status) << c.Name;
    EXPECT_EQ(c.Status == 0 ? out.str() : err.str(), c.Out) << c.Name;
    EXPECT_EQ(c.Status == 0 ? err.str() : out.str(), "") << c.Name;
  }
}

struct Invocation {
  std::vector<std::string> Args;
  int Status;
  std::string Err;
};

TEST(Grading, TakesItsTwoFilesAsTheOtherCommandsTakeOneAndRefusesABadKey) {
  const test::TempWorkingDirectory dir;
  test::WriteBytes("key.csv", kKey);
  test::WriteBytes("holes.csv", "tick,P1\n0,\n");
  const Invocation invocations[] = {
      {{"--corrigir=key.csv", "key.csv"}, 0, ""},
      {{"--corrigir", "--", "key.csv", "key.csv"}, 0, ""},
      {{"--corrigir", "key.csv"},
       2,
       "kelpa: falta o valor de --corrigir\nUse kelpa --help para ver as opções.\n"},
      {{"--corrigir", "key.csv", "key.csv", "--ticks", "3"},
       2,
       "kelpa: opção que não cabe neste comando: --ticks\nUse kelpa --help para ver as opções.\n"},
      {{"--corrigir", "holes.csv", "key.csv"},
       2,
       "holes.csv:2: célula em branco na chave (coluna P1)\n"},
      {{"--corrigir", "missing.csv", "key.csv"},
       2,
       "missing.csv: não foi possível ler o arquivo\n"},
  };
  for (const Invocation& i : invocations) {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunRunner(i.Args, out, err), i.Status) << i.Args.front();
    EXPECT_EQ(err.str(), i.Err) << i.Args.front();
    EXPECT_EQ(out.str(), i.Status == 0 ? kAllRight : "") << i.Args.front();
  }
}

TEST(Grading, TheRunnersOwnTableIsAKeyAndAllRightAgainstItself) {
  std::ostringstream out;
  std::ostringstream err;
  const std::string key = KELPA_GOLDEN_DIR "/small.states";
  EXPECT_EQ(RunRunner({"--corrigir", key, "--", key}, out, err), 0) << err.str();
  EXPECT_TRUE(out.str().starts_with("Certas: ")) << out.str();
  EXPECT_NE(out.str().find("respondidas (100%)"), std::string::npos) << out.str();
  EXPECT_EQ(out.str().find("Diferenças"), std::string::npos) << out.str();
}

}  // namespace
}  // namespace kelpa
