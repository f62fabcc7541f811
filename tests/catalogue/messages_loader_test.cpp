// SPDX-License-Identifier: MIT
// Loading the message catalogue from kelpa.ini.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "catalogue/messages.h"
#include "support/temp_working_directory.h"

namespace kelpa {
namespace {

using test::ReadBytes;
using test::TempWorkingDirectory;
using test::WriteBytes;

TEST(MessageTable, HasEveryEntryOnceInLoadingOrder) {
  const auto& entries = MessageEntries();
  std::set<std::string> keys;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::string section = entries[i].Section;
    EXPECT_EQ(section, i < 38 ? "MSGLOG" : "MSG") << entries[i].Key;
    EXPECT_EQ(std::string(entries[i].Key).rfind(section, 0), 0u) << entries[i].Key;
    keys.insert(entries[i].Key);
    for (std::size_t j = 0; j < i; ++j) {
      EXPECT_NE(entries[j].Field, entries[i].Field)
          << entries[i].Key << " fills the text of " << entries[j].Key;
    }
  }
  EXPECT_EQ(keys.size(), kMessageCount);
  EXPECT_EQ(std::string(entries.front().Key), "MSGLOG0001");
  EXPECT_EQ(std::string(entries[37].Key), "MSGLOG0920");
  EXPECT_EQ(std::string(entries[79].Key), "MSG9008");
  // Later blocks follow the window captions, each in ascending key order: the scenario reader's,
  // then the runner's, then the timeline's (its window caption last), then those of scenarios in
  // the windows, then what the windows tell of the run as it stands, then the files and folders
  // the program cannot use.
  EXPECT_EQ(std::string(entries[80].Key), "MSG3000");
  EXPECT_EQ(std::string(entries[104].Key), "MSG3100");
  EXPECT_EQ(std::string(entries[150].Key), "MSG3149");
  EXPECT_EQ(std::string(entries[151].Key), "MSG3200");
  EXPECT_EQ(std::string(entries[180].Key), "MSG9009");
  EXPECT_EQ(std::string(entries[181].Key), "MSG3250");
  EXPECT_EQ(std::string(entries[186].Key), "MSG3255");
  // Then the texts of files and folders the program cannot use and of the runner's help, the
  // guide window's, the scheduling policies', the printed documents', the homework's and, last,
  // the exercise's.
  EXPECT_EQ(std::string(entries[kMessageCount - 91].Key), "MSG3350");
  EXPECT_EQ(std::string(entries[kMessageCount - 84].Key), "MSG3360");
  EXPECT_EQ(std::string(entries[kMessageCount - 74].Key), "MSG3370");
  EXPECT_EQ(std::string(entries[kMessageCount - 65].Key), "MSG3379");
  EXPECT_EQ(std::string(entries[kMessageCount - 64].Key), "MSG3380");
  EXPECT_EQ(std::string(entries[kMessageCount - 56].Key), "MSG3388");
  EXPECT_EQ(std::string(entries[kMessageCount - 55].Key), "MSG3390");
  EXPECT_EQ(std::string(entries[kMessageCount - 28].Key), "MSG3418");
  EXPECT_EQ(std::string(entries[kMessageCount - 27].Key), "MSG3420");
  EXPECT_EQ(std::string(entries[kMessageCount - 2].Key), "MSG3445");
  EXPECT_EQ(std::string(entries.back().Key), "MSG3446");
}

TEST(MessagesLoader, WithoutAFileEveryEntryKeepsItsDefault) {
  TempWorkingDirectory dir;
  TMessages loaded;
  loaded.MsgLogProntoExec = "changed before loading";
  CarregaMensagens(loaded, dir.File("kelpa.ini"));
  const TMessages defaults;
  for (const auto& entry : MessageEntries()) {
    EXPECT_EQ(loaded.*entry.Field, defaults.*entry.Field) << entry.Key;
  }
  EXPECT_EQ(loaded.MsgLogInicializando, "Inicializando Kelpa ...");
  EXPECT_EQ(loaded.MsgTitGerMemoria, "Ger\xC3\xAAncia de Mem\xC3\xB3ria");
  EXPECT_FALSE(std::filesystem::exists(dir.File("kelpa.ini")));
}

TEST(MessagesLoader, ReadsValuesAsTheSettingsFileGivesThem) {
  TempWorkingDirectory dir;
  const std::string content =
      "[msglog]\r\n"
      "MSGLOG0602=\" Ready -> Run \"\r\n"
      "MSGLOG0603=  Run->IO  \r\n"
      "MSGLOG0913=\" HwPF - page file \"\r\n"
      "MSGLOG0916=\" no frame for page \"\r\n"
      "[MSG]\r\n"
      "MSG0500=\r\n"
      "msg0512=Execu\xE7\xE3o!\r\n";
  WriteBytes(dir.File("kelpa.ini"), content);
  TMessages loaded;
  CarregaMensagens(loaded, dir.File("kelpa.ini"));

  EXPECT_EQ(loaded.MsgLogProntoExec, " Ready -> Run ");  // quoted: the blanks stay
  EXPECT_EQ(loaded.MsgLogExecIO, "Run->IO");             // unquoted: trimmed
  EXPECT_EQ(loaded.MsgColCor, "");                       // present but empty: empty, not "Cor"
  EXPECT_EQ(loaded.MsgEstExecucao, "Execu\xC3\xA7\xC3\xA3o!");  // Windows-1252 file
  EXPECT_EQ(loaded.MsgLogHwPFPagefile2, " HwPF - page file ");
  EXPECT_EQ(loaded.MsgLogSemFrameLivre, " no frame for page ");
  EXPECT_EQ(loaded.MsgLogHwPFPagefile, " HwPF - Pagefile ");  // the twin keeps its default
  EXPECT_EQ(loaded.MsgColPID, "PID");
  EXPECT_EQ(ReadBytes(dir.File("kelpa.ini")), content);  // only read
}

TEST(MessagesLoader, TheTwinPagefileEntriesAreSeparateBothWays) {
  TempWorkingDirectory dir;
  WriteBytes(dir.File("kelpa.ini"), "[MSGLOG]\r\nMSGLOG0908=\" swap read \"\r\n");
  TMessages loaded;
  CarregaMensagens(loaded, dir.File("kelpa.ini"));
  EXPECT_EQ(loaded.MsgLogHwPFPagefile, " swap read ");
  EXPECT_EQ(loaded.MsgLogHwPFPagefile2, " HwPF - Pagefile ");
}

}  // namespace
}  // namespace kelpa
