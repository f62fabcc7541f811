// SPDX-License-Identifier: MIT
// Every option of the table, as each reader and writer of options takes it: a scenario file, the
// written scenario, --set, a change at a tick, a run and kelpa.ini; its range is refused at
// both ends, naming the file and line or the override.
#include <gtest/gtest.h>

#include <initializer_list>
#include <mutex>
#include <string>
#include <string_view>

#include "catalogue/messages.h"
#include "platform/ini_file.h"
#include "scenario/scenario_reader.h"
#include "scenario/scenario_run.h"
#include "session/settings.h"
#include "support/recording_display.h"
#include "support/recording_log.h"
#include "support/recording_reporter.h"
#include "support/temp_working_directory.h"

namespace kelpa {
namespace {

const TMessages kMsg;

// A value the option does not have by default.
int Other(const OptionRow& row) {
  return row.Default == row.Max ? row.Min : row.Max;
}

// Joined by appending: GCC 12 at -O3 misreads the string additions here as overlapping copies.
std::string Joined(std::initializer_list<std::string_view> parts) {
  std::string text;
  for (const std::string_view part : parts) {
    text.append(part);
  }
  return text;
}

std::string Line(const OptionRow& row, const std::string& value) {
  return Joined({row.Key, "=", value, "\n"});
}

std::string Section(const OptionRow& row) {
  return Joined({"[", SectionName(row.Section), "]\n"});
}

// "SECTION.KEY=VALUE", as --set gives it.
ScenarioOverride Override(const OptionRow& row, const std::string& value) {
  return *ParseOverride(Joined({SectionName(row.Section), ".", row.Key, "=", value}));
}

// Whether the option's values are names rather than numbers.
bool Named(const OptionRow& row) {
  return row.Kind == OptionKind::Fetch || row.Kind == OptionKind::Choice;
}

// What refusing a value says: out of range for a number or a flag, unknown for a name.
std::string Refusal(const OptionRow& row) {
  if (row.Kind == OptionKind::Choice) {
    return "valor desconhecido";
  }
  return row.Kind == OptionKind::Fetch ? std::string("busca desconhecida") : " fora do intervalo";
}

// RowOf finds a row by its place: the rows are in the order of OptionId, every one filled in.
TEST(OptionTable, EachRowStandsAtItsOptionsPlace) {
  for (std::size_t i = 0; i < kOptionTable.size(); ++i) {
    const OptionRow& row = kOptionTable[i];
    EXPECT_EQ(static_cast<std::size_t>(row.Id), i);
    EXPECT_FALSE(row.Key.empty());
    EXPECT_FALSE(row.Json.empty());
    EXPECT_LE(row.Min, row.Default);
    EXPECT_LE(row.Default, row.Max);
    EXPECT_EQ(RowOfKey(row.Key), &row);
  }
}

TEST(OptionTable, EveryOptionReadsWritesOverridesAndChangesAtATick) {
  for (const OptionRow& row : kOptionTable) {
    SCOPED_TRACE(std::string(row.Key));
    const int value = Other(row);
    const std::string text = OptionText(row, value);
    const std::string file = Joined({"[PROCESSO 1]\n", Section(row), Line(row, text)});

    const ScenarioReading read = ParseScenario(file, "t.ini", kMsg);
    ASSERT_TRUE(read.Value) << read.Error->Text();
    EXPECT_EQ(row.Get(read.Value->Options), value);
    EXPECT_EQ(row.Get(Scenario{}.Options), row.Default);

    const std::string written = WriteScenario(*read.Value);
    EXPECT_NE(written.find(Line(row, text)), std::string::npos) << written;
    EXPECT_EQ(ParseScenario(written, "w.ini", kMsg).Value, read.Value);

    const ScenarioReading overridden =
        ParseScenario("[PROCESSO 1]\n", "t.ini", kMsg, {Override(row, text)});
    ASSERT_TRUE(overridden.Value);
    EXPECT_EQ(overridden.Value->Options, read.Value->Options);

    const std::string change = Joined({"[PROCESSO 1]\n[MUDANCA 1]\nTICK=3\n", Line(row, text)});
    const ScenarioReading changed = ParseScenario(change, "t.ini", kMsg);
    if (!row.Changeable) {
      ASSERT_FALSE(changed.Value);
      EXPECT_EQ(changed.Error->Line, 4);
      continue;
    }
    ASSERT_TRUE(changed.Value) << changed.Error->Text();
    EXPECT_EQ(changed.Value->Changes.at(0).Options.Get(row.Id), value);
    EXPECT_NE(WriteScenario(*changed.Value).find(Joined({"TICK=3\n", Line(row, text)})),
              std::string::npos);

    // In a run, the option is the scenario's until tick 3 and the change's from then on.
    VirtualClock clock;
    test::RecordingLog log;
    test::RecordingDisplay display;
    Simulation sim(clock, log, display, kMsg);
    ScenarioRun run(sim, clock, *changed.Value);
    run.RunTo(3);
    {
      std::lock_guard lock(sim.Lock);
      EXPECT_EQ(row.Get(sim.Options()), row.Default);
    }
    run.RunTo(4);
    std::lock_guard lock(sim.Lock);
    EXPECT_EQ(row.Get(sim.Options()), value);
  }
}

TEST(OptionTable, EveryOptionRefusesValuesOutsideItsRange) {
  for (const OptionRow& row : kOptionTable) {
    SCOPED_TRACE(std::string(row.Key));
    for (const int outside : {row.Min - 1, row.Max + 1}) {
      const std::string number = std::to_string(outside);
      const std::string text = Named(row) ? Joined({"LRU", number}) : number;
      const ScenarioReading read =
          ParseScenario(Joined({"[PROCESSO 1]\n", Section(row), Line(row, text)}), "t.ini", kMsg);
      ASSERT_FALSE(read.Value);
      EXPECT_EQ(read.Error->Line, 3);
      EXPECT_NE(read.Error->Text().find(Refusal(row)), std::string::npos) << read.Error->Text();
      const ScenarioReading overridden =
          ParseScenario("[PROCESSO 1]\n", "t.ini", kMsg, {Override(row, text)});
      ASSERT_FALSE(overridden.Value);
      EXPECT_EQ(overridden.Error->Text().rfind("--set: ", 0), 0u) << overridden.Error->Text();
    }
  }
}

// kelpa.ini keeps the options a session keeps, each under its key in [GLOBAL], and no other.
TEST(OptionTable, KeptOptionsRoundTripThroughTheSettingsFile) {
  test::TempWorkingDirectory dir;
  test::RecordingReporter reporter;
  RunOptions changed;
  for (const OptionRow& row : kOptionTable) {
    row.Set(changed, Other(row));
  }
  ASSERT_TRUE(WriteSettings(changed, reporter));
  RunOptions read;
  ReadSettings(read);
  const TIniFile ini(KelpaIniPath());
  for (const OptionRow& row : kOptionTable) {
    SCOPED_TRACE(std::string(row.Key));
    EXPECT_EQ(row.Get(read), row.KeptInSettings ? Other(row) : row.Default);
    EXPECT_EQ(ini.HasKey("GLOBAL", std::string(row.Key)), row.KeptInSettings);
  }
}

}  // namespace
}  // namespace kelpa
