// The scheduling settings in section GLOBAL of kelpa.ini in the current directory.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "console/recording_reporter.h"
#include "console/settings.h"
#include "console/temp_working_directory.h"

namespace kelpa {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::RecordingReporter;
using test::TempWorkingDirectory;
using test::WriteBytes;

const char* const kFresh = "[GLOBAL]\r\nPREEMPCAO=1\r\nPRIORIDADE_DINAMICA=1\r\nTEMPO_REAL=8\r\n";

TEST(Settings, FirstStartCreatesTheFileWithTheDefaults) {
  TempWorkingDirectory dir;
  SchedulingSettings settings;
  RecordingReporter reporter;
  EXPECT_TRUE(SaveLoadSettings(1, settings, reporter));
  EXPECT_EQ(ReadBytes(dir.File("kelpa.ini")), kFresh);
  EXPECT_TRUE(settings.PreemptionEnabled);
  EXPECT_TRUE(settings.DynamicPriorityEnabled);
  EXPECT_EQ(settings.RealTimeThreshold, 8);
  EXPECT_TRUE(reporter.Messages().empty());
}

TEST(Settings, LoadReadsTheFileAndLeavesItAlone) {
  TempWorkingDirectory dir;
  const std::string content =
      "[MSG]\r\nMSG0002=Run\r\n[global]\r\npreempcao=0\r\nPRIORIDADE_DINAMICA=yes\r\n"
      "TEMPO_REAL=20\r\n";
  WriteBytes(dir.File("kelpa.ini"), content);
  SchedulingSettings settings;
  settings.DynamicPriorityEnabled = false;
  RecordingReporter reporter;
  EXPECT_TRUE(SaveLoadSettings(1, settings, reporter));
  EXPECT_FALSE(settings.PreemptionEnabled);
  EXPECT_TRUE(settings.DynamicPriorityEnabled);  // "yes" is no number: the default, true
  EXPECT_EQ(settings.RealTimeThreshold, 20);     // used as it stands, no range test
  EXPECT_EQ(ReadBytes(dir.File("kelpa.ini")), content);
}

TEST(Settings, SaveRewritesOnlyTheGlobalKeys) {
  TempWorkingDirectory dir;
  const std::string before =
      "; translated\r\n[MSG]\r\nMSG0002=Run\n[GLOBAL]\r\nPREEMPCAO=1\r\nPRIORIDADE_DINAMICA=1\r\n"
      "TEMPO_REAL=8\r\n\r\n[GP]\r\nLabel1=Fila \xE9\r\n";
  WriteBytes(dir.File("kelpa.ini"), before);
  SchedulingSettings settings;
  settings.PreemptionEnabled = false;
  settings.RealTimeThreshold = 0;
  RecordingReporter reporter;
  EXPECT_TRUE(SaveLoadSettings(2, settings, reporter));
  std::string expected = before;
  expected.replace(expected.find("PREEMPCAO=1"), 11, "PREEMPCAO=0");
  expected.replace(expected.find("TEMPO_REAL=8"), 12, "TEMPO_REAL=0");
  EXPECT_EQ(ReadBytes(dir.File("kelpa.ini")), expected);
}

TEST(Settings, OtherModesDoNothing) {
  TempWorkingDirectory dir;
  SchedulingSettings settings;
  RecordingReporter reporter;
  EXPECT_TRUE(SaveLoadSettings(0, settings, reporter));
  EXPECT_TRUE(SaveLoadSettings(3, settings, reporter));
  EXPECT_FALSE(fs::exists(dir.File("kelpa.ini")));
}

TEST(Settings, FailedSaveReportsTheFullPathAndKeepsTheValues) {
  TempWorkingDirectory dir;
  fs::create_directory(dir.File("kelpa.ini"));
  SchedulingSettings settings;
  settings.PreemptionEnabled = false;
  settings.RealTimeThreshold = 3;
  RecordingReporter reporter;
  EXPECT_FALSE(SaveLoadSettings(2, settings, reporter));
  ASSERT_EQ(reporter.Messages().size(), 1u);
  EXPECT_EQ(reporter.Messages()[0], "Unable to write to " + (dir.Path() / "kelpa.ini").string());
  EXPECT_FALSE(settings.PreemptionEnabled);
  EXPECT_EQ(settings.RealTimeThreshold, 3);
  EXPECT_TRUE(fs::is_directory(dir.File("kelpa.ini")));
}

TEST(Settings, EachRunUsesTheFileOfTheCurrentDirectory) {
  TempWorkingDirectory first;
  WriteBytes(first.File("kelpa.ini"), "[GLOBAL]\r\nTEMPO_REAL=4\r\n");
  SchedulingSettings settings;
  RecordingReporter reporter;
  {
    TempWorkingDirectory second;
    EXPECT_TRUE(SaveLoadSettings(1, settings, reporter));
    EXPECT_EQ(settings.RealTimeThreshold, 8);
    EXPECT_EQ(ReadBytes(second.File("kelpa.ini")), kFresh);
  }
  EXPECT_TRUE(SaveLoadSettings(1, settings, reporter));
  EXPECT_EQ(settings.RealTimeThreshold, 4);
}

}  // namespace
}  // namespace kelpa
