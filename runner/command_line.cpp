// SPDX-License-Identifier: MIT
#include "runner/command_line.h"

#include <fstream>
#include <iostream>
#include <string_view>
#include <utility>

#include "platform/ini_file.h"
#include "platform/sha256.h"
#include "platform/terminal_width.h"
#include "runner/compare_runs.h"
#include "runner/program_version.h"
#include "runner/run_header.h"
#include "runner/runner_options.h"
#include "runner/scenario_recorder.h"
#include "runner/timeline_file.h"

namespace kelpa {
namespace {

constexpr int kSuccess = 0;
constexpr int kUsageError = 2;
constexpr int kRunError = 3;

class Runner {
 public:
  Runner(std::ostream& out, std::ostream& err, TimelinePngPainter png, int width)
      : out_(out), err_(err), png_(std::move(png)), width_(width) {
    catalogueFromFile_ = KelpaIniPresent();
    if (catalogueFromFile_) {
      CarregaMensagens(msg_, KelpaIniPath());
    }
    captions_ = LoadStatisticsCaptions(catalogueFromFile_);
  }

  int Run(const std::vector<std::string>& args) {
    const ParsedCommandLine parsed = ParseRunnerArguments(args, msg_);
    if (!parsed.Options) {
      err_ << "kelpa: " << parsed.Error << '\n' << msg_.MsgRunVejaAjuda << '\n';
      return kUsageError;
    }
    const RunnerOptions& options = *parsed.Options;
    switch (options.Command) {
      case RunnerCommand::Help:
        WriteHelp();
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
    }
    return kUsageError;
  }

 private:
  void WriteHelp() {
    out_ << "Kelpa " << ProgramVersion() << "\n\n"
         << msg_.MsgRunUso << '\n'
         << "  kelpa --run FILE [--ticks N] [--set SECTION.KEY=VALUE]...\n"
            "              [--format text|csv|json|states] [--output FILE]\n"
            "              [--timeline FILE.svg|FILE.png]\n"
         << "      " << msg_.MsgRunAjudaRun << '\n'
         << "  kelpa --compare FILE --vary SECTION.KEY=V1,V2[,...] [--vary ...]\n"
            "              [--ticks N] [--set SECTION.KEY=VALUE]... [--format text|csv]"
            " [--output FILE]\n"
         << "      " << msg_.MsgRunAjudaCompare << '\n'
         << "  kelpa --check FILE [--ticks N] [--set SECTION.KEY=VALUE]...\n"
         << "      " << msg_.MsgRunAjudaCheck << '\n'
         << "  kelpa --help | --version\n\n"
         << msg_.MsgRunAjudaJanelas << '\n'
         << msg_.MsgRunAjudaSaida << '\n';
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
      err_ << (reading.Error ? reading.Error->Text() : file) << '\n';
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

  // The stream the data goes to: --output's file, or out.
  std::ostream* Target(const RunnerOptions& options) {
    if (!options.Output) {
      return &out_;
    }
    file_.open(*options.Output, std::ios::binary | std::ios::trunc);
    if (!file_) {
      err_ << "kelpa: " << msg_.MsgRunNaoGravou << *options.Output << '\n';
      return nullptr;
    }
    return &file_;
  }

  int Finish(const RunnerOptions& options, OutputBuffer& buffer, std::ostream& target) {
    if (!buffer.Flush() || !target.flush()) {
      err_ << "kelpa: " << msg_.MsgRunNaoGravou << options.Output.value_or("stdout") << '\n';
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
    std::ostream* target = Target(options);
    if (target == nullptr) {
      return kRunError;
    }
    OutputBuffer buffer(*target);
    TimelineModel timeline(TimelineEvents::Dropped);
    WriteRun(buffer, options.Format, Header(options.File, &*scenario), *scenario, msg_, captions_,
             options.Timeline ? &timeline : nullptr);
    const int status = Finish(options, buffer, *target);
    if (status != kSuccess || !options.Timeline) {
      return status;
    }
    return WriteTimeline(*options.Timeline, timeline, *scenario);
  }

  int WriteTimeline(const std::string& file, const TimelineModel& timeline,
                    const Scenario& scenario) {
    const TimelineFrame frame = WholeRunFrame(timeline, scenario, msg_);
    const TimelineTexts texts = TimelineTextsFrom(msg_);
    const bool svg = TimelineKindOf(file) == TimelineFileKind::Svg;
    const bool written = svg    ? WriteTimelineSvg(timeline, frame, texts, file)
                         : png_ ? png_(timeline, frame, texts, file)
                                : false;
    if (!written) {
      err_ << "kelpa: " << msg_.MsgRunNaoGravou << file << '\n';
      return kRunError;
    }
    return kSuccess;
  }

  int Compare(const RunnerOptions& options) {
    // Every combination is read before any runs, so a bad value stops the whole comparison.
    const std::vector<Combination> combinations = Combinations(options.Varies);
    std::vector<Scenario> scenarios;
    ComparisonTable table;
    for (const VaryOption& vary : options.Varies) {
      table.VaryNames.push_back(vary.Name);
    }
    for (const Combination& c : combinations) {
      std::vector<ScenarioOverride> overrides = options.Overrides;
      overrides.insert(overrides.end(), c.Overrides.begin(), c.Overrides.end());
      auto scenario = Read(options.File, overrides);
      if (!scenario) {
        return kUsageError;
      }
      scenarios.push_back(std::move(*scenario));
    }
    std::ostream* target = Target(options);
    if (target == nullptr) {
      return kRunError;
    }
    for (const Scenario& s : scenarios) {
      table.Results.push_back(RunScenario(s, msg_, nullptr));
    }
    table.Combinations = combinations;
    OutputBuffer buffer(*target);
    if (options.Format == TraceFormat::Text) {
      WriteCommentHeader(buffer, Header(options.File, nullptr), msg_);
    }
    // A file gets the same text wherever it is written; a terminal, lines that fit it.
    WriteComparison(buffer, options.Format, table, captions_, msg_,
                    options.Output ? kDefaultTextWidth : width_);
    return Finish(options, buffer, *target);
  }

  std::ostream& out_;
  std::ostream& err_;
  TimelinePngPainter png_;
  int width_;  // of the text on out
  std::ofstream file_;
  std::string bytes_;  // of the scenario file
  TMessages msg_;
  bool catalogueFromFile_ = false;
  StatisticsCaptionTexts captions_;
};

}  // namespace

int RunRunner(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              TimelinePngPainter png, int width) {
  return Runner(out, err, std::move(png), width).Run(args);
}

std::optional<int> RunCommandLine(int argc, char* argv[], TimelinePngPainter png) {
  if (argc < 2 || !std::string_view(argv[1]).starts_with("--")) {
    return std::nullopt;
  }
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + 1, argv + argc);
  const int status =
      RunRunner(args, std::cout, std::cerr, std::move(png), StdoutTerminalWidth(kDefaultTextWidth));
  std::cout.flush();
  return status;
}

}  // namespace kelpa
