// SPDX-License-Identifier: MIT
#include "runner/homework.h"

#include <algorithm>
#include <charconv>
#include <sstream>

#include "catalogue/fill_in.h"
#include "exports/output_buffer.h"
#include "exports/process_ticks.h"
#include "exports/program_version.h"
#include "exports/states_table.h"
#include "runner/scenario_recorder.h"
#include "runner/states_trace.h"
#include "scenario/scenario_document.h"
#include "scenario/scenario_values.h"
#include "scenario/timeline_header.h"
#include "simulation/program.h"

namespace kelpa {
namespace {

// Lines of room to write in, after the questions.
constexpr int kWritingLines = 12;

// The tick a row of the states table begins with; none for the heading.
std::optional<std::int64_t> RowTick(std::string_view line) {
  std::int64_t tick = 0;
  const auto result = std::from_chars(line.data(), line.data() + line.size(), tick);
  if (result.ec != std::errc() || result.ptr == line.data() + line.size() || *result.ptr != ',') {
    return std::nullopt;
  }
  return tick;
}

// Hands on only the ticks asked, so that a long run keeps no more of its table than the key.
class TickRangeTrace final : public TraceWriter {
 public:
  TickRangeTrace(TraceWriter& inner, std::pair<std::int64_t, std::int64_t> ticks)
      : inner_(inner), ticks_(ticks) {}
  void Begin(const RunHeader& header) override { inner_.Begin(header); }
  void Event(const SimEvent&, std::int64_t, std::int64_t) override {}
  bool WantsTicks() const override { return true; }
  void Tick(std::int64_t tick, const std::vector<ProcessFigures>& processes,
            const TCPU::CycleOutcome& cycle) override {
    if (tick >= ticks_.first && tick <= ticks_.second) {
      inner_.Tick(tick, processes, cycle);
    }
  }
  void End(const RunFigures& figures) override { inner_.End(figures); }

 private:
  TraceWriter& inner_;
  std::pair<std::int64_t, std::int64_t> ticks_;
};

// The runner's own states table (--format states), cut to the heading and the ticks asked: the
// key is what a --run of the student's scenario gives, by construction.
void Keys(StudentHomework& h, const TMessages& msg, const StatisticsCaptionTexts& captions) {
  std::ostringstream whole;
  {
    OutputBuffer buffer(whole);
    StatesTrace states(buffer, msg, captions);
    TickRangeTrace trace(states, h.Ticks);
    // RunScenario leaves the header to the caller, as the runner's WriteRun does.
    trace.Begin(RunHeader{std::string(ProgramVersion()), h.Stem, {}, false, &h.Drawn});
    h.Figures = RunScenario(h.Drawn, msg, &trace);
    buffer.Flush();
  }
  const std::string text = whole.str();
  for (std::size_t pos = 0; pos < text.size();) {
    const auto end = std::min(text.find('\n', pos), text.size());
    const std::string_view line(text.data() + pos, end - pos);
    pos = end + 1;
    if (line.starts_with('#')) {
      continue;
    }
    const auto tick = RowTick(line);
    if (tick && (*tick < h.Ticks.first || *tick > h.Ticks.second)) {
      continue;
    }
    h.KeyCsv.append(line).push_back('\n');
    if (!tick) {
      h.AnswersCsv.append(line).push_back('\n');
      continue;
    }
    // The tick, then as many blank cells as the key has states.
    h.AnswersCsv += std::to_string(*tick);
    h.AnswersCsv.append(static_cast<std::size_t>(std::count(line.begin(), line.end(), ',')), ',');
    h.AnswersCsv += '\n';
  }
}

bool HasDraw(std::string_view bytes, const std::string& file, const TMessages& msg) {
  ScenarioDocument doc;
  if (ReadScenarioDocument(bytes, file, msg, doc)) {
    return true;  // the parse that follows says what is wrong
  }
  return std::any_of(doc.Sections.begin(), doc.Sections.end(),
                     [](const ScenarioSection& s) { return s.Kind == ScenarioSectionKind::Draw; });
}

PrintBlock Block(PrintBlock::Kind kind, std::string text) {
  PrintBlock block;
  block.What = kind;
  block.Text = std::move(text);
  return block;
}

PrintBlock TableBlock(PrintTable table) {
  PrintBlock block;
  block.What = PrintBlock::Kind::Table;
  block.Table = std::move(table);
  return block;
}

std::string Figure(const std::vector<TickField>& fields, std::string_view key) {
  for (const TickField& field : fields) {
    if (field.Key == key) {
      return field.Value.value_or("-");
    }
  }
  return "-";
}

// The state codes with the names the windows give them: "RDY (Pronto), RUN (Execução), ...".
std::string StateLegend(const TMessages& msg) {
  std::string legend;
  for (int state = 0; state < kStateCount; ++state) {
    legend += legend.empty() ? "" : ", ";
    legend += StateCode(static_cast<ProcessState>(state));
    legend += " (" + msg.StateName(state) + ")";
  }
  return legend;
}

// What each process is given: its pid (the processor column of the states names it), kind,
// priority, frames, arrival and program of its own, if any.
PrintTable ProcessTable(const StudentHomework& h, const TMessages& msg) {
  PrintTable table;
  table.Columns = {msg.MsgRunProcesso, msg.MsgColPID,       msg.MsgRunTipo, msg.MsgLinhaPrioridade,
                   msg.MsgColFrames,   msg.MsgTicksChegada, msg.MsgPrograma};
  table.RightAligned = {false, true, false, true, true, true, false};
  const auto& processes = h.Drawn.Processes;
  for (std::size_t i = 0; i < processes.size(); ++i) {
    const ScenarioProcess& p = processes[i];
    const ProcessFigures& f = h.Figures.Processes[i];
    std::string program = ProgramText(p.Program.Codes);
    if (!program.empty()) {
      program += " " + (p.Program.Repeats ? msg.MsgProgramaRepete : msg.MsgProgramaTermina);
    }
    table.Rows.push_back({ProcessColumn(p.Number), f.Created ? std::to_string(f.Pid) : "-",
                          std::string(KindName(p.Kind)), std::to_string(p.Priority),
                          std::to_string(p.FrameLimit), std::to_string(p.Arrival),
                          std::move(program)});
  }
  return table;
}

// The key's table of states as a document's table, its states blank unless answers.
PrintTable StatesTable(const StudentHomework& h, bool answers) {
  PrintTable table;
  table.Ruled = true;
  bool heading = true;
  for (std::size_t pos = 0; pos < h.KeyCsv.size();) {
    const auto end = std::min(h.KeyCsv.find('\n', pos), h.KeyCsv.size());
    std::string_view line(h.KeyCsv.data() + pos, end - pos);
    pos = end + 1;
    std::vector<std::string> cells;
    for (std::size_t comma = 0; comma != std::string_view::npos;) {
      comma = line.find(',');
      cells.emplace_back(line.substr(0, comma));
      line.remove_prefix(comma == std::string_view::npos ? line.size() : comma + 1);
    }
    if (heading) {
      table.Columns = std::move(cells);
      table.RightAligned.assign(table.Columns.size(), false);
      table.RightAligned.front() = true;
      heading = false;
      continue;
    }
    for (std::size_t i = 1; i < cells.size() && !answers; ++i) {
      cells[i].clear();
    }
    table.Rows.push_back(std::move(cells));
  }
  return table;
}

// One row per process of the figures asked (keys of ProcessTickFields), blank unless answers.
PrintTable FiguresTable(const StudentHomework& h, const TMessages& msg,
                        const std::vector<std::string_view>& keys, bool answers) {
  PrintTable table;
  table.Ruled = true;
  table.Columns = {msg.MsgRunProcesso};
  table.RightAligned = {false};
  const ProcessTicks none;
  for (const TickField& field : ProcessTickFields(none, msg)) {
    if (std::find(keys.begin(), keys.end(), field.Key) != keys.end()) {
      table.Columns.push_back(*field.Caption);
      table.RightAligned.push_back(true);
    }
  }
  for (const ProcessFigures& p : h.Figures.Processes) {
    std::vector<std::string> row = {ProcessColumn(p.Number)};
    const auto fields = ProcessTickFields(p, msg);
    for (const TickField& field : fields) {
      if (std::find(keys.begin(), keys.end(), field.Key) != keys.end()) {
        row.push_back(answers ? Figure(fields, field.Key) : "");
      }
    }
    table.Rows.push_back(std::move(row));
  }
  return table;
}

}  // namespace

HomeworkReading DrawHomework(std::string_view lessonBytes, const std::string& lessonFile,
                             const std::vector<Student>& students, const TMessages& msg,
                             const StatisticsCaptionTexts& captions) {
  if (!HasDraw(lessonBytes, lessonFile, msg)) {
    return {{}, ScenarioError{lessonFile, 0, msg.MsgTarSemGerar}};
  }
  HomeworkReading reading;
  for (std::size_t i = 0; i < students.size(); ++i) {
    StudentHomework h;
    h.Order = static_cast<int>(i + 1);
    h.Name = students[i].Name;
    h.Seed = HomeworkSeed(lessonBytes, h.Name);
    h.Stem = StudentStem(h.Order, h.Name);
    ScenarioReading drawn = ParseScenario(
        lessonBytes, lessonFile, msg, {{"GERAR", "SEMENTE", std::to_string(h.Seed), "--tarefa"}});
    if (!drawn.Value) {
      return {{}, std::move(drawn.Error)};
    }
    h.Drawn = std::move(*drawn.Value);
    if (!h.Drawn.Homework) {
      h.Drawn.Homework.emplace();
    }
    h.Ticks = h.Drawn.Homework->TickRange(h.Drawn.Ticks);
    h.ScenarioText = WriteScenario(h.Drawn);
    Keys(h, msg, captions);
    reading.Students.push_back(std::move(h));
  }
  return reading;
}

PrintDocument HomeworkDocument(const StudentHomework& h, const TMessages& msg, bool answers) {
  using Kind = PrintBlock::Kind;
  const Scenario& s = h.Drawn;
  PrintDocument doc;
  doc.Title = FillIn(answers ? msg.MsgTarTituloGabarito : msg.MsgTarTituloFolha, {s.Title});
  doc.PageFooter = msg.MsgPdfRodape;
  doc.Blocks.push_back(Block(Kind::Title, doc.Title));
  doc.Blocks.push_back(
      Block(Kind::Paragraph, FillIn(msg.MsgTarAluno, {h.Name, std::to_string(h.Seed)})));
  doc.Blocks.push_back(Block(Kind::Heading, msg.MsgTarCenario));
  std::string header;
  for (const std::string& line : TimelineHeader(s, msg.MsgLinhaOpcoes)) {
    header += line + '\n';
  }
  doc.Blocks.push_back(Block(Kind::Preformatted, header));
  doc.Blocks.push_back(TableBlock(ProcessTable(h, msg)));

  doc.Blocks.push_back(Block(
      Kind::Heading,
      FillIn(msg.MsgTarEstados, {std::to_string(h.Ticks.first), std::to_string(h.Ticks.second)})));
  doc.Blocks.push_back(Block(Kind::Paragraph, FillIn(msg.MsgTarEstadosComo, {StateLegend(msg)})));
  doc.Blocks.push_back(TableBlock(StatesTable(h, answers)));
  const std::string ticks = std::to_string(s.Ticks);
  if (s.Homework->Figures) {
    doc.Blocks.push_back(Block(Kind::Heading, FillIn(msg.MsgTarTempos, {ticks})));
    doc.Blocks.push_back(Block(Kind::Paragraph, msg.MsgTarTemposComo));
    doc.Blocks.push_back(
        TableBlock(FiguresTable(h, msg, {"turnaround", "waiting", "response"}, answers)));
  }
  if (s.Homework->Faults) {
    doc.Blocks.push_back(Block(Kind::Heading, FillIn(msg.MsgTarFalhas, {ticks})));
    doc.Blocks.push_back(TableBlock(FiguresTable(h, msg, {"faults"}, answers)));
  }
  doc.Blocks.push_back(Block(Kind::Heading, msg.MsgTarRascunho));
  PrintBlock space = Block(Kind::WritingSpace, {});
  space.Lines = kWritingLines;
  doc.Blocks.push_back(std::move(space));
  return doc;
}

PrintDocument HomeworkIndexDocument(const std::vector<StudentHomework>& students,
                                    const TMessages& msg) {
  PrintDocument doc;
  const std::string title = students.empty() ? std::string() : students.front().Drawn.Title;
  doc.Title = FillIn(msg.MsgTarIndiceTitulo, {title});
  doc.PageFooter = msg.MsgPdfRodape;
  doc.Blocks.push_back(Block(PrintBlock::Kind::Title, doc.Title));
  PrintTable table;
  table.Columns = {"", msg.MsgTarIndiceAluno, msg.MsgTarIndiceSemente, msg.MsgTarIndiceArquivos};
  table.RightAligned = {true, false, true, false};
  constexpr std::string_view kMeans[] = {"mean_turnaround", "mean_waiting", "mean_response",
                                         "ended"};
  const auto means = [&](const StudentHomework& h) {
    std::vector<const ProcessTicks*> processes;
    for (const ProcessFigures& p : h.Figures.Processes) {
      processes.push_back(&p);
    }
    return SummaryTickFields(SummariseTicks(processes), msg);
  };
  for (const TickField& field : means(StudentHomework{})) {
    if (std::find(std::begin(kMeans), std::end(kMeans), field.Key) != std::end(kMeans)) {
      table.Columns.push_back(*field.Caption);
      table.RightAligned.push_back(true);
    }
  }
  for (const StudentHomework& h : students) {
    std::vector<std::string> row = {std::to_string(h.Order), h.Name, std::to_string(h.Seed),
                                    h.Stem};
    for (const TickField& field : means(h)) {
      if (std::find(std::begin(kMeans), std::end(kMeans), field.Key) != std::end(kMeans)) {
        row.push_back(field.Value.value_or("-"));
      }
    }
    table.Rows.push_back(std::move(row));
  }
  doc.Blocks.push_back(TableBlock(std::move(table)));
  doc.Blocks.push_back(
      Block(PrintBlock::Kind::Paragraph, FillIn(msg.MsgTarIndiceMedias, {msg.MsgTicksTerminados})));
  return doc;
}

// Appended, not concatenated with +: GCC 12 warns falsely on a concatenation at -O3.
std::string HomeworkFile(const std::string& stem, std::string_view suffix) {
  std::string file = stem;
  file += suffix;
  return file;
}

std::string CsvCell(std::string_view text) {
  if (text.find_first_of(",;\"\r\n") == std::string_view::npos) {
    return std::string(text);
  }
  std::string quoted = "\"";
  for (const char c : text) {
    quoted += c;
    if (c == '"') {
      quoted += '"';
    }
  }
  return quoted + '"';
}

std::string HomeworkIndexCsv(const std::vector<StudentHomework>& students) {
  std::string csv = "order,name,seed,stem,scenario,worksheet,key_pdf,key_csv,answers\n";
  for (const StudentHomework& h : students) {
    csv += std::to_string(h.Order) + ',' + CsvCell(h.Name) + ',' + std::to_string(h.Seed) + ',' +
           CsvCell(h.Stem);
    for (const std::string_view suffix : {kHomeworkScenario, kHomeworkWorksheet, kHomeworkKeyPdf,
                                          kHomeworkKeyCsv, kHomeworkAnswers}) {
      csv += ',';
      csv += CsvCell(HomeworkFile(h.Stem, suffix));
    }
    csv += '\n';
  }
  return csv;
}

}  // namespace kelpa
