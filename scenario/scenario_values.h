// SPDX-License-Identifier: MIT
// The value forms of a scenario file, each checked strictly. A parser that refuses a value says
// why in Error (a catalogue text naming the key and what is wrong) and returns nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "scenario/scenario.h"

namespace kelpa {

struct TMessages;

// Largest tick a scenario may name: a billion ticks is days of processor time.
inline constexpr std::int64_t kMaxScenarioTick = 1'000'000'000;

// The six process kinds as a scenario names them, in ProcessKind order.
inline constexpr std::string_view kScenarioKindNames[] = {"CPU",  "IO_1",  "IO_2",
                                                          "IO_3", "MIX_1", "MIX_2"};

class ScenarioValues {
 public:
  explicit ScenarioValues(const TMessages& msg) : msg_(msg) {}

  // A decimal integer (an optional "-" and digits) within lo..hi.
  std::optional<std::int64_t> Integer(std::string_view key, std::string_view text, std::int64_t lo,
                                      std::int64_t hi);
  // "0" or "1".
  std::optional<bool> Flag(std::string_view key, std::string_view text);
  // One of kScenarioKindNames (any ASCII case): its index.
  std::optional<int> Kind(std::string_view key, std::string_view text);
  // A comma list of kinds, at least one.
  std::optional<std::vector<int>> Kinds(std::string_view key, std::string_view text);
  // ANTECIPADA (true) or DEMANDA (false), any ASCII case.
  std::optional<bool> AnticipatedFetch(std::string_view key, std::string_view text);
  // One of the names of a Choice row (any ASCII case): its index.
  std::optional<int> Choice(const OptionRow& row, std::string_view text);
  // "#RRGGBB" in hexadecimal digits of either case.
  std::optional<TColor> Colour(std::string_view key, std::string_view text);
  // A comma list of ticks 0..kMaxScenarioTick in strictly ascending order; empty for none.
  std::optional<std::vector<std::int64_t>> Ticks(std::string_view key, std::string_view text);
  // A comma list of TICK:PRIORITY, ticks strictly ascending, priorities 0..15; empty for none.
  std::optional<std::vector<PriorityChange>> PriorityChanges(std::string_view key,
                                                             std::string_view text);
  // A program of one's own (see ParseProgram): at most what the process's pages hold.
  std::optional<std::vector<std::int32_t>> Program(std::string_view key, std::string_view text);
  // One tick, or nothing for an empty value.
  std::optional<std::optional<std::int64_t>> OptionalTick(std::string_view key,
                                                          std::string_view text);
  // "LO-HI" (or one value N, meaning N-N), both within lo..hi and LO <= HI.
  std::optional<std::pair<std::int64_t, std::int64_t>> Range(std::string_view key,
                                                             std::string_view text, std::int64_t lo,
                                                             std::int64_t hi);

  // The comma-separated items of text, trimmed; none when an item is empty.
  std::optional<std::vector<std::string_view>> Items(std::string_view key, std::string_view text);

  // Why the last refused value was refused.
  std::string Error;

 private:
  // Checks that the ticks are strictly ascending.
  bool Ascending(std::string_view key, const std::vector<std::int64_t>& ticks);

  const TMessages& msg_;
};

// How a scenario file writes a colour: "#RRGGBB", upper-case digits.
std::string ColourText(TColor colour);

}  // namespace kelpa
