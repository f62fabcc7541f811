// SPDX-License-Identifier: MIT
// Where the texts and options of a first start and of later ones come from: the built-in
// Portuguese, the shipped catalogue of the desktop's language, the lab's system-wide defaults and
// the user's own kelpa.ini, each winning over the ones before it where it gives a key.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "catalogue/messages.h"
#include "platform/ini_file.h"
#include "platform/settings_layers.h"
#include "session/settings.h"
#include "support/recording_reporter.h"
#include "support/temp_working_directory.h"

namespace kelpa {
namespace {

namespace fs = std::filesystem;

const fs::path kEnglish =
    fs::path(__FILE__).parent_path() / ".." / ".." / "examples" / "en" / "kelpa.ini";

struct Case {
  const char* Locale;
  const char* System;   // the lab's file, or null for none
  const char* User;     // the user's kelpa.ini, or null for a first start
  const char* Created;  // the text of MSGLOG0703 in force
  int Threshold;        // TEMPO_REAL in force
};

TEST(SettingsLayers, TheUsersFileWinsOverTheLabsWhichWinsOverTheDesktopsLanguage) {
  const std::string lab = "[GLOBAL]\nTEMPO_REAL=3\n[MSGLOG]\nMSGLOG0703=\" made by the lab\"\n";
  const std::string own = "[GLOBAL]\nTEMPO_REAL=12\n";
  const std::string ownWords = "[MSGLOG]\nMSGLOG0703=\" meu\"\n";
  const Case cases[] = {
      {"pt_BR.UTF-8", nullptr, nullptr, " criado", 8},
      {"C", nullptr, nullptr, " criado", 8},
      {"en_US.UTF-8", nullptr, nullptr, " created", 8},
      {"en_GB", lab.c_str(), nullptr, " made by the lab", 3},
      {"pt_BR.UTF-8", lab.c_str(), own.c_str(), " made by the lab", 12},
      {"en_US.UTF-8", nullptr, own.c_str(), " created", 12},
      {"en_US.UTF-8", lab.c_str(), ownWords.c_str(), " meu", 3},
      {"fr_FR.UTF-8", nullptr, nullptr, " criado", 8},  // no French catalogue is shipped
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Locale) + (c.System ? " lab" : "") + (c.User ? " own" : ""));
    test::TempWorkingDirectory dir;
    fs::create_directories(dir.Path() / "share" / "en");
    fs::copy_file(kEnglish, dir.Path() / "share" / "en" / "kelpa.ini");
    const SettingsPlaces places{dir.File("share"), dir.File("lab.ini"), c.Locale};
    if (c.System != nullptr) {
      test::WriteBytes(places.SystemFile, c.System);
    }
    if (c.User != nullptr) {
      test::WriteBytes(KelpaIniPath(), c.User);
    }
    TMessages msg;
    CarregaMensagens(msg, SettingsLayers(places, KelpaIniPath()));
    EXPECT_EQ(msg.MsgLogCriado, c.Created);

    RunOptions options;
    test::RecordingReporter reporter;
    EXPECT_TRUE(SaveLoadSettings(SettingsMode::Load, options, reporter, TMessages(),
                                 SettingsLayers(places, std::string())));
    EXPECT_EQ(options.RealTimeThreshold, c.Threshold);
    // A first start keeps what it started with in the user's own file; a later one leaves the
    // file as the user has it.
    const bool kept =
        c.User == nullptr || std::string(c.User).find("TEMPO_REAL") != std::string::npos;
    EXPECT_EQ(TIniFile(KelpaIniPath()).ReadInteger("GLOBAL", "TEMPO_REAL", -1),
              kept ? c.Threshold : -1);
  }
}

}  // namespace
}  // namespace kelpa
