// SPDX-License-Identifier: MIT
#include "runner/runner_options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <set>
#include <string_view>

#include "catalogue/fill_in.h"
#include "catalogue/shown_text.h"
#include "exports/timeline_file.h"
#include "platform/ini_text.h"

namespace kelpa {
namespace {

struct CommandName {
  std::string_view Name;
  RunnerCommand Command;
  bool TakesFile;
};
constexpr std::array<CommandName, 7> kCommands = {{
    {"--run", RunnerCommand::Run, true},
    {"--compare", RunnerCommand::Compare, true},
    {"--check", RunnerCommand::Check, true},
    {"--corrigir", RunnerCommand::Grade, true},
    {"--tarefa", RunnerCommand::Homework, true},
    {"--help", RunnerCommand::Help, false},
    {"--version", RunnerCommand::Version, false},
}};

bool IsOption(std::string_view arg) {
  return arg == "--ticks" || arg == "--set" || arg == "--format" || arg == "--output" ||
         arg == "--vary" || arg == "--timeline" || arg == "--alunos" || arg == "--saida" ||
         arg == "--pdf";
}

// The options each command takes besides its own.
bool Takes(RunnerCommand command, std::string_view option) {
  switch (command) {
    case RunnerCommand::Run:
      return option == "--ticks" || option == "--set" || option == "--format" ||
             option == "--output" || option == "--timeline" || option == "--pdf";
    case RunnerCommand::Compare:
      return option == "--ticks" || option == "--set" || option == "--format" ||
             option == "--output" || option == "--vary";
    case RunnerCommand::Check:
      return option == "--ticks" || option == "--set";
    case RunnerCommand::Homework:
      return option == "--alunos" || option == "--saida";
    case RunnerCommand::Grade:
    case RunnerCommand::Help:
    case RunnerCommand::Version:
      break;
  }
  return false;
}

std::optional<TraceFormat> FormatNamed(std::string_view name, RunnerCommand command) {
  if (name == "text") {
    return TraceFormat::Text;
  }
  if (name == "csv") {
    return TraceFormat::Csv;
  }
  if (command == RunnerCommand::Run && name == "json") {
    return TraceFormat::Json;
  }
  if (command == RunnerCommand::Run && name == "states") {
    return TraceFormat::States;
  }
  return std::nullopt;
}

std::optional<VaryOption> ParseVary(const std::string& text) {
  const auto key = ParseOverride(text);
  if (!key) {
    return std::nullopt;
  }
  VaryOption vary{text.substr(0, text.find('=')), *key, {}};
  std::string_view rest = key->Value;
  while (true) {
    const auto comma = rest.find(',');
    vary.Values.emplace_back(rest.substr(0, comma));
    if (vary.Values.back().empty()) {
      return std::nullopt;
    }
    if (comma == std::string_view::npos) {
      return vary;
    }
    rest.remove_prefix(comma + 1);
  }
}

// One argument as the parser reads it. "--name=value" is two: the option and its attached value;
// "-h" and "-V" read as "--help" and "--version"; everything after "--" is an operand.
struct Argument {
  enum class Kind { Option, Attached, Plain, Operand };
  Kind Is;
  std::string Text;      // the option's long name, or the value
  std::string Original;  // as typed: "--ticks=5" for both of its halves
};

std::vector<Argument> Split(const std::vector<std::string>& args) {
  std::vector<Argument> split;
  bool operands = false;
  for (const std::string& arg : args) {
    if (operands) {
      split.push_back({Argument::Kind::Operand, arg, arg});
    } else if (arg == "--") {
      operands = true;
    } else if (arg == "-h" || arg == "-V") {
      split.push_back({Argument::Kind::Option, arg == "-h" ? "--help" : "--version", arg});
    } else if (!arg.starts_with("--")) {
      split.push_back({Argument::Kind::Plain, arg, arg});
    } else if (const auto equals = arg.find('='); equals != std::string::npos) {
      split.push_back({Argument::Kind::Option, arg.substr(0, equals), arg});
      split.push_back({Argument::Kind::Attached, arg.substr(equals + 1), arg});
    } else {
      split.push_back({Argument::Kind::Option, arg, arg});
    }
  }
  return split;
}

bool Attached(const std::vector<Argument>& args, std::size_t i) {
  return i < args.size() && args[i].Is == Argument::Kind::Attached;
}

class Parser {
 public:
  Parser(const std::vector<std::string>& args, const TMessages& msg)
      : args_(Split(args)), msg_(msg) {}

  ParsedCommandLine Parse() {
    if (!FindCommand()) {
      return {std::nullopt, error_};
    }
    std::optional<std::string> ticks;
    bool formatGiven = false;
    for (std::size_t i = 0; i < args_.size(); ++i) {
      const Argument& arg = args_[i];
      if (used_.contains(i)) {
        continue;
      }
      if (arg.Is != Argument::Kind::Option) {
        // A value attached to a command that takes none; anything else stands alone.
        if (arg.Is == Argument::Kind::Attached) {
          return Refuse(FillInShown(msg_.MsgRunOpcaoSemValor, {args_[i - 1].Text}));
        }
        return Refuse(msg_.MsgRunArgumentoSobrando + ShownValue(arg.Text));
      }
      const std::string& option = arg.Text;
      if (!IsOption(option)) {
        return Refuse(msg_.MsgRunOpcaoDesconhecida + ShownValue(arg.Original));
      }
      if (!Takes(options_.Command, option)) {
        return Refuse(msg_.MsgRunOpcaoForaDoComando + option);
      }
      const std::optional<std::string> value = ValueAt(i + 1, i);
      if (!value) {
        return Refuse(msg_.MsgRunFaltaValor + option);
      }
      const bool once = option == "--ticks" || option == "--format" || option == "--output" ||
                        option == "--timeline" || option == "--alunos" || option == "--saida" ||
                        option == "--pdf";
      if (once && ((option == "--ticks" && ticks) || (option == "--format" && formatGiven) ||
                   (option == "--output" && options_.Output) ||
                   (option == "--timeline" && options_.Timeline) ||
                   (option == "--alunos" && !options_.Students.empty()) ||
                   (option == "--saida" && !options_.Folder.empty()) ||
                   (option == "--pdf" && options_.Pdf))) {
        return Refuse(msg_.MsgRunOpcaoRepetida + option);
      }
      if (!Apply(option, *value, ticks, formatGiven)) {
        return Refuse(msg_.MsgRunValorInvalido + option + ": " + ShownValue(*value));
      }
    }
    if (ticks) {
      options_.Overrides.push_back({"CENARIO", "TICKS", *ticks, "--ticks"});
    }
    if (options_.Command == RunnerCommand::Compare) {
      return CheckVaries();
    }
    if (options_.Command == RunnerCommand::Homework &&
        (options_.Students.empty() || options_.Folder.empty())) {
      return Refuse(msg_.MsgTarFaltaOpcao);
    }
    return {options_, {}};
  }

 private:
  // The value of the option before at: attached, or the next argument as typed, whatever it is
  // (as a value it is no option: "--output --x" writes to "--x"). last: where the value ended.
  std::optional<std::string> ValueAt(std::size_t at, std::size_t& last) const {
    if (at >= args_.size() || args_[at].Is == Argument::Kind::Operand) {
      return std::nullopt;
    }
    last = at + (args_[at].Is == Argument::Kind::Option && Attached(args_, at + 1) ? 1 : 0);
    return args_[at].Is == Argument::Kind::Option ? args_[at].Original : args_[at].Text;
  }

  ParsedCommandLine CheckVaries() {
    const auto& varies = options_.Varies;
    if (varies.empty()) {
      return Refuse(msg_.MsgRunFaltaVary);
    }
    // A key varied twice would label its columns with both values and run only the last.
    for (auto a = varies.begin(); a != varies.end(); ++a) {
      for (auto b = varies.begin(); b != a; ++b) {
        if (SameName(a->Key.Section, b->Key.Section) && SameName(a->Key.Key, b->Key.Key)) {
          return Refuse(FillInShown(msg_.MsgRunVaryRepetido, {a->Name}));
        }
      }
    }
    // Counted before anything is built, stopping at the bound so the product cannot overflow.
    std::size_t count = 1;
    for (const VaryOption& vary : varies) {
      if (vary.Values.size() > kMaxCombinations / count) {
        return Refuse(FillIn(msg_.MsgRunCombinacoesDemais, {std::to_string(kMaxCombinations)}));
      }
      count *= vary.Values.size();
    }
    return {options_, {}};
  }

  bool FindCommand() {
    std::optional<std::string> first;
    for (std::size_t i = 0; i < args_.size(); ++i) {
      if (args_[i].Is != Argument::Kind::Option) {
        continue;
      }
      const auto named =
          std::find_if(kCommands.begin(), kCommands.end(),
                       [&](const CommandName& c) { return c.Name == args_[i].Text; });
      if (named == kCommands.end()) {
        i += Attached(args_, i + 1) ? 1 : 0;
        continue;
      }
      if (first) {
        error_ = msg_.MsgRunDoisComandos + *first + " " + args_[i].Text;
        return false;
      }
      first = args_[i].Text;
      used_.insert(i);
      options_.Command = named->Command;
      // --corrigir's second file may be missing: its one argument is then a folder, which the
      // runner checks (nothing here looks at the disk).
      if ((named->TakesFile && !TakeFile(i)) ||
          (named->Command == RunnerCommand::Grade && !TakeAnswers())) {
        error_ = msg_.MsgRunFaltaValor + args_[i].Text;
        return false;
      }
    }
    if (!first) {
      // A misspelt command reads as what it is, not as a missing one.
      const auto unknown = std::find_if(args_.begin(), args_.end(), [](const Argument& arg) {
        return arg.Is == Argument::Kind::Option && !IsOption(arg.Text);
      });
      error_ = unknown != args_.end() ? msg_.MsgRunOpcaoDesconhecida + ShownValue(unknown->Original)
                                      : msg_.MsgRunSemComando;
    }
    return first.has_value();
  }

  // The scenario of the command at i: attached ("--run=FILE"), the next argument when it is no
  // option, or else the first operand after "--" (so a FILE may begin with "-").
  bool TakeFile(std::size_t i) {
    std::size_t at = i + 1;
    if (at >= args_.size() || args_[at].Is == Argument::Kind::Option ||
        args_[at].Is == Argument::Kind::Operand) {
      at = static_cast<std::size_t>(
          std::find_if(args_.begin(), args_.end(),
                       [](const Argument& a) { return a.Is == Argument::Kind::Operand; }) -
          args_.begin());
      if (at >= args_.size() || used_.contains(at)) {
        return false;
      }
    }
    options_.File = args_[at].Text;
    used_.insert(at);
    fileAt_ = at;
    return !options_.File.empty();
  }

  // --corrigir's second file: the argument after the key when it is no option, or else the first
  // operand after "--" not yet taken.
  bool TakeAnswers() {
    std::size_t at = fileAt_ + 1;
    if (at >= args_.size() || args_[at].Is != Argument::Kind::Plain) {
      at = 0;
      while (at < args_.size() && (args_[at].Is != Argument::Kind::Operand || used_.contains(at))) {
        ++at;
      }
      if (at >= args_.size()) {
        return true;
      }
    }
    options_.Answers = args_[at].Text;
    used_.insert(at);
    return !options_.Answers.empty();
  }

  bool Apply(const std::string& option, const std::string& value, std::optional<std::string>& ticks,
             bool& formatGiven) {
    if (option == "--ticks") {
      std::int64_t n = 0;
      const auto end = value.data() + value.size();
      const auto result = std::from_chars(value.data(), end, n);
      ticks = value;
      return !value.empty() && result.ec == std::errc() && result.ptr == end && n >= 0;
    }
    if (option == "--set") {
      const auto parsed = ParseOverride(value);
      if (parsed) {
        options_.Overrides.push_back(*parsed);
      }
      return parsed.has_value();
    }
    if (option == "--format") {
      formatGiven = true;
      const auto format = FormatNamed(value, options_.Command);
      options_.Format = format.value_or(TraceFormat::Text);
      return format.has_value();
    }
    if (option == "--output") {
      options_.Output = value;
      return !value.empty();
    }
    if (option == "--alunos" || option == "--saida") {
      (option == "--alunos" ? options_.Students : options_.Folder) = value;
      return !value.empty();
    }
    if (option == "--timeline") {
      options_.Timeline = value;
      // "-": the SVG on standard output.
      return value == kStandardOutput || TimelineKindOf(value).has_value();
    }
    if (option == "--pdf") {
      // A document has no place on standard output among the trace's lines.
      options_.Pdf = value;
      return !value.empty() && value != kStandardOutput;
    }
    auto vary = ParseVary(value);
    if (vary) {
      options_.Varies.push_back(std::move(*vary));
    }
    return vary.has_value();
  }

  ParsedCommandLine Refuse(std::string error) { return {std::nullopt, std::move(error)}; }

  const std::vector<Argument> args_;
  const TMessages& msg_;
  RunnerOptions options_;
  std::set<std::size_t> used_;  // the command and its files
  std::size_t fileAt_ = 0;      // where the command's file was
  std::string error_;
};

}  // namespace

ParsedCommandLine ParseRunnerArguments(const std::vector<std::string>& args, const TMessages& msg) {
  return Parser(args, msg).Parse();
}

}  // namespace kelpa
