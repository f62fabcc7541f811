// SPDX-License-Identifier: MIT
// Reading scenario files strictly: what a well-formed file gives, every kind of refusal with its
// exact message, and command-line overrides.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "catalogue/messages.h"
#include "platform/ini_text.h"
#include "scenario/scenario_reader.h"
#include "support/temp_working_directory.h"

namespace kelpa {
namespace {

const TMessages kMsg;

// One process, so that the rest of a case's file is all that can be wrong.
const std::string kOneProcess = "[PROCESSO 1]\n";

struct BadCase {
  const char* Name;
  std::string Text;
  std::string Error;
};

TEST(ScenarioReader, RefusesEachMalformedFileWithItsMessage) {
  const std::vector<BadCase> cases = {
      {"unknown section", "[CENARIOS]\n", "t.ini:1: seção desconhecida [CENARIOS]"},
      {"section with a number it cannot have", "[GLOBAL 2]\n",
       "t.ini:1: seção desconhecida [GLOBAL 2]"},
      {"unknown key", kOneProcess + "\n[GLOBAL]\nPREEMPCAO=1\nQUANTUM=3\n",
       "t.ini:5: chave desconhecida QUANTUM na seção [GLOBAL]"},
      {"duplicate section", "[processo 1]\n[GLOBAL]\n[PROCESSO   1]\n",
       "t.ini:3: seção [PROCESSO 1] repetida (já aberta na linha 1)"},
      {"duplicate key", "[PROCESSO 1]\nTIPO=CPU\n;x\ntipo=IO_1\n",
       "t.ini:4: chave TIPO repetida (já dada na linha 2)"},
      {"malformed number", "[PROCESSO 1]\nPRIORIDADE=4a\n",
       "t.ini:2: PRIORIDADE: número malformado \"4a\""},
      {"plus sign", "[PROCESSO 1]\nCHEGADA=+4\n", "t.ini:2: CHEGADA: número malformado \"+4\""},
      {"out of range", kOneProcess + "[GLOBAL]\nFATIA=11\n",
       "t.ini:3: FATIA: 11 fora do intervalo 1..10"},
      {"beyond 64 bits", "[PROCESSO 1]\nCHEGADA=99999999999999999999\n",
       "t.ini:2: CHEGADA: 99999999999999999999 fora do intervalo 0..1000000000"},
      {"process number", "[PROCESSO 1000]\n", "t.ini:1: PROCESSO: 1000 fora do intervalo 1..999"},
      {"process without number", "[PROCESSO]\n", "t.ini:1: PROCESSO: número malformado \"\""},
      {"unknown kind", "[PROCESSO 1]\nTIPO=IO_4\n",
       "t.ini:2: TIPO: tipo de processo desconhecido \"IO_4\" (CPU, IO_1, IO_2, IO_3, MIX_1 ou "
       "MIX_2)"},
      {"unknown fetch", kOneProcess + "[MEMORIA]\nBUSCA=LRU\n",
       "t.ini:3: BUSCA: busca desconhecida \"LRU\" (ANTECIPADA ou DEMANDA)"},
      {"malformed colour", "[PROCESSO 1]\nCOR=#12345G\n",
       "t.ini:2: COR: cor malformada \"#12345G\" (use #RRGGBB)"},
      {"colour without mark", "[PROCESSO 1]\nCOR=123456\n",
       "t.ini:2: COR: cor malformada \"123456\" (use #RRGGBB)"},
      {"empty list item", "[PROCESSO 1]\nSUSPENDE=10,,20\n",
       "t.ini:2: SUSPENDE: lista malformada \"10,,20\""},
      {"priority change without colon", "[PROCESSO 1]\nNOVA_PRIORIDADE=10=3\n",
       "t.ini:2: NOVA_PRIORIDADE: lista malformada \"10=3\""},
      {"priority change out of range", "[PROCESSO 1]\nNOVA_PRIORIDADE=10:16\n",
       "t.ini:2: NOVA_PRIORIDADE: 16 fora do intervalo 0..15"},
      {"list not ascending", "[PROCESSO 1]\nRETOMA=10,30,30\n",
       "t.ini:2: RETOMA: lista não crescente (30 depois de 30)"},
      {"suspend before arrival", "[PROCESSO 1]\nSUSPENDE=5,40\nCHEGADA=10\n",
       "t.ini:2: SUSPENDE: tick 5 antes da chegada do processo (tick 10)"},
      {"end before arrival", "[PROCESSO 1]\nCHEGADA=10\nFIM=9\n",
       "t.ini:3: FIM: tick 9 antes da chegada do processo (tick 10)"},
      {"priority change before arrival", "[PROCESSO 1]\nCHEGADA=10\nNOVA_PRIORIDADE=3:1\n",
       "t.ini:3: NOVA_PRIORIDADE: tick 3 antes da chegada do processo (tick 10)"},
      {"format", "[CENARIO]\nFORMATO=2\n", "t.ini:2: FORMATO 2 não suportado (somente 1)"},
      {"huge format", "[CENARIO]\nFORMATO=123456789012345678901\n",
       "t.ini:2: FORMATO 123456789012345678901 não suportado (somente 1)"},
      {"neither section nor key", kOneProcess + "TIPO CPU\n",
       "t.ini:2: linha que não é seção, chave nem comentário"},
      {"section with trailing text", "[GLOBAL] x\n",
       "t.ini:1: linha que não é seção, chave nem comentário"},
      {"key before any section", "; nota\nTICKS=5\n[PROCESSO 1]\n",
       "t.ini:2: chave antes de qualquer seção"},
      {"no process", "[CENARIO]\nTICKS=5\n",
       "t.ini: o cenário não tem nenhum processo (escreva [PROCESSO N] ou [GERAR])"},
      {"UTF-16", "\xFF\xFE[\0", "t.ini: arquivo em UTF-16; grave-o em UTF-8"},
      {"UTF-16 without a mark", std::string("[\0P\0", 4),
       "t.ini: arquivo em UTF-16; grave-o em UTF-8"},
      {"big-endian UTF-16 without a mark", std::string("\0[\0P", 4),
       "t.ini: arquivo em UTF-16; grave-o em UTF-8"},
      {"no number left to draw", "[PROCESSO 999]\n[GERAR]\nPROCESSOS=1\n",
       "t.ini:2: [GERAR]: não há números livres para os processos sorteados (depois do [PROCESSO "
       "999] escrito, os números só vão até 999)"},
      // What the file holds is shown safely: escapes instead of control characters, and a cut.
      {"escape sequence", "[PROCESSO 1]\nTIPO=\x1b[2J\x7f\xc2\x9b\n",
       "t.ini:2: TIPO: tipo de processo desconhecido \"\\x1b[2J\\x7f\\u009b\" (CPU, IO_1, IO_2, "
       "IO_3, "
       "MIX_1 ou MIX_2)"},
      {"huge key", "[GLOBAL]\n" + std::string(1'000'000, 'K') + "=1\n",
       "t.ini:2: chave desconhecida " + std::string(80, 'K') + "… na seção [GLOBAL]"},
      {"long value cut by characters", "[PROCESSO 1]\nCOR=" + std::string(100, 'a') + "ção\n",
       "t.ini:2: COR: cor malformada \"" + std::string(80, 'a') + "…\" (use #RRGGBB)"},
      {"malformed range", "[GERAR]\nPRIORIDADE=3-\n",
       "t.ini:2: PRIORIDADE: intervalo malformado \"3-\" (use MIN-MAX)"},
      {"inverted range", "[GERAR]\nFRAMES=4-2\n", "t.ini:2: FRAMES: mínimo 4 maior que o máximo 2"},
      {"too many drawn", "[PROCESSO 990]\n[GERAR]\nPROCESSOS=10\n",
       "t.ini:3: PROCESSOS: 10 fora do intervalo 1..9"},
      {"empty kind list", "[GERAR]\nTIPOS=\n", "t.ini:2: TIPOS: lista malformada \"\""},
      {"seed beyond 32 bits", "[GERAR]\nSEMENTE=4294967296\n",
       "t.ini:2: SEMENTE: 4294967296 fora do intervalo 0..4294967295"},
      {"change without a tick", kOneProcess + "[MUDANCA 2]\nPREEMPCAO=0\n",
       "t.ini:2: a seção [MUDANCA 2] não diz em que TICK a mudança vale"},
      {"change of the clock", kOneProcess + "[MUDANCA 1]\nTICK=5\nRELOGIO=3\n",
       "t.ini:4: chave desconhecida RELOGIO na seção [MUDANCA 1]"},
      {"change at a negative tick", kOneProcess + "[MUDANCA 1]\nTICK=-1\n",
       "t.ini:3: TICK: -1 fora do intervalo 0..1000000000"},
      {"change section twice", kOneProcess + "[MUDANCA 1]\nTICK=5\n[mudanca 1]\n",
       "t.ini:4: seção [MUDANCA 1] repetida (já aberta na linha 2)"},
  };
  for (const BadCase& c : cases) {
    const ScenarioReading read = ParseScenario(c.Text, "t.ini", kMsg);
    EXPECT_FALSE(read.Value) << c.Name;
    ASSERT_TRUE(read.Error) << c.Name;
    EXPECT_EQ(read.Error->Text(), c.Error) << c.Name;
  }
}

TEST(ScenarioReader, ReadsEveryFormAndFillsTheRestWithAFreshStart) {
  const std::string text =
      "\xEF\xBB\xBF; a lesson\n"
      "  # another note\r\n"
      "[cenario]\r\n"
      "Titulo = \"  Duas linhas  \"\r\n"
      "TICKS=600\n"
      "PAUSAS= 10 , 20\n"
      "[PROCESSO 7]\n"
      "TIPO=mix_2\n"
      "COR=#ff8000\n"
      "CHEGADA=50\n"
      "SUSPENDE=200\n"
      "RETOMA=260\n"
      "NOVA_PRIORIDADE=60:3, 90:12\n"
      "FIM=450\n"
      "[PROCESSO 2]\n"
      "[MEMORIA]\n"
      "BUSCA=DEMANDA\n";
  const ScenarioReading read = ParseScenario(text, "t.ini", kMsg);
  ASSERT_TRUE(read.Value) << read.Error->Text();
  const Scenario& s = *read.Value;
  EXPECT_EQ(s.Title, "  Duas linhas  ");
  EXPECT_EQ(s.Ticks, 600);
  EXPECT_EQ(s.PauseAt, (std::vector<std::int64_t>{10, 20}));
  EXPECT_FALSE(s.Options.AnticipatedFetch);
  EXPECT_TRUE(s.Options.Preemption);
  EXPECT_EQ(s.Options.MinFreePercent, 80);
  ASSERT_EQ(s.Processes.size(), 2u);
  // Sorted by number; an unwritten colour is the palette's at the process's position.
  const ScenarioProcess& two = s.Processes[0];
  EXPECT_EQ(two.Number, 2);
  EXPECT_EQ(two.Kind, 0);
  EXPECT_EQ(two.FrameLimit, 5);
  EXPECT_EQ(two.Color, kProcessPalette[0]);
  const ScenarioProcess& seven = s.Processes[1];
  EXPECT_EQ(seven.Kind, 5);
  EXPECT_EQ(seven.Color, MakeColor(255, 128, 0));
  EXPECT_EQ(seven.Arrival, 50);
  EXPECT_EQ(seven.SuspendAt, (std::vector<std::int64_t>{200}));
  EXPECT_EQ(seven.ResumeAt, (std::vector<std::int64_t>{260}));
  EXPECT_EQ(seven.PriorityAt, (std::vector<PriorityChange>{{60, 3}, {90, 12}}));
  EXPECT_EQ(seven.EndAt, 450);
  // The title keeps its blanks when written back.
  EXPECT_EQ(ParseScenario(WriteScenario(s), "w.ini", kMsg).Value, s);
}

// Changes of options: by tick, those at one tick in the order of their numbers, only the options
// given; written back the same.
TEST(ScenarioReader, ReadsChangesOfOptionsInTheOrderTheyTakeEffect) {
  const std::string text =
      "[PROCESSO 1]\n"
      "[MUDANCA 9]\nTICK=40\nPREEMPCAO=0\nbusca=demanda\n"
      "[MUDANCA 2]\nTICK=40\nFATIA=4\nESPERA_IO=1\n"
      "[MUDANCA 5]\nTICK=0\nTEMPO_REAL=12\nPRIORIDADE_DINAMICA=0\nLIMITE_FRAMES=0\n"
      "MIN_LIVRES=15\n"
      "[MUDANCA 7]\nTICK=90\n";
  const ScenarioReading read = ParseScenario(text, "t.ini", kMsg);
  ASSERT_TRUE(read.Value) << read.Error->Text();
  const Scenario& s = *read.Value;
  std::vector<OptionChange> expected(4);
  expected[0].Number = 5;
  expected[0].Options.Set(OptionId::RealTimeThreshold, 12);
  expected[0].Options.Set(OptionId::DynamicPriority, false);
  expected[0].Options.Set(OptionId::FrameLimitEnabled, false);
  expected[0].Options.Set(OptionId::MinFreePercent, 15);
  expected[1].Number = 2;
  expected[1].Tick = 40;
  expected[1].Options.Set(OptionId::SlicePosition, 4);
  expected[1].Options.Set(OptionId::IoWaitPosition, 1);
  expected[2].Number = 9;
  expected[2].Tick = 40;
  expected[2].Options.Set(OptionId::Preemption, false);
  expected[2].Options.Set(OptionId::AnticipatedFetch, false);
  expected[3].Number = 7;
  expected[3].Tick = 90;
  EXPECT_EQ(s.Changes, expected);
  // The options before any change are untouched.
  EXPECT_TRUE(s.Options.Preemption);
  EXPECT_EQ(s.Options.RealTimeThreshold, 8);
  EXPECT_EQ(ParseScenario(WriteScenario(s), "w.ini", kMsg).Value, s);
  // An override can add a change; one with no tick is the override's fault.
  const auto set = [](const char* text) { return *ParseOverride(text); };
  const ScenarioReading added =
      ParseScenario(text, "t.ini", kMsg, {set("MUDANCA 3.TICK=40"), set("MUDANCA 3.FATIA=9")});
  ASSERT_TRUE(added.Value) << added.Error->Text();
  EXPECT_EQ(added.Value->Changes[2].Number, 3);
  EXPECT_EQ(added.Value->Changes[2].Options.Get(OptionId::SlicePosition), 9);
  const ScenarioReading untimed = ParseScenario(text, "t.ini", kMsg, {set("MUDANCA 4.FATIA=9")});
  ASSERT_TRUE(untimed.Error);
  EXPECT_EQ(untimed.Error->Text(),
            "--set: MUDANCA 4.FATIA=9: a seção [MUDANCA 4] não diz em que TICK a mudança vale");
}

TEST(ScenarioReader, OverridesReplaceOrAddKeysAndAreCheckedAsStrictly) {
  const std::string text = "[GLOBAL]\nFATIA=3\n[PROCESSO 1]\nPRIORIDADE=4\n";
  const auto set = [](const char* text) { return *ParseOverride(text); };
  const ScenarioReading read = ParseScenario(
      text, "t.ini", kMsg,
      {set("GLOBAL.FATIA=5"), set("processo 1.prioridade= 9 "), set("PROCESSO 2.TIPO=IO_2"),
       set("MEMORIA.MIN_LIVRES=20"), set("GLOBAL.FATIA=6")});
  ASSERT_TRUE(read.Value) << read.Error->Text();
  Scenario expected;
  expected.Options.SlicePosition = 6;
  expected.Options.MinFreePercent = 20;
  expected.Processes.resize(2);
  expected.Processes[0].Number = 1;
  expected.Processes[0].Priority = 9;
  expected.Processes[0].Color = kProcessPalette[0];
  expected.Processes[1].Number = 2;
  expected.Processes[1].Kind = 2;
  expected.Processes[1].Color = kProcessPalette[1];
  EXPECT_EQ(*read.Value, expected);

  const std::vector<std::pair<const char*, std::string>> bad = {
      {"GLOBAL.FATIA=0", "--set: GLOBAL.FATIA=0: FATIA: 0 fora do intervalo 1..10"},
      {"GLOBAL.QUANTUM=2", "--set: GLOBAL.QUANTUM=2: chave desconhecida QUANTUM na seção [GLOBAL]"},
      {"REDE.X=1", "--set: REDE.X=1: seção desconhecida [REDE]"},
      // The file's end request is now before the arrival the override sets.
      {"PROCESSO 1.CHEGADA=600", "t.ini:5: FIM: tick 500 antes da chegada do processo (tick 600)"},
  };
  for (const auto& [given, error] : bad) {
    const ScenarioReading refused = ParseScenario(text + "FIM=500\n", "t.ini", kMsg, {set(given)});
    ASSERT_TRUE(refused.Error) << given;
    EXPECT_EQ(refused.Error->Text(), error) << given;
  }
}

TEST(ScenarioReader, SplitsOverridesAtTheLastDotBeforeTheValue) {
  const auto split = ParseOverride("PROCESSO 2.NOVA_PRIORIDADE=10:3.5=x");
  ASSERT_TRUE(split);
  EXPECT_EQ(split->Section, "PROCESSO 2");
  EXPECT_EQ(split->Key, "NOVA_PRIORIDADE");
  EXPECT_EQ(split->Value, "10:3.5=x");
  for (const char* malformed : {"GLOBAL.FATIA", "FATIA=3", ".FATIA=3", "GLOBAL.=3", ""}) {
    EXPECT_FALSE(ParseOverride(malformed)) << malformed;
  }
}

TEST(ScenarioReader, AFileThatCannotBeReadIsAnError) {
  test::TempWorkingDirectory dir;
  std::filesystem::create_directory(dir.File("folder.ini"));
  test::WriteBytes(dir.File("big.ini"), std::string(kMaxIniFileSize + 1, ';'));
  // A named pipe with no writer: reading it would wait for ever.
  ASSERT_EQ(::mkfifo(dir.File("pipe.ini").c_str(), 0600), 0);
  const std::vector<std::pair<std::string, std::string>> cases = {
      {dir.File("pipe.ini"), ": " + kMsg.MsgCenNaoArquivoComum},
      {dir.File("missing.ini"), ": não foi possível ler o arquivo"},
      {dir.File("folder.ini"), ": " + kMsg.MsgCenNaoArquivoComum},
      {dir.File("big.ini"), ": arquivo maior que 1 MiB"},
  };
  for (const auto& [path, reason] : cases) {
    const ScenarioReading read = ReadScenarioFile(path, kMsg);
    ASSERT_TRUE(read.Error) << path;
    EXPECT_EQ(read.Error->Text(), path + reason);
  }
}

}  // namespace
}  // namespace kelpa
