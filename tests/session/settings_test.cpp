// SPDX-License-Identifier: MIT
// The scheduling settings in section GLOBAL of kelpa.ini in the current directory, and the
// windows' zoom in section VISUAL.
#include <gtest/gtest.h>

#include <sys/file.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "catalogue/messages.h"
#include "platform/ini_text.h"
#include "session/settings.h"
#include "support/recording_reporter.h"
#include "support/temp_working_directory.h"

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
  RunOptions settings;
  RecordingReporter reporter;
  EXPECT_TRUE(SaveLoadSettings(SettingsMode::Load, settings, reporter));
  EXPECT_EQ(ReadBytes(dir.File("kelpa.ini")), kFresh);
  EXPECT_TRUE(settings.Preemption);
  EXPECT_TRUE(settings.DynamicPriority);
  EXPECT_EQ(settings.RealTimeThreshold, 8);
  EXPECT_TRUE(reporter.Messages().empty());
}

TEST(Settings, LoadReadsTheFileAndLeavesItAlone) {
  TempWorkingDirectory dir;
  const std::string content =
      "[MSG]\r\nMSG0002=Run\r\n[global]\r\npreempcao=0\r\nPRIORIDADE_DINAMICA=yes\r\n"
      "TEMPO_REAL=20\r\n";
  WriteBytes(dir.File("kelpa.ini"), content);
  RunOptions settings;
  settings.DynamicPriority = false;
  RecordingReporter reporter;
  EXPECT_TRUE(SaveLoadSettings(SettingsMode::Load, settings, reporter));
  EXPECT_FALSE(settings.Preemption);
  EXPECT_TRUE(settings.DynamicPriority);      // "yes" is no number: the default, true
  EXPECT_EQ(settings.RealTimeThreshold, 16);  // clamped to the options window's range
  EXPECT_EQ(ReadBytes(dir.File("kelpa.ini")), content);
}

TEST(Settings, SaveRewritesOnlyTheGlobalKeys) {
  TempWorkingDirectory dir;
  const std::string before =
      "; translated\r\n[MSG]\r\nMSG0002=Run\n[GLOBAL]\r\nPREEMPCAO=1\r\nPRIORIDADE_DINAMICA=1\r\n"
      "TEMPO_REAL=8\r\n\r\n[GP]\r\nLabel1=Fila \xE9\r\n";
  WriteBytes(dir.File("kelpa.ini"), before);
  RunOptions settings;
  settings.Preemption = false;
  settings.RealTimeThreshold = 0;
  RecordingReporter reporter;
  EXPECT_TRUE(SaveLoadSettings(SettingsMode::Save, settings, reporter));
  std::string expected = before;
  expected.replace(expected.find("PREEMPCAO=1"), 11, "PREEMPCAO=0");
  expected.replace(expected.find("TEMPO_REAL=8"), 12, "TEMPO_REAL=0");
  EXPECT_EQ(ReadBytes(dir.File("kelpa.ini")), expected);
}

TEST(Settings, OtherModesDoNothing) {
  TempWorkingDirectory dir;
  RunOptions settings;
  RecordingReporter reporter;
  EXPECT_TRUE(SaveLoadSettings(static_cast<SettingsMode>(0), settings, reporter));
  EXPECT_TRUE(SaveLoadSettings(static_cast<SettingsMode>(3), settings, reporter));
  EXPECT_FALSE(fs::exists(dir.File("kelpa.ini")));
}

TEST(Settings, FailedSaveReportsTheFullPathAndKeepsTheValues) {
  TempWorkingDirectory dir;
  fs::create_directory(dir.File("kelpa.ini"));
  RunOptions settings;
  settings.Preemption = false;
  settings.RealTimeThreshold = 3;
  RecordingReporter reporter;
  EXPECT_FALSE(SaveLoadSettings(SettingsMode::Save, settings, reporter));
  ASSERT_EQ(reporter.Messages().size(), 1u);
  EXPECT_EQ(reporter.Messages()[0], "Unable to write to " + (dir.Path() / "kelpa.ini").string());
  EXPECT_FALSE(settings.Preemption);
  EXPECT_EQ(settings.RealTimeThreshold, 3);
  EXPECT_TRUE(fs::is_directory(dir.File("kelpa.ini")));
}

// A file its owner made read-only is read at start-up but never replaced, though the folder
// allows the rename and the tests may run as the superuser: each save says so, and the confirmed
// values stay in force.
TEST(Settings, AReadOnlyFileIsReadButNeverReplaced) {
  using enum fs::perms;
  for (const fs::perms mode : {owner_read | group_read | others_read, owner_read | others_write}) {
    TempWorkingDirectory dir;
    const std::string path = (dir.Path() / "kelpa.ini").string();
    const std::string content = "[GLOBAL]\r\nTEMPO_REAL=4\r\n";
    WriteBytes(path, content);
    fs::permissions(path, mode);
    RunOptions settings;
    RecordingReporter reporter;
    EXPECT_TRUE(SaveLoadSettings(SettingsMode::Load, settings, reporter));
    EXPECT_EQ(settings.RealTimeThreshold, 4);
    settings.Preemption = false;
    EXPECT_FALSE(SaveLoadSettings(SettingsMode::Save, settings, reporter));
    EXPECT_FALSE(WriteZoom(150, reporter));
    EXPECT_EQ(reporter.Messages(), std::vector<std::string>(2, "Unable to write to " + path));
    EXPECT_EQ(ReadBytes(path), content);
    EXPECT_EQ(fs::status(path).permissions(), mode);
    EXPECT_FALSE(settings.Preemption);
  }
}

TEST(Settings, EachRunUsesTheFileOfTheCurrentDirectory) {
  TempWorkingDirectory first;
  WriteBytes(first.File("kelpa.ini"), "[GLOBAL]\r\nTEMPO_REAL=4\r\n");
  RunOptions settings;
  RecordingReporter reporter;
  {
    TempWorkingDirectory second;
    EXPECT_TRUE(SaveLoadSettings(SettingsMode::Load, settings, reporter));
    EXPECT_EQ(settings.RealTimeThreshold, 8);
    EXPECT_EQ(ReadBytes(second.File("kelpa.ini")), kFresh);
  }
  EXPECT_TRUE(SaveLoadSettings(SettingsMode::Load, settings, reporter));
  EXPECT_EQ(settings.RealTimeThreshold, 4);
}

struct ThresholdCase {
  const char* Name;
  const char* Value;
  int Expected;
};

class SettingsThresholdTest : public ::testing::TestWithParam<ThresholdCase> {};

// Out of range values are clamped where they are read: the priority rules subtract from it.
TEST_P(SettingsThresholdTest, TempoRealIsClampedToTheOptionsRange) {
  TempWorkingDirectory dir;
  WriteBytes(dir.File("kelpa.ini"), std::string("[GLOBAL]\r\nTEMPO_REAL=") + GetParam().Value);
  RunOptions settings;
  RecordingReporter reporter;
  EXPECT_TRUE(SaveLoadSettings(SettingsMode::Load, settings, reporter));
  EXPECT_EQ(settings.RealTimeThreshold, GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, SettingsThresholdTest,
    ::testing::Values(ThresholdCase{"Lowest", "-2147483648", 0}, ThresholdCase{"Minus", "-1", 0},
                      ThresholdCase{"Zero", "0", 0}, ThresholdCase{"Sixteen", "16", 16},
                      ThresholdCase{"Seventeen", "17", 16},
                      ThresholdCase{"Highest", "0x7FFFFFFF", 16},
                      ThresholdCase{"NoNumber", "x", 8}),
    [](const ::testing::TestParamInfo<ThresholdCase>& info) { return info.param.Name; });

struct UnreadableCase {
  const char* Name;
  std::string Content;
  const char* Reason;         // in the built-in texts
  const char* EnglishReason;  // in the English catalogue
};

class SettingsUnreadableTest : public ::testing::TestWithParam<UnreadableCase> {};

// A file the program cannot read is reported at start-up and never written: the values in
// memory stay, and a save is refused with the reason, in the catalogue's words; only "Unable to
// write to <path>" is the same in every language.
TEST_P(SettingsUnreadableTest, IsReportedAndLeftAsItIs) {
  TMessages english;
  CarregaMensagens(
      english,
      (fs::path(__FILE__).parent_path() / ".." / ".." / "examples" / "en" / "kelpa.ini").string());
  for (const bool inEnglish : {false, true}) {
    TempWorkingDirectory dir;
    const std::string path = (dir.Path() / "kelpa.ini").string();
    WriteBytes(path, GetParam().Content);
    RunOptions settings;
    settings.RealTimeThreshold = 5;
    RecordingReporter reporter;
    const TMessages texts = inEnglish ? english : TMessages();
    EXPECT_TRUE(SaveLoadSettings(SettingsMode::Load, settings, reporter, texts));
    EXPECT_EQ(settings.RealTimeThreshold, 5);
    settings.Preemption = false;
    EXPECT_FALSE(SaveLoadSettings(SettingsMode::Save, settings, reporter, texts));
    const auto messages = reporter.Messages();
    ASSERT_EQ(messages.size(), 2u);
    if (inEnglish) {
      EXPECT_EQ(messages[0], "Unable to read " + path + ": " + GetParam().EnglishReason +
                                 "; the built-in texts and settings are in use");
      EXPECT_EQ(messages[1], "Unable to write to " + path + ": " + GetParam().EnglishReason +
                                 "; the file is left as it is");
    } else {
      EXPECT_EQ(messages[0], "Não foi possível ler " + path + ": " + GetParam().Reason +
                                 "; valem os textos e as opções embutidos");
      EXPECT_EQ(messages[1], "Unable to write to " + path + ": " + GetParam().Reason +
                                 "; o arquivo fica como está");
    }
    EXPECT_EQ(ReadBytes(path), GetParam().Content);
    EXPECT_FALSE(settings.Preemption);
  }
}

std::string Utf16Le(const std::string& ascii) {
  std::string out = "\xFF\xFE";
  for (char c : ascii) {
    out += c;
    out += '\0';
  }
  return out;
}

const std::string kGlobal3 = "[GLOBAL]\r\nTEMPO_REAL=3\r\n";

INSTANTIATE_TEST_SUITE_P(
    Files, SettingsUnreadableTest,
    ::testing::Values(UnreadableCase{"Utf16LittleEndian", Utf16Le(kGlobal3),
                                     "arquivo em UTF-16; grave-o em UTF-8",
                                     "the file is in UTF-16; save it as UTF-8"},
                      UnreadableCase{"Utf16BigEndian", std::string("\xFE\xFF\0[\0G", 6),
                                     "arquivo em UTF-16; grave-o em UTF-8",
                                     "the file is in UTF-16; save it as UTF-8"},
                      UnreadableCase{
                          "OneByteTooLarge",
                          kGlobal3 + std::string(kMaxIniFileSize - kGlobal3.size() + 1, '\n'),
                          "arquivo maior que 1 MiB", "the file is larger than 1 MiB"}),
    [](const ::testing::TestParamInfo<UnreadableCase>& info) { return info.param.Name; });

TEST(Settings, AFileOfExactlyTheBoundIsRead) {
  TempWorkingDirectory dir;
  WriteBytes(dir.File("kelpa.ini"),
             kGlobal3 + std::string(kMaxIniFileSize - kGlobal3.size(), '\n'));
  RunOptions settings;
  RecordingReporter reporter;
  EXPECT_TRUE(SaveLoadSettings(SettingsMode::Load, settings, reporter));
  EXPECT_EQ(settings.RealTimeThreshold, 3);
  EXPECT_TRUE(reporter.Messages().empty());
}

// Start-up removes what killed saves left, and nothing else: not a save in progress (it holds
// its file locked), not other names, not folders or links.
TEST(Settings, StartUpRemovesOnlyAbandonedTemporaryFiles) {
  TempWorkingDirectory dir;
  const std::vector<std::pair<std::string, bool>> files = {{"kelpa.ini.tmp0123456789ab", true},
                                                           {"kelpa.ini.tmpffffffffffff", true},
                                                           {"kelpa.ini.tmp0123456789a", false},
                                                           {"kelpa.ini.tmp0123456789abc", false},
                                                           {"kelpa.ini.tmp0123456789AB", false},
                                                           {"other.ini.tmp0123456789ab", false},
                                                           {"kelpa.ini.tmp", false}};
  for (const auto& [name, removed] : files) {
    WriteBytes(dir.File(name), "left over");
  }
  fs::create_directory(dir.File("kelpa.ini.tmpaaaaaaaaaaaa"));
  fs::create_symlink(dir.File("kelpa.ini.tmp0123456789ab"), dir.File("kelpa.ini.tmpbbbbbbbbbbbb"));
  WriteBytes(dir.File("kelpa.ini.tmpcccccccccccc"), "being saved");
  const int saving = ::open(dir.File("kelpa.ini.tmpcccccccccccc").c_str(), O_RDONLY);
  ASSERT_EQ(::flock(saving, LOCK_EX), 0);

  RunOptions settings;
  RecordingReporter reporter;
  EXPECT_TRUE(SaveLoadSettings(SettingsMode::Load, settings, reporter));
  ::close(saving);
  for (const auto& [name, removed] : files) {
    EXPECT_NE(fs::exists(dir.File(name)), removed) << name;
  }
  EXPECT_TRUE(fs::is_directory(dir.File("kelpa.ini.tmpaaaaaaaaaaaa")));
  EXPECT_TRUE(fs::is_symlink(dir.File("kelpa.ini.tmpbbbbbbbbbbbb")));
  EXPECT_EQ(ReadBytes(dir.File("kelpa.ini.tmpcccccccccccc")), "being saved");
  EXPECT_EQ(ReadBytes(dir.File("kelpa.ini")), kFresh);
}

// The zoom is written into its own section, next to whatever the file holds, and read back; any
// value that is not one of the offered levels reads as 100 %.
TEST(Settings, ZoomRoundTripsInItsOwnSection) {
  TempWorkingDirectory dir;
  WriteBytes(dir.File("kelpa.ini"), kFresh);
  RecordingReporter reporter;
  for (const int zoom : kZoomLevels) {
    ASSERT_TRUE(WriteZoom(zoom, reporter));
    EXPECT_EQ(ReadZoom(dir.File("kelpa.ini")), zoom);
  }
  EXPECT_EQ(ReadBytes(dir.File("kelpa.ini")), std::string(kFresh) + "[VISUAL]\r\nZOOM=200\r\n");
  EXPECT_TRUE(reporter.Messages().empty());
}

TEST(Settings, ZoomOutsideTheOfferedLevelsReadsAsTheDefault) {
  const char* const values[] = {"",    "abc",  "0",           "-125",  "130",   "99",
                                "1e3", "125%", "99999999999", "0x7D0", " 1 2 5"};
  TempWorkingDirectory dir;
  EXPECT_EQ(ReadZoom(dir.File("kelpa.ini")), kDefaultZoom);  // no file
  for (const char* value : values) {
    WriteBytes(dir.File("kelpa.ini"), std::string("[VISUAL]\r\nZOOM=") + value + "\r\n");
    EXPECT_EQ(ReadZoom(dir.File("kelpa.ini")), kDefaultZoom) << value;
  }
  WriteBytes(dir.File("kelpa.ini"), "[visual]\r\nzoom=0x96\r\n");  // 150, any case
  EXPECT_EQ(ReadZoom(dir.File("kelpa.ini")), 150);
}

// The look is read in any case; a value that is not one of the three, or none, is the desktop's
// and leaves the file as it is; each look written reads back.
TEST(Settings, LookReadsItsThreeValuesAndOtherwiseFollowsTheDesktop) {
  struct Case {
    const char* File;
    Look Expected;
  };
  const Case cases[] = {
      {"[VISUAL]\r\nAPARENCIA=CLARA\r\n", Look::Light},
      {"[visual]\r\naparencia=escura\r\n", Look::Dark},
      {"[VISUAL]\r\nAPARENCIA=SISTEMA\r\n", Look::Desktop},
      {"[VISUAL]\r\nAPARENCIA=ESCURO\r\n", Look::Desktop},
      {"[VISUAL]\r\nAPARENCIA=\r\n", Look::Desktop},
      {"[VISUAL]\r\nZOOM=150\r\n", Look::Desktop},
  };
  TempWorkingDirectory dir;
  const std::vector<std::string> layers = {dir.File("kelpa.ini")};
  EXPECT_EQ(ReadLook(layers), kDefaultLook);  // no file
  for (const Case& c : cases) {
    WriteBytes(dir.File("kelpa.ini"), c.File);
    EXPECT_EQ(ReadLook(layers), c.Expected) << c.File;
    EXPECT_EQ(ReadBytes(dir.File("kelpa.ini")), c.File);
  }
  RecordingReporter reporter;
  WriteBytes(dir.File("kelpa.ini"), kFresh);
  for (const Look look : {Look::Dark, Look::Light, Look::Desktop}) {
    ASSERT_TRUE(WriteLook(look, reporter));
    EXPECT_EQ(ReadLook(layers), look);
  }
  EXPECT_EQ(ReadBytes(dir.File("kelpa.ini")),
            std::string(kFresh) + "[VISUAL]\r\nAPARENCIA=SISTEMA\r\n");
  EXPECT_TRUE(reporter.Messages().empty());
}

TEST(Settings, FailedZoomSaveIsReported) {
  TempWorkingDirectory dir;
  fs::create_directory(dir.File("kelpa.ini"));
  RecordingReporter reporter;
  EXPECT_EQ(ReadZoom(dir.File("kelpa.ini")), kDefaultZoom);
  EXPECT_FALSE(WriteZoom(150, reporter));
  ASSERT_EQ(reporter.Messages().size(), 1u);
  EXPECT_EQ(reporter.Messages()[0], "Unable to write to " + (dir.Path() / "kelpa.ini").string());
}

}  // namespace
}  // namespace kelpa
