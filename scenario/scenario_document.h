// SPDX-License-Identifier: MIT
// A scenario file cut into its sections and key lines, with the structure checked: every line is
// a section, a key or a comment; every section and key is known and given once. The values are
// read later (ScenarioBuilder); command-line overrides are merged in here first.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scenario/scenario_reader.h"

namespace kelpa {

enum class ScenarioSectionKind {
  Scenario,
  Global,
  Memory,
  Process,
  Draw,
  Change,
  Homework,
  Exercise
};

// Whether sections of kind are numbered ("PROCESSO 3", "MUDANCA 1").
bool IsNumberedSection(ScenarioSectionKind kind);

// Where a key's value came from, for the error that names it.
struct ScenarioEntry {
  std::string Key;       // as the known key is spelled (upper case)
  std::string Value;     // trimmed, one pair of enclosing quotes removed
  int Line = 0;          // 1-based line of the file; 0 for an override
  std::string Override;  // the "SECTION.KEY=VALUE" text of an override, else empty
  std::string Option;    // the option that gave an override
};

struct ScenarioSection {
  ScenarioSectionKind Kind = ScenarioSectionKind::Scenario;
  int Number = 0;  // N of [PROCESSO N] or [MUDANCA N]
  int Line = 0;    // 0 when an override opened it
  std::vector<ScenarioEntry> Entries;
};

struct ScenarioDocument {
  std::vector<ScenarioSection> Sections;  // in file order; overrides' new sections last
};

// Cuts bytes (UTF-8, with or without its mark, or else Windows-1252) into sections; the first
// structural error, in line order, when there is one.
std::optional<ScenarioError> ReadScenarioDocument(std::string_view bytes,
                                                  const std::string& fileName, const TMessages& msg,
                                                  ScenarioDocument& doc);

// Sets each override's key, in order, replacing the file's line or adding one (and its section).
std::optional<ScenarioError> ApplyOverrides(const std::vector<ScenarioOverride>& overrides,
                                            const TMessages& msg, ScenarioDocument& doc);

// The known keys of a section kind, in the order a written scenario gives them.
const std::vector<std::string_view>& ScenarioKeys(ScenarioSectionKind kind);

// "[CENARIO]"-style name of a section, as written ("PROCESSO 3").
std::string ScenarioSectionName(const ScenarioSection& section);

}  // namespace kelpa
