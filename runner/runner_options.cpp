// SPDX-License-Identifier: MIT
#include "runner/runner_options.h"

#include <algorithm>
#include <array>
#include <charconv>
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
constexpr std::array<CommandName, 5> kCommands = {{
    {"--run", RunnerCommand::Run, true},
    {"--compare", RunnerCommand::Compare, true},
    {"--check", RunnerCommand::Check, true},
    {"--help", RunnerCommand::Help, false},
    {"--version", RunnerCommand::Version, false},
}};

bool IsOption(std::string_view arg) {
  return arg == "--ticks" || arg == "--set" || arg == "--format" || arg == "--output" ||
         arg == "--vary" || arg == "--timeline";
}

// The options each command takes besides its own.
bool Takes(RunnerCommand command, std::string_view option) {
  switch (command) {
    case RunnerCommand::Run:
      return option == "--ticks" || option == "--set" || option == "--format" ||
             option == "--output" || option == "--timeline";
    case RunnerCommand::Compare:
      return option == "--ticks" || option == "--set" || option == "--format" ||
             option == "--output" || option == "--vary";
    case RunnerCommand::Check:
      return option == "--ticks" || option == "--set";
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

class Parser {
 public:
  Parser(const std::vector<std::string>& args, const TMessages& msg) : args_(args), msg_(msg) {}

  ParsedCommandLine Parse() {
    if (!FindCommand()) {
      return {std::nullopt, error_};
    }
    std::optional<std::string> ticks;
    bool formatGiven = false;
    for (std::size_t i = 0; i < args_.size(); ++i) {
      const std::string& arg = args_[i];
      if (i == commandAt_) {
        i += TakesFile() ? 1 : 0;
        continue;
      }
      if (!arg.starts_with("--")) {
        return Refuse(msg_.MsgRunArgumentoSobrando + ShownValue(arg));
      }
      if (!IsOption(arg)) {
        return Refuse(msg_.MsgRunOpcaoDesconhecida + ShownValue(arg));
      }
      if (!Takes(options_.Command, arg)) {
        return Refuse(msg_.MsgRunOpcaoForaDoComando + arg);
      }
      if (i + 1 >= args_.size()) {
        return Refuse(msg_.MsgRunFaltaValor + arg);
      }
      const std::string& value = args_[++i];
      const bool once =
          arg == "--ticks" || arg == "--format" || arg == "--output" || arg == "--timeline";
      if (once &&
          ((arg == "--ticks" && ticks) || (arg == "--format" && formatGiven) ||
           (arg == "--output" && options_.Output) || (arg == "--timeline" && options_.Timeline))) {
        return Refuse(msg_.MsgRunOpcaoRepetida + arg);
      }
      if (!Apply(arg, value, ticks, formatGiven)) {
        return Refuse(msg_.MsgRunValorInvalido + arg + ": " + ShownValue(value));
      }
    }
    if (ticks) {
      options_.Overrides.push_back({"CENARIO", "TICKS", *ticks, "--ticks"});
    }
    if (options_.Command == RunnerCommand::Compare) {
      return CheckVaries();
    }
    return {options_, {}};
  }

 private:
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
      const auto named = std::find_if(kCommands.begin(), kCommands.end(),
                                      [&](const CommandName& c) { return c.Name == args_[i]; });
      if (named == kCommands.end()) {
        continue;
      }
      if (first) {
        error_ = msg_.MsgRunDoisComandos + *first + " " + args_[i];
        return false;
      }
      first = args_[i];
      commandAt_ = i;
      options_.Command = named->Command;
      if (named->TakesFile) {
        if (i + 1 >= args_.size() || args_[i + 1].starts_with("--")) {
          error_ = msg_.MsgRunFaltaValor + args_[i];
          return false;
        }
        options_.File = args_[i + 1];
        ++i;
      }
    }
    if (!first) {
      // A misspelt command reads as what it is, not as a missing one.
      const auto unknown = std::find_if(args_.begin(), args_.end(), [](const std::string& arg) {
        return arg.starts_with("--") && !IsOption(arg);
      });
      error_ = unknown != args_.end() ? msg_.MsgRunOpcaoDesconhecida + ShownValue(*unknown)
                                      : msg_.MsgRunSemComando;
    }
    return first.has_value();
  }

  bool TakesFile() const {
    return options_.Command == RunnerCommand::Run || options_.Command == RunnerCommand::Compare ||
           options_.Command == RunnerCommand::Check;
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
    if (option == "--timeline") {
      options_.Timeline = value;
      return TimelineKindOf(value).has_value();
    }
    auto vary = ParseVary(value);
    if (vary) {
      options_.Varies.push_back(std::move(*vary));
    }
    return vary.has_value();
  }

  ParsedCommandLine Refuse(std::string error) { return {std::nullopt, std::move(error)}; }

  const std::vector<std::string>& args_;
  const TMessages& msg_;
  RunnerOptions options_;
  std::size_t commandAt_ = 0;
  std::string error_;
};

}  // namespace

ParsedCommandLine ParseRunnerArguments(const std::vector<std::string>& args, const TMessages& msg) {
  return Parser(args, msg).Parse();
}

}  // namespace kelpa
