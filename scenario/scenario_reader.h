// SPDX-License-Identifier: MIT
// Reading scenario files. Unlike kelpa.ini, a scenario is checked strictly: an unknown section or
// key, a duplicate, a malformed or out-of-range value, or a request before its process arrives
// is an error naming the file, the line and what is wrong, and nothing is read.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "scenario/scenario.h"

namespace kelpa {

struct TMessages;

struct ScenarioError {
  std::string File;  // as given; the option ("--set", "--ticks", "--vary") for an override
  int Line = 0;      // 1-based; 0 when the error is about the whole file or an override
  std::string Reason;
  // "FILE:LINE: reason", or "FILE: reason" without a line.
  std::string Text() const;
};

// One "SECTION.KEY=VALUE" given on the command line: it sets the key as if the file said so
// (replacing the file's line, or adding it), and is checked as strictly.
struct ScenarioOverride {
  std::string Section;  // e.g. "GLOBAL", "PROCESSO 2"
  std::string Key;
  std::string Value;
  std::string Option = "--set";  // the option that gave it, which an error names
};

struct ScenarioReading {
  std::optional<Scenario> Value;  // set when the file was read
  std::optional<ScenarioError> Error;
};

// Splits "SECTION.KEY=VALUE" at the last "." before the first "="; none when malformed.
std::optional<ScenarioOverride> ParseOverride(std::string_view text);

ScenarioReading ParseScenario(std::string_view bytes, const std::string& fileName,
                              const TMessages& msg,
                              const std::vector<ScenarioOverride>& overrides = {});
// The bytes of a regular file, up to one past 1 MiB; none, with error set, when it cannot be read.
std::optional<std::string> ReadScenarioBytes(const std::string& path, const TMessages& msg,
                                             ScenarioError& error);
// Reads the file (at most 1 MiB) and parses it; a file that cannot be read is an error too.
ScenarioReading ReadScenarioFile(const std::string& path, const TMessages& msg,
                                 const std::vector<ScenarioOverride>& overrides = {});

// The keys of one section's options with their values, as a written scenario gives them.
using ScenarioKeyValues = std::vector<std::pair<std::string_view, std::string>>;
ScenarioKeyValues OptionKeyValues(const RunOptions& options, OptionSection section);

// The scenario with every key written out, drawn processes as ordinary [PROCESSO N] sections;
// ParseScenario reads it back to an equal Scenario.
std::string WriteScenario(const Scenario& scenario);

}  // namespace kelpa
