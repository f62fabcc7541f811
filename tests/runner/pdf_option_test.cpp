// SPDX-License-Identifier: MIT
// --pdf: the document the runner hands its painter (its blocks, and a states table that is the
// states format's, row for row), the refusal when there is no painter, and a painter's failure
// leaving nothing behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/messages.h"
#include "runner/command_line.h"
#include "support/temp_working_directory.h"

namespace kelpa {
namespace {

const std::string kLesson = KELPA_LESSONS_DIR "/01-prioridade-e-fatia.ini";

struct Outcome {
  int Status = -1;
  std::string Out;
  std::string Err;
};

Outcome Runner(const std::vector<std::string>& args, PdfPainter pdf) {
  std::ostringstream out;
  std::ostringstream err;
  const int status = RunRunner(args, out, err, {}, 80, std::move(pdf));
  return {status, out.str(), err.str()};
}

// A painter that keeps the document and writes a few bytes where it is told to.
PdfPainter Capture(PrintDocument& kept, bool succeed = true) {
  return [&kept, succeed](const PrintDocument& doc, const std::string& file) {
    kept = doc;
    std::ofstream(file) << "%PDF";
    return succeed;
  };
}

std::vector<std::string> Files() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(".")) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

TEST(PdfOption, HandsThePainterTheWholeRunWithTheStatesFormatsTable) {
  test::TempWorkingDirectory dir;
  PrintDocument doc;
  const Outcome run = Runner({"--run", kLesson, "--ticks", "40", "--pdf", "run.pdf"}, Capture(doc));
  ASSERT_EQ(run.Status, 0) << run.Err;
  EXPECT_TRUE(std::filesystem::exists("run.pdf"));
  const TMessages msg;
  EXPECT_EQ(doc.Title, "Execução de 01-prioridade-e-fatia.ini");
  EXPECT_EQ(doc.PageFooter, msg.MsgPdfRodape);
  std::vector<PrintBlock::Kind> kinds;
  std::vector<std::string> headings;
  const PrintTable* states = nullptr;
  for (const PrintBlock& block : doc.Blocks) {
    kinds.push_back(block.What);
    if (block.What == PrintBlock::Kind::Heading) {
      headings.push_back(block.Text);
    }
    if (block.What == PrintBlock::Kind::Timeline) {
      ASSERT_TRUE(block.Timeline.Model);
      EXPECT_EQ(block.Timeline.Frame.First, 0);
      EXPECT_EQ(block.Timeline.Frame.Last, 39);
    }
    if (block.What == PrintBlock::Kind::Preformatted) {
      EXPECT_NE(block.Text.find("TICKS=40"), std::string::npos);
    }
    states = block.What == PrintBlock::Kind::Table ? &block.Table : states;
  }
  using K = PrintBlock::Kind;
  EXPECT_EQ(kinds,
            (std::vector<K>{K::Title, K::Heading, K::Preformatted, K::Heading, K::Timeline,
                            K::Heading, K::Table, K::Heading, K::Table, K::Heading, K::Table}));
  EXPECT_EQ(headings, (std::vector<std::string>{msg.MsgPdfCabecalho, msg.MsgTitLinhaDoTempo,
                                                msg.MsgTitEstatisticas, msg.MsgTicksTitulo,
                                                msg.MsgPdfEstados}));
  // The last table is the states format's, cell for cell.
  ASSERT_NE(states, nullptr);
  const Outcome csv = Runner({"--run", kLesson, "--ticks", "40", "--format", "states"}, {});
  std::istringstream lines(csv.Out);
  std::vector<std::string> expected;
  for (std::string line; std::getline(lines, line);) {
    if (!line.starts_with("#")) {
      expected.push_back(line);
    }
  }
  std::vector<std::string> printed;
  for (const auto& row : [&] {
         auto all = states->Rows;
         all.insert(all.begin(), states->Columns);
         return all;
       }()) {
    std::string line;
    for (const std::string& cell : row) {
      line += (line.empty() ? "" : ",") + cell;
    }
    printed.push_back(line);
  }
  EXPECT_EQ(printed, expected);
  EXPECT_EQ(states->Rows.size(), 40u);
}

TEST(PdfOption, RefusedWithoutAPainterOrToStandardOutput) {
  test::TempWorkingDirectory dir;
  const TMessages msg;
  const Outcome none = Runner({"--run", kLesson, "--pdf", "run.pdf"}, {});
  EXPECT_EQ(none.Status, 2);
  EXPECT_NE(none.Err.find(msg.MsgRunSemPdf), std::string::npos) << none.Err;
  EXPECT_TRUE(none.Out.empty());
  PrintDocument doc;
  EXPECT_EQ(Runner({"--run", kLesson, "--pdf", "-"}, Capture(doc)).Status, 2);
  EXPECT_EQ(Runner({"--check", kLesson, "--pdf", "run.pdf"}, Capture(doc)).Status, 2);
  EXPECT_EQ(Runner({"--run", kLesson, "--pdf", kLesson}, Capture(doc)).Status, 2);
  EXPECT_EQ(Runner({"--run", kLesson, "--output", "a.txt", "--pdf", "a.txt"}, Capture(doc)).Status,
            2);
  EXPECT_TRUE(Files().empty());
}

TEST(PdfOption, AFailedWriteEndsWithThreeAndLeavesNothing) {
  test::TempWorkingDirectory dir;
  const TMessages msg;
  PrintDocument doc;
  const Outcome failed =
      Runner({"--run", kLesson, "--output", "trace.txt", "--pdf", "run.pdf"}, Capture(doc, false));
  EXPECT_EQ(failed.Status, 3);
  EXPECT_EQ(failed.Err, "kelpa: " + msg.MsgRunNaoGravou + "run.pdf\n");
  EXPECT_EQ(Files(), std::vector<std::string>{"trace.txt"});
  std::filesystem::create_directory("folder.pdf");
  const Outcome folder = Runner({"--run", kLesson, "--pdf", "folder.pdf"}, Capture(doc));
  EXPECT_EQ(folder.Status, 3);
  EXPECT_TRUE(std::filesystem::is_directory("folder.pdf"));
}

}  // namespace
}  // namespace kelpa
