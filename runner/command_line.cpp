// SPDX-License-Identifier: MIT
#include "runner/command_line.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <new>
#include <string_view>
#include <utility>

#include "catalogue/fill_in.h"
#include "catalogue/shown_text.h"
#include "exports/program_version.h"
#include "exports/run_header.h"
#include "exports/timeline_file.h"
#include "platform/ini_file.h"
#include "platform/sha256.h"
#include "platform/terminal_width.h"
#include "runner/answer_sheet.h"
#include "runner/class_grading.h"
#include "runner/compare_runs.h"
#include "runner/grading.h"
#include "runner/help_text.h"
#include "runner/homework.h"
#include "runner/interrupt_cleanup.h"
#include "runner/output_file.h"
#include "runner/run_document.h"
#include "runner/runner_options.h"
#include "runner/scenario_recorder.h"
#include "runner/student_list.h"
#include "timeline/svg_canvas.h"

namespace kelpa {
namespace {

constexpr int kSuccess = 0;
constexpr int kUsageError = 2;
constexpr int kRunError = 3;

class Runner {
 public:
  Runner(std::ostream& out, std::ostream& err, TimelinePngPainter png, int width, PdfPainter pdf)
      : out_(out), err_(err), png_(std::move(png)), pdf_(std::move(pdf)), width_(width) {
    if (KelpaIniPresent()) {
      // A refused file reads as empty: the texts are the built-in ones, and the header's
      // "built-in" says why the file was not used.
      const TIniFile ini(KelpaIniPath());
      catalogueFromFile_ = ini.Problem() == TIniProblem::None;
      if (catalogueFromFile_) {
        CarregaMensagens(msg_, KelpaIniPath());
      } else {
        const std::string& why = ini.Problem() == TIniProblem::Utf16 ? msg_.MsgCenArquivoUtf16
                                                                     : msg_.MsgCenArquivoGrande;
        msg_.MsgRunEmbutido = FillIn(msg_.MsgRunCatalogoRecusado, {why});
      }
    }
    captions_ = LoadStatisticsCaptions(catalogueFromFile_);
  }

  std::string InterruptionMessage() const { return "kelpa: " + msg_.MsgRunInterrompido + '\n'; }

  int Run(const std::vector<std::string>& args) {
    const ParsedCommandLine parsed = ParseRunnerArguments(args, msg_);
    if (!parsed.Options) {
      return Refuse(parsed.Error);
    }
    const RunnerOptions& options = *parsed.Options;
    if (const auto clash = FileClash(options)) {
      return Refuse(*clash);
    }
    // Caught here so that the files being written are removed as the stack unwinds.
    int status = kRunError;
    try {
      status = Carry(options);
    } catch (const std::bad_alloc&) {
      err_ << "kelpa: " << msg_.MsgRunSemMemoria << '\n';
      return kRunError;
    }
    // Whatever went to standard output must have got there (a full disk, a closed pipe): a
    // failure already reported ends with its own status.
    if (status != kRunError && !out_.flush()) {
      err_ << "kelpa: " << msg_.MsgRunNaoGravou << "stdout\n";
      return kRunError;
    }
    return status;
  }

 private:
  int Carry(const RunnerOptions& options) {
    switch (options.Command) {
      case RunnerCommand::Help:
        WriteHelp(out_, msg_);
        return kSuccess;
      case RunnerCommand::Version:
        out_ << "Kelpa " << ProgramVersion() << '\n';
        return kSuccess;
      case RunnerCommand::Check:
        return Load(options.File) ? Check(options) : kUsageError;
      case RunnerCommand::Run:
        return Load(options.File) ? RunScenarioFile(options) : kUsageError;
      case RunnerCommand::Compare:
        return Load(options.File) ? Compare(options) : kUsageError;
      case RunnerCommand::Grade:
        return options.Answers.empty() ? GradeFolder(options) : Grade(options);
      case RunnerCommand::Homework:
        return Homework(options);
    }
    return kUsageError;
  }

  int Refuse(const std::string& error) {
    err_ << "kelpa: " << error << '\n' << msg_.MsgRunVejaAjuda << '\n';
    return kUsageError;
  }

  // An output that is the scenario, or both outputs one file, would destroy what is read or
  // written: the files are compared, not their names, so a link or another spelling is caught.
  std::optional<std::string> FileClash(const RunnerOptions& options) const {
    if (options.Command != RunnerCommand::Run && options.Command != RunnerCommand::Compare) {
      return std::nullopt;
    }
    const std::pair<const char*, const std::optional<std::string>*> outputs[] = {
        {"--output", &options.Output}, {"--timeline", &options.Timeline}, {"--pdf", &options.Pdf}};
    for (const auto& [option, file] : outputs) {
      if (*file && **file != kStandardOutput && SameFile(**file, options.File)) {
        return FillIn(msg_.MsgRunSaidaECenario, {option, EscapedText(**file)});
      }
    }
    // The trace goes to standard output unless --output names a file.
    if (options.TimelineToStdout() && !options.OutputToFile()) {
      return FillIn(msg_.MsgRunSaidasIguais, {std::string(kStandardOutput)});
    }
    if (options.OutputToFile() && options.Timeline && !options.TimelineToStdout() &&
        SameFile(*options.Output, *options.Timeline)) {
      return FillIn(msg_.MsgRunSaidasIguais, {EscapedText(*options.Timeline)});
    }
    for (const std::optional<std::string>* other : {&options.Output, &options.Timeline}) {
      if (options.Pdf && *other && **other != kStandardOutput && SameFile(*options.Pdf, **other)) {
        return FillIn(msg_.MsgRunSaidasIguais, {EscapedText(*options.Pdf)});
      }
    }
    return std::nullopt;
  }

  // Reads the file once: every combination of a comparison is parsed from the same bytes, and
  // the header's digest is of the bytes run.
  bool Load(const std::string& file) {
    ScenarioError error;
    auto bytes = ReadScenarioBytes(file, msg_, error);
    if (!bytes) {
      err_ << error.Text() << '\n';
      return false;
    }
    bytes_ = std::move(*bytes);
    return true;
  }

  std::optional<Scenario> Read(const std::string& file,
                               const std::vector<ScenarioOverride>& overrides) {
    ScenarioReading reading = ParseScenario(bytes_, file, msg_, overrides);
    if (!reading.Value) {
      err_ << (reading.Error ? reading.Error->Text() : EscapedText(file)) << '\n';
      return std::nullopt;
    }
    return std::move(reading.Value);
  }

  int Check(const RunnerOptions& options) {
    const auto scenario = Read(options.File, options.Overrides);
    if (!scenario) {
      return kUsageError;
    }
    out_ << WriteScenario(*scenario);
    return kSuccess;
  }

  RunHeader Header(const std::string& file, const Scenario* resolved) const {
    return {std::string(ProgramVersion()), file, Sha256Hex(bytes_), catalogueFromFile_, resolved};
  }

  // The stream the data goes to: --output's file (through a temporary file), or out.
  std::ostream* Target(const RunnerOptions& options) {
    if (!options.OutputToFile()) {
      return &out_;
    }
    file_ = std::make_unique<OutputFile>(*options.Output);
    if (!file_->IsOpen()) {
      err_ << "kelpa: " << msg_.MsgRunNaoGravou << EscapedText(*options.Output) << '\n';
      return nullptr;
    }
    return &file_->Stream();
  }

  int Finish(const RunnerOptions& options, OutputBuffer& buffer, std::ostream& target) {
    const bool written = buffer.Flush() && target.flush() && (!file_ || file_->Commit());
    if (!written) {
      err_ << "kelpa: " << msg_.MsgRunNaoGravou
           << (options.OutputToFile() ? EscapedText(*options.Output) : "stdout") << '\n';
      return kRunError;
    }
    return kSuccess;
  }

  int RunScenarioFile(const RunnerOptions& options) {
    const auto scenario = Read(options.File, options.Overrides);
    if (!scenario) {
      return kUsageError;
    }
    if (const auto refusal =
            options.Timeline ? TimelineRefusal(*options.Timeline, *scenario, msg_) : std::nullopt) {
      err_ << "kelpa: " << *refusal << '\n';
      return kUsageError;
    }
    if (options.Pdf && !pdf_) {
      return Refuse(msg_.MsgRunSemPdf);
    }
    std::ostream* target = Target(options);
    if (target == nullptr) {
      return kRunError;
    }
    OutputBuffer buffer(*target);
    TimelineModel timeline(TimelineEvents::Dropped);
    WriteRun(buffer, options.Format, Header(options.File, &*scenario), *scenario, msg_, captions_,
             options.Timeline ? &timeline : nullptr);
    int status = Finish(options, buffer, *target);
    if (status == kSuccess && options.Timeline) {
      status = WriteTimeline(*options.Timeline, timeline, *scenario);
    }
    if (status == kSuccess && options.Pdf) {
      status = WriteDocument(*options.Pdf, options.File, *scenario);
    }
    return status;
  }

  // The run again, for its document: its runs are exact, and the trace's format need not keep
  // what the document shows.
  int WriteDocument(const std::string& file, const std::string& scenarioFile,
                    const Scenario& scenario) {
    const PrintDocument doc = ScenarioRunDocument(
        Header(scenarioFile, &scenario), std::filesystem::path(scenarioFile).filename().string(),
        msg_, captions_);
    OutputFile output(file);
    if (!output.IsOpen() || !pdf_(doc, output.WritePath()) || !output.Commit()) {
      err_ << "kelpa: " << msg_.MsgRunNaoGravou << EscapedText(file) << '\n';
      return kRunError;
    }
    return kSuccess;
  }

  int WriteTimeline(const std::string& file, const TimelineModel& timeline,
                    const Scenario& scenario) {
    const TimelineFrame frame = WholeRunFrame(timeline, scenario, msg_);
    const TimelineTexts texts = TimelineTextsFrom(msg_);
    if (file == kStandardOutput) {
      out_ << TimelineSvg(timeline, frame, texts);  // its writing is checked with the rest
      return kSuccess;
    }
    const bool svg = TimelineKindOf(file) == TimelineFileKind::Svg;
    OutputFile output(file);
    bool written = output.IsOpen();
    if (written && svg) {
      output.Stream() << TimelineSvg(timeline, frame, texts);
    } else if (written) {
      written = png_ && png_(timeline, frame, texts, output.WritePath());
    }
    if (!written || !output.Commit()) {
      err_ << "kelpa: " << msg_.MsgRunNaoGravou << EscapedText(file) << '\n';
      return kRunError;
    }
    return kSuccess;
  }

  int Compare(const RunnerOptions& options) {
    // One combination at a time is read and run: only the figures are kept, so the memory
    // grows with the table, not with the scenarios. A bad value stops the comparison before
    // anything is written.
    ComparisonTable table;
    for (const VaryOption& vary : options.Varies) {
      table.VaryNames.push_back(vary.Name);
    }
    table.Combinations = Combinations(options.Varies);
    for (const Combination& c : table.Combinations) {
      std::vector<ScenarioOverride> overrides = options.Overrides;
      overrides.insert(overrides.end(), c.Overrides.begin(), c.Overrides.end());
      const auto scenario = Read(options.File, overrides);
      if (!scenario) {
        return kUsageError;
      }
      table.Results.push_back(RunScenario(*scenario, msg_, nullptr));
    }
    std::ostream* target = Target(options);
    if (target == nullptr) {
      return kRunError;
    }
    OutputBuffer buffer(*target);
    if (options.Format == TraceFormat::Text) {
      WriteCommentHeader(buffer, Header(options.File, nullptr), msg_);
    }
    // A file gets the same text wherever it is written; a terminal, lines that fit it.
    WriteComparison(buffer, options.Format, table, captions_, msg_,
                    options.OutputToFile() ? kDefaultTextWidth : width_);
    return Finish(options, buffer, *target);
  }

  // Both tables are read whole before a word of the report: a table that cannot be read is an
  // input error, whatever the score would have been.
  int Grade(const RunnerOptions& options) {
    const AnswerSheetReading key = ReadAnswerSheetFile(options.File, msg_, nullptr);
    if (!key.Sheet) {
      err_ << key.Error->Text() << '\n';
      return kUsageError;
    }
    const AnswerSheetReading answers = ReadAnswerSheetFile(options.Answers, msg_, &*key.Sheet);
    if (!answers.Sheet) {
      err_ << answers.Error->Text() << '\n';
      return kUsageError;
    }
    WriteGrade(out_, GradeAnswers(*key.Sheet, *answers.Sheet), msg_);
    return kSuccess;
  }

  // --corrigir with one argument: a folder written by --tarefa; anything else lacks its second
  // file, as before.
  int GradeFolder(const RunnerOptions& options) {
    std::error_code error;
    if (!std::filesystem::is_directory(options.File, error)) {
      return Refuse(msg_.MsgRunFaltaValor + "--corrigir");
    }
    if (const auto refusal = kelpa::GradeFolder(options.File, msg_, out_)) {
      err_ << refusal->Text() << '\n';
      return kUsageError;
    }
    return kSuccess;
  }

  // Everything is read, drawn and run before the folder is touched: a bad lesson or list, or a
  // build that cannot write PDF, leaves nothing behind. Each file is then written whole.
  int Homework(const RunnerOptions& options) {
    if (!pdf_) {
      err_ << "kelpa: " << msg_.MsgTarSemPdf << '\n';
      return kUsageError;
    }
    if (!Load(options.File)) {
      return kUsageError;
    }
    const StudentListReading list = ReadStudentListFile(options.Students, msg_);
    if (list.Error) {
      err_ << list.Error->Text() << '\n';
      return kUsageError;
    }
    const HomeworkReading homework =
        DrawHomework(bytes_, options.File, list.Students, msg_, captions_);
    if (homework.Error) {
      err_ << homework.Error->Text() << '\n';
      return kUsageError;
    }
    const std::filesystem::path folder(options.Folder);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!std::filesystem::is_directory(folder, error)) {
      err_ << "kelpa: " << msg_.MsgRunNaoGravou << EscapedText(options.Folder) << '\n';
      return kRunError;
    }
    for (const StudentHomework& h : homework.Students) {
      const auto file = [&](std::string_view suffix) {
        return (folder / HomeworkFile(h.Stem, suffix)).string();
      };
      if (!WriteText(file(kHomeworkScenario), h.ScenarioText) ||
          !WriteText(file(kHomeworkKeyCsv), h.KeyCsv) ||
          !WriteText(file(kHomeworkAnswers), h.AnswersCsv) ||
          !WritePdf(file(kHomeworkWorksheet), HomeworkDocument(h, msg_, false)) ||
          !WritePdf(file(kHomeworkKeyPdf), HomeworkDocument(h, msg_, true))) {
        return kRunError;
      }
    }
    if (!WriteText((folder / kHomeworkIndex).string(), HomeworkIndexCsv(homework.Students)) ||
        !WritePdf((folder / kHomeworkIndexPdf).string(),
                  HomeworkIndexDocument(homework.Students, msg_))) {
      return kRunError;
    }
    out_ << FillIn(msg_.MsgTarGravou,
                   {std::to_string(homework.Students.size()), EscapedText(options.Folder)})
         << '\n';
    return kSuccess;
  }

  bool WriteText(const std::string& file, const std::string& text) {
    OutputFile output(file);
    if (!output.IsOpen() || !(output.Stream() << text) || !output.Commit()) {
      err_ << "kelpa: " << msg_.MsgRunNaoGravou << EscapedText(file) << '\n';
      return false;
    }
    return true;
  }

  bool WritePdf(const std::string& file, const PrintDocument& doc) {
    OutputFile output(file);
    if (!output.IsOpen() || !pdf_(doc, output.WritePath()) || !output.Commit()) {
      err_ << "kelpa: " << msg_.MsgRunNaoGravou << EscapedText(file) << '\n';
      return false;
    }
    return true;
  }

  std::ostream& out_;
  std::ostream& err_;
  TimelinePngPainter png_;
  PdfPainter pdf_;
  int width_;                         // of the text on out
  std::unique_ptr<OutputFile> file_;  // --output's
  std::string bytes_;                 // of the scenario file
  TMessages msg_;
  bool catalogueFromFile_ = false;
  StatisticsCaptionTexts captions_;
};

}  // namespace

int RunRunner(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              TimelinePngPainter png, int width, PdfPainter pdf) {
  return Runner(out, err, std::move(png), width, std::move(pdf)).Run(args);
}

std::optional<int> RunCommandLine(int argc, char* argv[], TimelinePngPainter png, PdfPainter pdf) {
  // -h and -V are the short forms of --help and --version; any other "-x" is Qt's (-platform,
  // -style...).
  const std::string_view first = argc < 2 ? std::string_view() : argv[1];
  if (!first.starts_with("--") && first != "-h" && first != "-V") {
    return std::nullopt;
  }
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + 1, argv + argc);
  Runner runner(std::cout, std::cerr, std::move(png), StdoutTerminalWidth(kDefaultTextWidth),
                std::move(pdf));
  CatchInterruptions(runner.InterruptionMessage());
  const int status = runner.Run(args);
  std::cout.flush();
  return status;
}

}  // namespace kelpa
