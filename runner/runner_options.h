// SPDX-License-Identifier: MIT
// The runner's command line, read into options; nothing is run or opened here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/messages.h"
#include "runner/trace_formats.h"
#include "scenario/scenario_reader.h"

namespace kelpa {

enum class RunnerCommand { Run, Compare, Check, Grade, Homework, Help, Version };

// One --vary: a key and the values it takes in turn.
struct VaryOption {
  std::string Name;  // "SECTION.KEY" as given
  ScenarioOverride Key;
  std::vector<std::string> Values;
};

// An output named so is standard output.
inline constexpr std::string_view kStandardOutput = "-";

struct RunnerOptions {
  RunnerCommand Command = RunnerCommand::Help;
  std::string File;      // the scenario, --tarefa's lesson, or --corrigir's answer key or folder
  std::string Answers;   // --corrigir's second file: the table graded; empty for a folder
  std::string Students;  // --tarefa's --alunos
  std::string Folder;    // --tarefa's --saida
  // --set in the order given, then --ticks as CENARIO.TICKS: checked as strictly as the file.
  std::vector<ScenarioOverride> Overrides;
  TraceFormat Format = TraceFormat::Text;
  std::optional<std::string> Output;
  std::vector<VaryOption> Varies;
  // --timeline: the picture of the run, .svg or .png, or "-" for the SVG on standard output.
  std::optional<std::string> Timeline;
  // --pdf: the document of the run (header, timeline, statistics, states table) as PDF.
  std::optional<std::string> Pdf;

  // Whether --output names a file rather than standard output.
  bool OutputToFile() const { return Output && *Output != kStandardOutput; }
  bool TimelineToStdout() const { return Timeline && *Timeline == kStandardOutput; }
};

// The most combinations one --compare runs: each is a whole run, and its column is kept for the
// table.
inline constexpr std::size_t kMaxCombinations = 10000;

struct ParsedCommandLine {
  std::optional<RunnerOptions> Options;
  std::string Error;  // why the command line was refused, when Options is empty
};

// args: the arguments after the program name, with GNU's habits: "--option=value" as well as
// "--option value", "-h" and "-V" for --help and --version, and "--" ending the options (the
// command's scenario may then follow it).
ParsedCommandLine ParseRunnerArguments(const std::vector<std::string>& args, const TMessages& msg);

}  // namespace kelpa
